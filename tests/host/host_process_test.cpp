// The host commands that need a whole runtime process: GL functions of the live
// context, the game's routines by name, failures reported under QRV_VERBOSE, Assert
// ending the program.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "frame/process_runner.h"
#include "host/host_files.h"

using frame_test::ExpectedLog;
using frame_test::ProgramPath;
using frame_test::ProgramRun;
using host_test::ReadFile;

using host_test::Between;

// Mesa's llvmpipe gives a 4.5 compatibility-profile context whose 302 extensions include
// GL_ARB_vertex_buffer_object and GL_EXT_framebuffer_object but neither GL_NV_mesh_shader
// nor GL_SGIX_fragment_lighting (glxinfo), while its lookup hands out any "gl" name.
TEST(HostProcess, GlExtAnswersForTheContextsVersionAndExtensions) {
  ProgramRun run(
      ProgramPath("host_probe"),
      {"--glext", "glGenBuffers", "--glext", "glgenbuffers", "--glext", "glBegin", "--glext",
       "glQrvNoSuchFunction", "--glext", "glGenBuffersARB", "--glext", "glGenFramebuffersEXT",
       "--glext", "glDrawMeshTasksNV", "--glext", "glFragmentLightfSGIX", "--glext", ""});
  ASSERT_EQ(run.Wait(), 0);
  EXPECT_EQ(Between(run.LogLines()),
            (std::vector<std::string>{"glGenBuffers=1", "glgenbuffers=0", "glBegin=1",
                                      "glQrvNoSuchFunction=0", "glGenBuffersARB=1",
                                      "glGenFramebuffersEXT=1", "glDrawMeshTasksNV=0",
                                      "glFragmentLightfSGIX=0", "=0"}));
}

TEST(HostProcess, CallByNameFindsTheGamesRoutines) {
  ProgramRun run(
      ProgramPath("host_probe"),
      {"--call", "Greet", "--call", "greet", "--call", "QRV_ON_QUIT", "--call", "QRV_WIN32_MSG"},
      {{"QRV_DEBUG", "1"}});
  ASSERT_EQ(run.Wait(), 0);
  EXPECT_EQ(Between(run.LogLines()),
            (std::vector<std::string>{"greeted", "call Greet=1", "call greet=0",
                                      "call QRV_ON_QUIT=0", "call QRV_WIN32_MSG=0"}));
  // Only the missing routine the game was expected to have is reported.
  EXPECT_EQ(ReadFile(run.Folder() + "/stderr.txt"), "TXCALLBYNAME \"greet\" *** failed ***\n");
}

TEST(HostProcess, AssertOfZeroEndsWithCode21) {
  ProgramRun run(ProgramPath("host_probe"), {"--assert"}, {{"QRV_DEBUG", "1"}});
  ASSERT_EQ(run.Wait(), 0);
  EXPECT_EQ(run.LogLines(),
            ExpectedLog({"Init GFX", "Init Finalized", "after Assert(1)", "-End On Line", "21",
                         "-1", "0", "0", "Shut down QRV", "qrv is shut down"}));
  // The debug line, then the stop's own report (the debug flag is set).
  EXPECT_EQ(ReadFile(run.Folder() + "/stderr.txt"),
            "TXAssertion: Value = 0\nerror 21 unknown error\n");
}
