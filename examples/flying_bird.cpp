// A 3D object spinning and animated: "bird.ddd" (three key frames of a wing beat, made by
// tools/gen_example_model.py) comes from the pack "examples.pak" beside this program. Each
// frame enters 3D mode, places the camera, turns the bird and draws the wing beat blended
// between neighbouring key frames, lit by one light; a ring of billboards stands around it.
// Then 2D drawing carries on over the scene. Escape ends it.
#include <cmath>

#include "quorvia/quorvia.h"

namespace {

constexpr int32_t kBird = 0;
constexpr int32_t kPost = 0;  // sprite of the billboards

void Settings(qrv::ProjectSettings& settings) {
  settings.screenWidth = 480;
  settings.screenHeight = 320;
  settings.title = "Flying bird";
}

// A small yellow post with a dark outline, for the billboards.
void MakePost() {
  qrv::RtArray<int32_t> pixels;
  pixels.Dim(8 * 16);
  for (int32_t y = 0; y < 16; ++y) {
    for (int32_t x = 0; x < 8; ++x) {
      const bool edge = x == 0 || x == 7 || y == 0 || y == 15;
      pixels.ElementAt(y * 8 + x) =
          int32_t(0xFF000000u) | (edge ? qrv::Rgb(60, 40, 0) : qrv::Rgb(250, 210, 60));
    }
  }
  qrv::SpriteFromPixels(pixels, kPost, 8, 16);
}

void Main() {
  qrv::SetMediaPacks("examples.pak", "");
  const bool loaded = qrv::LoadObject(kBird, "bird.ddd");
  MakePost();
  qrv::SetLight(0.4f, 1.0f, 0.6f, 0.35f);
  for (int32_t frame = 0;; ++frame) {
    qrv::ClearScreen(qrv::Rgb(120, 170, 230));
    qrv::Enter3DMode(0.5f, 100.0f, 60.0f);
    qrv::PlaceCamera(0, 1.5f, 5, 0, 0, 0);
    // The ring of posts, each standing on the ground 1.5 units below the bird.
    for (int32_t i = 0; i < 8; ++i) {
      const double angle = i * 3.14159265 / 4;
      qrv::DrawSpriteBillboard(kPost, float(3 * std::cos(angle)), -1.5f, float(3 * std::sin(angle)),
                               0.05f);
    }
    // Up and down through the three key frames: 0 -> 2 and back, once a second.
    const double beat = std::fmod(frame / 30.0, 1.0);
    const double time = beat < 0.5 ? beat * 2 : 2 - beat * 2;
    qrv::AddRotation(float(frame * 3 % 360), 0, 1, 0);
    qrv::AddRotation(15, 0, 0, 1);
    qrv::DrawAnimatedObject(kBird, 0, 2, time, true);
    qrv::Clear3D();
    qrv::PrintText(loaded ? "bird.ddd, 3 key frames" : "bird.ddd did not load", 8, 8);
    qrv::Present();
  }
}

}  // namespace

int main(int argc, char** argv) {
  qrv::RunProgram(argc, argv, {Settings, Main, nullptr});
}
