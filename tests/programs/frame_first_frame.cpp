// Presents one frame, prints the monotonic clock in nanoseconds at that moment and ends.
// The start-up benchmark measures from launching this program to that first frame.
#include <chrono>
#include <cstdio>

#include "quorvia/quorvia.h"

int main(int argc, char** argv) {
  qrv::RunProgram(argc, argv,
                  {nullptr,
                   [] {
                     qrv::Present();
                     auto now = std::chrono::steady_clock::now().time_since_epoch();
                     std::printf("%lld\n",
                                 static_cast<long long>(std::chrono::nanoseconds(now).count()));
                   },
                   nullptr});
}
