// Reading text cost grids: the numbers accepted, the shapes refused, and the messages that
// tell a level designer which line is wrong.
#include "pathfinding/cost_grid_text.h"

#include <gtest/gtest.h>

namespace {

struct GoodCase {
  const char* name;
  const char* text;
  int32_t width, height;
  std::vector<double> costs;
};

const GoodCase kGood[] = {
    {"one row", "1 2 3", 3, 1, {1, 2, 3}},
    {"rows, CR LF and a final blank line", "1 0\r\n-2 4.5\r\n\r\n", 2, 2, {1, 0, -2, 4.5}},
    {"tabs, runs of blanks, blank lines between rows", "\t1\t 2 \n\n  3  4\n", 2, 2, {1, 2, 3, 4}},
    {"signs, fractions and exponents", "+7 -0.5 .25 3e2 1E-1", 5, 1, {7, -0.5, 0.25, 300, 0.1}},
    {"no final newline", "9\n8", 1, 2, {9, 8}},
};

TEST(CostGridText, ReadsGrids) {
  for (const GoodCase& c : kGood) {
    qrv::CostGrid grid;
    std::string error = "stale";
    ASSERT_TRUE(qrv::ParseCostGrid(c.text, grid, error)) << c.name << ": " << error;
    EXPECT_TRUE(error.empty()) << c.name;
    EXPECT_EQ(grid.width, c.width) << c.name;
    EXPECT_EQ(grid.height, c.height) << c.name;
    EXPECT_EQ(grid.costs, c.costs) << c.name;
  }
}

struct BadCase {
  const char* name;
  std::string text;
  const char* message;  // part of the message
};

const BadCase kBad[] = {
    {"empty file", "", "no cells"},
    {"only blanks", " \n\t\r\n", "no cells"},
    {"ragged rows", "1 1 1\n1 1\n", "line 2 has 2 cells, the first row has 3"},
    {"a word", "1 1\n1 wall\n", "line 2: 'wall' is not a decimal number"},
    {"not a number", "1 inf", "'inf' is not"},
    {"NaN", "nan 1", "'nan' is not"},
    {"hexadecimal", "0x1F", "'0x1F' is not"},
    {"two signs", "+-1", "'+-1' is not"},
    {"trailing garbage", "1.5.2", "'1.5.2' is not"},
    {"dangling exponent", "4e", "'4e' is not"},
    {"out of range", "1e400", "'1e400' is not"},
    {"a NUL byte", std::string("1 \0 1", 5), "is not"},
};

TEST(CostGridText, RefusesWhatIsNotAGrid) {
  for (const BadCase& c : kBad) {
    qrv::CostGrid grid;
    std::string error;
    EXPECT_FALSE(qrv::ParseCostGrid(c.text, grid, error)) << c.name;
    EXPECT_NE(error.find(c.message), std::string::npos) << c.name << ": " << error;
    EXPECT_EQ(grid.width, 0) << c.name;
    EXPECT_TRUE(grid.costs.empty()) << c.name;
  }
}

TEST(CostGridText, RefusesGridsBeyondTheCellLimit) {
  std::string row(2 * 4096, ' ');
  for (size_t i = 0; i < row.size(); i += 2) row[i] = '1';
  row += '\n';
  std::string text;
  for (int32_t y = 0; y <= 4096; ++y) text += row;  // one row more than the limit
  qrv::CostGrid grid;
  std::string error;
  EXPECT_FALSE(qrv::ParseCostGrid(text, grid, error));
  EXPECT_NE(error.find("more than 16777216 cells"), std::string::npos) << error;
}

}  // namespace
