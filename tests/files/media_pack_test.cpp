// Media packs built by the qrv tool and read back by the runtime: resolution to memory
// and to temporary files, packs appended to programs, damaged packs, "mem://" names.
#include "files/media_pack.h"

#include <cstring>

#include "files_fixture.h"
#include "quorvia/files.h"

namespace {

using files_test::ReadFile;
using files_test::RunQrv;
using files_test::WriteFile;

std::string Pattern(size_t size, int seed) {
  std::string bytes(size, 0);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + (i >> 9) * seed) & 0x3f);
  return bytes;
}

std::string ReadThrough(const qrv::RtString& name) {
  qrv::FileReader reader;
  if (!reader.OpenForReading(name.c_str())) return "<cannot open>";
  std::string bytes(static_cast<size_t>(reader.Size()), 0);
  if (!reader.Read(bytes.data(), reader.Size())) return "<short>";
  return bytes;
}

class MediaPackTest : public files_test::FilesTest {
 protected:
  // Builds pack.pak from src/T1.BMP, src/music.ogg and src/empty.txt.
  void BuildPack(const std::string& options = "", const std::string& out = "pack.pak") {
    WriteFile("src/T1.BMP", "BM-picture-bytes");
    WriteFile("src/music.ogg", Pattern(200000, 3));
    WriteFile("src/empty.txt", "");
    ASSERT_EQ(
        RunQrv("pack create " + options + " " + out + " src/T1.BMP src/music.ogg src/empty.txt"),
        0);
  }
  qrv::MediaPack pack_;
};

TEST_F(MediaPackTest, MembersResolveByFileNameIgnoringCaseToMemoryAndToTemporaryFiles) {
  BuildPack();
  pack_.SetName("pack.pak");
  qrv::RtString out;
  ASSERT_TRUE(pack_.Resolve("Media/gfx/t1.bmp", out, true));
  EXPECT_EQ(std::string(out.c_str(), 6), "mem://");
  EXPECT_EQ(ReadThrough(out), "BM-picture-bytes");
  ASSERT_TRUE(pack_.Resolve("music.OGG", out, false));
  EXPECT_EQ(ReadFile(out.c_str()), Pattern(200000, 3));
  std::string temporary = out.c_str();
  EXPECT_TRUE(test_host::SameFile(std::filesystem::path(temporary).parent_path().string(),
                                  (root_ / "tmp").string()))
      << temporary;
  EXPECT_EQ(std::filesystem::path(temporary).filename().string().rfind("dov", 0), 0u) << temporary;
  EXPECT_EQ(temporary.substr(temporary.size() - 9), "music.ogg") << temporary;
  // The next resolution releases what the last one made.
  qrv::RtString block;
  ASSERT_TRUE(pack_.Resolve("EMPTY.TXT", block, true));
  EXPECT_FALSE(std::filesystem::exists(temporary));
  EXPECT_EQ(ReadThrough(block), "");
  ASSERT_TRUE(pack_.Resolve("t1.bmp", out, true));
  EXPECT_FALSE(qrv::FileExists(block));
  EXPECT_FALSE(pack_.Resolve("missing.bmp", out, true));
  EXPECT_STREQ(out.c_str(), "missing.bmp");
  EXPECT_FALSE(pack_.Resolve("", out, true));
}

TEST_F(MediaPackTest, DiskFilesComeFirstAndAreFoundWithoutRegardToCase) {
  BuildPack();
  WriteFile("Media/Gfx/T1.bmp", "from disk");
  pack_.SetName("pack.pak");
  qrv::RtString out;
  ASSERT_TRUE(pack_.Resolve("media\\gfx\\t1.BMP", out, true));
  EXPECT_TRUE(test_host::SameFile(out.c_str(), "Media/Gfx/T1.bmp")) << out.c_str();
  EXPECT_EQ(ReadThrough("MEDIA/GFX/t1.bmp"), "from disk");
  // Without a pack only the disk answers.
  qrv::MediaPack disabled;
  EXPECT_FALSE(disabled.Resolve("music.ogg", out, true));
}

