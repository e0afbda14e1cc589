// The smallest runtime program: a main routine that returns at once.
#include "quorvia/quorvia.h"

int main(int argc, char** argv) {
  qrv::RunProgram(argc, argv, {nullptr, [] {}, nullptr});
}
