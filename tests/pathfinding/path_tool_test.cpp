// `qrv path` run as a process on grid files: its output, its answer when there is no path,
// and its messages for bad arguments and bad files.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "frame/process_runner.h"

namespace {

struct Outcome {
  int status;
  std::string output;  // standard output and standard error together
};

Outcome RunTool(const std::string& arguments) {
  std::vector<std::string> argv = test_host::SplitWords(arguments);
  argv.insert(argv.begin(), {test_host::Executable(QRV_BUILD_DIR "/tools/qrv"), "path"});
  test_host::ChildOptions options;
  options.errorsWithOutput = true;
  test_host::ShellResult result = test_host::RunCapturing(argv, options);
  return {result.status, test_host::ConsoleText(result.out)};
}

std::string GridFile(const char* name, const char* text) {
  static const frame_test::ScratchFolder folder("qrv-path");
  std::string path = folder.Path() + "/" + name + ".txt";
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

// Answers print exactly the rows; refusals exit with 1 and a message naming the fault.
TEST(PathTool, PrintsPathsAndExplainsRefusals) {
  std::string maze = GridFile("maze", "1 0 1 1\n1 0 1 0\n1 1 1 1\n");
  std::string walled = GridFile("walled", "1 0 1\n1 0 1\n");
  std::string grid = GridFile("small", "1 1 1\n1 1 1\n");
  std::string blocked = GridFile("blocked", "0 0\n0 -1\n");
  std::string ragged = GridFile("ragged", "1 1 1\n1 1\n");
  struct Case {
    std::string arguments;
    int status;
    const char* output;  // all of it for an answer, part of it for a refusal
  } cases[] = {
      {maze + " 0 0 3 0", 0, "8\n0 0\n0 1\n0 2\n1 2\n2 2\n2 1\n2 0\n3 0\n"},
      {walled + " 0 0 2 0 0", 0, "0\n"},
      {maze + " 0 0 0 2 1", 0, "3\n0 0\n0 1\n0 2\n"},
      {grid + " 0 0 2", 1, "usage: qrv path GRID"},
      {grid + " 0 0 2 1 0.5 extra", 1, "usage: qrv path GRID"},
      {grid + " 0 0 two 1", 1, "not a cell index: two"},
      {grid + " 0 0 2 1 heavy", 1, "not a weight: heavy"},
      {grid + " 0 0 3 1", 1, "the goal lies outside the 3 x 2 grid"},
      {grid + " -1 0 2 1", 1, "the start lies outside"},
      {grid + " 1 1 1 1", 1, "start and goal are the same cell"},
      {blocked + " 0 0 1 1", 1, "no cell of the grid can be entered"},
      {ragged + " 0 0 1 1", 1, "line 2 has 2 cells, the first row has 3"},
      {"/nonexistent/grid.txt 0 0 1 1", 1, "cannot read /nonexistent/grid.txt"},
  };
  for (const Case& c : cases) {
    Outcome outcome = RunTool(c.arguments);
    EXPECT_EQ(outcome.status, c.status) << c.arguments;
    if (c.status == 0) {
      EXPECT_EQ(outcome.output, c.output) << c.arguments;
    } else {
      EXPECT_NE(outcome.output.find(c.output), std::string::npos)
          << c.arguments << " said: " << outcome.output;
    }
  }
}

}  // namespace
