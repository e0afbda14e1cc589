// A runtime program for the host's whole-process tests. Its standard error goes to
// $TMPDIR/stderr.txt; answers go to the error log. Options, run in this order after
// start-up:
//   --glext NAME    logs "NAME=answer" for PlatformInfo("GLEXT:" + NAME) (repeatable)
//   --call NAME     logs "call NAME=result" for CallByName(NAME) (repeatable)
//   --assert        debug flag on; Assert(1), logs "after Assert(1)", then Assert(0)
//   --run LINE      logs "run LINE=result" for RunProcess(LINE), waited for, hidden
//   --library NAME  logs "library NAME=kept" when ExternalFunction(NAME, "cos", slot)
//                   leaves the slot as it was, else "library NAME=changed"
//   --open TARGET   OpenDocument(TARGET), then logs "OpenDocument returned"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "probe_folder.h"
#include "quorvia/quorvia.h"

namespace {

std::vector<std::pair<std::string, std::string>> steps;

void Log(const std::string& line) {
  qrv::AppendToErrorLog(line.c_str());
}

void Greet() {
  Log("greeted");
}

const qrv::NamedRoutine kRoutines[] = {{Greet, "Greet"}, {nullptr, nullptr}};

void Settings(qrv::ProjectSettings& settings) {
  settings.title = "HostProbe";
  for (const auto& step : steps) {
    if (step.first == "--assert") settings.debugFlag = 1;
  }
}

void Main() {
  for (const auto& [option, value] : steps) {
    if (option == "--glext") {
      Log(value + "=" + qrv::PlatformInfo(("GLEXT:" + value).c_str()).c_str());
    } else if (option == "--call") {
      Log("call " + value + "=" + std::to_string(static_cast<int>(qrv::CallByName(value.c_str()))));
    } else if (option == "--run") {
      double exitCode = 0;
      int started = static_cast<int>(qrv::RunProcess(value.c_str(), 1, 0, exitCode));
      Log("run " + value + "=" + std::to_string(started));
    } else if (option == "--library") {
      void* slot = &steps;
      qrv::ExternalFunction(value.c_str(), "cos", slot);
      Log("library " + value + "=" + (slot == &steps ? "kept" : "changed"));
    } else if (option == "--assert") {
      qrv::Assert(1);
      Log("after Assert(1)");
      qrv::Assert(0);
      Log("after Assert(0)");
    } else if (option == "--open") {
      qrv::OpenDocument(value.c_str());
      Log("OpenDocument returned");
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::string errors = ProbeFolder() + "/stderr.txt";
  if (std::freopen(errors.c_str(), "w", stderr) == nullptr) return 1;
  for (int i = 1; i < argc; ++i) {
    bool takesValue = std::strcmp(argv[i], "--assert") != 0;
    if (takesValue && i + 1 < argc) {
      steps.emplace_back(argv[i], argv[i + 1]);
      ++i;
    } else {
      steps.emplace_back(argv[i], "");
    }
  }
  qrv::RunProgram(argc, argv, {Settings, Main, kRoutines});
}
