// The debugger breakpoint under a real debugger (ptrace): the test process attaches to a
// child that checks what the breakpoint does.
#include <gtest/gtest.h>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <memory>

#include "frame/runtime.h"
#include "input/input_state.h"
#include "platform/process_host.h"
#include "quorvia/frame.h"

namespace {

// Under a debugger the breakpoint wakes a paused game on the keys held now and on a
// fresh mouse reading. The test process is the debugger of a child that checks this.
TEST(FrameCommands, BreakpointUnderADebuggerWakesTheGameOnFreshInput) {
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    for (int i = 0; i < 500 && !qrv::platform::DebuggerAttached(); ++i) usleep(10000);
    qrv::Runtime& rt = qrv::TheRuntime();
    rt.input = new qrv::InputState;
    auto script = std::make_unique<qrv::ReplayScript>();
    std::string error;
    script->Parse("0:1 57\n", &error);  // Space from the first reading on
    rt.input->replay = std::move(script);
    rt.input->freshMouse = false;
    rt.paused = true;
    bool woken = qrv::DebuggerBreakpoint(0x2a) != 0 && !rt.paused && rt.activateRequest;
    bool fresh = (rt.input->keys[57] & 0x80) != 0 && rt.input->freshMouse;
    _exit(woken && fresh ? 0 : 1);
  }
  if (ptrace(PTRACE_SEIZE, child, nullptr, nullptr) != 0) {
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    GTEST_SKIP() << "this machine allows no debugger (ptrace refused)";
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace
