// The file dialog command against stand-in dialog programs on PATH: what they are asked,
// how their answer comes back, and "NO_FILE" when cancelled or when there is none.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "frame/process_runner.h"
#include "quorvia/frame.h"
#include "support/host.h"

namespace {

class FileDialog : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/qrv-dialog-XXXXXX";
    bin_ = mkdtemp(pattern);
    oldPath_ = std::getenv("PATH");
    setenv("PATH", bin_.c_str(), 1);
  }
  void TearDown() override {
    setenv("PATH", oldPath_.c_str(), 1);
    test_host::RunShell("/bin/rm -rf '" + bin_ + "'");
  }
  // A dialog program that records its arguments, prints `answer` and exits with `status`.
  void Install(const std::string& name, const std::string& answer, int status) {
    std::string path = bin_ + "/" + name;
    std::ofstream(path) << "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\" >> '" << bin_
                        << "/args'; done\nprintf '%s\\n' '" << answer << "'\nexit " << status
                        << "\n";
    chmod(path.c_str(), 0755);
  }
  std::string Args() { return frame_test::Shell("/bin/cat '" + bin_ + "/args' 2>/dev/null"); }

  std::string bin_, oldPath_;
};

TEST_F(FileDialog, AnswersAndCancellations) {
  const struct {
    const char* program;
    const char* answer;
    int status;
    const char* expected;
  } cases[] = {
      {"zenity", "C:\\games\\level.map", 0, "C:/games/level.map"},
      {"zenity", "", 1, "NO_FILE"},
      {"kdialog", "/home/player/save.dat", 0, "/home/player/save.dat"},
      {"kdialog", "", 1, "NO_FILE"},
      {nullptr, "", 0, "NO_FILE"},
  };
  for (const auto& c : cases) {
    test_host::RunShell("/bin/rm -f '" + bin_ + "'/*");
    if (c.program != nullptr) Install(c.program, c.answer, c.status);
    EXPECT_STREQ(qrv::FileDialog(1, "Maps|*.map").c_str(), c.expected)
        << (c.program ? c.program : "none") << " " << c.answer;
  }
}

TEST_F(FileDialog, FilterPairsReachTheDialog) {
  Install("zenity", "/x", 0);
  qrv::FileDialog(0, "Images|*.png;*.bmp|All files|*.*|dangling");
  std::string args = Args();
  EXPECT_NE(args.find("--save"), std::string::npos) << args;
  EXPECT_NE(args.find("--file-filter=Images | *.png *.bmp"), std::string::npos) << args;
  EXPECT_NE(args.find("--file-filter=All files | *.*"), std::string::npos) << args;
  EXPECT_EQ(args.find("dangling"), std::string::npos) << args;
}

TEST_F(FileDialog, KdialogGetsOneFilterLinePerPair) {
  Install("kdialog", "/x", 0);
  qrv::FileDialog(1, "Images|*.png;*.bmp|All files|*.*");
  EXPECT_NE(Args().find("--getopenfilename"), std::string::npos);
  EXPECT_NE(Args().find("*.png *.bmp|Images\n*.*|All files"), std::string::npos) << Args();
}

}  // namespace
