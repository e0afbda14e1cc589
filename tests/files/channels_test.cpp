// File channels on real files and memory blocks: byte widths, lines, positions, the
// free-channel search, and the stops for bad channel numbers and reads past the end.

#include <cstring>

#include "files_fixture.h"
#include "quorvia/files.h"
#include "quorvia/frame.h"

namespace {

using files_test::ReadFile;
using files_test::WriteFile;
namespace fs = std::filesystem;
using testing::ExitedWithCode;

class ChannelsTest : public files_test::FilesTest {
 protected:
  void SetUp() override {
    FilesTest::SetUp();
    // END then writes the error code it stops with into the error log (and the stop is
    // reported on standard error).
    qrv::Settings().debugFlag = 1;
  }
  void TearDown() override {
    qrv::Settings().debugFlag = 0;
    qrv::CloseAllChannels();
    FilesTest::TearDown();
  }
  // The error code of the last stop the error log shows.
  int32_t StopCode() {
    std::string log = ReadFile(root_ / "tmp/ErrorLog.txt");
    size_t at = log.rfind("-End On Line\r\n");
    fs::remove(root_ / "tmp/ErrorLog.txt");
    return at == std::string::npos ? -999 : std::atoi(log.c_str() + at + 14);
  }
};

qrv::RtString MemoryName(const std::string& bytes) {
  std::unique_ptr<uint8_t[]> copy(new uint8_t[bytes.size() + 1]);
  std::memcpy(copy.get(), bytes.data(), bytes.size());
  return qrv::RegisterMemoryBlock(std::move(copy), static_cast<int32_t>(bytes.size()));
}

TEST_F(ChannelsTest, ReadFamilyDeliversEachWidthLittleEndian) {
  WriteFile("v.bin", std::string("\xff\x80\xff\x80\x01\x02\x03\x84", 8));
  struct Case {
    const char* member;
    void (*read)(int32_t, int32_t&);
    int32_t expected[2];
  } cases[] = {
      {"Int8", qrv::ReadInt8, {-1, -128}},
      {"UInt8", qrv::ReadUInt8, {255, 128}},
      {"Int16", qrv::ReadInt16, {-32513, -32513}},
      {"UInt16", qrv::ReadUInt16, {33023, 33023}},
      {"Int32", qrv::ReadInt32, {-2130738945, -2080177663}},
      {"UInt32", qrv::ReadUInt32, {-2130738945, -2080177663}},
  };
  for (const Case& c : cases) {
    for (qrv::RtString name : {qrv::RtString("v.bin"), MemoryName(ReadFile("v.bin"))}) {
      ASSERT_TRUE(qrv::OpenChannel(3, name, 1)) << c.member;
      for (int32_t expected : c.expected) {
        int32_t value = 0;
        c.read(3, value);
        EXPECT_EQ(value, expected) << c.member << " " << name.c_str();
      }
    }
  }
}

TEST_F(ChannelsTest, WrittenValuesReadBackExactly) {
  ASSERT_TRUE(qrv::OpenChannel(0, "out.bin", 0));
  qrv::WriteInt8(0, -1);
  qrv::WriteUInt8(0, 0x1ff);
  qrv::WriteInt16(0, -2);
  qrv::WriteUInt16(0, 0x12345);
  qrv::WriteInt32(0, -3);
  qrv::WriteUInt32(0, 7);
  qrv::WriteFloat64(0, 0.1);
  qrv::WriteFloat32(0, 0.1);
  qrv::WriteBytes(0, qrv::RtString("a\0b", 3));
  qrv::WriteLine(0, "ab");
  qrv::CloseChannel(0);
  std::string bytes = ReadFile("out.bin");
  ASSERT_EQ(bytes.size(), 1u + 1 + 2 + 2 + 4 + 4 + 8 + 4 + 3 + 4);
  EXPECT_EQ(bytes.substr(bytes.size() - 7), std::string("a\0bab\r\n", 7));
  ASSERT_TRUE(qrv::OpenChannel(0, "out.bin", 1));
  int32_t i8, u8, i16, u16, i32, u32;
  double f64, f32;
  qrv::ReadInt8(0, i8), qrv::ReadUInt8(0, u8), qrv::ReadInt16(0, i16), qrv::ReadUInt16(0, u16);
  qrv::ReadInt32(0, i32), qrv::ReadUInt32(0, u32), qrv::ReadFloat64(0, f64);
  qrv::ReadFloat32(0, f32);
  EXPECT_EQ(std::vector<int32_t>({i8, u8, i16, u16, i32, u32}),
            std::vector<int32_t>({-1, 255, -2, 0x2345, -3, 7}));
  EXPECT_EQ(f64, 0.1);
  EXPECT_EQ(f32, static_cast<double>(0.1f));
  qrv::RtString raw;
  qrv::ReadBytes(0, raw, 3);
  EXPECT_EQ(raw.Length(), 3u);
  EXPECT_EQ(std::string(raw.c_str(), 3), std::string("a\0b", 3));
  qrv::ReadBytes(0, raw, 0);
  EXPECT_TRUE(raw.Empty());
  EXPECT_EQ(qrv::ChannelPosition(0), static_cast<int32_t>(bytes.size()) - 4);
}

TEST_F(ChannelsTest, LinesEndAtLineFeedsDropCarriageReturnsAndStopAt1024Bytes) {
  std::string longLine(1030, 'x');
  const struct {
    std::string file;
    std::vector<std::string> lines;
  } cases[] = {
      {"one\r\ntwo", {"one", "two"}},
      {"a\n\nb\n", {"a", "", "b"}},
      {longLine + "\nz", {longLine.substr(0, 1024), "xxxxxx", "z"}},
      {std::string(1024, 'y') + "\r\nq", {std::string(1024, 'y'), "", "q"}},
  };
  for (const auto& c : cases) {
    WriteFile("t.txt", c.file);
    for (qrv::RtString name : {qrv::RtString("t.txt"), MemoryName(c.file)}) {
      ASSERT_TRUE(qrv::OpenChannel(1, name, 1));
      for (const std::string& expected : c.lines) {
        qrv::RtString line;
        qrv::ReadLine(1, line);
        EXPECT_EQ(line.c_str(), expected) << name.c_str();
      }
      EXPECT_TRUE(qrv::EndOfChannel(1)) << name.c_str();
    }
  }
  // The end of a disk file ends a line as '\n' does; a block's last '\r' is its own byte.
  WriteFile("t.txt", "tail\r");
  for (auto [name, expected] :
       {std::pair<qrv::RtString, const char*>{"t.txt", "tail"}, {MemoryName("tail\r"), "tail\r"}}) {
    ASSERT_TRUE(qrv::OpenChannel(1, name, 1));
    qrv::RtString line;
    qrv::ReadLine(1, line);
    EXPECT_STREQ(line.c_str(), expected);
  }
  WriteFile("n.txt", "3.5\r\n-42x\nNancy\n");
  ASSERT_TRUE(qrv::OpenChannel(1, "n.txt", 1));
  double number = 0;
  int32_t integer = 0;
  qrv::ReadLineNumber(1, number);
  qrv::ReadLineInteger(1, integer);
  EXPECT_EQ(number, 3.5);
  EXPECT_EQ(integer, -42);
  qrv::ReadLineNumber(1, number);
  EXPECT_EQ(number, 0);  // a word is no number
}

TEST_F(ChannelsTest, ReadingPastTheEndStopsTheProgramWithErrorThree) {
  WriteFile("t.txt", "one\r\ntwo");
  WriteFile("four.bin", "abcd");
  auto readLineTwice = [] {
    qrv::OpenChannel(1, "t.txt", 1);
    qrv::RtString line;
    for (int i = 0; i < 3; ++i) qrv::ReadLine(1, line);
  };
  EXPECT_EXIT(readLineTwice(), ExitedWithCode(0), "");
  EXPECT_EQ(StopCode(), 3);
  auto shortDiskRead = [] {
    qrv::OpenChannel(1, "four.bin", 1);
    int32_t a;
    double d;
    qrv::ReadInt32(1, a);
    std::fprintf(stderr, "first read done\n");
    qrv::ReadFloat64(1, d);
    std::fprintf(stderr, "not reached\n");
  };
  EXPECT_EXIT(shortDiskRead(), ExitedWithCode(0), "first read done\nerror 3 no such file\n$");
  EXPECT_EQ(StopCode(), 3);
  auto readClosed = [] {
    int32_t a;
    qrv::ReadInt8(5, a);
    std::fprintf(stderr, "not reached\n");
  };
  EXPECT_EXIT(readClosed(), ExitedWithCode(0), "^error 3 no such file\n$");
  EXPECT_EQ(StopCode(), 3);
  auto writeToReader = [] {
    qrv::OpenChannel(1, "four.bin", 1);
    qrv::WriteInt8(1, 0);
    std::fprintf(stderr, "not reached\n");
  };
  EXPECT_EXIT(writeToReader(), ExitedWithCode(0), "^error 3 no such file\n$");
  EXPECT_EQ(StopCode(), 3);
}

// Written bytes are in the file at once (other readers see them before the close), and a
// seek moves the write point of a writing or appending channel.
TEST_F(ChannelsTest, WritesLandAtOnceAndSeeksMoveTheWritePoint) {
  const struct {
    int32_t offset, origin;
    std::string file;
  } cases[] = {
      {2, 1, std::string("ABCDEFGH\0\0xy", 12)},
      {-2, 1, "ABCDEFxy"},
      {-4, -1, "ABCDxyGH"},
      {1, 0, "AxyDEFGH"},
      {-9, 1, "ABCDEFGHxy"},  // before the start: refused
  };
  for (const auto& c : cases) {
    for (int32_t mode : {0, -1}) {
      WriteFile("w.bin", mode == 0 ? "old" : "ABCD");
      ASSERT_TRUE(qrv::OpenChannel(5, "w.bin", mode));
      qrv::WriteBytes(5, mode == 0 ? "ABCDEFGH" : "EFGH");
      EXPECT_EQ(qrv::FileSize("w.bin"), 8);
      qrv::SeekChannel(5, c.offset, c.origin);
      qrv::WriteBytes(5, "xy");
      EXPECT_EQ(ReadFile("w.bin"), c.file) << c.offset << " " << c.origin << " mode " << mode;
      qrv::CloseChannel(5);
    }
  }
}

// A write the disk refuses (here a file size limit) stops the program at that write.
TEST_F(ChannelsTest, FailedWritesStopWithErrorThree) {
  if (!test_host::CanLimitResources()) GTEST_SKIP() << "this host keeps no file size limit";
  auto writePastTheLimit = [] {
    test_host::LimitFileSize(4096);
    qrv::OpenChannel(0, "big.bin", 0);
    qrv::WriteBytes(0, qrv::RtString(std::string(4000, 'a').c_str()));
    std::fprintf(stderr, "fits\n");
    qrv::WriteBytes(0, qrv::RtString(std::string(200, 'b').c_str()));
    std::fprintf(stderr, "not reached\n");
  };
  EXPECT_EXIT(writePastTheLimit(), ExitedWithCode(0), "^fits\nerror 3 no such file\n$");
  EXPECT_EQ(StopCode(), 3);
}

// More room than the memory can give stops with error 7, whatever the request.
TEST_F(ChannelsTest, AbsurdByteCountsStopWithErrorSeven) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "an address space limit cannot be set under the address sanitizer";
#endif
  if (!test_host::CanLimitResources()) GTEST_SKIP() << "this host keeps no memory limit";
  qrv::RtString name = MemoryName("abc");
  auto readHuge = [&] {
    test_host::LimitAddressSpace(int64_t(1) << 30);
    qrv::OpenChannel(2, name, 1);
    qrv::RtString bytes;
    qrv::ReadBytes(2, bytes, 0x7fffffff);
    std::fprintf(stderr, "not reached\n");
  };
  EXPECT_EXIT(readHuge(), ExitedWithCode(0), "^error 7 out of memory\n$");
  EXPECT_EQ(StopCode(), 7);
}

