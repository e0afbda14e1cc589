// The host from a game's point of view: every platform information key, an environment
// variable, another program started and waited for, and a function of the maths library
// called by name. Prints to the console and ends.
#include <string>

#include "quorvia/quorvia.h"

using qrv::RtString;

static void Show(const RtString& key) {
  qrv::ConsoleWrite("PlatformInfo(\"" + key + "\") = " + qrv::PlatformInfo(key) + "\n");
}

static void Main() {
  for (const char* key : {"", "ID", "DEVICE", "TIME", "BATTERY", "COMPILED", "HOSTID", "LOCALE",
                          "DOCUMENTS", "GLEXT:glGenBuffers", "GLEXT:glNoSuchThing", "SOMETHING"}) {
    Show(key);
  }

  qrv::SetEnvironment("HOST_INFO_GREETING", "hello");
  qrv::ConsoleWrite("HOST_INFO_GREETING = " + qrv::GetEnvironment("HOST_INFO_GREETING") + "\n");

  // The program and the library differ between the hosts; PlatformInfo("") says which it is.
  const bool windows = std::string(qrv::PlatformInfo("").c_str()) == "WIN32";
  double exitCode = 0;
  // No shell reads the line: a shell command names the shell.
  const char* command = windows ? "cmd /c if defined HOST_INFO_GREETING exit 42"
                                : "sh -c \"test -n \\\"$HOST_INFO_GREETING\\\" && exit 42\"";
  double started = qrv::RunProcess(command, 1, 1, exitCode);
  qrv::ConsoleWrite(RtString("RunProcess started ") + started + ", exit code " + exitCode + "\n");

  const char* library = windows ? "msvcrt" : "libm";
  double (*cosine)(double) = nullptr;
  qrv::ExternalFunction(windows ? "msvcrt.dll" : "libm.so.6", "cos", cosine);
  if (cosine != nullptr) {
    qrv::ConsoleWrite(RtString("cos(0) from ") + library + " = " + cosine(0) + "\n");
  }

  qrv::Assert(cosine != nullptr);
}

int main(int argc, char** argv) {
  qrv::RunProgram(argc, argv, {nullptr, Main, nullptr});
}
