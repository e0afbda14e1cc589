// Prints the first few random numbers after start-up: runs of this program must differ,
// because start-up seeds the generator from the clock.
#include <cstdio>

#include "quorvia/quorvia.h"

int main(int argc, char** argv) {
  qrv::RunProgram(argc, argv,
                  {nullptr,
                   [] {
                     for (int i = 0; i < 4; ++i) std::printf("%d ", qrv::Random(1000000000));
                     std::printf("\n");
                     std::fflush(stdout);
                   },
                   nullptr});
}
