// Rocks: a whole small game. The title screen waits for Space or the pad's south button;
// then the ship at the bottom moves left and right (arrow keys, a pad's left stick or its
// direction pad) and shoots (Space, the pad's south button) at the rocks that fall through
// the stars. A shot rock scores a point; a rock that reaches the ship ends the game. The best
// score is kept in "rocks_best.txt" beside the program (a line store), so it survives a
// restart. The sound, zap.wav (made by tools/gen_example_sound.py), comes from the pack
// "examples.pak" beside the program. Escape ends the program.
#include <algorithm>
#include <cstring>
#include <vector>

#include "quorvia/quorvia.h"

namespace {

constexpr int32_t kWidth = 640, kHeight = 480;
constexpr int32_t kShipY = 440;
constexpr int32_t kZap = 0;  // the sound's slot
constexpr const char* kBestFile = "rocks_best.txt";

struct Star {
  int32_t x, y, speed;
};
struct Rock {
  double x, y, speed;
  int32_t radius;
};
struct Shot {
  int32_t x, y;
};

enum class Screen { kTitle, kPlay, kOver };

Screen screen = Screen::kTitle;
std::vector<Star> stars;
std::vector<Rock> rocks;
std::vector<Shot> shots;
double shipX = kWidth / 2;
int32_t score = 0, best = 0, titleFrames = 0, playFrames = 0, overFrames = 0;
bool newBest = false;

// --- Input: the keyboard or pad 0 ------------------------------------------------------------

// Pad buttons have no KeyHit of their own: the state of the previous frame tells a press
// or a release.
bool padFireHeld = false, padFirePressed = false, padFireReleased = false;

void ReadPadFire() {
  const bool held = qrv::PadButton(0, qrv::kPadSouth) != 0;
  padFirePressed = held && !padFireHeld;
  padFireReleased = !held && padFireHeld;
  padFireHeld = held;
}

// -1 (left) .. 1 (right).
double Steering() {
  double steer = qrv::KeyDown(qrv::kKeyRight) - qrv::KeyDown(qrv::kKeyLeft);
  steer += qrv::PadButton(0, qrv::kPadDpadRight) - qrv::PadButton(0, qrv::kPadDpadLeft);
  const double stick = qrv::PadAxis(0, qrv::kPadLeftX);
  if (stick < -0.2 || stick > 0.2) steer += stick;  // a stick at rest is seldom exactly 0
  return std::clamp(steer, -1.0, 1.0);
}

bool FirePressed() {
  return qrv::KeyHit(qrv::kKeySpace) != 0 || padFirePressed;
}

// Starting on the key's release, not its press, keeps that press from firing a first shot.
bool FireReleased() {
  return qrv::KeyReleased(qrv::kKeySpace) != 0 || padFireReleased;
}

// --- The game ----------------------------------------------------------------------------

void PlayZap(double level) {
  // Panned to the ship's side; VolumeForLevel turns a linear level into PlaySound's volume.
  qrv::PlaySound(kZap, (shipX - kWidth / 2) / (kWidth / 2), qrv::VolumeForLevel(level));
}

void MoveStars() {
  for (Star& star : stars) {
    star.y += star.speed;
    if (star.y >= kHeight) star.y = 0;
  }
}

void StartGame() {
  // The rocks follow from the time spent on the title screen: another game each time for a
  // player, the same game for a replay, whose keys come at the same frames.
  qrv::SeedRandom(titleFrames);
  rocks.clear();
  shots.clear();
  shipX = kWidth / 2;
  score = 0;
  playFrames = 0;
  screen = Screen::kPlay;
}

void EndGame() {
  PlayZap(1.0);
  screen = Screen::kOver;
  overFrames = 0;
  newBest = score > best;
  if (newBest) {
    best = score;
    qrv::LineStorePut(kBestFile, 0, qrv::IntegerText(best).c_str());
    qrv::LineStoreFlush();
  }
}

void Play() {
  ++playFrames;
  shipX = std::clamp(shipX + 5 * Steering(), 20.0, kWidth - 20.0);
  if (FirePressed()) {
    shots.push_back({int32_t(shipX), kShipY - 12});
    PlayZap(0.3);
  }
  for (Shot& shot : shots) shot.y -= 8;
  // New rocks come more often, and faster, the longer the game lasts.
  const int32_t every = std::max(6, 24 - playFrames / 40);
  if (playFrames % every == 0) {
    const double speed = 1.5 + qrv::Random(20) / 10.0 + playFrames / 600.0;
    rocks.push_back({double(20 + qrv::Random(kWidth - 40)), -20, speed, 10 + qrv::Random(12)});
  }
  bool crashed = false;
  for (Rock& rock : rocks) {
    rock.y += rock.speed;
    for (Shot& shot : shots) {
      const double dx = shot.x - rock.x, dy = shot.y - rock.y;
      if (dx * dx + dy * dy < rock.radius * rock.radius) {
        shot.y = -100;  // used up
        rock.y = kHeight + 100;
        ++score;
      }
    }
    const double dx = shipX - rock.x, dy = kShipY - rock.y;
    if (dx * dx + dy * dy < (rock.radius + 12) * (rock.radius + 12)) crashed = true;
  }
  std::erase_if(shots, [](const Shot& shot) { return shot.y < -20; });
  std::erase_if(rocks, [](const Rock& rock) { return rock.y > kHeight + 40; });
  if (crashed) EndGame();
}

// --- Drawing -----------------------------------------------------------------------------

void Centred(const char* text, int32_t y) {
  int32_t cellWidth, cellHeight;
  qrv::FontSize(cellWidth, cellHeight);
  const int32_t width = cellWidth * int32_t(std::strlen(text));
  qrv::PrintText(text, float((kWidth - width) / 2), float(y));
}

void DrawShip() {
  const int32_t x = int32_t(shipX);
  if (playFrames % 8 < 4) qrv::DrawEllipse(x, kShipY + 12, 3, 6, qrv::Rgb(255, 160, 40), 1);
  qrv::DrawEllipse(x, kShipY, 14, 8, qrv::Rgb(170, 190, 220), 1);
  qrv::DrawCircle(x, kShipY - 3, 4, qrv::Rgb(80, 200, 255), 1);
}

void Draw() {
  qrv::ClearScreen(qrv::Rgb(8, 8, 24));
  for (const Star& star : stars) {
    const int32_t grey = 70 + 60 * star.speed;
    qrv::FillRect(star.x, star.y, 2, 2, qrv::Rgb(grey, grey, grey));
  }
  for (const Rock& rock : rocks) {
    const int32_t x = int32_t(rock.x), y = int32_t(rock.y);
    qrv::DrawCircle(x, y, rock.radius, qrv::Rgb(120, 100, 80), 1);
    qrv::DrawCircle(x, y, rock.radius, qrv::Rgb(190, 160, 120), 0);
  }
  for (const Shot& shot : shots) qrv::FillRect(shot.x - 1, shot.y, 3, 8, qrv::Rgb(255, 255, 120));
  if (screen != Screen::kTitle) DrawShip();
  const qrv::RtString scores = "SCORE " + qrv::IntegerText(score) + "   BEST " +
                               qrv::IntegerText(best);
  qrv::PrintText(scores, 8, 8);
  if (screen == Screen::kTitle) {
    Centred("R O C K S", 180);
    Centred("Arrow keys or the pad to move, Space or the pad's south button to shoot", 220);
    Centred("Press Space or the south button to start", 260);
  } else if (screen == Screen::kOver) {
    Centred("GAME OVER", 200);
    if (newBest) Centred("A new best score!", 240);
    Centred("Space or the south button: title screen", 280);
  }
}

void Main() {
  if (qrv::FileExists(kBestFile)) best = qrv::LineStoreGetInteger(kBestFile, 0);
  qrv::SetMediaPacks("examples.pak", "");
  qrv::LoadSound("zap.wav", kZap, 4);
  for (int32_t i = 0; i < 60; ++i) {
    stars.push_back({qrv::Random(kWidth - 1), qrv::Random(kHeight - 1), 1 + qrv::Random(2)});
  }
  for (;;) {
    ReadPadFire();
    MoveStars();
    if (screen == Screen::kTitle && FireReleased()) {
      StartGame();
    } else if (screen == Screen::kTitle) {
      ++titleFrames;
    } else if (screen == Screen::kPlay) {
      Play();
    } else if (screen == Screen::kOver && ++overFrames > 60 && FireReleased()) {
      screen = Screen::kTitle;  // after a second, so the last shots' key does not skip it
    }
    Draw();
    qrv::Present();
  }
}

void Settings(qrv::ProjectSettings& settings) {
  settings.title = "Rocks";
  settings.screenWidth = kWidth;
  settings.screenHeight = kHeight;
}

}  // namespace

int main(int argc, char** argv) {
  qrv::RunProgram(argc, argv, {Settings, Main, nullptr});
}
