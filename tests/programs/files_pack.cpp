// A program that reads a member of the media pack appended to its own file and puts its
// two lines, swapped, into the line store file named by QRV_LINES_OUT; END writes it.
#include <cstdlib>

#include "quorvia/files.h"
#include "quorvia/frame.h"

static void Main() {
  const char* out = std::getenv("QRV_LINES_OUT");
  if (out == nullptr) return;
  int32_t channel = qrv::FreeChannel();
  if (!qrv::OpenChannel(channel, "Media/greeting.txt", 1)) return;
  qrv::RtString first, second;
  qrv::ReadLine(channel, first);
  qrv::ReadLine(channel, second);
  qrv::CloseChannel(channel);
  qrv::LineStorePut(out, 0, second.c_str());
  qrv::LineStorePut(out, 1, first.c_str());
}

int main(int argc, char** argv) {
  qrv::RunProgram(argc, argv, {nullptr, Main, nullptr});
}
