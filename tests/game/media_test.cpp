// The game's committed bitmaps are exactly what tools/gen_media.py draws, so the art can be
// changed by changing the generator and nothing else.
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

}  // namespace
