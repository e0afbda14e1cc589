// The environment, console and external-call commands in this process: variables set and
// read back, real pipes on the standard streams, libm's functions by name, and real
// commands run through the shell.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "host/host_files.h"
#include "quorvia/host.h"

namespace fs = std::filesystem;
using host_test::ReadFile;
using host_test::TempFolder;

namespace {

// True when this process has no child left, zombie or running.
bool NoChildren() {
  return waitpid(-1, nullptr, WNOHANG) < 0 && errno == ECHILD;
}

}  // namespace

TEST(Environment, SetReadRemoveAndList) {
  EXPECT_EQ(qrv::GetEnvironment("QRV_TEST_SURELY_UNSET").Length(), 0u);
  qrv::SetEnvironment("QRV_TEST_VAR", "a b=c");
  EXPECT_STREQ(qrv::GetEnvironment("QRV_TEST_VAR").c_str(), "a b=c");
  std::string all(qrv::GetEnvironment("").View());
  EXPECT_NE(all.find("QRV_TEST_VAR=a b=c\n"), std::string::npos);
  EXPECT_EQ(all.back(), '\n');
  // A name holding '=' is refused rather than setting another variable.
  qrv::SetEnvironment("QRV_TEST_VAR=x", "y");
  EXPECT_STREQ(qrv::GetEnvironment("QRV_TEST_VAR").c_str(), "a b=c");
  qrv::SetEnvironment("QRV_TEST_VAR", "");
  EXPECT_EQ(getenv("QRV_TEST_VAR"), nullptr);
}

TEST(Console, WritesAndReadsTheStandardStreams) {
  testing::internal::CaptureStdout();
  qrv::ConsoleWrite("out %d\n");
  qrv::ConsoleWrite(qrv::RtString("cut\0here", 8));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "out %d\ncut");
  testing::internal::CaptureStderr();
  qrv::ConsoleWriteError("err");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "err");

  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  std::string longLine(5000, 'x');
  std::string input = "first\nsecond\r\n\n" + longLine + "\nlast";
  ASSERT_EQ(write(pipeEnds[1], input.data(), input.size()), ssize_t(input.size()));
  close(pipeEnds[1]);
  int savedStdin = dup(0);
  dup2(pipeEnds[0], 0);
  close(pipeEnds[0]);
  clearerr(stdin);
  EXPECT_STREQ(qrv::ConsoleReadLine().c_str(), "first");
  EXPECT_STREQ(qrv::ConsoleReadLine().c_str(), "second\r");
  EXPECT_STREQ(qrv::ConsoleReadLine().c_str(), "");
  EXPECT_EQ(qrv::ConsoleReadLine().Length(), 4095u);
  EXPECT_EQ(qrv::ConsoleReadLine().Length(), 5000u - 4095u);
  EXPECT_STREQ(qrv::ConsoleReadLine().c_str(), "last");
  EXPECT_STREQ(qrv::ConsoleReadLine().c_str(), "");  // end of the input
  dup2(savedStdin, 0);
  close(savedStdin);
  clearerr(stdin);
}

TEST(ExternalFunction, LibmByNameAndWhatIsMissing) {
  setenv("QRV_DEBUG", "1", 1);
  double (*cosine)(double) = nullptr;
  qrv::ExternalFunction("libm.so.6", "cos", cosine);
  ASSERT_NE(cosine, nullptr);
  EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
  EXPECT_DOUBLE_EQ(cosine(M_PI), -1.0);
  // The table key ignores case; the library stays loaded once.
  double (*sine)(double) = nullptr;
  qrv::ExternalFunction("LIBM.so.6", "sin", sine);
  ASSERT_NE(sine, nullptr);
  EXPECT_DOUBLE_EQ(sine(M_PI / 2), 1.0);

  void* missing = reinterpret_cast<void*>(&setenv);
  qrv::ExternalFunction("libm.so.6", "no_such_function_qrv", missing);
  EXPECT_EQ(missing, nullptr);

  void* kept = reinterpret_cast<void*>(&setenv);
  testing::internal::CaptureStderr();
  qrv::ExternalFunction("libqrv_no_such_library.so", "cos", kept);
  // Never loaded under this spelling: the host's names are case-sensitive.
  qrv::ExternalFunction("LIBC.SO.6", "puts", kept);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "TXDECLARE module not found: libqrv_no_such_library.so\n"
            "TXDECLARE module not found: LIBC.SO.6\n");
  EXPECT_EQ(kept, reinterpret_cast<void*>(&setenv));

  unsetenv("QRV_DEBUG");
  testing::internal::CaptureStderr();
  qrv::ExternalFunction("libqrv_no_such_library.so", "cos", kept);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");  // no debugger, no line
}

