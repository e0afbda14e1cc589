// The environment, console and external-call commands in this process: variables set and
// read back, real pipes on the standard streams, libm's functions by name, and real
// programs started from command lines.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <numbers>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "frame/process_runner.h"
#include "host/host_files.h"
#include "quorvia/host.h"

namespace fs = std::filesystem;
using host_test::ReadFile;
using host_test::TempFolder;

namespace {

// True when this process has no child left, zombie or running. Looks without reaping.
bool NoChildren() {
  siginfo_t info{};
  return waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) < 0 && errno == ECHILD;
}

// A program that writes its arguments, each in brackets, to the file "out" beside it,
// and ends with exit code 5.
fs::path ArgumentWriter(const fs::path& folder, const std::string& name) {
  fs::create_directories(folder);
  fs::path program = folder / name;
  std::ofstream(program) << "#!/bin/sh\nprintf '[%s]' \"$@\" > \"$(dirname \"$0\")/out\"\nexit 5\n";
  fs::permissions(program, fs::perms::owner_all);
  return program;
}

// The text of a command line that names the program by its path, quoted.
std::string Quoted(const fs::path& path) {
  return "\"" + path.string() + "\"";
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
  EXPECT_DOUBLE_EQ(cosine(std::numbers::pi), -1.0);
  // The table key ignores case; the library stays loaded once.
  double (*sine)(double) = nullptr;
  qrv::ExternalFunction("LIBM.so.6", "sin", sine);
  ASSERT_NE(sine, nullptr);
  EXPECT_DOUBLE_EQ(sine(std::numbers::pi / 2), 1.0);

  void* missing = reinterpret_cast<void*>(&setenv);
  qrv::ExternalFunction("libm.so.6", "no_such_function_qrv", missing);
  EXPECT_EQ(missing, nullptr);

  void* kept = reinterpret_cast<void*>(&setenv);
  testing::internal::CaptureStderr();
  qrv::ExternalFunction("libqrv_no_such_library.so", "cos", kept);
  // Never loaded under this spelling: the host's names are case-sensitive.
  qrv::ExternalFunction("LIBC.SO.6", "puts", kept);
  // No name is no library, not the running program.
  qrv::ExternalFunction("", "setenv", kept);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "TXDECLARE module not found: libqrv_no_such_library.so\n"
            "TXDECLARE module not found: LIBC.SO.6\n"
            "TXDECLARE module not found: \n");
  EXPECT_EQ(kept, reinterpret_cast<void*>(&setenv));

  unsetenv("QRV_DEBUG");
  testing::internal::CaptureStderr();
  qrv::ExternalFunction("libqrv_no_such_library.so", "cos", kept);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");  // no debugger, no line
}

TEST(RunProcess, ExitCodesWhenWaiting) {
  for (int code : {0, 3, 255}) {
    double exitCode = -1;
    qrv::RtString command = qrv::RtString("sh -c \"exit ") + code + "\"";
    EXPECT_EQ(qrv::RunProcess(command, 1, 0, exitCode), 1);
    EXPECT_EQ(exitCode, code);
  }
  double exitCode = -1;
  EXPECT_EQ(qrv::RunProcess("/bin/sh -c \"exit 7\"", NAN, 0, exitCode), 1);  // NaN waits
  EXPECT_EQ(exitCode, 7);
  EXPECT_EQ(qrv::RunProcess("sh -c \"kill -9 $$\"", 1, 0, exitCode), 1);
  EXPECT_EQ(exitCode, 128 + 9);
  EXPECT_TRUE(frame_test::Eventually(NoChildren));
}

TEST(RunProcess, WithoutWaitingReturnsAtOnceAndLeavesNoChild) {
  TempFolder temp;
  fs::path go = temp.path / "go", done = temp.path / "done";
  // The program waits for a file only this test makes: RunProcess returns before it.
  std::string script = "while [ ! -e '" + go.string() + "' ]; do sleep 0.02; done; echo ran > '" +
                       done.string() + "'; exit 4";
  double exitCode = -1;
  EXPECT_EQ(qrv::RunProcess(("sh -c \"" + script + "\"").c_str(), 0, 0, exitCode), 1);
  EXPECT_EQ(exitCode, 0);
  EXPECT_FALSE(fs::exists(done));
  std::ofstream(go).put('x');
  EXPECT_TRUE(frame_test::Eventually([&] { return ReadFile(done) == "ran\n"; }));
  // Reaped when it ends: no zombie stays behind.
  EXPECT_TRUE(frame_test::Eventually(NoChildren));
}

