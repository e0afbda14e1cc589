// A check of the cross-built Windows libraries, run under Wine by tools/windows/smoke.sh:
//   smoke.exe MOVIE... -- MUSIC...
// It opens an OpenGL window with SDL2, clears it to a known colour and reads a pixel back;
// opens each music piece with SDL2_mixer and prints its type and length; opens each movie
// with libavformat, decodes its first picture (converted to RGB by libswscale) and its first
// sound (converted to 16-bit by libswresample). Exits with 1 on the first failure.
#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_opengl.h>

#include <cstdio>
#include <string>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace {

int Fail(const std::string& what) {
  std::printf("FAILED: %s\n", what.c_str());
  return 1;
}

// Clears a 64 x 64 window to (51, 102, 153) and prints the pixel read back.
int CheckWindow() {
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
  SDL_Window* window = SDL_CreateWindow("smoke", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                        64, 64, SDL_WINDOW_OPENGL);
  if (!window) return Fail(std::string("SDL_CreateWindow: ") + SDL_GetError());
  SDL_GLContext context = SDL_GL_CreateContext(window);
  if (!context) return Fail(std::string("SDL_GL_CreateContext: ") + SDL_GetError());
  std::printf("GL renderer: %s, version %s\n", glGetString(GL_RENDERER), glGetString(GL_VERSION));
  glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glFinish();
  unsigned char pixel[4] = {};
  glReadPixels(10, 10, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
  std::printf("pixel (10,10): %d %d %d %d\n", pixel[0], pixel[1], pixel[2], pixel[3]);
  SDL_GL_DeleteContext(context);
  SDL_DestroyWindow(window);
  if (pixel[0] != 51 || pixel[1] != 102 || pixel[2] != 153) return Fail("cleared colour");
  return 0;
}

int CheckMusic(const std::vector<std::string>& pieces) {
  const int wanted = MIX_INIT_OGG | MIX_INIT_OPUS | MIX_INIT_MOD | MIX_INIT_FLAC | MIX_INIT_MP3;
  std::printf("mixer decoders initialised: %#x of %#x\n", Mix_Init(wanted), wanted);
  if (Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 1024) != 0)
    return Fail(std::string("Mix_OpenAudio: ") + Mix_GetError());
  static const char* const kTypes[] = {"none", "cmd",  "wav",  "mod",   "mid",
                                       "ogg",  "mp3",  "mp3_mad", "flac", "modplug", "opus"};
  for (const std::string& path : pieces) {
    Mix_Music* music = Mix_LoadMUS(path.c_str());
    if (!music) return Fail("Mix_LoadMUS " + path + ": " + Mix_GetError());
    const int type = Mix_GetMusicType(music);
    std::printf("music %s: type %s, %.2f s\n", path.c_str(),
                type >= 0 && type <= MUS_OPUS ? kTypes[type] : "?", Mix_MusicDuration(music));
    if (Mix_PlayMusic(music, 0) != 0) return Fail("Mix_PlayMusic " + path);
    Mix_HaltMusic();
    Mix_FreeMusic(music);
  }
  Mix_CloseAudio();
  return 0;
}

// Decodes frames of one stream until one comes out; nullptr when none does.
AVFrame* FirstFrame(AVFormatContext* format, int stream) {
  const AVCodecParameters* parameters = format->streams[stream]->codecpar;
  const AVCodec* codec = avcodec_find_decoder(parameters->codec_id);
  if (!codec) return nullptr;
  AVCodecContext* decoder = avcodec_alloc_context3(codec);
  avcodec_parameters_to_context(decoder, parameters);
  AVFrame* frame = av_frame_alloc();
  AVPacket* packet = av_packet_alloc();
  bool got = false;
  if (avcodec_open2(decoder, codec, nullptr) == 0 && av_seek_frame(format, -1, 0, AVSEEK_FLAG_BACKWARD) >= 0) {
    while (!got && av_read_frame(format, packet) >= 0) {
      if (packet->stream_index == stream && avcodec_send_packet(decoder, packet) == 0)
        got = avcodec_receive_frame(decoder, frame) == 0;
      av_packet_unref(packet);
    }
  }
  av_packet_free(&packet);
  avcodec_free_context(&decoder);
  if (!got) av_frame_free(&frame);
  return frame;
}

int CheckMovie(const std::string& path) {
  AVFormatContext* format = nullptr;
  if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) != 0) return Fail("open " + path);
  avformat_find_stream_info(format, nullptr);
  const int video = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  const int audio = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
  if (video < 0 || audio < 0) return Fail(path + ": no video or no sound stream");
  std::printf("movie %s: %s, video %s, sound %s\n", path.c_str(), format->iformat->name,
              avcodec_get_name(format->streams[video]->codecpar->codec_id),
              avcodec_get_name(format->streams[audio]->codecpar->codec_id));

  AVFrame* picture = FirstFrame(format, video);
  if (!picture) return Fail(path + ": no picture decoded");
  SwsContext* scaler = sws_getContext(picture->width, picture->height, AVPixelFormat(picture->format),
                                      picture->width, picture->height, AV_PIX_FMT_RGB24, SWS_POINT,
                                      nullptr, nullptr, nullptr);
  std::vector<uint8_t> rgb(size_t(picture->width) * picture->height * 3);
  uint8_t* planes[1] = {rgb.data()};
  const int strides[1] = {picture->width * 3};
  sws_scale(scaler, picture->data, picture->linesize, 0, picture->height, planes, strides);
  sws_freeContext(scaler);
  const uint8_t* first = rgb.data() + 3 * (picture->width / 16);  // inside the first bar
  std::printf("  first picture %dx%d, pixel (%d,0) as RGB: %d %d %d\n", picture->width,
              picture->height, picture->width / 16, first[0], first[1], first[2]);
  av_frame_free(&picture);

  AVFrame* sound = FirstFrame(format, audio);
  if (!sound) return Fail(path + ": no sound decoded");
  SwrContext* resampler = nullptr;
  AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
  swr_alloc_set_opts2(&resampler, &stereo, AV_SAMPLE_FMT_S16, 22050, &sound->ch_layout,
                      AVSampleFormat(sound->format), sound->sample_rate, 0, nullptr);
  std::vector<int16_t> samples(2 * 8192);
  uint8_t* out[1] = {reinterpret_cast<uint8_t*>(samples.data())};
  const int converted = swr_init(resampler) == 0
                            ? swr_convert(resampler, out, 8192, const_cast<const uint8_t**>(sound->extended_data),
                                          sound->nb_samples)
                            : -1;
  std::printf("  first sound: %d samples at %d Hz -> %d samples at 22050 Hz\n", sound->nb_samples,
              sound->sample_rate, converted);
  swr_free(&resampler);
  av_frame_free(&sound);
  avformat_close_input(&format);
  return converted > 0 ? 0 : Fail(path + ": resampling");
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> movies, pieces;
  bool music = false;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--") music = true;
    else (music ? pieces : movies).push_back(argv[i]);
  }
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO) != 0) return Fail(std::string("SDL_Init: ") + SDL_GetError());
  SDL_version linked;
  SDL_GetVersion(&linked);
  std::printf("SDL %d.%d.%d, video driver %s, audio driver %s\n", linked.major, linked.minor,
              linked.patch, SDL_GetCurrentVideoDriver(), SDL_GetCurrentAudioDriver());
  int failed = CheckWindow() || CheckMusic(pieces);
  for (const std::string& movie : movies) failed = failed || CheckMovie(movie);
  SDL_Quit();
  std::printf(failed ? "smoke test failed\n" : "smoke test passed\n");
  return failed;
}
