// `qrv map`: compiling text grids into map files, printing map files back as text, and the
// messages for texts and files it cannot take.
#include <gtest/gtest.h>

#include <string>

#include "game_run.h"
#include "level.h"

namespace {

using game_test::ReadFile;
using game_test::WriteFile;

class MapToolTest : public testing::Test {
 protected:
  // Runs `qrv map WORDS` in the test's folder; stderr goes to err.txt, stdout to out.txt.
  int Map(const std::string& words) {
    std::vector<std::string> argv = test_host::SplitWords(words);
    argv.insert(argv.begin(), {game_test::kQrv, "map"});
    test_host::ChildOptions options;
    options.folder = folder_;
    options.outputFile = folder_ + "/out.txt";
    options.errorFile = folder_ + "/err.txt";
    return test_host::RunProgram(argv, options);
  }
  std::string File(const std::string& name) { return ReadFile(folder_ + "/" + name); }
  void Put(const std::string& name, const std::string& bytes) {
    WriteFile(folder_ + "/" + name, bytes);
  }

  test_host::ScratchFolder scratch_{"qrv-map-test"};
  const std::string& folder_ = scratch_.Path();
};

std::string Rows(int count, const std::string& row = std::string(32, '.')) {
  std::string text;
  for (int i = 0; i < count; ++i) text += row + "\n";
  return text;
}

TEST_F(MapToolTest, CompilesTheGridIntoRecordsRowByRow) {
  Put("a.txt", "; two cells of note\nlegend x 5 -1\nmap\n" + Rows(2) + "/" + std::string(30, '.') +
                   "x\n" + Rows(21));
  ASSERT_EQ(Map("compile a.txt a.map"), 0) << File("err.txt");
  std::string bytes = File("a.map");
  ASSERT_EQ(bytes.size(), 6144u);
  auto word = [&](int offset) {
    return static_cast<int32_t>(
        static_cast<uint8_t>(bytes[offset]) | static_cast<uint8_t>(bytes[offset + 1]) << 8 |
        static_cast<uint8_t>(bytes[offset + 2]) << 16 |
        static_cast<uint32_t>(static_cast<uint8_t>(bytes[offset + 3])) << 24);
  };
  EXPECT_EQ(word(0), 0);
  EXPECT_EQ(word(4), 128);           // '.' has no graphic
  EXPECT_EQ(word((2 * 32) * 8), 2);  // '/' at column 0, row 2
  EXPECT_EQ(word((2 * 32) * 8 + 4), 3);
  EXPECT_EQ(word((2 * 32 + 31) * 8), 5);  // 'x' at column 31, row 2
  EXPECT_EQ(word((2 * 32 + 31) * 8 + 4), -1);
}

TEST_F(MapToolTest, PrintingAndCompilingAgainGivesTheSameFile) {
  ASSERT_EQ(Map("compile '" QRV_SOURCE_DIR "/game/Media/maps/map01.txt' one.map"), 0);
  EXPECT_EQ(File("one.map"), ReadFile(QRV_SOURCE_DIR "/game/Media/maps/map01.map"))
      << "map01.map is not the compiled map01.txt";
  ASSERT_EQ(Map("print one.map"), 0);
  Put("printed.txt", File("out.txt"));
  ASSERT_EQ(Map("compile printed.txt two.map"), 0) << File("err.txt");
  EXPECT_EQ(File("two.map"), File("one.map"));
  // Bytes after the map are never read: printing says so and ignores them.
  Put("long.map", File("one.map") + "extra");
  ASSERT_EQ(Map("print long.map"), 0);
  EXPECT_NE(File("err.txt").find("5 bytes after the map"), std::string::npos);
}

TEST_F(MapToolTest, TextsItCannotTakeAreRefusedWithTheLine) {
  struct Case {
    std::string text, message;
  };
  const Case cases[] = {
      {"map\n" + Rows(24) + "oops\n", "line 26: there is text after the 24 map rows"},
      {"map\n" + Rows(23), "the map has 24 rows, the text has 23"},
      {Rows(24), "line 1: expected a comment, a legend line or 'map'"},
      {"; nothing\n", "there is no 'map' line"},
      {"map\n" + Rows(3) + std::string(31, '.') + "\n" + Rows(20),
       "line 5: a map row has 32 cells, this one has 31"},
      {"map\n" + Rows(1) + std::string(7, '.') + "?" + std::string(24, '.') + "\n" + Rows(22),
       "line 3: column 7: '?' is not in the legend"},
      {"legend ab 1 0\nmap\n" + Rows(24), "line 1: a legend character is one printable"},
      {"legend a 1\nmap\n" + Rows(24), "line 1: a legend line is 'legend CHARACTER TYPE GRAPHIC'"},
      {"legend a 1x 0\nmap\n" + Rows(24), "line 1: the tile type '1x' is not a 32-bit integer"},
      {"legend a 1 4294967296\nmap\n" + Rows(24), "line 1: the graphic '4294967296' is neither"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    Put("bad.txt", c.text);
    EXPECT_EQ(Map("compile bad.txt bad.map"), 1);
    EXPECT_NE(File("err.txt").find(c.message), std::string::npos) << File("err.txt");
  }
}

// Comment lines count nowhere: before, between and after the grid rows, indented or not.
// The comment mark is therefore no legend character.
TEST_F(MapToolTest, CommentLinesAnywhere) {
  std::string row = "/" + std::string(30, '.') + "x\n";
  Put("plain.txt", "legend x 5 -1\nmap\n" + Rows(2) + row + Rows(21));
  Put("noted.txt", "; head\nlegend x 5 -1\nmap\n; first rows\n" + Rows(2) + "  ; the slope\n" +
                       row + Rows(10) + ";\n" + Rows(11) + "; after the grid\n;\n");
  ASSERT_EQ(Map("compile plain.txt plain.map"), 0) << File("err.txt");
  ASSERT_EQ(Map("compile noted.txt noted.map"), 0) << File("err.txt");
  EXPECT_EQ(File("noted.map"), File("plain.map"));
  Put("semicolon.txt", "legend ; 5 -1\nmap\n" + Rows(24));
  EXPECT_EQ(Map("compile semicolon.txt x.map"), 1);
  EXPECT_NE(File("err.txt").find("other than a space or ';'"), std::string::npos);
}

TEST_F(MapToolTest, FilesItCannotPrintAreRefused) {
  Put("short.map", std::string(6143, '\0'));
  EXPECT_EQ(Map("print short.map"), 1);
  EXPECT_NE(File("err.txt").find("the file holds 6143 bytes, a map holds 6144"), std::string::npos);

  // Every cell different: more kinds of cell than a text grid has characters.
  std::string bytes;
  for (int i = 0; i < 768; ++i) bytes += std::string{char(i), char(i >> 8), 0, 0, 0, 0, 0, 0};
  Put("busy.map", bytes);
  EXPECT_EQ(Map("print busy.map"), 1);
  EXPECT_NE(File("err.txt").find("more distinct cells"), std::string::npos);
  EXPECT_EQ(Map("unknown"), 2);
}

}  // namespace
