// PlatformInfo in a process without a window: every key, its letter cases, and the
// answers that come from the environment and from files of the user.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "host/host_files.h"
#include "quorvia/host.h"

using qrv::PlatformInfo;

namespace {

std::string Info(const char* key) {
  return std::string(PlatformInfo(key).View());
}

bool Matches(const std::string& text, const char* pattern) {
  return std::regex_match(text, std::regex(pattern));
}

// Sets or removes environment variables for one test and puts them back afterwards.
class ScopedEnvironment {
 public:
  void Set(const char* name, const char* value) {
    Remember(name);
    if (value == nullptr) {
      unsetenv(name);
    } else {
      setenv(name, value, 1);
    }
  }
  ~ScopedEnvironment() {
    for (auto& [name, value] : saved_) {
      if (value.has_value()) {
        setenv(name.c_str(), value->c_str(), 1);
      } else {
        unsetenv(name.c_str());
      }
    }
  }

 private:
  void Remember(const char* name) {
    for (auto& entry : saved_) {
      if (entry.first == name) return;
    }
    const char* old = getenv(name);
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
  }
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

}  // namespace

TEST(PlatformInfo, FixedKeysInEveryLetterCase) {
  EXPECT_EQ(Info(""), "LINUX");
  for (const char* key : {"DEVICE", "device", "DeViCe"}) EXPECT_EQ(Info(key), "DESKTOP") << key;
  for (const char* key : {"FOO", "DEVICES", " DEVICE", "GLEXT", "WIN32"}) {
    EXPECT_EQ(Info(key), "NO_DATA") << key;
  }
  EXPECT_TRUE(Matches(Info("hostid"), "[0-9a-f]{8}"));
  EXPECT_EQ(Info("hostid"), Info("HOSTID"));
  EXPECT_TRUE(
      Matches(Info("Compiled"), "[A-Z][a-z]{2} [ 1-3][0-9] [0-9]{4}-[0-9]{2}:[0-9]{2}:[0-9]{2}"))
      << Info("COMPILED");
  std::string id = Info("id");
  EXPECT_TRUE(Matches(id, "[0-9A-F]{8}")) << id;
  EXPECT_EQ(id, Info("ID"));
  std::string battery = Info("battery");
  EXPECT_TRUE(battery == "NO_DATA" || (Matches(battery, "[0-9]{1,3}") && std::stoi(battery) <= 100))
      << battery;
}

TEST(PlatformInfo, TimeIsTheLocalClock) {
  ScopedEnvironment env;
  env.Set("TZ", "UTC");
  tzset();
  std::time_t before = std::time(nullptr);
  std::string lower = Info("time"), upper = Info("TIME");
  std::time_t after = std::time(nullptr);
  ASSERT_TRUE(Matches(upper, "[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}")) << upper;
  char first[32], last[32];
  std::strftime(first, sizeof first, "%Y-%m-%d %H:%M:%S", std::gmtime(&before));
  std::strftime(last, sizeof last, "%Y-%m-%d %H:%M:%S", std::gmtime(&after));
  for (const std::string& answer : {lower, upper}) {
    EXPECT_GE(answer, first);
    EXPECT_LE(answer, last);
  }
}

TEST(PlatformInfo, LocaleFollowsTheMessageLanguage) {
  ScopedEnvironment env;
  struct Case {
    const char *all, *messages, *lang, *code;
  } cases[] = {
      {nullptr, nullptr, "en_US.UTF-8", "uk"},
      {nullptr, nullptr, "en_GB.UTF-8", "en"},
      {nullptr, nullptr, "de_AT.UTF-8", "de"},
      {nullptr, nullptr, "pt_BR", "pt"},
      {nullptr, nullptr, "zh_TW.UTF-8", "ch"},
      {nullptr, nullptr, "C", "uk"},
      {nullptr, nullptr, "POSIX", "uk"},
      {nullptr, nullptr, nullptr, "uk"},
      {nullptr, "de_AT", "pt_BR", "de"},
      {"zh_TW", "de_AT", "pt_BR", "ch"},
      {"", "", "en_GB", "en"},
      {nullptr, nullptr, "tlh_QO", "us"},
  };
  for (const Case& c : cases) {
    env.Set("LC_ALL", c.all);
    env.Set("LC_MESSAGES", c.messages);
    env.Set("LANG", c.lang);
    EXPECT_EQ(Info("locale"), c.code)
        << (c.all ? c.all : "-") << " " << (c.messages ? c.messages : "-") << " "
        << (c.lang ? c.lang : "-");
  }
}

TEST(PlatformInfo, DocumentsFromTheUserDirsFile) {
  ScopedEnvironment env;
  host_test::TempFolder temp;
  const std::filesystem::path& folder = temp.path;
  env.Set("HOME", folder.c_str());
  env.Set("XDG_CONFIG_HOME", nullptr);
  EXPECT_EQ(Info("DOCUMENTS"), "NO_DATA");
  std::filesystem::create_directories(folder / ".config");
  std::ofstream(folder / ".config/user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"$HOME/Papiere\"\n";
  EXPECT_EQ(Info("documents"), (folder / "Papiere").string());
  // XDG_CONFIG_HOME names the folder of the file.
  std::filesystem::create_directories(folder / "conf");
  std::ofstream(folder / "conf/user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"/srv/shared docs\"\n";
  env.Set("XDG_CONFIG_HOME", (folder / "conf").c_str());
  EXPECT_EQ(Info("Documents"), "/srv/shared docs");
}

TEST(PlatformInfo, GlExtWithoutAContextIsAbsent) {
  EXPECT_EQ(Info("GLEXT:glGenBuffers"), "0");
  EXPECT_EQ(Info("glext:"), "0");
}
