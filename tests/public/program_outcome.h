// Runs a program to its end in a fresh temporary folder (its $TMPDIR and start folder) and
// keeps what it wrote to standard error, its error log and its exit code.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "support/host.h"

namespace public_test {

struct Outcome {
  std::string errors;  // standard error
  std::string log;     // ErrorLog.txt
  int exitCode = -1;   // 124 when it ran past the time limit
};

// environment: words as env(1) takes them ("-u NAME", "NAME=value"), where "{dir}" stands for
// the fresh folder; args: the program's arguments, split as the shell splits them; `inspect`
// sees the folder before it is removed.
template <class Inspect>
Outcome RunToEnd(const std::string& program, const std::string& environment,
                 const std::string& args, Inspect inspect) {
  test_host::ScratchFolder scratch("qrv-public");
  const std::string& folder = scratch.Path();
  std::string words = environment;
  for (size_t at; (at = words.find("{dir}")) != std::string::npos;) words.replace(at, 5, folder);
  test_host::ChildOptions options;
  options.folder = folder;
  options.errorFile = folder + "/errors.txt";
  const std::vector<std::string> split = test_host::SplitWords(words);
  for (size_t i = 0; i < split.size(); ++i) {
    const size_t equals = split[i].find('=');
    if (split[i] == "-u" && i + 1 < split.size()) {
      options.unset.push_back(split[++i]);
    } else if (equals != std::string::npos) {
      options.env.emplace_back(split[i].substr(0, equals), split[i].substr(equals + 1));
    }
  }
  options.env.emplace_back(test_host::TempFolderVariable(), folder);
  std::vector<std::string> argv = test_host::SplitWords(args);
  argv.insert(argv.begin(), program);
  Outcome outcome;
  outcome.exitCode = test_host::RunProgram(argv, options, 60);
  for (auto [file, text] :
       {std::pair{"/errors.txt", &outcome.errors}, std::pair{"/ErrorLog.txt", &outcome.log}}) {
    std::ifstream in(folder + file, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    *text = all.str();
  }
  outcome.errors = test_host::ConsoleText(outcome.errors);
  inspect(folder);
  return outcome;
}

inline Outcome RunToEnd(const std::string& program, const std::string& environment,
                        const std::string& args = "") {
  return RunToEnd(program, environment, args, [](const std::string&) {});
}

}  // namespace public_test
