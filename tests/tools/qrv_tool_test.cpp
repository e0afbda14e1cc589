// The qrv tool as a new user meets it: help and version, unknown commands, and files it
// cannot use (folders, missing files, folders for outputs) reported with their real cause.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>

#include "tool_run.h"

namespace {

using tool_test::kQrv;
using tool_test::Result;

class QrvTool : public testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(Dir() / "folder");
    std::filesystem::copy_file(QRV_SOURCE_DIR "/game/Media/gfx/t1.bmp", Dir() / "t1.bmp");
    std::filesystem::copy_file(QRV_SOURCE_DIR "/game/Media/maps/map01.txt", Dir() / "map.txt");
  }
  std::filesystem::path Dir() const { return scratch_.Path(); }
  Result Qrv(const std::string& words) { return tool_test::Run(Dir(), kQrv + " " + words); }

  tool_test::ScratchFolder scratch_{"qrv-tool"};
};

TEST_F(QrvTool, HelpGoesToStandardOutputAndMistakesToStandardError) {
  for (const char* asked : {"--help", "-h", "help"}) {
    Result r = Qrv(asked);
    EXPECT_EQ(r.status, 0) << asked;
    EXPECT_NE(r.out.find("qrv pack create"), std::string::npos) << asked;
    EXPECT_EQ(r.err, "") << asked;
  }
  for (const char* asked : {"pack --help", "pack -h", "help pack"}) {
    Result r = Qrv(asked);
    EXPECT_EQ(r.status, 0) << asked;
    EXPECT_EQ(r.out.rfind("usage: qrv pack create", 0), 0u) << asked << ": " << r.out;
  }
  Result version = Qrv("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_TRUE(version.out.rfind("qrv ", 0) == 0 && std::isdigit(version.out[4])) << version.out;

  Result none = Qrv("");
  EXPECT_EQ(none.status, 2);
  EXPECT_EQ(none.out, "");
  EXPECT_NE(none.err.find("usage: qrv"), std::string::npos);
  Result unknown = Qrv("frobnicate x");
  EXPECT_EQ(unknown.status, 2);
  EXPECT_NE(unknown.err.find("unknown command 'frobnicate'"), std::string::npos) << unknown.err;
}

TEST_F(QrvTool, FilesItCannotUseAreReportedWithTheirCause) {
  Qrv("pack create good.pak t1.bmp");
  Qrv("map compile map.txt good.map");
  struct Case {
    const char* words;
    const char* cause;
  } cases[] = {
      {"pack create out.pak folder", "cannot read folder: Is a directory"},
      {"pack create out.pak missing.bmp", "cannot read missing.bmp: No such file or directory"},
      {"pack create --append-to folder out t1.bmp", "cannot read folder: Is a directory"},
      {"pack create folder t1.bmp", "cannot write folder: Is a directory"},
      {"pack create out.pak t1.bmp --append-to", "--append-to needs the program"},
      {"pack list folder", "cannot read folder: Is a directory"},
      {"pack list missing.pak", "cannot read missing.pak: No such file or directory"},
      {"pack list map.txt", "not a media pack"},
      {"pack extract folder t1.bmp x", "cannot read folder: Is a directory"},
      {"pack extract good.pak t1.bmp folder", "cannot write folder: Is a directory"},
      {"map compile folder out.map", "folder: cannot read: Is a directory"},
      {"map compile map.txt folder", "folder: cannot write: Is a directory"},
      {"map print folder", "folder: cannot read: Is a directory"},
      {"map print missing.map", "missing.map: cannot read: No such file or directory"},
      {"path folder 0 0 1 1", "cannot read folder: Is a directory"},
      {"image convert folder out.png", "cannot read folder: Is a directory"},
      {"image convert missing.png out.png", "cannot read missing.png: No such file or directory"},
      {"image convert map.txt out.png", "cannot read map.txt: neither a BMP, a PNG nor a JPEG"},
      {"image convert t1.bmp folder", "cannot write folder: Is a directory"},
      {"image convert t1.bmp nowhere/out.png", "cannot write nowhere/out.png: No such file"},
  };
  for (const Case& c : cases) {
    Result r = Qrv(c.words);
    EXPECT_EQ(r.status, 1) << c.words << ": " << r.err;
    // The C library's words for the cause: Windows' refuses to read a folder as a file.
    std::string cause = c.cause;
    if (size_t at = cause.find("Is a directory"); at != std::string::npos && test_host::IsWindows()) {
      cause.replace(at, 14, "Permission denied");
    }
    EXPECT_NE(r.err.find(cause), std::string::npos) << c.words << ": " << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(Dir() / "out.pak"));
}

TEST_F(QrvTool, ImageConvertSaysWhatItWrote) {
  // A name the save rule does not know is written as a BMP, and the tool says so.
  Result jpeg = Qrv("image convert t1.bmp out.jpeg");
  EXPECT_EQ(jpeg.status, 0);
  EXPECT_NE(jpeg.err.find("out.jpeg was written as a BMP"), std::string::npos) << jpeg.err;
  EXPECT_EQ(tool_test::ReadFile(Dir() / "out.jpeg").substr(0, 2), "BM");
  for (const char* name : {"out.bmp", "out.png", "out.JPG"}) {
    Result r = Qrv(std::string("image convert t1.bmp ") + name);
    EXPECT_EQ(r.status, 0) << name;
    EXPECT_EQ(r.err, "") << name;
  }
  // A BMP kind the runtime refuses: the cause, and what to do about it.
  ASSERT_EQ(tool_test::Run(Dir(), "convert t1.bmp BMP:v5.bmp").status, 0);
  Result v5 = Qrv("image convert v5.bmp out.png");
  EXPECT_EQ(v5.status, 1);
  EXPECT_NE(v5.err.find("BMP with a V5 header: save it as BMP3"), std::string::npos) << v5.err;
}

}  // namespace