TEST_F(MediaPackTest, PackAppendedToAProgramCountsFromTheEnd) {
  const std::string game = test_host::Executable("game");
  BuildPack("--append-to '" + files_test::kQrv + "'", game);
  std::string bytes = ReadFile(game);
  EXPECT_EQ(bytes.substr(0, std::filesystem::file_size(files_test::kQrv)),
            ReadFile(files_test::kQrv));
  int32_t directory;
  std::memcpy(&directory, bytes.data() + bytes.size() - 4, 4);
  EXPECT_LT(directory, 0);
  EXPECT_EQ(bytes.substr(bytes.size() + directory, 7), "\x06T1.BMP");
  // The program still runs.
  EXPECT_EQ(test_host::RunProgram({(root_ / game).string(), "--version"}), 0);
  // Whatever precedes an end-relative pack may change: prepend more bytes.
  WriteFile("longer", "more program bytes" + bytes);
  for (const std::string& name : {game, std::string("longer")}) {
    pack_.SetName(qrv::RtString(name.c_str()));
    qrv::RtString out;
    ASSERT_TRUE(pack_.Resolve("music.ogg", out, true)) << name;
    EXPECT_EQ(ReadThrough(out), Pattern(200000, 3));
  }
}

TEST_F(MediaPackTest, PacksHeldInMemoryResolveLikeFiles) {
  BuildPack();
  std::string bytes = ReadFile("pack.pak");
  std::unique_ptr<uint8_t[]> copy(new uint8_t[bytes.size()]);
  std::memcpy(copy.get(), bytes.data(), bytes.size());
  qrv::RtString name =
      qrv::RegisterMemoryBlock(std::move(copy), static_cast<int32_t>(bytes.size()));
  pack_.SetName(name);
  qrv::RtString out;
  ASSERT_TRUE(pack_.Resolve("t1.bmp", out, true));
  EXPECT_EQ(ReadThrough(out), "BM-picture-bytes");
  qrv::ReleaseMemoryBlock(name);
  EXPECT_FALSE(pack_.Resolve("t1.bmp", out, true));
}

TEST_F(MediaPackTest, TheDirectoryIsReadOnceUntilThePackChanges) {
  BuildPack();
  pack_.SetName("pack.pak");
  qrv::RtString out;
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(pack_.Resolve("t1.bmp", out, true));
  EXPECT_EQ(pack_.DirectoryLoads(), 1);
  WriteFile("src/T1.BMP", "changed, and longer than before");
  ASSERT_EQ(RunQrv("pack create pack.pak src/T1.BMP"), 0);
  ASSERT_TRUE(pack_.Resolve("t1.bmp", out, true));
  EXPECT_EQ(ReadThrough(out), "changed, and longer than before");
  EXPECT_EQ(pack_.DirectoryLoads(), 2);
  EXPECT_FALSE(pack_.Resolve("music.ogg", out, true));
}

// Writes an int32 into a copy of the pack.
std::string Poke(std::string bytes, int64_t at, int32_t value) {
  if (at < 0) at += static_cast<int64_t>(bytes.size());
  std::memcpy(bytes.data() + at, &value, 4);
  return bytes;
}

