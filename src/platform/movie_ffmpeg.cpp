// Movies on FFmpeg's libraries: a demuxer reading from memory, the video decoder with a
// scaler to RGBA, and the sound track decoded whole up front and resampled to the device
// format, so it plays as one clip beside the pictures.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstring>

#include "platform/audio_host.h"
#include "platform/movie_host.h"

namespace qrv::platform {

namespace {

constexpr int kIoBufferBytes = 32768;
constexpr int32_t kLargestSide = 8192;
// Sound beyond half an hour is left out rather than held in memory.
constexpr size_t kMostSoundBytes = size_t(kDeviceRate) * 4 * 60 * 30;

struct MemoryFile {
  const uint8_t* bytes = nullptr;
  size_t size = 0;
  size_t position = 0;
};

int ReadMemory(void* opaque, uint8_t* buffer, int wanted) {
  auto* file = static_cast<MemoryFile*>(opaque);
  const size_t left = file->size - file->position;
  if (left == 0) return AVERROR_EOF;
  const size_t n = std::min(left, static_cast<size_t>(std::max(wanted, 0)));
  std::memcpy(buffer, file->bytes + file->position, n);
  file->position += n;
  return static_cast<int>(n);
}

int64_t SeekMemory(void* opaque, int64_t offset, int whence) {
  auto* file = static_cast<MemoryFile*>(opaque);
  whence &= ~AVSEEK_FORCE;
  if (whence == AVSEEK_SIZE) return static_cast<int64_t>(file->size);
  int64_t base = 0;
  if (whence == SEEK_CUR) base = static_cast<int64_t>(file->position);
  if (whence == SEEK_END) base = static_cast<int64_t>(file->size);
  if (offset > static_cast<int64_t>(file->size) || offset < -static_cast<int64_t>(file->size)) {
    return -1;
  }
  const int64_t target = base + offset;
  if (target < 0 || target > static_cast<int64_t>(file->size)) return -1;
  file->position = static_cast<size_t>(target);
  return target;
}

// One pass over the bytes: its own reading position, I/O context and format context.
struct Demuxer {
  MemoryFile file;
  AVIOContext* io = nullptr;
  AVFormatContext* format = nullptr;

  bool Open(const uint8_t* bytes, size_t size) {
    file = {bytes, size, 0};
    auto* buffer = static_cast<uint8_t*>(av_malloc(kIoBufferBytes));
    if (buffer == nullptr) return false;
    io = avio_alloc_context(buffer, kIoBufferBytes, 0, &file, ReadMemory, nullptr, SeekMemory);
    if (io == nullptr) {
      av_free(buffer);
      return false;
    }
    format = avformat_alloc_context();
    if (format == nullptr) return false;
    format->pb = io;
    format->flags |= AVFMT_FLAG_CUSTOM_IO;
    if (avformat_open_input(&format, nullptr, nullptr, nullptr) < 0) return false;  // frees it
    return avformat_find_stream_info(format, nullptr) >= 0;
  }
  ~Demuxer() {
    avformat_close_input(&format);
    if (io != nullptr) av_freep(&io->buffer);
    avio_context_free(&io);
  }
};

AVCodecContext* OpenDecoder(const AVStream* stream) {
  const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
  if (codec == nullptr) return nullptr;
  AVCodecContext* context = avcodec_alloc_context3(codec);
  if (context == nullptr) return nullptr;
  if (avcodec_parameters_to_context(context, stream->codecpar) < 0 ||
      avcodec_open2(context, codec, nullptr) < 0) {
    avcodec_free_context(&context);
  }
  return context;
}

// Every frame of the decoder's output, feeding it packets of one stream until the end.
template <class Take>
bool ReceiveFrame(Demuxer& demuxer, int streamIndex, AVCodecContext* decoder, AVPacket* packet,
                  AVFrame* frame, bool& draining, Take take) {
  for (;;) {
    int result = avcodec_receive_frame(decoder, frame);
    if (result == 0) {
      take(frame);
      av_frame_unref(frame);
      return true;
    }
    if (result != AVERROR(EAGAIN) || draining) return false;
    if (av_read_frame(demuxer.format, packet) < 0) {
      avcodec_send_packet(decoder, nullptr);
      draining = true;
      continue;
    }
    if (packet->stream_index == streamIndex) avcodec_send_packet(decoder, packet);
    av_packet_unref(packet);
  }
}

// The whole sound track resampled to the device format; empty without a usable track.
std::vector<uint8_t> DecodeSound(const uint8_t* bytes, size_t size) {
  std::vector<uint8_t> sound;
  Demuxer demuxer;
  if (!demuxer.Open(bytes, size)) return sound;
  const int index = av_find_best_stream(demuxer.format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
  if (index < 0) return sound;
  AVCodecContext* decoder = OpenDecoder(demuxer.format->streams[index]);
  if (decoder == nullptr) return sound;
  SwrContext* resampler = nullptr;
  AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
  // A mono track goes to both sides at full level (the resampler's own mix would take
  // 3 dB off each side).
  const double monoToBoth[2] = {1.0, 1.0};
  if (swr_alloc_set_opts2(&resampler, &stereo, AV_SAMPLE_FMT_S16, kDeviceRate, &decoder->ch_layout,
                          decoder->sample_fmt, decoder->sample_rate, 0, nullptr) < 0 ||
      (decoder->ch_layout.nb_channels == 1 && swr_set_matrix(resampler, monoToBoth, 1) < 0) ||
      swr_init(resampler) < 0) {
    swr_free(&resampler);
    avcodec_free_context(&decoder);
    return sound;
  }
  AVPacket* packet = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  bool draining = false;
  auto append = [&](const uint8_t** input, int samples) {
    const int room = swr_get_out_samples(resampler, samples);
    if (room <= 0 || sound.size() > kMostSoundBytes) return;
    const size_t at = sound.size();
    sound.resize(at + static_cast<size_t>(room) * 4);
    uint8_t* out = sound.data() + at;
    const int made = swr_convert(resampler, &out, room, input, samples);
    sound.resize(at + static_cast<size_t>(std::max(made, 0)) * 4);
  };
  while (packet != nullptr && frame != nullptr &&
         ReceiveFrame(demuxer, index, decoder, packet, frame, draining, [&](AVFrame* f) {
           append(const_cast<const uint8_t**>(f->extended_data), f->nb_samples);
         })) {
  }
  append(nullptr, 0);  // what the resampler still holds
  av_frame_free(&frame);
  av_packet_free(&packet);
  swr_free(&resampler);
  avcodec_free_context(&decoder);
  return sound;
}

}  // namespace

struct MovieSource {
  Demuxer demuxer;
  int stream = -1;
  AVCodecContext* decoder = nullptr;
  SwsContext* scaler = nullptr;
  AVPacket* packet = nullptr;
  AVFrame* frame = nullptr;
  bool draining = false;
  int32_t width = 0, height = 0;
  int64_t startPts = 0;
  double timeBaseMs = 0;
  double length = 0;
  double lastDue = 0;
  std::vector<uint8_t> sound;

