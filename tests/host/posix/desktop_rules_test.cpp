// How a POSIX desktop answers the host questions: the machine id file, the locale
// variables (with the language code they end in) and the user-dirs file.
#include <gtest/gtest.h>

#include <string>

#include "host/host_rules.h"
#include "platform/posix/desktop_rules.h"

using namespace qrv::platform::posix;
using qrv::host::LanguageCode;

TEST(PosixHostRules, MachineSerialFoldsTheIdOrFallsBack) {
  EXPECT_EQ(MachineSerial("000000010000000200000004000000f0\n"), 0xF7u);
  EXPECT_EQ(MachineSerial("0123456789ABCDEF0123456789abcdef"), 0u);
  EXPECT_EQ(MachineSerial(""), kFallbackSerial);
  EXPECT_EQ(MachineSerial("0123456789abcdef0123456789abcde"), kFallbackSerial);    // short
  EXPECT_EQ(MachineSerial("0123456789abcdef0123456789abcdeg"), kFallbackSerial);   // not hex
  EXPECT_EQ(MachineSerial("0123456789abcdef0123456789abcdef0"), kFallbackSerial);  // long
}

TEST(PosixHostRules, LocaleValuesGiveTheirLanguageCodes) {
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

TEST(PosixHostRules, LocaleIdentifiersByScriptAndTerritory) {
  EXPECT_EQ(LanguageIdentifier("sr_RS@latin"), 0x81Au);
  EXPECT_EQ(LanguageIdentifier("sr_RS"), 0xC1Au);
  EXPECT_EQ(LanguageIdentifier("uz_UZ@cyrillic"), 0x843u);
  EXPECT_EQ(LanguageIdentifier("es_ES"), 0xC0Au);
}

TEST(PosixHostRules, DocumentsFolderOfTheFile) {
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
