// The error state, its text form, END and the error log, checked in whole processes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "frame/scratch.h"
#include "quorvia/frame.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(ErrorState, RecordTruncatesAndTextNamesTheCode) {
  qrv::RecordError(9.7);
  EXPECT_EQ(qrv::LastError(), 9);
  EXPECT_STREQ(qrv::ErrorText().c_str(), "0009 out of bounds");
  qrv::RecordError(5);
  EXPECT_STREQ(qrv::ErrorText().c_str(), "0005 unknown error");
  qrv::RecordError(-2.5);
  EXPECT_EQ(qrv::LastError(), -2);
  qrv::ClearError();
  EXPECT_STREQ(qrv::ErrorText().c_str(), "0000 success");
  qrv::SetSourcePosition(2, 44);
  qrv::RecordError(20);
  EXPECT_EQ(qrv::ErrorLine(), 44);
  EXPECT_STREQ(qrv::ErrorText().c_str(), "0020 out of data");
  qrv::SetSourcePosition(0, 0);
}

TEST(ErrorState, ErrorStopExitsWithCodeZero) {
  EXPECT_EXIT(qrv::ErrorStop(9), testing::ExitedWithCode(0), "");
}

class ErrorLog : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = scratch_.Path() + "/";
    tmpdir_.emplace(dir_);
  }
  void TearDown() override { tmpdir_.reset(); }
  frame_test::ScratchFolder scratch_{"qrv-log"};
  std::optional<frame_test::TemporaryFolderSetting> tmpdir_;
  std::string dir_;
};

TEST_F(ErrorLog, LinesAreAppendedWithCrLf) {
  const std::filesystem::path log = qrv::ErrorLogPath().c_str();
  EXPECT_EQ(log.filename(), "ErrorLog.txt");
  EXPECT_TRUE(test_host::SameFile(log.parent_path().string(), dir_)) << log;
  qrv::AppendToErrorLog("one");
  qrv::AppendToErrorLog(nullptr);  // no text: an empty line
  qrv::AppendToErrorLog("two");
  EXPECT_EQ(ReadFile(dir_ + "ErrorLog.txt"), "one\r\n\r\ntwo\r\n");
}

TEST_F(ErrorLog, APlantedLinkIsNeverWrittenThrough) {
  std::string victim = dir_ + "victim.txt";
  { std::ofstream(victim) << "precious"; }
  if (!test_host::MakeLink(victim, dir_ + "ErrorLog.txt")) {
    GTEST_SKIP() << "this host makes no symbolic links";
  }
  qrv::AppendToErrorLog("attack");
  EXPECT_EQ(ReadFile(victim), "precious");
}

}  // namespace
