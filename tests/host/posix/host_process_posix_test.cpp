// The host commands of a whole runtime process that answer as a POSIX host does:
// RunProcess and ExternalFunction failing under QRV_VERBOSE, and OpenDocument handing its
// target to the desktop's opener after the shutdown.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <string>

#include "frame/process_runner.h"
#include "host/host_files.h"

using frame_test::ExpectedLog;
using frame_test::ProgramPath;
using frame_test::ProgramRun;
using host_test::Between;
using host_test::ReadFile;

namespace {

TEST(HostProcess, FailuresSpeakUnderVerbose) {
  ProgramRun run(ProgramPath("host_probe"),
                 {"--run", "qrv_no_such_program x", "--run", "true", "--library",
                  "libqrv_no_such.so", "--library", "", "--library", "libm.so.6"},
                 {{"QRV_VERBOSE", "1"}});
  ASSERT_EQ(run.Wait(), 0);
  EXPECT_EQ(Between(run.LogLines()),
            (std::vector<std::string>{"run qrv_no_such_program x=0", "run true=1",
                                      "library libqrv_no_such.so=kept", "library =kept",
                                      "library libm.so.6=changed"}));
  EXPECT_EQ(ReadFile(run.Folder() + "/stderr.txt"),
            "RunProcess: qrv_no_such_program x: qrv_no_such_program: No such file or directory\n"
            "ExternalFunction: libqrv_no_such.so: libqrv_no_such.so: cannot open shared object "
            "file: No such file or directory\n"
            "ExternalFunction: no library named\n");
}

TEST(HostProcess, OpenDocumentOpensAfterTheShutdownAndEnds) {
  // The desktop's opener hands an address of an unknown scheme to $BROWSER: here a
  // script that records what it got.
  std::string target = "qrv-test://doc?a=1&b=two words";
  ProgramRun run(ProgramPath("host_probe"), {"--open", target}, {}, [](const std::string& folder) {
    std::string browser = folder + "/browser";
    std::ofstream(browser) << "#!/bin/sh\n"
                              "printf '%s' \"$1\" > \"$(dirname \"$0\")/opened.tmp\"\n"
                              "mv \"$(dirname \"$0\")/opened.tmp\" \"$(dirname \"$0\")/opened\"\n";
    chmod(browser.c_str(), 0700);
    setenv("BROWSER", browser.c_str(), 1);
  });
  unsetenv("BROWSER");
  ASSERT_EQ(run.Wait(), 0);
  EXPECT_EQ(run.LogLines(),
            ExpectedLog({"Init GFX", "Init Finalized", "Shut down QRV", "qrv is shut down"}));
  std::string opened = run.Folder() + "/opened";
  EXPECT_TRUE(frame_test::Eventually([&] { return !ReadFile(opened).empty(); }, 20));
  EXPECT_EQ(ReadFile(opened), target);
}

}  // namespace