TEST(RunProcess, ProgramsThatCannotStart) {
  TempFolder temp;
  fs::path plain = temp.path / "not executable";
  std::ofstream(plain) << "exit 0\n";
  double exitCode = -1;
  for (std::string command :
       {std::string("qrv_no_such_program_here --flag"), std::string("/nonexistent/qrv/prog"),
        Quoted(plain), std::string("X=1 sh -c \"exit 0\""), std::string(" \t "),
        std::string("\"\" x"), std::string("exit 0")}) {
    for (double wait : {0.0, 1.0}) {
      exitCode = -1;
      EXPECT_EQ(qrv::RunProcess(command.c_str(), wait, 0, exitCode), 0) << command;
      EXPECT_EQ(exitCode, 0);
    }
  }
  EXPECT_TRUE(NoChildren());
}

TEST(RunProcess, TheProgramGetsTheArgumentsLiterallyAndNoShellRuns) {
  TempFolder temp;
  fs::path folder = temp.path / "a folder";
  fs::path program = ArgumentWriter(folder, "echo args");
  fs::path marker = temp.path / "X";
  struct Case {
    std::string arguments;
    std::string received;
  } cases[] = {
      {" \"$(touch " + marker.string() + ")x\"", "[$(touch " + marker.string() + ")x]"},
      {" a;touch " + marker.string(), "[a;touch][" + marker.string() + "]"},
      {" `touch " + marker.string() + "` $HOME|cat>" + marker.string(),
       "[`touch][" + marker.string() + "`][$HOME|cat>" + marker.string() + "]"},
      {" 'one  two' \"three\\\"s\" \"\" \"four  five\" a\\b",
       "['one][two'][three\"s][][four  five][a\\b]"},
  };
  for (const Case& c : cases) {
    fs::remove(folder / "out");
    qrv::RtString command((Quoted(program) + c.arguments).c_str());
    uint32_t capacity = command.Capacity();
    double exitCode = -1;
    EXPECT_EQ(qrv::RunProcess(command, 1, 0, exitCode), 1) << command.c_str();
    EXPECT_EQ(exitCode, 5);
    EXPECT_EQ(ReadFile(folder / "out"), c.received);
    EXPECT_EQ(std::string(command.View()), Quoted(program) + c.arguments);  // never written into
    EXPECT_EQ(command.Capacity(), capacity);
  }
  EXPECT_FALSE(fs::exists(marker));
}

TEST(RunProcess, ABareNameIsSearchedOnPath) {
  TempFolder temp;
  ArgumentWriter(temp.path, "qrv-args");
  std::string path = getenv("PATH");
  setenv("PATH", (temp.path.string() + ":" + path).c_str(), 1);
  double exitCode = -1;
  EXPECT_EQ(qrv::RunProcess("qrv-args x", 1, 0, exitCode), 1);
  setenv("PATH", path.c_str(), 1);
  EXPECT_EQ(exitCode, 5);
  EXPECT_EQ(ReadFile(temp.path / "out"), "[x]");
  EXPECT_EQ(qrv::RunProcess("qrv-args x", 1, 0, exitCode), 0);  // not on PATH any more
}

TEST(RunProcess, ShowDecidesTheStreamsAndNothingElseIsPassedOn) {
  TempFolder temp;
  int stray = open("/dev/zero", O_RDONLY);  // inheritable on purpose
  ASSERT_GE(stray, 0);
  double exitCode = -1;
  std::string target = (temp.path / "fds").string();
  auto listing = [&](double wait, double show) {
    std::string line = "sh -c \"ls -l /proc/$$/fd > '" + target + "'\"";
    EXPECT_EQ(qrv::RunProcess(line.c_str(), wait, show, exitCode), 1);
    EXPECT_TRUE(frame_test::Eventually([&] { return ReadFile(target).find("total") == 0; }));
    std::string fds = ReadFile(target);
    fs::remove(target);
    return fds;
  };
  std::string hidden = listing(1, 0);
  EXPECT_NE(hidden.find("0 -> /dev/null"), std::string::npos);  // hidden: no console
  EXPECT_NE(hidden.find("2 -> /dev/null"), std::string::npos);
  EXPECT_EQ(hidden.find("/dev/zero"), std::string::npos) << hidden;
  // Shown but not waited for: the output is shared, the input is not.
  std::string detached = listing(0, 1);
  EXPECT_NE(detached.find("0 -> /dev/null"), std::string::npos) << detached;
  EXPECT_EQ(detached.find("2 -> /dev/null"), std::string::npos) << detached;
  close(stray);

  testing::internal::CaptureStdout();
  EXPECT_EQ(qrv::RunProcess("echo shown", 1, 1, exitCode), 1);
  EXPECT_EQ(qrv::RunProcess("sh -c \"echo hidden; echo hidden >&2\"", 1, 0, exitCode), 1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "shown\n");
  EXPECT_TRUE(frame_test::Eventually(NoChildren));
}
