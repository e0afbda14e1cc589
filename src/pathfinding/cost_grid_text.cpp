// Reading cost grids from text: strict decimal numbers, rectangular rows, bounded size.
#include "pathfinding/cost_grid_text.h"

#include <cmath>

#include "values/float_chars.h"

namespace qrv {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// A decimal number: sign, digits with an optional fraction, optional exponent. Words such
// as "inf" or "nan" and hexadecimal forms are not costs.
bool ParseNumber(std::string_view token, double& value) {
  for (char c : token) {
    bool allowed =
        (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E';
    if (!allowed) return false;
  }
  // The number reader takes no '+'; a sign after it ("+-1") is no number either.
  bool plus = !token.empty() && token.front() == '+';
  if (plus) token.remove_prefix(1);
  if (token.empty() || (plus && token.front() == '-')) return false;
  const char* end = token.data() + token.size();
  auto [ptr, ec] = DoubleFromChars(token.data(), end, value);
  return ec == std::errc() && ptr == end && std::isfinite(value);
}

// Appends the cells of one line; false with a message on a bad cell or a line too long.
bool ParseRow(std::string_view line, size_t lineNumber, CostGrid& grid, std::string& error) {
  size_t i = 0;
  while (i < line.size()) {
    if (IsBlank(line[i])) {
      ++i;
      continue;
    }
    size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    std::string_view token = line.substr(start, i - start);
    double value = 0;
    if (!ParseNumber(token, value)) {
      error = "line " + std::to_string(lineNumber) + ": '" + std::string(token.substr(0, 32)) +
              "' is not a decimal number";
      return false;
    }
    if (static_cast<int64_t>(grid.costs.size()) >= kMaxTextGridCells) {
      error = "grid has more than " + std::to_string(kMaxTextGridCells) + " cells";
      return false;
    }
    grid.costs.push_back(value);
  }
  return true;
}

}  // namespace

bool ParseCostGrid(std::string_view text, CostGrid& grid, std::string& error) {
  grid = CostGrid{};
  error.clear();
  size_t lineNumber = 0;
  while (!text.empty()) {
    size_t newline = text.find('\n');
    std::string_view line = text.substr(0, newline);
    text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
    ++lineNumber;
    size_t before = grid.costs.size();
    if (!ParseRow(line, lineNumber, grid, error)) break;
    int64_t cells = static_cast<int64_t>(grid.costs.size() - before);
    if (cells == 0) continue;
    if (grid.height > 0 && cells != grid.width) {
      error = "line " + std::to_string(lineNumber) + " has " + std::to_string(cells) +
              " cells, the first row has " + std::to_string(grid.width);
      break;
    }
    grid.width = static_cast<int32_t>(cells);
    ++grid.height;
  }
  if (error.empty() && grid.height == 0) error = "the grid has no cells";
  if (!error.empty()) grid = CostGrid{};
  return error.empty();
}

}  // namespace qrv