  ~MovieSource() {
    sws_freeContext(scaler);
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&decoder);
  }
};

MovieSource* OpenMovie(const uint8_t* bytes, size_t size) {
  av_log_set_level(AV_LOG_QUIET);
  auto* movie = new MovieSource();
  if (!movie->demuxer.Open(bytes, size)) {
    delete movie;
    return nullptr;
  }
  AVFormatContext* format = movie->demuxer.format;
  movie->stream = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  const AVStream* stream = movie->stream >= 0 ? format->streams[movie->stream] : nullptr;
  if (stream != nullptr) movie->decoder = OpenDecoder(stream);
  movie->packet = av_packet_alloc();
  movie->frame = av_frame_alloc();
  if (movie->decoder == nullptr || movie->packet == nullptr || movie->frame == nullptr ||
      movie->decoder->width <= 0 || movie->decoder->height <= 0 ||
      movie->decoder->width > kLargestSide || movie->decoder->height > kLargestSide) {
    delete movie;
    return nullptr;
  }
  movie->width = movie->decoder->width;
  movie->height = movie->decoder->height;
  movie->startPts = stream->start_time != AV_NOPTS_VALUE ? stream->start_time : 0;
  movie->timeBaseMs = av_q2d(stream->time_base) * 1000.0;
  if (format->duration > 0) movie->length = static_cast<double>(format->duration) / 1000.0;
  movie->sound = DecodeSound(bytes, size);
  return movie;
}

void CloseMovie(MovieSource* movie) {
  delete movie;
}

int32_t MovieWidth(const MovieSource* movie) {
  return movie->width;
}

int32_t MovieHeight(const MovieSource* movie) {
  return movie->height;
}

double MovieLength(const MovieSource* movie) {
  return movie->length;
}

const std::vector<uint8_t>& MovieSound(const MovieSource* movie) {
  return movie->sound;
}

bool NextMovieFrame(MovieSource* movie, std::vector<uint8_t>& rgba, double& dueMs) {
  bool converted = false;
  auto take = [&](AVFrame* frame) {
    if (frame->width <= 0 || frame->height <= 0 || frame->width > kLargestSide ||
        frame->height > kLargestSide) {
      return;
    }
    movie->scaler = sws_getCachedContext(
        movie->scaler, frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
        movie->width, movie->height, AV_PIX_FMT_RGBA, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (movie->scaler == nullptr) return;
    rgba.resize(static_cast<size_t>(movie->width) * movie->height * 4);
    uint8_t* planes[1] = {rgba.data()};
    const int strides[1] = {movie->width * 4};
    sws_scale(movie->scaler, frame->data, frame->linesize, 0, frame->height, planes, strides);
    const int64_t pts = frame->best_effort_timestamp;
    if (pts != AV_NOPTS_VALUE) {
      movie->lastDue = static_cast<double>(pts - movie->startPts) * movie->timeBaseMs;
    }
    converted = true;
  };
  while (!converted) {
    if (!ReceiveFrame(movie->demuxer, movie->stream, movie->decoder, movie->packet, movie->frame,
                      movie->draining, take)) {
      return false;
    }
  }
  dueMs = movie->lastDue;
  return true;
}

bool RewindMovie(MovieSource* movie) {
  if (av_seek_frame(movie->demuxer.format, movie->stream, movie->startPts, AVSEEK_FLAG_BACKWARD) <
      0) {
    return false;
  }
  avcodec_flush_buffers(movie->decoder);
  movie->draining = false;
  movie->lastDue = 0;
  return true;
}

}  // namespace qrv::platform
