// Reading the key table: KeyDown's low-byte rule, the character reader's once-per-press
// rule with Shift, the edges' hold from one present to the next, and the layout's characters
// for scan codes.
#include <cstdlib>

#include "input_fixture.h"
#include "support/host.h"

namespace qrv {
namespace {

using KeyboardTest = InputTest;

TEST_F(KeyboardTest, KeyDownUsesOnlyTheLowByte) {
  UseScript("0 57 205\n");
  EXPECT_EQ(KeyDown(57), 1);
  EXPECT_EQ(KeyDown(256 + 57), 1);
  EXPECT_EQ(KeyDown(-256 + 205), 1);
  EXPECT_EQ(KeyDown(56), 0);
  EXPECT_EQ(KeyDown(256 + 56), 0);
}

// Each script line is one present; the reader's answer at each present is listed.
TEST_F(KeyboardTest, ReadKeyCharReturnsEachPressOnce) {
  UseScript(
      "1 30\n"       // a held
      "3 30 42\n"    // Shift pressed while a is still held
      "4\n"          // all released
      "5 42\n"       // Shift alone
      "6 42 30\n"    // Shift+a
      "7 42 48\n"    // Shift+b
      "8 30 48\n");  // a and b: the lower scan code wins, and a is new again
  const char* expected[] = {"", "a", "", "", "", "", "A", "B", "a"};
  for (int present = 0; present <= 8; ++present) {
    if (present > 0) SampleFrameInput();
    EXPECT_STREQ(ReadKeyChar().c_str(), expected[present]) << "present " << present;
  }
}

TEST_F(KeyboardTest, ScanCodesTranslateThroughTheLayout) {
  struct Case {
    int code;
    bool shift;
    char expected;
  };
  const Case cases[] = {
      {42, false, 0},     {54, false, 0},   {29, false, 0},   {56, false, 0},
      {58, false, 0},     {69, false, 0},   {221, false, 0},  {28, false, 10},
      {156, false, 10},   {14, false, 8},   {1, false, 0},    {15, false, 0},
      {57, false, ' '},   {30, false, 'a'}, {30, true, 'A'},  {2, false, '1'},
      {2, true, '!'},     {12, true, '_'},  {53, false, '/'}, {0xB5, false, '/'},
      {0x37, false, '*'}, {200, false, 0},  {0, false, 0},    {256 + 30, false, 'a'},
  };
  for (const Case& c : cases) {
    UseScript(c.shift ? "0 42\n" : "0\n");
    EXPECT_EQ(ScanCodeToChar(c.code), c.expected) << "code " << c.code << " shift " << c.shift;
  }
}

TEST_F(KeyboardTest, PresentsCountAndCarryTheScriptForward) {
  UseScript("2 205\n4\n");
  int answers[6];
  for (int present = 0; present < 6; ++present) {
    if (present > 0) SampleFrameInput();
    answers[present] = KeyDown(205);
  }
  EXPECT_EQ(TheInput()->presentNumber, 5);
  const int expected[] = {0, 0, 1, 1, 0, 0};
  EXPECT_TRUE(std::equal(std::begin(answers), std::end(answers), std::begin(expected)));
}

// Edges come from present's sample: every call until the next present answers alike, and
// the readings between presents (FRAME:READING lines) do not move them.
TEST_F(KeyboardTest, EdgesHoldFromOnePresentToTheNext) {
  UseScript("1 57\n1:2\n1:4 57\n2 57\n3 *30\n");
  EXPECT_EQ(KeyHit(57), 0);  // before the first present
  SampleFrameInput();        // present 1
  for (int reading = 1; reading <= 5; ++reading) {
    EXPECT_EQ(KeyDown(57), reading == 2 || reading == 3 ? 0 : 1) << "reading " << reading;
    EXPECT_EQ(KeyHit(57), 1) << "reading " << reading;
    EXPECT_EQ(KeyHit(256 + 57), 1);
    EXPECT_EQ(KeyReleased(57), 0) << "reading " << reading;
  }
  SampleFrameInput();  // present 2: held at both samples, the dip between them unmarked
  EXPECT_EQ(KeyHit(57), 0);
  EXPECT_EQ(KeyReleased(57), 0);
  SampleFrameInput();  // present 3: 57 let go, 30 tapped
  EXPECT_EQ(KeyReleased(57), 1);
  EXPECT_EQ(KeyHit(30), 1);
  EXPECT_EQ(KeyReleased(-256 + 30), 1);
  EXPECT_EQ(KeyDown(30), 0);
}

// A script changes only at presents, so a wait inside a replay could never see a new key;
// it must pass straight through (a hang here ends in the test's time limit).
TEST_F(KeyboardTest, WaitsPassStraightThroughDuringAReplay) {
  UseScript("0 30\n");
  EXPECT_STREQ(ReadKeyChar().c_str(), "a");
  WaitForKey();
  WaitForMouseButton();
  WaitForInputActivity();
  EXPECT_EQ(TheInput()->waitDepth, 0);
  EXPECT_EQ(KeyDown(30), 1);
}

// Scan codes name key positions; characters follow the layout, shifted ones included.
TEST_F(KeyboardTest, CharactersFollowTheLayoutOfTheDisplay) {
  if (test_host::IsWindows()) {
    GTEST_SKIP() << "Wine reads the X keyboard layout once, when it starts";
  }
  ASSERT_EQ(test_host::RunShell("setxkbmap -layout de").status, 0);
  SDL_Delay(100);
  SDL_PumpEvents();
  const std::pair<int, const char*> german[] = {{0x15, "0 21"}, {0x2C, "0 44"}, {0x03, "0 42 3"}};
  char answers[3];
  for (int i = 0; i < 3; ++i) {
    UseScript(german[i].second);
    answers[i] = ScanCodeToChar(german[i].first);
  }
  ASSERT_EQ(test_host::RunShell("setxkbmap -layout us").status, 0);
  SDL_Delay(100);
  SDL_PumpEvents();
  EXPECT_EQ(answers[0], 'z');  // the key right of T
  EXPECT_EQ(answers[1], 'y');  // the key right of left Shift
  EXPECT_EQ(answers[2], '"');  // Shift+2
  UseScript("0 42 3\n");
  EXPECT_EQ(ScanCodeToChar(0x03), '@');
}
int hookRuns = 0;
void HookReadingKeys() {
  ++hookRuns;
  KeyDown(57);
}

// Readings take the window's messages; a message hook that reads keys itself does not
// make the pump run again inside it.
TEST_F(KeyboardTest, AMessageHookThatReadsKeysDoesNotReenterThePump) {
  Runtime& rt = TheRuntime();
  const NamedRoutine routines[] = {{HookReadingKeys, "QRV_WIN32_MSG"}, {nullptr, nullptr}};
  rt.routines = routines;
  rt.messageHookState = -1;
  // Only this test's message waits, and the last pump is over a millisecond old.
  SDL_PumpEvents();
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  SDL_Delay(2);
  SDL_Event event{};
  event.type = SDL_USEREVENT;
  ASSERT_EQ(SDL_PushEvent(&event), 1);
  KeyDown(57);
  EXPECT_EQ(hookRuns, 1);
  rt.routines = nullptr;
  rt.messageHookState = -1;
}

}  // namespace
}  // namespace qrv
