// The file-system helpers on a real folder: existence, sizes, removal, folders, the
// current directory, wildcard matching and copying.

#include <csignal>

#include "files_fixture.h"
#include "quorvia/files.h"
#include "quorvia/frame.h"

namespace {

using files_test::ReadFile;
using files_test::WriteFile;
namespace fs = std::filesystem;

using FsHelpersTest = files_test::FilesTest;

TEST(WildcardMatch, PatternsMatchWholeNamesWithoutRegardToCase) {
  const struct {
    const char* pattern;
    const char* name;
    bool matches;
  } cases[] = {
      {"*.bmp", "a.BMP", true},
      {"?.txt", "..txt", false},
      {"a*", "a", true},
      {"*.*", "noextension", true},
      {"*.*x", "noextension", false},
      {"a?c", "abc", true},
      {"a?c", "ac", false},
      {"**b", "aab", true},
      {"*ab*cd", "xabyabzcd", true},
      {"*ab*cd", "xabyabzcdq", false},
      {"Level?.map", "level7.MAP", true},
      {"", "", true},
      {"", "a", false},
      {"*", "", true},
      {"?", "", false},
      {"a", "ab", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(qrv::WildcardMatch(c.pattern, c.name), c.matches) << c.pattern << " " << c.name;
  }
}

TEST_F(FsHelpersTest, ExistenceSizeAndRemoval) {
  WriteFile("Media/Data.BIN", "12345");
  fs::create_directory("folder");
  EXPECT_TRUE(qrv::FileExists("Media/Data.BIN"));
  EXPECT_TRUE(qrv::FileExists("media\\data.bin"));
  EXPECT_FALSE(qrv::FileExists("folder"));
  EXPECT_FALSE(qrv::FileExists("missing"));
  EXPECT_EQ(qrv::FileSize("MEDIA/data.bin"), 5);
  EXPECT_EQ(qrv::LastError(), 0);
  EXPECT_EQ(qrv::FileSize("missing"), 0);
  EXPECT_EQ(qrv::LastError(), 3);
  EXPECT_FALSE(qrv::RemoveFile("folder"));
  EXPECT_TRUE(qrv::RemoveFile("media/DATA.bin"));
  EXPECT_FALSE(fs::exists("Media/Data.BIN"));
  EXPECT_FALSE(qrv::RemoveFile("media/DATA.bin"));
}

TEST_F(FsHelpersTest, FoldersAndTheCurrentDirectory) {
  EXPECT_TRUE(qrv::MakeDirectory("Saves"));
  EXPECT_FALSE(qrv::MakeDirectory("saves"));  // exists already, spelled otherwise
  EXPECT_TRUE(qrv::MakeDirectory("SAVES\\slot1"));
  EXPECT_TRUE(fs::is_directory("Saves/slot1"));
  EXPECT_FALSE(qrv::MakeDirectory("a/b/c"));
  EXPECT_TRUE(qrv::DirectoryExists("saves/SLOT1"));
  EXPECT_FALSE(qrv::DirectoryExists("nothing"));
  WriteFile("plain", "x");
  EXPECT_FALSE(qrv::DirectoryExists("plain"));

  qrv::RtString start = qrv::CurrentDirectory();
  EXPECT_EQ(std::string(start.c_str()), fs::current_path().string() + "/");
  EXPECT_EQ(qrv::ChangeDirectory("saves\\slot1"), 1.0);
  EXPECT_EQ(qrv::LastError(), 0);
  EXPECT_TRUE(test_host::SameFile(qrv::CurrentDirectory().c_str(), (root_ / "Saves/slot1").string()));
  EXPECT_EQ(std::string(qrv::CurrentDirectory().c_str()), fs::current_path().string() + "/");
  EXPECT_EQ(qrv::ChangeDirectory("nowhere"), 0.0);
  EXPECT_EQ(qrv::LastError(), 3);
  EXPECT_EQ(qrv::ChangeDirectory(start), 1.0);

  qrv::RtString path = "a\\b\\c.txt";
  EXPECT_EQ(qrv::ToForwardSlashes(path), 9);
  EXPECT_STREQ(path.c_str(), "a/b/c.txt");
}

TEST_F(FsHelpersTest, CopyingMovesEveryByteAndCleansUpAfterFailure) {
  std::string bytes;
  for (int i = 0; i < 10000; ++i) bytes += static_cast<char>(i * 13);
  WriteFile("source.bin", bytes);
  EXPECT_TRUE(qrv::CopyFileData("SOURCE.bin", "copy.bin"));
  EXPECT_EQ(ReadFile("copy.bin"), bytes);
  WriteFile("empty", "");
  EXPECT_TRUE(qrv::CopyFileData("empty", "copy.bin"));
  EXPECT_EQ(ReadFile("copy.bin"), "");
  std::unique_ptr<uint8_t[]> block(new uint8_t[3]{'m', 'e', 'm'});
  qrv::RtString name = qrv::RegisterMemoryBlock(std::move(block), 3);
  EXPECT_TRUE(qrv::CopyFileData(name, "from-memory"));
  EXPECT_EQ(ReadFile("from-memory"), "mem");
  EXPECT_FALSE(qrv::CopyFileData("source.bin", name));
  EXPECT_FALSE(qrv::CopyFileData("missing", "never"));
  EXPECT_FALSE(fs::exists("never"));
  // A link planted under the destination's name is replaced, not written through.
  if (test_host::MakeLink("source.bin", "link")) {
    EXPECT_TRUE(qrv::CopyFileData("empty", "link"));
    EXPECT_EQ(ReadFile("source.bin"), bytes);
  }
  // Writes that fail midway (a file size limit) leave no partial destination.
  if (!test_host::CanLimitResources()) return;  // no file size limit on this host
  WriteFile("big.bin", std::string(300000, 'b'));
  auto limitedCopy = [] {
    test_host::LimitFileSize(100000);
    bool copied = qrv::CopyFileData("big.bin", "partial.bin");
    std::_Exit(!copied && !fs::exists("partial.bin") ? 0 : 1);
  };
  EXPECT_EXIT(limitedCopy(), testing::ExitedWithCode(0), "");
}

}  // namespace

namespace {

TEST_F(FsHelpersTest, ListingsPutFoldersFirstAndFilterFilesOnly) {
  WriteFile("b.txt", "");
  WriteFile("A.txt", "");
  WriteFile("c.bmp", "");
  fs::create_directory("sub");
  fs::create_directory("Data.bmp");
  // A link to a folder lists as a folder (a plain one where the host makes no links).
  if (!test_host::MakeLink("sub", "link")) fs::create_directory("link");
  qrv::RtArray<qrv::RtString> names;
  // The folder "tmp" of the fixture is listed as well.
  EXPECT_EQ(qrv::ListDirectory("*.txt", names), 2 + 65536 * 6);
  std::vector<std::string> listed;
  for (int32_t i = 0; i < names.Bounds(0); ++i) listed.push_back(names.ElementAt(i).c_str());
  EXPECT_EQ(listed, std::vector<std::string>(
                        {".", "..", "Data.bmp", "link", "sub", "tmp", "A.txt", "b.txt"}));
  EXPECT_EQ(qrv::ListDirectory("*.*", names), 3 + 65536 * 6);
  EXPECT_EQ(qrv::ListDirectory("?.BMP", names), 1 + 65536 * 6);
  EXPECT_STREQ(names.ElementAt(6).c_str(), "c.bmp");
}

}  // namespace
