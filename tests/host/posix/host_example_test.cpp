// The host example program runs to its end and reports what the host answered.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "frame/process_runner.h"
#include "host/host_files.h"

TEST(HostExample, PrintsTheHostsAnswers) {
  host_test::TempFolder temp;
  std::string folder = temp.path.string();
  std::string output = frame_test::Shell("cd '" + folder + "' && TMPDIR='" + folder +
                                         "' LANG=pt_BR.UTF-8 " QRV_BUILD_DIR
                                         "/examples/example_host_info; echo \"status $?\"");
  for (const char* expected :
       {"PlatformInfo(\"\") = LINUX\n", "PlatformInfo(\"DEVICE\") = DESKTOP\n",
        "PlatformInfo(\"LOCALE\") = pt\n", "PlatformInfo(\"GLEXT:glGenBuffers\") = 1\n",
        "PlatformInfo(\"GLEXT:glNoSuchThing\") = 0\n", "PlatformInfo(\"SOMETHING\") = NO_DATA\n",
        "HOST_INFO_GREETING = hello\n", "RunProcess started 1, exit code 42\n",
        "cos(0) from libm = 1\n", "status 0"}) {
    EXPECT_NE(output.find(expected), std::string::npos) << expected << "\nin:\n" << output;
  }
}
