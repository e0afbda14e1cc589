// Runs Skipdale_2 as a real process: a fresh folder holds a copy of the game and its
// graphics with a level of the test's own (compiled by `qrv map`), the keys come from a
// replay script, frames run unpaced, and the player trace is read back.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "level.h"
#include "support/host.h"

namespace game_test {

struct TraceLine {
  int frame, x, y, dx, dy, inAir, facingRight, lastColumn, lastRow;
};

const std::string kQrv = test_host::Executable(QRV_BUILD_DIR "/tools/qrv");
const std::string kGameFile = test_host::Executable("skipdale2");

// A shell command's exit code.
inline int RunCommand(const std::string& command) { return test_host::RunShell(command).status; }

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class GameRun {
 public:
  GameRun() {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::copy_file(QRV_BUILD_DIR "/game/" + kGameFile, folder_ + "/" + kGameFile, error);
    EXPECT_FALSE(error) << error.message();
    fs::copy(QRV_BUILD_DIR "/game/Media", folder_ + "/Media", fs::copy_options::recursive, error);
    EXPECT_FALSE(error) << error.message();
  }
  GameRun(const GameRun&) = delete;
  GameRun& operator=(const GameRun&) = delete;

  const std::string& Folder() const { return folder_; }
  std::string MapPath() const { return folder_ + "/Media/maps/map01.map"; }

  // Replaces the game's map with the level, compiled by the qrv tool.
  void UseLevel(const Level& level) {
    WriteFile(folder_ + "/level.txt", level.Text());
    EXPECT_EQ(test_host::RunProgram({kQrv, "map", "compile", folder_ + "/level.txt", MapPath()}), 0);
  }

  // Runs `frames` frames with the replay script and more variables in its environment.
  // Returns the exit code (124 when it did not end within the time limit).
  int Play(int frames, const std::string& replay,
           const std::vector<std::pair<std::string, std::string>>& extra = {}) {
    WriteFile(folder_ + "/replay.txt", replay);
    test_host::ChildOptions options;
    options.folder = folder_;
    options.env = {{test_host::TempFolderVariable(), folder_},
                   {"QRV_UNPACED", "1"},
                   {"QRV_FRAMES", std::to_string(frames)},
                   {"QRV_REPLAY", folder_ + "/replay.txt"},
                   {"SKIPDALE_TRACE", folder_ + "/trace.txt"}};
    options.env.insert(options.env.end(), extra.begin(), extra.end());
    options.outputFile = folder_ + "/output.txt";
    options.errorsWithOutput = true;
    return test_host::RunProgram({folder_ + "/" + kGameFile}, options);
  }

  std::vector<TraceLine> Trace() const {
    std::vector<TraceLine> lines;
    std::istringstream in(ReadFile(folder_ + "/trace.txt"));
    TraceLine t;
    while (in >> t.frame >> t.x >> t.y >> t.dx >> t.dy >> t.inAir >> t.facingRight >>
           t.lastColumn >> t.lastRow) {
      lines.push_back(t);
    }
    return lines;
  }

  // The trace lines of frames first..last as text, one per line.
  std::string TraceText(int first, int last) const {
    std::string text;
    for (const TraceLine& t : Trace()) {
      if (t.frame < first || t.frame > last) continue;
      char line[128];
      std::snprintf(line, sizeof line, "%d %d %d %d %d %d %d %d %d\n", t.frame, t.x, t.y, t.dx,
                    t.dy, t.inAir, t.facingRight, t.lastColumn, t.lastRow);
      text += line;
    }
    return text;
  }

 private:
  test_host::ScratchFolder scratch_{"skipdale-test"};
  const std::string& folder_ = scratch_.Path();
};

}  // namespace game_test
