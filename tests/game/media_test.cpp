// The game's committed bitmaps are exactly what tools/gen_media.py draws, so the art can be
// changed by changing the generator and nothing else; and the game runs the same with its
// media appended to its own program file as with the Media folder beside it.
#include <gtest/gtest.h>

#include <string>

#include "game_run.h"

namespace {

TEST(Media, CommittedBitmapsAreTheGeneratorsOutput) {
  char pattern[] = "/tmp/skipdale-media-XXXXXX";
  const std::string folder = mkdtemp(pattern);
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
  game_test::RunCommand("rm -rf '" + folder + "'");
}

// The shipped form: one program file carrying its pack, alone in its folder.
TEST(Media, GameRunsTheSameFromItsOwnFileAlone) {
  game_test::GameRun beside, alone;
  ASSERT_EQ(game_test::RunCommand(
                "cd '" + alone.Folder() + "' && '" QRV_BUILD_DIR
                "/tools/qrv' pack create --append-to skipdale2 packed $(find Media -type f) "
                "> /dev/null && rm -rf Media skipdale2 && mv packed skipdale2 && chmod +x skipdale2"),
            0);
  for (game_test::GameRun* run : {&beside, &alone}) {
    EXPECT_EQ(run->Play(20, "0\n5 205\n",
                        "QRV_CAPTURE='" + run->Folder() + "' QRV_CAPTURE_FRAMES=1,20"),
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
