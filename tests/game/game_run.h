// Runs Skipdale_2 as a real process: a fresh folder holds a copy of the game and its
// graphics with a level of the test's own (compiled by `qrv map`), the keys come from a
// replay script, frames run unpaced, and the player trace is read back.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "level.h"

namespace game_test {

struct TraceLine {
  int frame, x, y, dx, dy, inAir, facingRight, lastColumn, lastRow;
};

inline int RunCommand(const std::string& command) {
  int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

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
    char pattern[] = "/tmp/skipdale-test-XXXXXX";
    folder_ = mkdtemp(pattern);
    EXPECT_EQ(RunCommand("cp '" QRV_BUILD_DIR "/game/skipdale2' '" + folder_ + "/' && cp -r '" +
                         QRV_BUILD_DIR "/game/Media' '" + folder_ + "/'"),
              0);
  }
  ~GameRun() { RunCommand("rm -rf '" + folder_ + "'"); }
  GameRun(const GameRun&) = delete;
  GameRun& operator=(const GameRun&) = delete;

  const std::string& Folder() const { return folder_; }
  std::string MapPath() const { return folder_ + "/Media/maps/map01.map"; }

  // Replaces the game's map with the level, compiled by the qrv tool.
  void UseLevel(const Level& level) {
    WriteFile(folder_ + "/level.txt", level.Text());
    EXPECT_EQ(RunCommand("'" QRV_BUILD_DIR "/tools/qrv' map compile '" + folder_ + "/level.txt' '" +
                         MapPath() + "'"),
              0);
  }

  // Runs `frames` frames with the replay script; extra is more NAME=VALUE words for env.
  // Returns the exit code (-1 when it did not end within the time limit).
  int Play(int frames, const std::string& replay, const std::string& extra = "") {
    WriteFile(folder_ + "/replay.txt", replay);
    return RunCommand("cd '" + folder_ + "' && env TMPDIR='" + folder_ +
                      "' QRV_UNPACED=1 QRV_FRAMES=" + std::to_string(frames) + " QRV_REPLAY='" +
                      folder_ + "/replay.txt' SKIPDALE_TRACE='" + folder_ + "/trace.txt' " + extra +
                      " timeout 120 ./skipdale2 > output.txt 2>&1");
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
  std::string folder_;
};

}  // namespace game_test
