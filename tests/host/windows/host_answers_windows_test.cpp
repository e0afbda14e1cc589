// The host's answers as a Windows host gives them: PlatformInfo's name of the host, machine
// id and documents folder (with '/' between folders); the user-interface language through the
// language table; RunProcess through the system's process start with the command line
// exactly as passed; ExternalFunction through the system's library loader.
#include <gtest/gtest.h>

#include <cstdlib>
#include <numbers>
#include <regex>
#include <string>
#include <vector>

#include "host/host_files.h"
#include "quorvia/host.h"

namespace {

std::string Info(const char* key) {
  return std::string(qrv::PlatformInfo(key).View());
}

TEST(WindowsAnswers, PlatformInfoNamesTheHostTheMachineAndTheDocuments) {
  EXPECT_EQ(Info(""), "WIN32");
  EXPECT_EQ(Info("LINUX"), "NO_DATA");
  EXPECT_TRUE(std::regex_match(Info("ID"), std::regex("[0-9A-F]{8}"))) << Info("ID");
  const std::string documents = Info("documents");
  EXPECT_EQ(documents.find('\\'), std::string::npos) << documents;
  const char* profile = std::getenv("USERPROFILE");
  ASSERT_NE(profile, nullptr);
  EXPECT_TRUE(test_host::SameFile(documents, std::string(profile) + "/Documents")) << documents;
}

// The interface language's identifier goes through the language table (tested with every
// identifier in host_rules_test.cpp). Under Wine a program started by another keeps its
// parent's interface language, so only this process's own is asked here.
TEST(WindowsAnswers, LocaleComesFromTheInterfaceLanguage) {
  EXPECT_EQ(Info("LOCALE"), "uk");  // English (United States), 409, Wine's language here
}

TEST(WindowsAnswers, RunProcessStartsTheCommandLineAsPassed) {
  double exitCode = -1;
  EXPECT_EQ(qrv::RunProcess("cmd /c exit 3", 1, 0, exitCode), 1);
  EXPECT_EQ(exitCode, 3);
  EXPECT_EQ(qrv::RunProcess("cmd /c exit 4", 0, 0, exitCode), 1);  // not waited for
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(qrv::RunProcess("qrv_no_such_program_here.exe x", 1, 0, exitCode), 0);
  EXPECT_EQ(exitCode, 0);
  // cmd's echo writes the rest of the command line as the process got it: the doubled
  // spaces and the quotes arrive unchanged.
  host_test::TempFolder temp;
  const std::string out = temp.path.generic_string() + "/out.txt";
  const std::string command = "cmd /c echo a  \"b  c\"  d>\"" + out + "\"";
  EXPECT_EQ(qrv::RunProcess(command.c_str(), 1, 0, exitCode), 1);
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(host_test::ReadFile(out), "a  \"b  c\"  d\n");  // CR LF, read as text
}

TEST(WindowsAnswers, ExternalFunctionLoadsThroughTheSystemLoader) {
  double (*cosine)(double) = nullptr;
  qrv::ExternalFunction("msvcrt.dll", "cos", cosine);
  ASSERT_NE(cosine, nullptr);
  EXPECT_DOUBLE_EQ(cosine(std::numbers::pi), -1.0);
  // Library names ignore case on Windows.
  double (*sine)(double) = nullptr;
  qrv::ExternalFunction("MSVCRT.DLL", "sin", sine);
  ASSERT_NE(sine, nullptr);
  EXPECT_DOUBLE_EQ(sine(std::numbers::pi / 2), 1.0);

  int marker = 0;
  void* missing = &marker;
  qrv::ExternalFunction("msvcrt.dll", "qrv_no_such_function", missing);
  EXPECT_EQ(missing, nullptr);

  test_host::SetVariable("QRV_DEBUG", "1");
  void* kept = &marker;
  testing::internal::CaptureStderr();
  qrv::ExternalFunction("qrv_no_such_library.dll", "cos", kept);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "TXDECLARE module not found: qrv_no_such_library.dll\n");
  EXPECT_EQ(kept, &marker);
  test_host::UnsetVariable("QRV_DEBUG");
}

}  // namespace
