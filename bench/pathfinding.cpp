// Path finding on a 1024 x 1024 grid (costs 1..9, 20% blocked, corner to corner):
// FindPath against a textbook binary-heap A* and against the plain search it replaces.
// Prints the times and FindPath's ratio to the textbook search (target: 1.5 or less).
#include "quorvia/pathfinding.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <map>
#include <queue>
#include <random>
#include <string>
#include <vector>

#include "../tests/pathfinding/reference_search.h"
#include "bench_target.h"

namespace {

constexpr int32_t kSide = 1024;
constexpr double kWeights[] = {0.5, 0.0};

std::vector<double> MakeGrid(int32_t side) {
  std::mt19937 random(1024);
  std::vector<double> costs(static_cast<size_t>(side) * side);
  for (double& c : costs) c = random() % 5 == 0 ? 0.0 : 1 + random() % 9;
  // Open corners, so that start and goal are not walled in.
  for (int32_t i = 0; i < 3; ++i) {
    for (int32_t j = 0; j < 3; ++j) {
      costs[i + j * side] = 1;
      costs[(side - 1 - i) + (side - 1 - j) * side] = 1;
    }
  }
  return costs;
}

const std::vector<double>& Grid() {
  static const std::vector<double> grid = MakeGrid(kSide);
  return grid;
}

// Processor time in milliseconds: the machine may be shared, and waiting is not work.
double ProcessorMilliseconds() {
  return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// Fastest iteration of each benchmark in milliseconds of processor time, for the summary.
std::map<std::string, double>& Fastest() {
  static std::map<std::string, double> fastest;
  return fastest;
}

template <typename Search>
void Measure(benchmark::State& state, const std::string& name, Search&& search) {
  double best = 1e300;
  for (auto _ : state) {
    double begin = ProcessorMilliseconds();
    benchmark::DoNotOptimize(search());
    best = std::min(best, ProcessorMilliseconds() - begin);
  }
  Fastest()[name] = best;
}

std::string Key(const char* what, double weight) {
  return std::string(what) + " " + std::to_string(weight).substr(0, 3);
}

// The grid as a game holds it: a double array indexed [x][y].
const qrv::RtArray<double>& GridArray() {
  static const qrv::RtArray<double> array = [] {
    qrv::RtArray<double> a;
    a.Dim(kSide, kSide);
    std::copy(Grid().begin(), Grid().end(), a.Data());
    return a;
  }();
  return array;
}

// The command as a game calls it: cost array in, path array out.
int32_t RunFindPath(double weight) {
  qrv::RtArray<int32_t> path;
  return qrv::FindPath(GridArray(), path, weight, 0, 0, kSide - 1, kSide - 1);
}

// The textbook search: a binary heap of (f, cell) where stale entries are skipped on the
// way out, and g and the parent kept per cell. Same costs, heuristic and weighting.
int32_t TextbookAStar(const std::vector<double>& costs, int32_t side, double weight) {
  size_t cells = static_cast<size_t>(side) * side;
  double largest = 0;
  for (double c : costs) largest = std::max(largest, c);
  std::vector<float> grid(cells);
  for (size_t i = 0; i < cells; ++i) {
    grid[i] = costs[i] > 0 ? static_cast<float>(costs[i] / largest + 1.0) : -1.0f;
  }
  std::vector<float> g(cells, INFINITY);
  std::vector<int32_t> parent(cells, -1);
  using Entry = std::pair<float, int32_t>;
  std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
  const float w = static_cast<float>(weight);
  const int32_t goal = static_cast<int32_t>(cells) - 1;
  auto f = [&](int32_t cell, float cost) {
    float h = static_cast<float>(2 * (side - 1) - cell % side - cell / side);
    return (h - cost) * w + cost;
  };
  g[0] = 0;
  open.push({f(0, 0.0f), 0});
  while (!open.empty()) {
    auto [key, cell] = open.top();
    open.pop();
    if (cell == goal) break;
    if (key != f(cell, g[cell])) continue;
    int32_t x = cell % side, y = cell / side;
    const int32_t next[4][2] = {{x, y - 1}, {x + 1, y}, {x - 1, y}, {x, y + 1}};
    for (const auto& n : next) {
      if (n[0] < 0 || n[0] >= side || n[1] < 0 || n[1] >= side) continue;
      int32_t to = n[0] + n[1] * side;
      float cost = g[cell] + grid[to];
      if (grid[to] < 0 || cost >= g[to]) continue;
      g[to] = cost;
      parent[to] = cell;
      open.push({f(to, cost), to});
    }
  }
  int32_t length = 0;
  for (int32_t cell = parent[goal] < 0 ? -1 : goal; cell >= 0; cell = parent[cell]) ++length;
  return length;
}

int32_t RunReference(const std::vector<double>& costs, int32_t side, double weight) {
  return static_cast<int32_t>(
      reference::FindPath(costs, side, side, weight, 0, 0, side - 1, side - 1).path.size());
}

void BM_FindPath(benchmark::State& state, double weight) {
  Measure(state, Key("FindPath", weight), [&] { return RunFindPath(weight); });
}

void BM_TextbookAStar(benchmark::State& state, double weight) {
  Measure(state, Key("textbook", weight), [&] { return TextbookAStar(Grid(), kSide, weight); });
}

double TimeReference(int32_t side, double weight) {
  std::vector<double> costs = MakeGrid(side);
  double begin = ProcessorMilliseconds();
  benchmark::DoNotOptimize(RunReference(costs, side, weight));
  return ProcessorMilliseconds() - begin;
}

// The plain search on grids of doubling side, as long as the growth seen so far says the
// next grid ends within a minute; the full grid's time is measured when it gets there,
// else extrapolated from the last two grids measured.
void ReportReference(double weight) {
  constexpr double kMinute = 60000;
  int32_t side = kSide / 8;
  double previous = TimeReference(side / 2, weight);
  double last = TimeReference(side, weight);
  double growth = last / std::max(previous, 1e-3);  // per doubled side
  while (side < kSide && last * growth < kMinute) {
    side *= 2;
    previous = last;
    last = TimeReference(side, weight);
    growth = last / std::max(previous, 1e-3);
  }
  double estimate = last;
  for (int32_t s = side; s < kSide; s *= 2) estimate *= growth;
  std::printf("  plain search      %12.1f ms (%s; %.0f ms on %d x %d, x%.0f per doubled side)\n",
              estimate, side == kSide ? "measured" : "extrapolated", last, side, side, growth);
}

BENCHMARK_CAPTURE(BM_FindPath, weight_0_5, 0.5)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TextbookAStar, weight_0_5, 0.5)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FindPath, weight_0, 0.0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TextbookAStar, weight_0, 0.0)->Unit(benchmark::kMillisecond);

void Summary(const qrv::bench::Runs&) {
  std::printf(
      "\n%d x %d grid, costs 1..9, 20%% blocked, corner to corner (fastest runs, processor time)\n",
      kSide, kSide);
  for (double weight : kWeights) {
    auto mine = Fastest().find(Key("FindPath", weight));
    auto textbook = Fastest().find(Key("textbook", weight));
    if (mine == Fastest().end() || textbook == Fastest().end()) continue;  // left out by a filter
    std::printf("weight %.1f: FindPath's path has %d cells, the textbook search's %d\n", weight,
                RunFindPath(weight), TextbookAStar(Grid(), kSide, weight));
    std::printf("  FindPath          %12.1f ms\n", mine->second);
    std::printf("  textbook A*       %12.1f ms\n", textbook->second);
    std::fflush(stdout);
    ReportReference(weight);
    qrv::bench::CheckAtMost(Key("weight", weight) + ", FindPath / textbook A*",
                            mine->second / textbook->second, 1.5, "x");
  }
}

}  // namespace

QRV_BENCHMARK_MAIN(Summary)