TEST_F(ChannelsTest, MemoryBlocksDeliverWhatRemainsThenStopPastTheEnd) {
  qrv::RtString name = MemoryName("abcdef");
  ASSERT_TRUE(qrv::OpenChannel(2, name, 1));
  qrv::SeekChannel(2, 4, 0);
  int32_t value = -1;
  qrv::ReadInt32(2, value);
  EXPECT_EQ(value, 'e' | ('f' << 8));
  qrv::ReadInt32(2, value);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(qrv::ChannelPosition(2), 6);
  auto beyond = [&] {
    qrv::OpenChannel(2, name, 1);
    qrv::SeekChannel(2, 7, 0);  // refused: the position stays
    int32_t v;
    qrv::ReadInt32(2, v);
    std::fprintf(stderr, "stayed inside\n");
    qrv::ReadInt32(2, v);
    qrv::ReadInt8(2, v);
    std::fprintf(stderr, "still inside\n");
    qrv::ReadBytes(2, *new qrv::RtString, 3);
    std::fprintf(stderr, "at the end\n");
    qrv::RtString line;
    qrv::ReadLine(2, line);
    std::fprintf(stderr, "not reached\n");
  };
  EXPECT_EXIT(beyond(), ExitedWithCode(0), "stayed inside\nstill inside\nat the end\nerror 3 no such file\n$");
  EXPECT_EQ(StopCode(), 3);
}

