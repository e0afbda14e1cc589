// OpenDocument in a whole runtime process hands its target to the desktop's opener after
// the shutdown.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <string>

#include "frame/process_runner.h"
#include "host/host_files.h"

using frame_test::ExpectedLog;
using frame_test::ProgramPath;
using frame_test::ProgramRun;
using host_test::ReadFile;

namespace {

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
