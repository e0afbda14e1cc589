// The parts of the tests' host services that read the same on every host.
#include "support/host.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

namespace test_host {

std::string Shell(const std::string& command) {
  std::string output = RunShell(command).out;
  while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) output.pop_back();
  return output;
}

ScratchFolder::ScratchFolder(const std::string& prefix) {
  static std::mt19937_64 names{std::random_device{}()};
  for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
    std::ostringstream name;
    name << TempRoot() << '/' << prefix << '-' << std::hex << (names() & 0xffffffffffu);
    std::error_code error;
    if (std::filesystem::create_directory(name.str(), error) && !error) path_ = name.str();
  }
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

int Child::Wait(double seconds) {
  int code = -1;
  return Exited(seconds, &code) ? code : -1;
}

int RunProgram(const std::vector<std::string>& argv, const ChildOptions& options,
               double seconds) {
  Child child(argv, options);
  if (!child.Started()) return -1;
  int code = -1;
  if (child.Exited(seconds, &code)) return code;
  child.Kill();
  return 124;
}

ShellResult RunCapturing(const std::vector<std::string>& argv, ChildOptions options,
                         double seconds) {
  ScratchFolder streams("qrv-output");
  if (options.outputFile.empty()) options.outputFile = streams.Path() + "/out";
  ShellResult result;
  result.status = RunProgram(argv, options, seconds);
  std::ifstream in(options.outputFile, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  result.out = text.str();
  return result;
}

std::string SharedWithDeathTests(const std::string& name,
                                 const std::function<std::string()>& make) {
  if (const char* inherited = std::getenv(name.c_str()); inherited != nullptr && *inherited) {
    return inherited;
  }
  std::string value = make();
  SetVariable(name, value);
  return value;
}

bool MakeLink(const std::string& target, const std::string& link) {
  std::error_code error;
  std::filesystem::create_symlink(target, link, error);
  return !error;
}

bool SameFile(const std::string& a, const std::string& b) {
  // Without a separator at the end: Windows' file queries refuse one after a folder's name.
  const auto bare = [](std::string path) {
    while (path.size() > 1 && (path.back() == '/' || path.back() == '\\')) path.pop_back();
    return path;
  };
  std::error_code error;
  return std::filesystem::equivalent(bare(a), bare(b), error) && !error;
}

std::string ConsoleText(std::string text) {
  if (!IsWindows()) return text;
  std::string plain;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' || i + 1 >= text.size() || text[i + 1] != '\n') plain += text[i];
  }
  return plain;
}

std::vector<std::string> SplitWords(const std::string& text) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  char quote = 0;
  for (char c : text) {
    if (quote != 0) {
      if (c == quote) {
        quote = 0;
      } else {
        word += c;
      }
    } else if (c == '\'' || c == '"') {
      quote = c;
      inWord = true;
    } else if (c == ' ' || c == '\t' || c == '\n') {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(word);
  return words;
}

}  // namespace test_host
