// The chunk walk on files built byte by byte: the orders and sizes real writers produce,
// and the damaged ones that must fail cleanly instead of reading past the file.
#include <gtest/gtest.h>

#include <string>

#include "sound/wav_samples.h"

namespace qrv {
namespace {

std::string Le32(uint32_t v) {
  return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
}
std::string Le16(uint16_t v) {
  return {char(v), char(v >> 8)};
}
std::string Chunk(const std::string& id, const std::string& body, int64_t size = -1) {
  std::string chunk = id + Le32(size < 0 ? uint32_t(body.size()) : uint32_t(size)) + body;
  if (size < 0 && body.size() % 2 == 1) chunk += '\0';
  return chunk;
}
std::string Fmt(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                const std::string& extra = "") {
  uint16_t align = uint16_t(channels * bits / 8);
  return Chunk("fmt ", Le16(tag) + Le16(channels) + Le32(rate) + Le32(rate * align) + Le16(align) +
                           Le16(bits) + extra);
}
std::string Riff(const std::string& chunks) {
  return "RIFF" + Le32(uint32_t(chunks.size() + 4)) + "WAVE" + chunks;
}

WavProblem Walk(const std::string& file, WavLayout& layout) {
  return ReadWavLayout({reinterpret_cast<const uint8_t*>(file.data()), file.size()}, layout);
}

const std::string kPcm16 = Fmt(1, 2, 22050, 16);
const std::string kData = Chunk("data", std::string(8, '\x11'));

TEST(WavChunks, FindsFormatAndDataInAnyOrder) {
  WavLayout layout;
  const std::string orders[] = {
      Riff(kPcm16 + kData),
      Riff(Chunk("LIST", "INFOISFT\x03\0\0\0abc\0") + kPcm16 + Chunk("fact", Le32(2)) + kData),
      Riff(kData + Chunk("junk", "odd") + kPcm16),  // data first; an odd chunk has its pad
  };
  for (const std::string& file : orders) {
    ASSERT_EQ(Walk(file, layout), WavProblem::None);
    EXPECT_EQ(layout.format.channels, 2);
    EXPECT_EQ(layout.format.sampleRate, 22050u);
    EXPECT_EQ(layout.dataSize, 8u);
    EXPECT_EQ(file.substr(layout.dataOffset, 8), std::string(8, '\x11'));
  }
}

TEST(WavChunks, ReadsLongerFormatChunks) {
  WavLayout layout;
  // 18 bytes: the extra size field is skipped.
  ASSERT_EQ(Walk(Riff(Fmt(3, 1, 8000, 32, Le16(0)) + kData), layout), WavProblem::None);
  EXPECT_EQ(layout.format.sampleTag, 3);
  EXPECT_EQ(layout.format.bitsPerSample, 32);
  // 40 bytes: the extensible form's sub-format names the samples.
  std::string extensible = Le16(22) + Le16(24) + Le32(3) + Le16(1) + std::string(14, 'g');
  ASSERT_EQ(Walk(Riff(Fmt(0xFFFE, 2, 48000, 24, extensible) + kData), layout), WavProblem::None);
  EXPECT_EQ(layout.format.tag, 0xFFFE);
  EXPECT_EQ(layout.format.sampleTag, 1);
  // Data that ends inside a sample frame keeps whole frames only.
  ASSERT_EQ(Walk(Riff(kPcm16 + Chunk("data", "1234567")), layout), WavProblem::None);
  EXPECT_EQ(layout.dataSize, 4u);
}

TEST(WavChunks, DamagedFilesFailCleanly) {
  WavLayout layout;
  EXPECT_EQ(Walk("RIFX" + Le32(4) + "WAVE", layout), WavProblem::NotRiffWave);
  EXPECT_EQ(Walk("RIFF", layout), WavProblem::NotRiffWave);
  EXPECT_EQ(Walk(Riff(kData), layout), WavProblem::NoFormat);
  EXPECT_EQ(Walk(Riff(kPcm16), layout), WavProblem::NoData);
  EXPECT_EQ(Walk(Riff(kPcm16 + Chunk("data", "abcd", 5000)), layout), WavProblem::ChunkPastEnd);
  EXPECT_EQ(Walk(Riff(Chunk("LIST", "", 0xFFFFFFFF) + kPcm16 + kData), layout),
            WavProblem::ChunkPastEnd);
  EXPECT_EQ(Walk(Riff(Fmt(1, 0, 22050, 16) + kData), layout), WavProblem::BadFormat);
  EXPECT_EQ(Walk(Riff(Fmt(1, 2, 0, 16) + kData), layout), WavProblem::BadFormat);
  EXPECT_EQ(Walk(Riff(Chunk("fmt ", "short") + kData), layout), WavProblem::BadFormat);
  // A chunk header cut short at the end is the end of the file.
  EXPECT_EQ(Walk(Riff(kPcm16 + "dat"), layout), WavProblem::NoData);
}

TEST(WavChunks, SampleKindsTheConverterTakes) {
  // The samples point into the file, so the file outlives each check.
  std::string file;
  auto extract = [&file](const std::string& fmt, const std::string& data, WavSamples& samples) {
    file = Riff(fmt + Chunk("data", data));
    std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(file.data()), file.size());
    WavLayout layout;
    return ReadWavLayout(bytes, layout) == WavProblem::None &&
           ExtractWavSamples(bytes, layout, samples);
  };
  WavSamples samples;
  ASSERT_TRUE(extract(Fmt(1, 1, 11025, 24), "\x01\x02\x03\x04\x05\x06", samples));
  EXPECT_EQ(samples.shape.kind, platform::SampleKind::Signed24);
  EXPECT_EQ(std::string(samples.bytes.begin(), samples.bytes.end()), "\x01\x02\x03\x04\x05\x06");
  ASSERT_TRUE(extract(Fmt(1, 2, 8000, 8), "abcd", samples));
  EXPECT_EQ(samples.shape.kind, platform::SampleKind::Unsigned8);
  // Any tag but float plays as integer PCM, as the header says.
  ASSERT_TRUE(extract(Fmt(6, 1, 8000, 8), "ab", samples));
  EXPECT_EQ(samples.shape.kind, platform::SampleKind::Unsigned8);
  ASSERT_TRUE(extract(Fmt(3, 1, 8000, 32), "abcd", samples));
  EXPECT_EQ(samples.shape.kind, platform::SampleKind::Float32);
  // Sizes the converter has no kind for, and headers that contradict themselves.
  EXPECT_FALSE(extract(Fmt(1, 1, 8000, 12), "ab", samples));
  EXPECT_FALSE(extract(Fmt(3, 1, 8000, 64), "abcdefgh", samples));
  EXPECT_FALSE(extract(Fmt(1, 9, 8000, 16), std::string(18, 'x'), samples));
  EXPECT_FALSE(extract(Fmt(1, 1, 8000, 16), "", samples));
}

}  // namespace
}  // namespace qrv
