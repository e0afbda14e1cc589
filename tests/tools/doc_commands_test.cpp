// Every qrv command the README and the docs show runs as written from the repository root:
// each is run, in order, in a scratch root that links `game` and `build` to the real ones.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tool_run.h"

namespace {

namespace fs = std::filesystem;

// Lines of ``` blocks, and `...` spans, that start with the tool's path.
std::vector<std::string> ShownCommands(const fs::path& file) {
  std::ifstream in(file);
  std::vector<std::string> commands;
  bool inBlock = false;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("```", 0) == 0) {
      inBlock = !inBlock;
    } else if (inBlock) {
      if (line.rfind("build/tools/qrv ", 0) == 0) commands.push_back(line);
    } else {
      const std::string start = "`build/tools/qrv ";
      for (size_t at = line.find(start), end;
           at != std::string::npos && (end = line.find('`', at + 1)) != std::string::npos;
           at = line.find(start, end + 1)) {
        commands.push_back(line.substr(at + 1, end - at - 1));
      }
    }
  }
  return commands;
}

TEST(DocCommands, EveryShownQrvCommandRuns) {
  if (test_host::IsWindows()) {
    // Nor could links be made safely: Wine takes a link for a folder, and removing the scratch
    // folder would remove what the link points to.
    GTEST_SKIP() << "the docs show the commands of the Linux build (programs without .exe)";
  }
  std::vector<fs::path> files = {fs::path(QRV_SOURCE_DIR) / "README.md"};
  for (const auto& entry : fs::directory_iterator(fs::path(QRV_SOURCE_DIR) / "docs")) {
    if (entry.path().extension() == ".md") files.push_back(entry.path());
  }
  size_t total = 0;
  for (const fs::path& file : files) {
    tool_test::ScratchFolder scratch("qrv-doc");
    const fs::path root = scratch.Path();
    // The machine's shell makes the links: it names the same folders on every host.
    ASSERT_EQ(test_host::RunShell("ln -s '" QRV_SOURCE_DIR "/game' '" + root.string() +
                                  "/game' && ln -s '" QRV_BUILD_DIR "' '" + root.string() +
                                  "/build'")
                  .status,
              0);
    for (std::string command : ShownCommands(file)) {
      SCOPED_TRACE(file.filename().string() + ": " + command);
      // The Windows tool runs through Wine.
      if (test_host::IsWindows()) command.replace(0, 15, tool_test::kQrv);
      tool_test::Result result = tool_test::Run(root, command);
      EXPECT_EQ(result.status, 0) << result.err;
      ++total;
    }
  }
  EXPECT_GE(total, 7u) << "the README shows the pack, map and image commands";
}

}  // namespace
