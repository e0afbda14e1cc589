// Skipdale_2 map files and their text form: the parser and printer of the text grid and the
// little-endian record codec. Everything here is pure, so the fuzz target drives it directly.
#include "map_format.h"

#include <charconv>
#include <optional>
#include <vector>

namespace qrv::tool {
namespace {

using Legend = std::array<std::optional<MapRecord>, 256>;

struct DefaultSymbol {
  char symbol;
  MapRecord record;
};

constexpr DefaultSymbol kDefaultLegend[] = {
    {'.', {0, kNoGraphic}}, {'#', {1, 0}}, {'/', {2, 3}}, {'\\', {3, 4}}};

// A line whose first character other than a blank is this one is a comment, anywhere.
constexpr char kCommentMark = ';';

// Legend characters: printable ASCII without the space and the comment mark.
bool IsSymbol(unsigned char c) {
  return c > 0x20 && c < 0x7F && c != kCommentMark;
}

Legend DefaultLegend() {
  Legend legend;
  for (const auto& entry : kDefaultLegend)
    legend[static_cast<unsigned char>(entry.symbol)] = entry.record;
  return legend;
}

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

bool ParseInt32(std::string_view word, int32_t& value) {
  const char* end = word.data() + word.size();
  auto [ptr, ec] = std::from_chars(word.data(), end, value);
  return ec == std::errc() && ptr == end;
}

std::string AtLine(int line, const std::string& what) {
  return "line " + std::to_string(line) + ": " + what;
}

// "legend C TYPE GRAPHIC": adds or replaces one legend entry.
bool ParseLegendLine(const std::vector<std::string_view>& words, Legend& legend, std::string& why) {
  if (words.size() != 4) {
    why = "a legend line is 'legend CHARACTER TYPE GRAPHIC'";
    return false;
  }
  if (words[1].size() != 1 || !IsSymbol(static_cast<unsigned char>(words[1][0]))) {
    why = "a legend character is one printable character other than a space or ';'";
    return false;
  }
  MapRecord record;
  if (!ParseInt32(words[2], record.type)) {
    why = "the tile type '" + std::string(words[2]) + "' is not a 32-bit integer";
    return false;
  }
  if (words[3] != "none" && !ParseInt32(words[3], record.graphic)) {
    why = "the graphic '" + std::string(words[3]) + "' is neither 'none' nor a 32-bit integer";
    return false;
  }
  legend[static_cast<unsigned char>(words[1][0])] = record;
  return true;
}

bool ParseRow(std::string_view line, int row, const Legend& legend, MapGrid& grid,
              std::string& why) {
  if (line.size() != kMapColumns) {
    why = "a map row has 32 cells, this one has " + std::to_string(line.size());
    return false;
  }
  for (int column = 0; column < kMapColumns; ++column) {
    const auto& record = legend[static_cast<unsigned char>(line[column])];
    if (!record) {
      why = "column " + std::to_string(column) + ": '" + std::string(1, line[column]) +
            "' is not in the legend";
      return false;
    }
    grid[row * kMapColumns + column] = *record;
  }
  return true;
}

// The characters a printed map gives to cells the default legend does not name: letters
// and digits first, for readable grids, then the other printable characters.
const std::string& FreeSymbols() {
  static const std::string symbols = [] {
    std::string all = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int c = 0x21; c < 0x7F; ++c) {
      if (IsSymbol(c) && all.find(static_cast<char>(c)) == std::string::npos) {
        all += static_cast<char>(c);
      }
    }
    for (const auto& entry : kDefaultLegend) all.erase(all.find(entry.symbol), 1);
    return all;
  }();
  return symbols;
}

}  // namespace

bool ParseMapText(std::string_view text, MapGrid& grid, std::string& error) {
  Legend legend = DefaultLegend();
  bool inMap = false;
  int rows = 0;
  int lineNumber = 0;
  std::string why;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++lineNumber;
    auto words = Words(line);
    bool ok = true;
    if (!words.empty() && words[0][0] == kCommentMark) {
      continue;
    } else if (inMap && rows < kMapRows) {
      ok = ParseRow(line, rows++, legend, grid, why);
    } else if (words.empty()) {
      continue;
    } else if (inMap) {
      ok = false, why = "there is text after the 24 map rows";
    } else if (words[0] == "legend") {
      ok = ParseLegendLine(words, legend, why);
    } else if (words[0] == "map" && words.size() == 1) {
      inMap = true;
    } else {
      ok = false, why = "expected a comment, a legend line or 'map'";
    }
    if (!ok) {
      error = AtLine(lineNumber, why);
      return false;
    }
  }
  if (rows == kMapRows) return true;
  error = inMap ? "the map has 24 rows, the text has " + std::to_string(rows)
                : std::string("there is no 'map' line");
  return false;
}

bool FormatMapText(const MapGrid& grid, std::string& text, std::string& error) {
  Legend legend;
  std::array<char, kMapCells> symbols{};
  std::vector<char> order;
  for (int i = 0; i < kMapCells; ++i) {
    char symbol = 0;
    for (const auto& entry : kDefaultLegend) {
      if (entry.record == grid[i]) symbol = entry.symbol;
    }
    for (int c = 0x21; symbol == 0 && c < 0x7F; ++c) {
      if (legend[c] == grid[i]) symbol = static_cast<char>(c);
    }
    for (char c : FreeSymbols()) {
      if (symbol == 0 && !legend[static_cast<unsigned char>(c)]) symbol = c;
    }
    if (symbol == 0) {
      error = "the map has more distinct cells than a text grid has characters";
      return false;
    }
    auto& slot = legend[static_cast<unsigned char>(symbol)];
    if (!slot) slot = grid[i], order.push_back(symbol);
    symbols[i] = symbol;
  }
  text.clear();
  for (char symbol : order) {
    const MapRecord& record = *legend[static_cast<unsigned char>(symbol)];
    text += "legend " + std::string(1, symbol) + " " + std::to_string(record.type) + " " +
            (record.graphic == kNoGraphic ? "none" : std::to_string(record.graphic)) + "\n";
  }
  text += "map\n";
  for (int row = 0; row < kMapRows; ++row) {
    text.append(symbols.data() + row * kMapColumns, kMapColumns);
    text += '\n';
  }
  return true;
}

std::string EncodeMapFile(const MapGrid& grid) {
  std::string bytes;
  bytes.reserve(kMapFileBytes);
  for (const MapRecord& record : grid) {
    for (int32_t value : {record.type, record.graphic}) {
      uint32_t bits = static_cast<uint32_t>(value);
      for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>(bits >> shift);
    }
  }
  return bytes;
}

bool DecodeMapFile(std::string_view bytes, MapGrid& grid, std::string& error) {
  if (bytes.size() < static_cast<size_t>(kMapFileBytes)) {
    error = "the file holds " + std::to_string(bytes.size()) + " bytes, a map holds " +
            std::to_string(kMapFileBytes);
    return false;
  }
  auto word = [&](size_t offset) {
    uint32_t bits = 0;
    for (int i = 3; i >= 0; --i) bits = bits << 8 | static_cast<unsigned char>(bytes[offset + i]);
    return static_cast<int32_t>(bits);
  };
  for (int i = 0; i < kMapCells; ++i) grid[i] = {word(i * 8), word(i * 8 + 4)};
  return true;
}

}  // namespace qrv::tool