TEST_F(ChannelsTest, BadChannelNumbersStopWithErrorSeven) {
  for (int32_t channel : {8, -1, 1000}) {
    auto open = [channel] {
      qrv::OpenChannel(channel, "x", 1);
      std::fprintf(stderr, "not reached\n");
    };
    EXPECT_EXIT(open(), ExitedWithCode(0), "^error 7 out of memory\n$");
    EXPECT_EQ(StopCode(), 7);
  }
  EXPECT_EXIT(qrv::SeekChannel(9, 0, 0), ExitedWithCode(0), "");
  EXPECT_EQ(StopCode(), 7);
  EXPECT_EXIT(qrv::EndOfChannel(-3), ExitedWithCode(0), "");
  EXPECT_EQ(StopCode(), 7);
}

TEST_F(ChannelsTest, OpeningModesAndFreeChannels) {
  WriteFile("data.bin", "0123456789");
  EXPECT_FALSE(qrv::OpenChannel(0, "missing.bin", 1));
  EXPECT_EQ(qrv::LastError(), 3);
  EXPECT_FALSE(qrv::OpenChannel(0, MemoryName("x"), 0));
  EXPECT_FALSE(qrv::OpenChannel(0, MemoryName("x"), -1));
  ASSERT_TRUE(qrv::OpenChannel(0, "data.bin", 1));
  EXPECT_EQ(qrv::LastError(), 0);
  ASSERT_TRUE(qrv::OpenChannel(1, "data.bin", 1));
  EXPECT_EQ(qrv::FreeChannel(), 2);
  qrv::SeekChannel(0, -4, -1);
  EXPECT_EQ(qrv::ChannelPosition(0), 6);
  qrv::SeekChannel(0, 2, 1);
  EXPECT_EQ(qrv::ChannelPosition(0), 8);
  int32_t value = 0;
  qrv::ReadUInt8(0, value);
  EXPECT_EQ(value, '8');
  // Before the start: refused, reading goes on where it was.
  qrv::SeekChannel(0, -20, 1);
  EXPECT_EQ(qrv::ChannelPosition(0), 9);
  qrv::ReadUInt8(0, value);
  EXPECT_EQ(value, '9');
  // A channel reading a memory block counts as free.
  ASSERT_TRUE(qrv::OpenChannel(2, MemoryName("m"), 1));
  EXPECT_EQ(qrv::FreeChannel(), 2);
  for (int32_t c = 2; c < 8; ++c) ASSERT_TRUE(qrv::OpenChannel(c, "data.bin", 1));
  EXPECT_EQ(qrv::FreeChannel(), -1);
  qrv::CloseAllChannels();
  // Mode 0 empties an existing file; a negative mode writes after its last byte.
  ASSERT_TRUE(qrv::OpenChannel(0, "data.bin", -1));
  qrv::WriteBytes(0, "AB");
  qrv::CloseChannel(0);
  EXPECT_EQ(ReadFile("data.bin"), "0123456789AB");
  ASSERT_TRUE(qrv::OpenChannel(0, "data.bin", 0));
  qrv::CloseChannel(0);
  EXPECT_EQ(ReadFile("data.bin"), "");
  EXPECT_FALSE(qrv::OpenChannel(0, "no/such/folder/x.bin", 0));
}

TEST_F(ChannelsTest, ReadsGoThroughTheMainPack) {
  WriteFile("src/Level.dat", "packed level");
  ASSERT_EQ(files_test::RunQrv("pack create main.pak src/Level.dat"), 0);
  qrv::SetMediaPacks("main.pak", "main.pak");
  ASSERT_TRUE(qrv::OpenChannel(4, "maps/level.DAT", 1));
  qrv::RtString text;
  qrv::ReadBytes(4, text, 12);
  EXPECT_STREQ(text.c_str(), "packed level");
  qrv::ReleaseMediaPacks();
}

}  // namespace
