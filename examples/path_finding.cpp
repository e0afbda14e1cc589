// Path finding: a cost grid with walls and a swamp, and the cheapest path across it from the
// green corner to the red one, found again every frame. Escape ends it.
#include "quorvia/quorvia.h"

namespace {

constexpr int32_t kColumns = 20, kRows = 15, kCell = 32;

// Cost 1 is open ground, 5 swamp, 0 a wall that cannot be entered.
void BuildGrid(qrv::RtArray<double>& costs) {
  costs.Dim(kColumns, kRows);
  for (int32_t x = 0; x < kColumns; ++x) {
    for (int32_t y = 0; y < kRows; ++y) {
      double cost = 1;
      if (x == 6 && y < 11) cost = 0;
      if (x == 13 && y > 3) cost = 0;
      if (x > 7 && x < 12 && y > 5 && y < 10) cost = 5;
      costs.ElementAt(x, y) = cost;
    }
  }
}

int32_t CellColour(double cost) {
  if (cost <= 0) return qrv::Rgb(70, 70, 80);
  return cost > 1 ? qrv::Rgb(40, 90, 60) : qrv::Rgb(200, 190, 160);
}

void Main() {
  qrv::RtArray<double> costs;
  BuildGrid(costs);
  qrv::RtArray<int32_t> path;
  for (;;) {
    const int32_t steps = qrv::FindPath(costs, path, 0.0, 1, 1, kColumns - 2, kRows - 2);
    qrv::ClearScreen(0);
    for (int32_t x = 0; x < kColumns; ++x) {
      for (int32_t y = 0; y < kRows; ++y) {
        qrv::FillRect(x * kCell, y * kCell, kCell - 1, kCell - 1,
                      CellColour(costs.ElementAt(x, y)));
      }
    }
    for (int32_t i = 0; i < steps; ++i) {
      const int32_t x = path.ElementAt(i, 0), y = path.ElementAt(i, 1);
      qrv::FillRect(x * kCell + 8, y * kCell + 8, kCell - 17, kCell - 17, qrv::Rgb(40, 80, 220));
    }
    qrv::FillRect(kCell + 4, kCell + 4, kCell - 9, kCell - 9, qrv::Rgb(0, 200, 0));
    qrv::FillRect((kColumns - 2) * kCell + 4, (kRows - 2) * kCell + 4, kCell - 9, kCell - 9,
                  qrv::Rgb(220, 0, 0));
    qrv::Present();
  }
}

}  // namespace

int main(int argc, char** argv) {
  qrv::RunProgram(argc, argv, {nullptr, Main, nullptr});
}
