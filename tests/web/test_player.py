"""What a player does to a page, played by the harness (run-page.py --on): the first key press
starts the sound, which waited for it without losing anything, and a tab put in the background
pauses the game as a desktop window losing the focus does. The program is built the way
docs/web.md tells a game programmer to build one (runtime_probe.cpp)."""

import math
import pathlib
import struct
import tempfile
import unittest
import wave

import pages

HERE = pathlib.Path(__file__).resolve().parent
TONE_SECONDS = 0.25


def setUpModule():
    global probe, scratch
    library = pages.ROOT / "build-web/libquorvia.a"
    if not library.is_file():
        raise AssertionError(f"{library} is missing: run make web first")
    scratch = tempfile.TemporaryDirectory(prefix="test-player-")
    media = pathlib.Path(scratch.name, "media")
    media.mkdir()
    with wave.open(str(media / "tone.wav"), "wb") as tone:
        tone.setnchannels(1)
        tone.setsampwidth(2)
        tone.setframerate(22050)
        frames = int(22050 * TONE_SECONDS)
        tone.writeframes(b"".join(
            struct.pack("<h", int(8000 * math.sin(2 * math.pi * 440 * i / 22050)))
            for i in range(frames)))
    probe = pages.build_runtime_page(HERE / "runtime_probe.cpp", pathlib.Path(scratch.name, "page"),
                                     ["--preload-file", f"{media}@/probe"])


def tearDownModule():
    scratch.cleanup()


class Player(unittest.TestCase):
    def run_probe(self, probe_name, cues):
        """Runs the probe with the harness acting on its cues; returns its "probe: " lines
        (without that prefix) and the output folder."""
        out = pathlib.Path(self.enterContext(tempfile.TemporaryDirectory(prefix="player-")))
        done = pages.run_page(probe, f"QRV_PROBE={probe_name}&QRV_COLLECT=/tmp/none", out,
                              cues=cues, timeout=90)
        self.assertEqual(done.returncode, 0, done.stderr)
        lines = (out / "stdout.txt").read_text().splitlines()
        return [line[len("probe: "):] for line in lines if line.startswith("probe: ")], out

    def test_sound_waits_for_the_first_key_and_then_plays_whole(self):
        said, _ = self.run_probe("sound", [("probe: playing", "wait:1.5,key:Space")])
        timeline = dict(line.split(" ", 1) for line in said if " " in line)
        self.assertIn("key", timeline, said)
        self.assertIn("ended", timeline, said)
        key, ended = float(timeline["key"]), float(timeline["ended"])
        # Nothing played before the key: the quarter second of sound was still there 1.5 s on.
        self.assertGreater(key, 1000, said)
        self.assertGreater(ended, key, said)
        # Then it played, and ended after its own length (and the audio buffer's latency).
        self.assertLess(ended - key, 2000, said)

    def test_tab_in_the_background_pauses_the_game_until_it_is_in_front(self):
        said, out = self.run_probe("pause", [(
            "probe: running",
            "wait:0.5,title:before.txt,hide,wait:1.5,title:hidden.txt,show,wait:1,"
            "title:shown.txt,key:Escape")])
        self.assertEqual(said, ["running"])
        before, hidden, shown = ((out / name).read_text()
                                 for name in ("before.txt", "hidden.txt", "shown.txt"))
        self.assertFalse(before.endswith("<pause>"), before)
        self.assertEqual(hidden, before + " <pause>")
        self.assertEqual(shown, before)


if __name__ == "__main__":
    unittest.main()