TEST(RunProcess, ExitCodesWhenWaiting) {
  for (int code : {0, 3, 255}) {
    double exitCode = -1;
    qrv::RtString command = qrv::RtString("exit ") + code;
    EXPECT_EQ(qrv::RunProcess(command, 1, 0, exitCode), 1);
    EXPECT_EQ(exitCode, code);
  }
  double exitCode = -1;
  EXPECT_EQ(qrv::RunProcess("sh -c 'exit 7'", NAN, 0, exitCode), 1);  // NaN waits
  EXPECT_EQ(exitCode, 7);
  EXPECT_EQ(qrv::RunProcess("kill -9 $$", 1, 0, exitCode), 1);
  EXPECT_EQ(exitCode, 128 + 9);
  EXPECT_TRUE(NoChildren());
}

TEST(RunProcess, WithoutWaitingReturnsAtOnceAndLeavesNoChild) {
  TempFolder temp;
  fs::path done = temp.path / "done";
  double exitCode = -1;
  auto start = std::chrono::steady_clock::now();
  qrv::RtString command = qrv::RtString("sleep 1; echo ran > '") + done.c_str() + "'; exit 4";
  EXPECT_EQ(qrv::RunProcess(command, 0, 0, exitCode), 1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
  EXPECT_EQ(exitCode, 0);
  EXPECT_FALSE(fs::exists(done));
  EXPECT_TRUE(NoChildren());
  for (int i = 0; i < 500 && ReadFile(done) != "ran\n"; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(ReadFile(done), "ran\n");
}

TEST(RunProcess, CommandsThatCannotStart) {
  TempFolder temp;
  fs::path plain = temp.path / "not executable";
  std::ofstream(plain) << "exit 0\n";
  double exitCode = -1;
  for (std::string command : {std::string("qrv_no_such_program_here --flag"),
                              std::string("/nonexistent/qrv/prog"), "'" + plain.string() + "'",
                              std::string("X=1 qrv_no_such_program_here"), std::string(" \t ")}) {
    for (double wait : {0.0, 1.0}) {
      exitCode = -1;
      EXPECT_EQ(qrv::RunProcess(command.c_str(), wait, 0, exitCode), 0) << command;
      EXPECT_EQ(exitCode, 0);
    }
  }
  EXPECT_TRUE(NoChildren());
}

TEST(RunProcess, QuotesBlanksAndTheCallersText) {
  TempFolder temp;
  fs::path folder = temp.path / "a folder";
  fs::create_directories(folder);
  fs::path program = folder / "echo args";
  std::ofstream(program) << "#!/bin/sh\nprintf '[%s]' \"$@\" > \"$(dirname \"$0\")/out\"\nexit 5\n";
  fs::permissions(program, fs::perms::owner_all);
  std::string line =
      "\"" + program.string() + "\" 'one  two' \"three\\\"s\" four\\ five '' $HOME_NOT_SET_QRV";
  qrv::RtString command(line.c_str());
  uint32_t capacity = command.Capacity();
  double exitCode = -1;
  EXPECT_EQ(qrv::RunProcess(command, 1, 0, exitCode), 1);
  EXPECT_EQ(exitCode, 5);
  EXPECT_EQ(ReadFile(folder / "out"), "[one  two][three\"s][four five][]");
  EXPECT_EQ(std::string(command.View()), line);  // never written into
  EXPECT_EQ(command.Capacity(), capacity);
}

TEST(RunProcess, ShowDecidesTheStreamsAndNothingElseIsPassedOn) {
  TempFolder temp;
  int stray = open("/dev/zero", O_RDONLY);  // inheritable on purpose
  ASSERT_GE(stray, 0);
  double exitCode = -1;
  std::string target = (temp.path / "fds").string();
  qrv::RtString listing = qrv::RtString("ls -l /proc/$$/fd > '") + target.c_str() + "'";
  ASSERT_EQ(qrv::RunProcess(listing, 1, 0, exitCode), 1);
  EXPECT_NE(ReadFile(target).find("0 -> /dev/null"), std::string::npos);  // hidden: no console
  EXPECT_EQ(ReadFile(target).find("/dev/zero"), std::string::npos) << ReadFile(target);
  close(stray);

  testing::internal::CaptureStdout();
  EXPECT_EQ(qrv::RunProcess("echo shown", 1, 1, exitCode), 1);
  EXPECT_EQ(qrv::RunProcess("echo hidden; echo hidden >&2", 1, 0, exitCode), 1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "shown\n");
}
