// Runs a program to its end in a fresh temporary folder (its $TMPDIR and start folder) and
// keeps what it wrote to standard error, its error log and its exit code.
#pragma once

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

#include "frame/process_runner.h"

namespace public_test {

struct Outcome {
  std::string errors;  // standard error
  std::string log;     // ErrorLog.txt
  int exitCode = -1;   // 124 when it ran past the time limit
};

// environment: words for env(1) ("-u NAME", "NAME=value"), where "{dir}" stands for the
// fresh folder; `inspect` sees the folder before it is removed.
template <class Inspect>
Outcome RunToEnd(const std::string& program, const std::string& environment,
                 const std::string& args, Inspect inspect) {
  char pattern[] = "/tmp/qrv-public-XXXXXX";
  const std::string folder = mkdtemp(pattern);
  std::string words = environment;
  for (size_t at; (at = words.find("{dir}")) != std::string::npos;) words.replace(at, 5, folder);
  const std::string command = "cd '" + folder + "' && env " + words + " TMPDIR='" + folder +
                              "' timeout 60 " + program + " " + args +
                              " 2>errors.txt >/dev/null; echo $?";
  Outcome outcome;
  outcome.exitCode = std::atoi(frame_test::Shell(command).c_str());
  for (auto [file, text] :
       {std::pair{"/errors.txt", &outcome.errors}, std::pair{"/ErrorLog.txt", &outcome.log}}) {
    std::ifstream in(folder + file, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    *text = all.str();
  }
  inspect(folder);
  std::system(("rm -rf '" + folder + "'").c_str());
  return outcome;
}

inline Outcome RunToEnd(const std::string& program, const std::string& environment,
                        const std::string& args = "") {
  return RunToEnd(program, environment, args, [](const std::string&) {});
}

}  // namespace public_test
