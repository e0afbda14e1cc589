// PlayMovie: a movie shown full-window, fitted with its proportions kept, its sound played
// as one clip, until it ends or a key or mouse button is pressed. It blocks the game; the
// window's messages and the music's repeat keep being served meanwhile.
#include <GL/gl.h>

#include "frame/runtime.h"
#include "graphics2d/opengl_device.h"
#include "platform/movie_host.h"
#include "platform/platform.h"
#include "platform/window_host.h"
#include "quorvia/files.h"
#include "quorvia/input.h"
#include "sound/movie_fit.h"
#include "sound/sound_state.h"

namespace qrv {

namespace {

// The movie's picture as one texture, drawn into the fitted rectangle on black.
class MovieScreen {
 public:
  MovieScreen(OpenGLZozezezi& device, int32_t width, int32_t height)
      : device_(device), fit_(FitMovie(device.width, device.height, width, height)) {
    device_.SetDefault2DState(0, 0, 0, 0);
    glGenTextures(1, &texture_);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    width_ = width;
    height_ = height;
  }
  ~MovieScreen() {
    glDeleteTextures(1, &texture_);
    device_.FlushBatch();
    device_.SetDefault2DState(0, 0, 0, 0);
  }
  MovieScreen(const MovieScreen&) = delete;
  MovieScreen& operator=(const MovieScreen&) = delete;

  void Show(const std::vector<uint8_t>& rgba) {
    device_.FlushBatch();  // the picture is drawn by GL calls of its own
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE,
                    rgba.data());
    glColor4f(1, 1, 1, 1);
    const float x0 = static_cast<float>(fit_.x), y0 = static_cast<float>(fit_.y);
    const float x1 = x0 + static_cast<float>(fit_.width), y1 = y0 + static_cast<float>(fit_.height);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(x0, y0);
    glTexCoord2f(1, 0);
    glVertex2f(x1, y0);
    glTexCoord2f(1, 1);
    glVertex2f(x1, y1);
    glTexCoord2f(0, 1);
    glVertex2f(x0, y1);
    glEnd();
    platform::SwapBuffers(device_.window);
  }

 private:
  OpenGLZozezezi& device_;
  MovieRect fit_;
  GLuint texture_ = 0;
  int32_t width_ = 0, height_ = 0;
};

// The movie's sound as a clip of its own, started with the pictures.
class MovieVoice {
 public:
  explicit MovieVoice(const std::vector<uint8_t>& samples)
      : clip_(samples.empty() ? nullptr
                              : platform::MakeAudioClip(samples.data(), samples.size(), {})) {}
  ~MovieVoice() { platform::FreeAudioClip(clip_); }
  MovieVoice(const MovieVoice&) = delete;
  MovieVoice& operator=(const MovieVoice&) = delete;
  void Start() {
    platform::StopVoice(voice_);
    voice_ = platform::StartVoice(clip_, 1.0, 1.0);
  }

 private:
  platform::AudioClip* clip_;
  platform::Voice voice_;
};

bool KeyOrButton() {
  return !ReadKeyChar().Empty() || AnyMouseButton();
}

void ServeWindow() {
  MusicLoopCheck();
  PumpMessages(LookUpMessageHook());
}

// Shows pictures as they fall due until the end (a looping movie starts over) or a key.
void RunMovie(platform::MovieSource* movie, MovieScreen& screen, MovieVoice& sound, bool loop) {
  std::vector<uint8_t> picture;
  double due = 0;
  bool more = platform::NextMovieFrame(movie, picture, due);
  if (!more) return;
  double start = RawTimer();
  sound.Start();
  const double length = platform::MovieLength(movie);
  for (;;) {
    if (KeyOrButton()) return;
    ServeWindow();
    const double position = RawTimer() - start;
    if (more && position >= due) {
      screen.Show(picture);
      more = platform::NextMovieFrame(movie, picture, due);
      continue;
    }
    if (!more && position >= length) {
      if (!loop || !platform::RewindMovie(movie) ||
          !platform::NextMovieFrame(movie, picture, due)) {
        return;
      }
      more = true;
      start = RawTimer();
      sound.Start();
    }
    platform::SleepMilliseconds(2);
  }
}

}  // namespace

int32_t PlayMovie(const RtString& file, bool loop) {
  ClearError();
  OpenGLZozezezi* device = TheRuntime().device;
  RtString resolved;
  MediaBytes bytes;
  platform::MovieSource* movie = nullptr;
  const char* reason = nullptr;
  if (device == nullptr || device->window == nullptr || device->contextAlive == 0) {
    reason = "no window to play it in";
  } else if (!ResolveMediaName(MainPack(), file, resolved, true) || !bytes.Open(resolved.c_str())) {
    reason = "no such file, or empty or larger than 1 GiB";
  } else if ((movie = platform::OpenMovie(bytes.Bytes().data(), bytes.Bytes().size())) == nullptr) {
    reason = "no video that can be decoded";
  }
  if (reason != nullptr) {
    RecordError(3, {"PlayMovie", file.View(), reason});
    return 3;
  }
  {
    MovieScreen screen(*device, platform::MovieWidth(movie), platform::MovieHeight(movie));
    MovieVoice sound(platform::MovieSound(movie));
    // A key still held from before the movie must not end it at once.
    while (KeyOrButton()) {
      ServeWindow();
      platform::SleepMilliseconds(2);
    }
    RunMovie(movie, screen, sound, loop);
  }
  platform::CloseMovie(movie);
  return 0;
}

}  // namespace qrv
