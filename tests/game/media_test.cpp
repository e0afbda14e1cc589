// The game's committed bitmaps are exactly what tools/gen_media.py draws, so the art can be
// changed by changing the generator and nothing else; and the game runs the same with its
// media appended to its own program file as with the Media folder beside it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "game_run.h"

namespace {

TEST(Media, CommittedBitmapsAreTheGeneratorsOutput) {
  test_host::ScratchFolder scratch("skipdale-media");
  const std::string& folder = scratch.Path();
  ASSERT_EQ(game_test::RunCommand("python3 '" QRV_SOURCE_DIR "/tools/gen_media.py' '" + folder +
                                  "' > /dev/null"),
            0);
  for (const char* name :
       {"t1", "t2", "t3", "tsloper", "tslopel", "t6", "t7", "left", "right", "bg"}) {
    SCOPED_TRACE(name);
    const std::string made = game_test::ReadFile(folder + "/" + name + ".bmp");
    EXPECT_FALSE(made.empty());
    EXPECT_TRUE(made == game_test::ReadFile(QRV_SOURCE_DIR "/game/Media/gfx/" + std::string(name) +
                                            ".bmp"));
  }
}

// The shipped form: one program file carrying its pack, alone in its folder.
TEST(Media, GameRunsTheSameFromItsOwnFileAlone) {
  game_test::GameRun beside, alone;
  namespace fs = std::filesystem;
  std::vector<std::string> argv = {game_test::kQrv, "pack", "create", "--append-to",
                                   game_test::kGameFile, "packed"};
  for (const auto& entry : fs::recursive_directory_iterator(alone.Folder() + "/Media")) {
    if (entry.is_regular_file()) {
      argv.push_back(fs::relative(entry.path(), alone.Folder()).generic_string());
    }
  }
  test_host::ChildOptions inFolder;
  inFolder.folder = alone.Folder();
  ASSERT_EQ(test_host::RunProgram(argv, inFolder), 0);
  fs::remove_all(alone.Folder() + "/Media");
  fs::rename(alone.Folder() + "/packed", alone.Folder() + "/" + game_test::kGameFile);
  fs::permissions(alone.Folder() + "/" + game_test::kGameFile, fs::perms::owner_exec,
                  fs::perm_options::add);
  for (game_test::GameRun* run : {&beside, &alone}) {
    EXPECT_EQ(run->Play(20, "0\n5 205\n",
                        {{"QRV_CAPTURE", run->Folder()}, {"QRV_CAPTURE_FRAMES", "1,20"}}),
              0);
  }
  EXPECT_EQ(alone.Trace().size(), 20u);
  EXPECT_EQ(alone.TraceText(0, 19), beside.TraceText(0, 19));
  for (const char* frame : {"/frame-000001.png", "/frame-000020.png"}) {
    SCOPED_TRACE(frame);
    const std::string picture = game_test::ReadFile(alone.Folder() + frame);
    EXPECT_FALSE(picture.empty());
    EXPECT_TRUE(picture == game_test::ReadFile(beside.Folder() + frame));
  }
}

}  // namespace
