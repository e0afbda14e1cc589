// Blowfish against the published test vectors, and Encrypt/Decrypt with their padding,
// word order and edge cases.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quorvia/values.h"
#include "values/blowfish.h"

namespace {

using qrv::RtString;

std::vector<unsigned char> FromHex(const std::string& hex) {
  std::vector<unsigned char> bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<unsigned char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}

void ReverseWords(std::vector<unsigned char>& bytes) {
  for (size_t i = 0; i + 4 <= bytes.size(); i += 4) std::reverse(&bytes[i], &bytes[i + 4]);
}

// The published vectors write blocks most significant byte first; the runtime's blocks hold
// little-endian words, so the vector's bytes are reversed per word on the way in and out.
std::string EncryptVector(const std::string& keyHex, const std::string& plainHex) {
  std::vector<unsigned char> key = FromHex(keyHex), block = FromHex(plainHex);
  ReverseWords(block);
  qrv::BlowfishBlocks(reinterpret_cast<const char*>(key.data()), static_cast<uint32_t>(key.size()),
                      block.data(), block.size(), true);
  ReverseWords(block);
  return qrv::HexBytes(block.data(), static_cast<int32_t>(block.size()), true).c_str();
}

TEST(Blowfish, PublishedVectors) {
  struct Case {
    const char *key, *plain, *cipher;
  } cases[] = {
      {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
      {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
      {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
      {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
      {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
      {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
      // Variable key lengths.
      {"F0", "FEDCBA9876543210", "F9AD597C49DB005E"},
      {"F0E1", "FEDCBA9876543210", "E91D21C1D961A6D6"},
      {"F0E1D2C3", "FEDCBA9876543210", "BE1E639408640F05"},
      {"F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677", "FEDCBA9876543210", "05044B62FA52D080"},
  };
  for (const Case& c : cases) EXPECT_EQ(EncryptVector(c.key, c.plain), c.cipher) << c.key;
}

TEST(Blowfish, EncryptReadsLittleEndianWords) {
  // The vector F0 / FEDCBA9876543210 with each 32-bit half stored least significant first.
  RtString plain("\x98\xba\xdc\xfe\x10\x32\x54\x76", 8);
  EXPECT_STREQ(qrv::Encrypt(RtString("\xf0"), plain).c_str(), "7c59adf95e00db49");
  EXPECT_STREQ(qrv::Decrypt(RtString("\xf0"), "7C59ADF95E00DB49").c_str(),
               std::string(plain.View()).c_str());
}

TEST(Cipher, LengthsPaddingAndRoundTrips) {
  RtString key("secret key");
  struct Case {
    const char* plain;
    uint32_t hexLength;
  } cases[] = {{"", 0},
               {"a", 16},
               {"12345678", 16},
               {"123456789", 32},
               {"The quick brown fox jumps over the lazy dog", 96}};
  for (const Case& c : cases) {
    RtString hex = qrv::Encrypt(key, c.plain);
    EXPECT_EQ(hex.Length(), c.hexLength) << c.plain;
    EXPECT_EQ(hex.View().find_first_not_of("0123456789abcdef"), std::string::npos);
    EXPECT_STREQ(qrv::Decrypt(key, hex).c_str(), c.plain);
    EXPECT_STREQ(qrv::Decrypt(key, qrv::UpperCase(hex)).c_str(), c.plain);
  }
  EXPECT_NE(std::string(qrv::Encrypt("k1", "same").c_str()), qrv::Encrypt("k2", "same").c_str());
}

TEST(Cipher, DefinedResultsAtTheEdges) {
  // An empty key is the key of one zero byte: it still round-trips.
  RtString zeroKey("\0", 1);
  EXPECT_STREQ(qrv::Encrypt(RtString(), "abc").c_str(), qrv::Encrypt(zeroKey, "abc").c_str());
  EXPECT_STREQ(qrv::Decrypt(RtString(), qrv::Encrypt(RtString(), "abc")).c_str(), "abc");
  // Key bytes past 72 never reach the key schedule.
  std::string longKey(100, 'k');
  for (size_t i = 0; i < longKey.size(); ++i) longKey[i] = static_cast<char>('a' + i % 26);
  RtString full(longKey.c_str()), prefix(longKey.substr(0, 72).c_str());
  EXPECT_STREQ(qrv::Encrypt(full, "text").c_str(), qrv::Encrypt(prefix, "text").c_str());
  // A trailing part shorter than a block is left out; nothing is read past the text.
  RtString hex = qrv::Encrypt("k", "12345678abc");
  RtString cut = qrv::Mid(hex, 0, 16 + 7);
  EXPECT_STREQ(qrv::Decrypt("k", cut).c_str(), "12345678");
  EXPECT_STREQ(qrv::Decrypt("k", "abc").c_str(), "");
  EXPECT_STREQ(qrv::Decrypt("k", "").c_str(), "");
  // Text after an inner zero byte is lost by design: the result ends at the first zero.
  RtString inner("ab\0cd", 5);
  EXPECT_STREQ(qrv::Decrypt("k", qrv::Encrypt("k", inner)).c_str(), "ab");
  // Any characters decode to some bytes without failing.
  EXPECT_EQ(qrv::Decrypt("k", "zz!!  ~~zz!!  ~~").Length() <= 8, true);
}

}  // namespace
