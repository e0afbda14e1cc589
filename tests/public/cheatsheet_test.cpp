// The cheatsheet names every command of the public headers: the headers are read here, every
// function declared or defined at namespace level is collected (class members are not
// commands), and each name must appear in docs/cheatsheet.md.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The header without comments, string literals' contents and preprocessor lines (with
// their continuations), so that only declarations remain.
std::string StripHeader(const std::string& text) {
  std::string out;
  bool directive = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (directive) {
      if (c == '\n' && (i == 0 || text[i - 1] != '\\')) directive = false;
      continue;
    }
    if (c == '#' && (out.empty() || out.find_last_not_of(" \t") == std::string::npos ||
                     out[out.find_last_not_of(" \t")] == '\n')) {
      directive = true;
    } else if (text.compare(i, 2, "//") == 0) {
      i = text.find('\n', i) - 1;
    } else if (text.compare(i, 2, "/*") == 0) {
      i = text.find("*/", i) + 1;
    } else if (c == '"' || c == '\'') {
      size_t end = i + 1;
      while (end < text.size() && text[end] != c) end += text[end] == '\\' ? 2 : 1;
      out += c;
      out += c;
      i = end;
    } else {
      out += c;
    }
  }
  return out;
}

bool IsIdentifierChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// The function a statement declares, or empty: the identifier before the first '(' (outside
// parentheses) that is not a keyword or a type. Variables ('=' first), type and concept
// definitions and macro calls (names in capitals) declare none.
std::string DeclaredFunction(const std::string& statement) {
  static const std::regex kNotFunction(
      R"(^\s*(template\s*<[^{]*>\s*)?(using|typedef|struct|class|enum|union|concept|static_assert|namespace|friend)\b)");
  static const std::regex kConcept(R"(\bconcept\b)");
  if (std::regex_search(statement, kNotFunction) || std::regex_search(statement, kConcept)) {
    return "";
  }
  static const std::set<std::string> kSkip = {
      "requires", "decltype", "noexcept", "alignas", "sizeof", "void",  "int",
      "char",     "bool",     "double",   "float",   "auto",   "const", "operator"};
  int depth = 0;
  for (size_t i = 0; i < statement.size(); ++i) {
    const char c = statement[i];
    if (c == '=' && depth == 0) return "";
    if (c == ')') --depth;
    if (c != '(') continue;
    if (depth++ != 0) continue;
    size_t end = i;
    while (end > 0 && std::isspace(static_cast<unsigned char>(statement[end - 1]))) --end;
    size_t begin = end;
    while (begin > 0 && IsIdentifierChar(statement[begin - 1])) --begin;
    const std::string name = statement.substr(begin, end - begin);
    // "void (*Name(...))()": the parenthesis only groups the declarator.
    const size_t next = statement.find_first_not_of(" \t\n", i + 1);
    if (kSkip.count(name) != 0 && next != std::string::npos && statement[next] == '*') {
      --depth;
      continue;
    }
    if (name.empty() || kSkip.count(name) != 0 ||
        std::isdigit(static_cast<unsigned char>(name[0]))) {
      continue;
    }
    // A macro call (a name in capitals) declares nothing itself: read on after it.
    if (name.find_first_of("abcdefghijklmnopqrstuvwxyz") == std::string::npos) {
      size_t close = i;
      for (int open = 0; close < statement.size(); ++close) {
        if (statement[close] == '(') ++open;
        if (statement[close] == ')' && --open == 0) break;
      }
      return close + 1 < statement.size() ? DeclaredFunction(statement.substr(close + 1)) : "";
    }
    return name;
  }
  return "";
}

// Namespace-level functions of one header. Braces opened by a namespace keep the level;
// any other brace (a class, an enum, a function body) hides what is inside it.
std::set<std::string> PublicFunctions(const std::string& header) {
  const std::string text = StripHeader(header);
  std::set<std::string> names;
  std::vector<bool> namespaceBraces;
  int hidden = 0;
  std::string statement;
  for (char c : text) {
    if (hidden > 0) {
      if (c == '{') ++hidden;
      if (c == '}') --hidden;
      continue;
    }
    if (c == '{') {
      static const std::regex kNamespace(R"(^\s*(inline\s+)?namespace\b)");
      static const std::regex kDetail(R"(^\s*namespace\s+\w*detail\w*\s*$)");
      if (std::regex_search(statement, kDetail)) {
        hidden = 1;  // the helpers behind the public templates
      } else if (std::regex_search(statement, kNamespace)) {
        namespaceBraces.push_back(true);
      } else {
        if (std::string name = DeclaredFunction(statement); !name.empty()) names.insert(name);
        hidden = 1;
      }
      statement.clear();
    } else if (c == '}') {
      if (!namespaceBraces.empty()) namespaceBraces.pop_back();
      statement.clear();
    } else if (c == ';') {
      if (std::string name = DeclaredFunction(statement); !name.empty()) names.insert(name);
      statement.clear();
    } else {
      statement += c;
    }
  }
  return names;
}

TEST(Cheatsheet, HeaderReaderFindsNamespaceFunctionsOnly) {
  const std::string header = R"header(
    #define QRV_MEMBERS(X) \
      X(Int8)
    namespace qrv {
    namespace detail { int Helper(int x); }
    // void Commented();
    struct Sample { int Member(int x); int y = int(3); };
    constexpr int64_t kLimit = int64_t(1) << 26;
    int32_t Plain(int32_t a);
    [[noreturn]] void Ends();
    void (*Routine(const char* name))();
    template <typename T>
    requires(Kind<T>) auto Ordered(const T& a) { return a < T(1); }
    inline const char* Text(const char* t) noexcept { return t != nullptr ? t : "(x)"; }
    bool operator==(const Sample& a, int b);
    QRV_MEMBERS(QRV_EXPAND)
    void AfterMacro(int n);
    enum class Mode { kA, kB };
    template <typename T> concept Kind = sizeof(T) > 1;
    }
  )header";
  EXPECT_EQ(PublicFunctions(header),
            (std::set<std::string>{"Plain", "Ends", "Routine", "Ordered", "Text", "AfterMacro"}));
}

TEST(Cheatsheet, NamesEveryPublicFunction) {
  const std::filesystem::path root = QRV_SOURCE_DIR;
  const std::string sheet = ReadText(root / "docs/cheatsheet.md");
  ASSERT_FALSE(sheet.empty()) << "docs/cheatsheet.md is missing";
  std::vector<std::filesystem::path> headers;
  for (const auto& entry : std::filesystem::directory_iterator(root / "include/quorvia")) {
    if (entry.path().extension() == ".h") headers.push_back(entry.path());
  }
  ASSERT_FALSE(headers.empty());
  std::string missing;
  size_t total = 0;
  for (const auto& header : headers) {
    for (const std::string& name : PublicFunctions(ReadText(header))) {
      ++total;
      if (!std::regex_search(sheet, std::regex("\\b" + name + "\\b"))) {
        missing += "  " + header.filename().string() + ": " + name + "\n";
      }
    }
  }
  EXPECT_GT(total, 100u) << "the header reader found too few functions to be right";
  EXPECT_TRUE(missing.empty()) << "docs/cheatsheet.md does not name these public functions:\n"
                               << missing;
}

}  // namespace
