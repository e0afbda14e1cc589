// The host rules over plain values: time and battery texts, the machine id, the
// language code of a locale value, the documents folder of a user-dirs file, and which
// GL functions a context has.
#include "host/host_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace qrv::host;

TEST(HostValues, TimePadsEveryFieldButTheYear) {
  EXPECT_EQ(TimeText(2011, 3, 5, 7, 4, 9), "2011-03-05 07:04:09");
  EXPECT_EQ(TimeText(2026, 12, 31, 23, 59, 58), "2026-12-31 23:59:58");
  EXPECT_EQ(TimeText(999, 1, 1, 0, 0, 0), "999-01-01 00:00:00");
}

TEST(HostValues, BatteryIsCappedAndNeedsABattery) {
  EXPECT_EQ(BatteryText(true, 57), "57");
  EXPECT_EQ(BatteryText(true, 0), "0");
  EXPECT_EQ(BatteryText(true, 100), "100");
  EXPECT_EQ(BatteryText(true, 255), "100");
  EXPECT_EQ(BatteryText(true, -1), "100");  // a battery of unknown charge
  EXPECT_EQ(BatteryText(false, 80), "NO_DATA");
}

TEST(HostValues, MachineSerialFoldsTheIdOrFallsBack) {
  EXPECT_EQ(MachineSerial("000000010000000200000004000000f0\n"), 0xF7u);
  EXPECT_EQ(MachineSerial("0123456789ABCDEF0123456789abcdef"), 0u);
  EXPECT_EQ(MachineSerial(""), kFallbackSerial);
  EXPECT_EQ(MachineSerial("0123456789abcdef0123456789abcde"), kFallbackSerial);    // short
  EXPECT_EQ(MachineSerial("0123456789abcdef0123456789abcdeg"), kFallbackSerial);   // not hex
  EXPECT_EQ(MachineSerial("0123456789abcdef0123456789abcdef0"), kFallbackSerial);  // long
}

TEST(HostValues, MachineIdIsTheMixedSerialInMemoryOrder) {
  std::string a = MachineIdText(0), b = MachineIdText(0x000000FF);
  ASSERT_EQ(a.size(), 8u);
  EXPECT_EQ(a.find_first_not_of("0123456789ABCDEF"), std::string::npos);
  // The lowest byte comes first: only the first two digits differ.
  EXPECT_NE(a.substr(0, 2), b.substr(0, 2));
  EXPECT_EQ(a.substr(2), b.substr(2));
  EXPECT_NE(MachineIdText(kFallbackSerial), MachineIdText(kFallbackSerial + 1));
}

TEST(LocaleCode, LocaleValuesGiveTheirLanguageCodes) {
  struct Case {
    const char* value;
    const char* code;
  } cases[] = {
      {"en_US", "uk"},       {"en_US.UTF-8", "uk"}, {"en_GB.UTF-8", "en"}, {"en_AU", "en"},
      {"de_AT.UTF-8", "de"}, {"de_DE@euro", "de"},  {"de_BE", "de"},       {"pt_BR", "pt"},
      {"pt_PT", "pt"},       {"zh_TW.UTF-8", "ch"}, {"zh_CN", "ch"},       {"zh_HK", "zh"},
      {"C", "uk"},           {"C.UTF-8", "uk"},     {"POSIX", "uk"},       {"", "uk"},
      {"uk_UA.UTF-8", "uk"}, {"pl_PL", "pl"},       {"ja_JP.eucJP", "jp"}, {"nb_NO", "no"},
      {"sr_RS@latin", "sr"}, {"kok_IN", "kn"},      {"fr", "fr"},          {"xx_YY", "us"},
      {"EN_us", "us"},       {"e", "us"},           {"english", "us"},     {"en_U S", "us"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LanguageCode(LanguageIdentifier(c.value)), c.code) << c.value;
  }
}

TEST(LocaleCode, IdentifierRules) {
  EXPECT_EQ(LanguageCode(0x409), "uk");
  EXPECT_EQ(LanguageCode(0x422), "uk");
  EXPECT_EQ(LanguageCode(0x809), "en");
  EXPECT_EQ(LanguageCode(0x3409), "en");
  EXPECT_EQ(LanguageCode(0x81A), "sr");
  EXPECT_EQ(LanguageCode(0x417), "us");  // not in the table
  EXPECT_EQ(LanguageCode(0), "us");
  EXPECT_EQ(LanguageIdentifier("sr_RS@latin"), 0x81Au);
  EXPECT_EQ(LanguageIdentifier("sr_RS"), 0xC1Au);
  EXPECT_EQ(LanguageIdentifier("uz_UZ@cyrillic"), 0x843u);
  EXPECT_EQ(LanguageIdentifier("es_ES"), 0xC0Au);
}

