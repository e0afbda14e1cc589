// The line store: 256 numbered lines of a text file, trailing control characters,
// bad indices, missing files, and write-back on switching and at exit.
#include "files_fixture.h"
#include "quorvia/files.h"
#include "quorvia/frame.h"

namespace {

using files_test::ReadFile;
using files_test::WriteFile;
namespace fs = std::filesystem;

class LineStoreTest : public files_test::FilesTest {
 protected:
  void TearDown() override {
    qrv::LineStoreFlush();
    qrv::RtString ignored;
    qrv::LineStoreGet("", 0, ignored);  // forget the file of this test
    FilesTest::TearDown();
  }
};

std::string Get(const char* file, int32_t index) {
  qrv::RtString text;
  qrv::LineStoreGet(file, index, text);
  return text.c_str();
}

TEST_F(LineStoreTest, LinesComeBackWithoutTrailingControlCharacters) {
  std::string file = "first\r\nblank and tab \t\r\n\x01\x02\t\r\n\r\n12.5\nCaf\xc3\xa9\n";
  file += "Infinity\n";
  for (int i = 7; i < 300; ++i) file += "line " + std::to_string(i) + "\n";
  WriteFile("lines.txt", file);
  const struct {
    int32_t index;
    const char* text;
    int32_t error;
  } cases[] = {
      {0, "first", 0},      {1, "blank and tab ", 0}, {2, "NO_DATA", 0},
      {3, "NO_DATA", 0},    {4, "12.5", 0},           {5, "Caf\xc3\xa9", 0},
      {255, "line 255", 0}, {256, "NO_DATA", 7},      {-1, "NO_DATA", 7},
  };
  for (const auto& c : cases) {
    qrv::ClearError();
    EXPECT_EQ(Get("lines.txt", c.index), c.text) << c.index;
    EXPECT_EQ(qrv::LastError(), c.error) << c.index;
  }
  EXPECT_EQ(qrv::LineStoreGetNumber("lines.txt", 4.9), 12.5);
  EXPECT_EQ(qrv::LineStoreGetInteger("lines.txt", 4), 12);
  EXPECT_EQ(qrv::LineStoreGetNumber("lines.txt", 6), 0);  // a word is no number
  EXPECT_EQ(Get("missing.txt", 0), "NO_FILE");
}

TEST_F(LineStoreTest, PutsAreWrittenBackOnceWhenAnotherFileIsNamed) {
  WriteFile("a.txt", "zero\r\none\r\n");
  WriteFile("b.txt", "other\r\n");
  qrv::LineStorePut("a.txt", 1, "ONE");
  qrv::LineStorePut("a.txt", 3, 2.5);
  qrv::LineStorePut("a.txt", 256, "ignored");
  EXPECT_EQ(qrv::LastError(), 7);
  qrv::LineStorePut("a.txt", 0, "split\r\nline");
  EXPECT_EQ(ReadFile("a.txt"), "zero\r\none\r\n");
  EXPECT_EQ(Get("b.txt", 0), "other");
  EXPECT_EQ(ReadFile("a.txt"), "split\r\nONE\r\n\r\n2.5\r\n");
  // Written once: a later change by someone else is not overwritten by another switch.
  WriteFile("a.txt", "changed outside\r\n");
  EXPECT_EQ(Get("b.txt", 0), "other");
  EXPECT_EQ(Get("a.txt", 0), "changed outside");
  EXPECT_EQ(ReadFile("a.txt"), "changed outside\r\n");
}

TEST_F(LineStoreTest, NewFilesAreCreatedByPuts) {
  qrv::LineStorePut("Scores.txt", 2, "100");
  EXPECT_EQ(Get("Scores.txt", 2), "100");
  EXPECT_EQ(Get("Scores.txt", 0), "NO_DATA");
  qrv::LineStoreFlush();
  EXPECT_EQ(ReadFile("Scores.txt"), "\r\n\r\n100\r\n");
}

TEST_F(LineStoreTest, WriteBackGoesToTheLoadedFileWhereverTheProgramMovesTo) {
  WriteFile("scores.txt", "old\r\n");
  WriteFile("elsewhere/scores.txt", "unrelated\r\n");
  qrv::LineStorePut("scores.txt", 0, "new");
  fs::current_path("elsewhere");
  qrv::LineStoreFlush();
  fs::current_path(root_);
  EXPECT_EQ(ReadFile("scores.txt"), "new\r\n");
  EXPECT_EQ(ReadFile("elsewhere/scores.txt"), "unrelated\r\n");
}

// A real program carrying its media in its own file: start-up finds the pack, the
// program copies a member into the line store, and END writes the store out.
TEST_F(LineStoreTest, ProgramsFindTheirOwnPackAndFlushTheStoreAtExit) {
  WriteFile("src/Greeting.txt", "hello from the pack\r\nsecond line\r\n");
  const std::string game = test_host::Executable("game");
  ASSERT_EQ(files_test::RunQrv("pack create --append-to '" +
                               test_host::Executable(QRV_BUILD_DIR "/tests/program_files_pack") +
                               "' " + game + " src/Greeting.txt"),
            0);
  test_host::ChildOptions options;
  options.env = {{"QRV_LINES_OUT", (root_ / "out.txt").string()}};
  ASSERT_EQ(test_host::RunProgram({(root_ / game).string()}, options), 0);
  EXPECT_EQ(ReadFile("out.txt"), "second line\r\nhello from the pack\r\n");
}

}  // namespace
