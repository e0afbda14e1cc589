// Settings files: the line rules, lookups without regard to case, write-back on
// switching, and real settings files of this machine's packages read without loss.
#include <map>
#include <sstream>

#include "files_fixture.h"
#include "quorvia/files.h"
#include "quorvia/frame.h"

namespace {

using files_test::ReadFile;
using files_test::WriteFile;
namespace fs = std::filesystem;

class SettingsTest : public files_test::FilesTest {
 protected:
  void TearDown() override {
    qrv::IniOpen("");
    FilesTest::TearDown();
  }
};

std::string Get(const char* section, const char* key) {
  return qrv::IniGet(section, key, "<default>").c_str();
}

TEST_F(SettingsTest, LineRulesAndLookups) {
  WriteFile("game.ini",
            "top = before any section\r\n"
            "; a comment = not an entry\r\n"
            "\r\n"
            "   [Video]\r\n"
            "Width = 640\r\n"
            "\tTitle=  My  Game \t\t\r\n"
            "noequals\r\n"
            "Width=800\n"
            "[Empty]\n"
            "[My Game]\n"
            "Spaced key = yes\n"
            "Key2\t= two\n"
            "[ Audio ] trailing words\n"
            "Volume=7\n"
            "Name=Caf\xc3\xa9\n"
            "[video]\n"
            "Depth=32\n");
  qrv::IniOpen("game.ini");
  const struct {
    const char *section, *key, *value;
  } cases[] = {
      {"video", "WIDTH", "640"},
      {"", "top", "before any section"},
      {"VIDEO", "title", "My  Game "},
      {"Video", "noequals", "<default>"},
      {"Video", "; a comment", "<default>"},
      {"My", "spaced", "<default>"},  // names and keys end at a blank: "[My Game]" is "My"
      {"My Game", "spaced KEY", "<default>"},
      {"my", "Key2", "two"},
      {"audio", "volume", "7"},
      {"Audio", "Name", "Caf\xc3\xa9"},
      {"Video", "Depth", "<default>"},
      {"Missing", "Width", "<default>"},
  };
  for (const auto& c : cases) EXPECT_EQ(Get(c.section, c.key), c.value) << c.section << c.key;
}

TEST_F(SettingsTest, ChangesAreWrittenBackWhenSwitchingFiles) {
  WriteFile("game.ini", "[Video]\r\nWidth = 640\r\n[Empty]\r\n");
  qrv::IniOpen("game.ini");
  qrv::IniPut("video", "width", "1024");
  qrv::IniPut("Audio", "Volume", "7");
  qrv::IniPut("Audio", "Music", "on");
  qrv::IniPut("Progress", "LastLevel", "3");
  // A put is one line: what follows a line break goes.
  qrv::IniPut("Progress", "Name", "Ann\r\n[Admin]\r\nRights=all");
  EXPECT_EQ(Get("AUDIO", "VOLUME"), "7");
  EXPECT_EQ(ReadFile("game.ini"), "[Video]\r\nWidth = 640\r\n[Empty]\r\n");
  qrv::IniOpen("other.ini");
  EXPECT_EQ(ReadFile("game.ini"),
            "[Video]\r\nWidth=1024\r\n[Audio]\r\nVolume=7\r\nMusic=on\r\n"
            "[Progress]\r\nLastLevel=3\r\nName=Ann\r\n");
  EXPECT_EQ(Get("Audio", "Volume"), "<default>");
  // A missing file starts empty; what is put there is written on the next switch.
  qrv::IniPut("New", "Key", "Value");
  qrv::IniOpen("");
  EXPECT_EQ(ReadFile("other.ini"), "[New]\r\nKey=Value\r\n");
  qrv::IniOpen("game.ini");
  EXPECT_EQ(Get("progress", "lastlevel"), "3");
  EXPECT_EQ(Get("admin", "rights"), "<default>");
  // An unchanged store is not written.
  fs::remove("other.ini");
  qrv::IniOpen("other.ini");
  qrv::IniOpen("");
  EXPECT_FALSE(fs::exists("other.ini"));
}

TEST_F(SettingsTest, WriteBackGoesToTheLoadedFileWhereverTheProgramMovesTo) {
  WriteFile("game.ini", "[Video]\r\nWidth=640\r\n");
  WriteFile("elsewhere/game.ini", "unrelated\r\n");
  qrv::IniOpen("game.ini");
  qrv::IniPut("Video", "Width", "800");
  fs::current_path("elsewhere");
  qrv::IniOpen("");
  fs::current_path(root_);
  EXPECT_EQ(ReadFile("game.ini"), "[Video]\r\nWidth=800\r\n");
  EXPECT_EQ(ReadFile("elsewhere/game.ini"), "unrelated\r\n");
}

// A write-back that fails keeps nothing quiet: error 3, and with the debug flag (as with
// QRV_VERBOSE=1) the command, the file and the reason on standard error. Opening a file
// clears the error again, as every loading command does.
TEST_F(SettingsTest, AWriteBackThatFailsIsReported) {
  qrv::Settings().debugFlag = 1;
  qrv::IniOpen("/nonexistent/x.ini");
  qrv::IniPut("Video", "Width", "800");
  testing::internal::CaptureStderr();
  qrv::IniOpen("game.ini");
  const std::string errors = testing::internal::GetCapturedStderr();
  qrv::Settings().debugFlag = 0;
  EXPECT_EQ(qrv::LastError(), 3);
  EXPECT_EQ(errors, "IniOpen: /nonexistent/x.ini: cannot be written\n");
  // The next switch writes, and starts from a clean error.
  qrv::IniPut("Video", "Width", "640");
  qrv::IniOpen("");
  EXPECT_EQ(qrv::LastError(), 0);
  EXPECT_EQ(ReadFile("game.ini"), "[Video]\r\nWidth=640\r\n");
}

TEST_F(SettingsTest, FilesInTheMainPackLoad) {
  WriteFile("src/Scene.ini", "[Camera]\nFov=60\n");
  ASSERT_EQ(files_test::RunQrv("pack create main.pak src/Scene.ini"), 0);
  qrv::SetMediaPacks("main.pak", "main.pak");
  qrv::IniOpen("levels/scene.INI");
  EXPECT_EQ(Get("camera", "fov"), "60");
  qrv::ReleaseMediaPacks();
}

// The entries of a settings file as its line rules define them: first value per key.
std::map<std::pair<std::string, std::string>, std::string> ExpectedEntries(
    const std::string& text) {
  std::map<std::pair<std::string, std::string>, std::string> entries;
  std::istringstream lines(text);
  std::string line, section;
  auto lower = [](std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
  };
  while (std::getline(lines, line)) {
    while (!line.empty() && static_cast<unsigned char>(line.back()) < 32) line.pop_back();
    size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == ';') continue;
    line = line.substr(first);
    // Names and keys are words: they end at a blank, tab or '='.
    if (line[0] == '[') {
      size_t start = line.find_first_not_of(" \t", 1);
      section = start == std::string::npos
                    ? ""
                    : line.substr(start, line.find_first_of(" \t=", start) - start);
      if (!section.empty() && section.back() == ']') section.pop_back();
      section = lower(section);
      continue;
    }
    size_t keyEnd = line.find_first_of(" \t=");
    size_t equals = line.find_first_not_of(" \t", keyEnd);
    if (equals == std::string::npos || line[equals] != '=') continue;
    std::string key = line.substr(0, keyEnd);
    std::string value = line.substr(equals + 1);
    value.erase(0, value.find_first_not_of(" \t") == std::string::npos
                       ? value.size()
                       : value.find_first_not_of(" \t"));
    entries.emplace(std::make_pair(section, lower(key)), value);
  }
  return entries;
}

TEST_F(SettingsTest, RealSettingsFilesReadWithoutLossAndSurviveWriteBack) {
  int checked = 0;
  for (const char* path :
       {"/usr/share/applications/vim.desktop", "/etc/xdg/autostart/at-spi-dbus-bus.desktop",
        "/etc/systemd/journald.conf", "/etc/openni2/OpenNI.ini"}) {
    if (!fs::exists(path)) continue;
    ++checked;
    // Removed first: the Windows C++ library's copy_file refuses to overwrite.
    fs::remove("copy.ini");
    fs::copy_file(path, "copy.ini");
    auto expected = ExpectedEntries(ReadFile(path));
    ASSERT_FALSE(expected.empty()) << path;
    for (int pass = 0; pass < 2; ++pass) {
      qrv::IniOpen("copy.ini");
      for (const auto& [where, value] : expected) {
        EXPECT_EQ(Get(where.first.c_str(), where.second.c_str()), value)
            << path << " [" << where.first << "] " << where.second << " pass " << pass;
      }
      // The second pass reads what the runtime wrote back.
      qrv::IniPut("qrv", "touched", "1");
      qrv::IniOpen("");
    }
  }
  if (checked == 0) GTEST_SKIP() << "no settings files of the packages found";
}

}  // namespace
