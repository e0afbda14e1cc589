// The test runner's first step: with an outside program the tests need missing, it fails at
// once and names the package that brings it, before any test starts.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tools/tool_run.h"

namespace {

namespace fs = std::filesystem;

TEST(TestRunner, MissingProgramFailsAtOnceNamingItsPackage) {
  tool_test::ScratchFolder bin("qrv-runner");
  // Everything the runner looks for, except xdotool, and what the script itself uses.
  for (const char* program :
       {"dirname", "Xvfb", "xvfb-run", "xauth", "xwininfo", "xdpyinfo", "setxkbmap", "xkbcomp",
        "glxinfo", "convert", "ppmtobmp", "sox", "ffmpeg", "xdg-open", "apitrace", "cc"}) {
    for (const char* folder : {"/usr/bin/", "/bin/"}) {
      if (fs::exists(std::string(folder) + program)) {
        fs::create_symlink(std::string(folder) + program, fs::path(bin.Path()) / program);
        break;
      }
    }
  }
  tool_test::Result r = tool_test::Run(
      QRV_SOURCE_DIR, "PATH='" + bin.Path() + "' /bin/bash tools/run-tests.sh no-such-build");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err.find("missing package: xdotool (for xdotool)"), r.err.find("missing package"))
      << r.err;
  EXPECT_NE(r.err.find("xdotool"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("missing package", r.err.find("xdotool") + 1), std::string::npos)
      << "only xdotool is missing: " << r.err;
}

}  // namespace
