// Waiting in the browser: the page only runs while the program is suspended, so every wait
// suspends it (the program is built for suspending), and showing a frame gives the page its
// turn: the frame reaches the screen, input events arrive, the tab's timers run. Paced, the
// turn lasts until the browser's next frame, so the game keeps to the display's clock; a tab
// put in the background ends the turn at once (it has no next frame until it is in front
// again), so that the game sees its window lose the focus and pauses.
#include <emscripten.h>

#include "platform/platform.h"
#include "platform/web/tab_visibility.h"

namespace qrv::platform {

namespace {

EM_ASYNC_JS(void, WaitForAnimationFrame, (), {
  await new Promise(resolve => {
    const done = () => {
      document.removeEventListener('visibilitychange', done);
      resolve();
    };
    document.addEventListener('visibilitychange', done);
    requestAnimationFrame(done);
  });
});

}  // namespace

void SleepMilliseconds(int32_t ms) {
  if (ms > 0) emscripten_sleep(static_cast<unsigned>(ms));
}

void GiveHostTurn(bool paced) {
  WatchTabVisibility();  // from the first frame shown: the window exists by then
  if (paced) {
    WaitForAnimationFrame();
  } else {
    emscripten_sleep(0);
  }
}

}  // namespace qrv::platform