TEST_F(MediaPackTest, DamagedPacksFailToResolveWithoutReadingOutsideTheFile) {
  WriteFile("src/a.bin", Pattern(5000, 1));
  ASSERT_EQ(RunQrv("pack create good.pak src/a.bin"), 0);
  const std::string good = ReadFile("good.pak");
  int32_t directory;
  std::memcpy(&directory, good.data() + good.size() - 4, 4);
  const int64_t entry = directory + 1 + 5;  // the data offset of "a.bin"
  std::string lzo = good;
  for (int64_t i = 4; i < directory; ++i) lzo[i] = '\xff';
  int32_t stored;
  std::memcpy(&stored, good.data() + entry + 4, 4);
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"wrong magic", std::string(good).replace(good.size() - 7, 1, "S")},
      {"too short for a trailer", good.substr(good.size() - 6)},
      {"directory beyond the end", Poke(good, -4, static_cast<int32_t>(good.size()) + 50)},
      {"directory before the start", Poke(good, -4, -static_cast<int32_t>(good.size()) - 9)},
      {"directory runs into the trailer", Poke(good, -4, static_cast<int32_t>(good.size()) - 8)},
      {"directory without its end",
       good.substr(0, directory) + std::string(1, '\x40') + "sbX" + good.substr(good.size() - 4)},
      {"member beyond the end", Poke(good, entry, static_cast<int32_t>(good.size()))},
      {"member before the start", Poke(good, entry, -100)},
      {"stored size beyond the end", Poke(good, entry + 4, 0x7fffff00)},
      {"stored size too small", Poke(good, entry + 4, 3)},
      {"absurd unpacked size", Poke(good, 0, 0x7fffffff)},
      {"negative unpacked size", Poke(good, 0, -5)},
      {"unpacked size off by one", Poke(good, 0, 5001)},
      {"damaged LZO data", lzo},
      {"LZO data cut short", Poke(good, entry + 4, stored - 8)},
  };
  for (const auto& c : cases) {
    WriteFile("bad.pak", c.bytes);
    qrv::MediaPack pack;
    pack.SetName("bad.pak");
    qrv::RtString out;
    EXPECT_FALSE(pack.Resolve("a.bin", out, true)) << c.what;
    EXPECT_FALSE(pack.Resolve("a.bin", out, false)) << c.what;
  }
  pack_.SetName("good.pak");
  qrv::RtString out;
  EXPECT_TRUE(pack_.Resolve("a.bin", out, true));
}

TEST_F(MediaPackTest, TemporaryFilesReplaceAPlantedLinkWithoutWritingThroughIt) {
  BuildPack();
  WriteFile("victim", "keep me");
  pack_.SetName("pack.pak");
  qrv::RtString out;
  ASSERT_TRUE(pack_.Resolve("t1.bmp", out, false));
  std::string temporary = out.c_str();
  ASSERT_TRUE(pack_.Resolve("music.ogg", out, true));  // deletes the first temporary file
  if (!test_host::MakeLink((root_ / "victim").string(), temporary)) {
    GTEST_SKIP() << "this host makes no symbolic links";
  }
  ASSERT_TRUE(pack_.Resolve("t1.bmp", out, false));
  EXPECT_STREQ(out.c_str(), temporary.c_str());
  EXPECT_FALSE(std::filesystem::is_symlink(temporary));
  EXPECT_EQ(ReadFile(temporary), "BM-picture-bytes");
  EXPECT_EQ(ReadFile("victim"), "keep me");
}

TEST(MemoryNames, NamesCarrySizeAndKeyAndOnlyLiveBlocksResolve) {
  std::unique_ptr<uint8_t[]> bytes(new uint8_t[300]());
  bytes[299] = 42;
  qrv::RtString name = qrv::RegisterMemoryBlock(std::move(bytes), 300);
  std::string text = name.c_str();
  ASSERT_EQ(text.size(), 23u);
  EXPECT_EQ(text.substr(0, 15), "mem://     12c.");
  qrv::FileReader reader;
  ASSERT_TRUE(reader.OpenForReading(name.c_str()));
  EXPECT_EQ(reader.Size(), 300);
  EXPECT_TRUE(qrv::FileExists(name));
  // A wider size, an unknown key and plain addresses name no block.
  for (const char* forged : {"mem://     12d.", "mem://     12c.deadbeef", "mem://       0.0"}) {
    std::string other = forged;
    if (other.size() == 15) other += text.substr(15);
    qrv::FileReader probe;
    EXPECT_FALSE(probe.OpenForReading(other.c_str())) << other;
    EXPECT_FALSE(qrv::FileExists(other.c_str())) << other;
  }
  qrv::ReleaseMemoryBlock(name);
  EXPECT_FALSE(qrv::FileExists(name));
  // A reader that had the block open keeps reading it.
  ASSERT_TRUE(reader.Seek(299, 0));
  uint8_t last = 0;
  ASSERT_TRUE(reader.Read(&last, 1));
  EXPECT_EQ(last, 42);
}

}  // namespace