TEST(UserDirs, DocumentsFolderOfTheFile) {
  const char* typical =
      "# written by the user-dirs tool\n"
      "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
      "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n"
      "XDG_MUSIC_DIR=\"$HOME/Musik\"\n";
  EXPECT_EQ(DocumentsFolder(typical, "/home/ann"), "/home/ann/Dokumente");
  EXPECT_EQ(DocumentsFolder("XDG_DOCUMENTS_DIR=\"/srv/docs\"", "/home/ann"), "/srv/docs");
  EXPECT_EQ(DocumentsFolder("  XDG_DOCUMENTS_DIR=\"$HOME/My \\\"Files\\\"\"\r", "/h"),
            "/h/My \"Files\"");
  EXPECT_EQ(DocumentsFolder("XDG_DOCUMENTS_DIR=\"$HOME\"\n", "/h"), "/h");
  // Never a trailing '/', but the root stays a name.
  EXPECT_EQ(DocumentsFolder("XDG_DOCUMENTS_DIR=\"$HOME/Documents/\"\n", "/h"), "/h/Documents");
  EXPECT_EQ(DocumentsFolder("XDG_DOCUMENTS_DIR=\"/srv/docs//\"\n", "/h"), "/srv/docs");
  EXPECT_EQ(DocumentsFolder("XDG_DOCUMENTS_DIR=\"$HOME/\"\n", "/h"), "/h");
  EXPECT_EQ(DocumentsFolder("XDG_DOCUMENTS_DIR=\"/\"\n", "/h"), "/");
  // The last assignment counts; broken ones are passed over.
  EXPECT_EQ(DocumentsFolder("XDG_DOCUMENTS_DIR=\"/a\"\nXDG_DOCUMENTS_DIR=\"/b\"\n", "/h"), "/b");
  EXPECT_EQ(DocumentsFolder("XDG_DOCUMENTS_DIR=\"/a\"\nXDG_DOCUMENTS_DIR=\"/b\n", "/h"), "/a");
  for (const char* none : {"", "XDG_DOCUMENTS_DIR=/x\n", "XDG_DOCUMENTS_DIR=\"relative\"\n",
                           "XDG_DOCUMENTS_DIR=\"$HOMEWORK/x\"\n", "#XDG_DOCUMENTS_DIR=\"/x\"\n",
                           "XDG_DOCUMENTS_DIR=\"\"\n", "XDG_DOCUMENTS_DIRX=\"/x\"\n"}) {
    EXPECT_EQ(DocumentsFolder(none, "/h"), "") << none;
  }
  EXPECT_EQ(DocumentsFolder("XDG_DOCUMENTS_DIR=\"$HOME/Documents\"\n", ""), "");
}

// Versions and extensions as the GL documents give them: glGenBuffers came with 1.5,
// glBegin left the core profile with 3.2, glGetPointerv left it and came back with 4.3
// (and KHR_debug brings it), glSpecializeShader is 4.6.
TEST(GlFunctions, CoreVersionProfileOrListedExtension) {
  std::vector<std::string> list;
  ExtensionListed listed = [&](std::string_view name) {
    return std::find(list.begin(), list.end(), name) != list.end();
  };
  EXPECT_FALSE(GlFunctionBelongs("glGenBuffers", 14, false, listed));
  EXPECT_TRUE(GlFunctionBelongs("glGenBuffers", 15, false, listed));
  EXPECT_TRUE(GlFunctionBelongs("glGenBuffers", 45, true, listed));
  EXPECT_TRUE(GlFunctionBelongs("glGenBuffers", 99, false, listed));  // newer than the registry
  EXPECT_FALSE(GlFunctionBelongs("glgenbuffers", 45, false, listed));
  EXPECT_TRUE(GlFunctionBelongs("glBegin", 10, false, listed));
  EXPECT_TRUE(GlFunctionBelongs("glBegin", 45, false, listed));
  EXPECT_TRUE(GlFunctionBelongs("glBegin", 31, true, listed));
  EXPECT_FALSE(GlFunctionBelongs("glBegin", 32, true, listed));
  EXPECT_FALSE(GlFunctionBelongs("glGetPointerv", 33, true, listed));
  EXPECT_TRUE(GlFunctionBelongs("glGetPointerv", 43, true, listed));
  EXPECT_FALSE(GlFunctionBelongs("glSpecializeShader", 45, false, listed));
  EXPECT_TRUE(GlFunctionBelongs("glSpecializeShader", 46, true, listed));
  for (const char* name : {"glDrawMeshTasksNV", "glGenFramebuffersEXT", "glGenBuffersARB",
                           "glQrvNoSuchFunction", "", "gl"}) {
    EXPECT_FALSE(GlFunctionBelongs(name, 46, false, listed)) << name;
  }
  list = {"GL_EXT_framebuffer_object", "GL_ARB_vertex_buffer_object", "GL_KHR_debug"};
  EXPECT_TRUE(GlFunctionBelongs("glGenFramebuffersEXT", 21, false, listed));
  EXPECT_TRUE(GlFunctionBelongs("glGenBuffersARB", 10, false, listed));
  EXPECT_TRUE(GlFunctionBelongs("glGetPointerv", 33, true, listed));
  EXPECT_FALSE(GlFunctionBelongs("glDrawMeshTasksNV", 46, false, listed));
  list = {"GL_NV_mesh_shader"};
  EXPECT_TRUE(GlFunctionBelongs("glDrawMeshTasksNV", 45, false, listed));
  EXPECT_TRUE(GlFunctionBelongs("glDrawMeshTasksNV", 45, true, listed));
}
