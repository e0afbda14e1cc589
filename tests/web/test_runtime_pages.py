"""Quorvia programs built for the browser (tools/web/build.sh, make web) against the very same
programs built for Linux: the frames they capture in headless Chromium must be the Linux
frames, pixel for pixel, and the page keeps a program's files across visits."""

import os
import pathlib
import subprocess
import tempfile
import unittest
import urllib.parse

from PIL import Image, ImageFilter

import pages

ROOT = pages.ROOT
LINUX = ROOT / "build"
WEB = ROOT / "build-web"
GAME_PAGE = ROOT / "dist/skipdale2-web"


def setUpModule():
    for needed in (GAME_PAGE / "index.html", WEB / "examples", LINUX / "game/skipdale2"):
        if not needed.exists():
            raise AssertionError(f"{needed} is missing: run make web (and make build) first")
    if not os.environ.get("DISPLAY"):
        raise AssertionError("the Linux runs need a display: run through tools/with-display.sh")


def differences(expected, actual, exact=True):
    """None when two PNG frames hold the same picture, else what differs. Exact: the same
    pixels. Otherwise as two rasterisers draw one picture: every pixel within 8 of the
    expected pixels around it (its own and its eight neighbours', each channel), which lets
    an edge of a turned or filtered sprite or a line move by a pixel and a filtered or blended
    channel round the other way, and nothing more."""
    a = Image.open(expected).convert("RGB")
    b = Image.open(actual).convert("RGB")
    if a.size != b.size:
        return f"size {b.size}, expected {a.size}"
    pa, pb = a.load(), b.load()
    if exact:
        low = high = pa
        slack = 0
    else:
        low = a.filter(ImageFilter.MinFilter(3)).load()
        high = a.filter(ImageFilter.MaxFilter(3)).load()
        slack = 8
    wrong = [(x, y) for y in range(a.size[1]) for x in range(a.size[0])
             if any(v < lo - slack or v > hi + slack
                    for v, lo, hi in zip(pb[x, y], low[x, y], high[x, y]))]
    if not wrong:
        return None
    x, y = wrong[0]
    return f"{len(wrong)} pixels differ, the first at ({x}, {y}): {pb[x, y]}, expected {pa[x, y]}"


class RuntimePages(unittest.TestCase):
    def setUp(self):
        scratch = tempfile.TemporaryDirectory(prefix="test-runtime-page-")
        self.addCleanup(scratch.cleanup)
        self.scratch = pathlib.Path(scratch.name)

    def linux_frames(self, program, env, frames):
        shots = self.scratch / f"linux-{program.name}"
        run = subprocess.run([str(program)], cwd=program.parent, capture_output=True, text=True,
                             timeout=300,
                             env=dict(os.environ, QRV_CAPTURE=str(shots), QRV_UNPACED="1",
                                      QRV_CAPTURE_FRAMES=",".join(map(str, frames)), **env))
        self.assertEqual(run.returncode, 0, run.stderr)
        return shots

    def web_run(self, folder, page, env, collect, port=None, profile=None):
        """Runs a page with the variables in its address and returns the folder its collected
        files arrived in (with stdout.txt and stderr.txt)."""
        out = self.scratch / f"web-{page}-{len(list(self.scratch.iterdir()))}"
        query = urllib.parse.urlencode(dict(env, QRV_COLLECT=collect))
        done = pages.run_page(folder, query, out, port=port, profile=profile, page=page,
                              timeout=240)
        printed = (out / "stderr.txt").read_text() if (out / "stderr.txt").exists() else ""
        self.assertEqual(done.returncode, 0, done.stderr + printed)
        return out

    def web_frames(self, folder, page, env, frames):
        return self.web_run(folder, page, dict(env, QRV_UNPACED="1", QRV_CAPTURE="/tmp/shots",
                                               QRV_CAPTURE_FRAMES=",".join(map(str, frames))),
                            "/tmp/shots")

    def assertSameFrames(self, linux, web, frames, exact=True):
        for frame in frames:
            name = f"frame-{frame:06d}.png"
            with self.subTest(frame=frame):
                self.assertTrue((web / name).is_file(), f"{name} was not captured in the page")
                self.assertIsNone(differences(linux / name, web / name, exact))

    def test_skipdale_demo_replay_matches_linux(self):
        frames = [1, 60, 150, 240, 300]
        linux = self.linux_frames(LINUX / "game/skipdale2",
                                  {"QRV_REPLAY": str(ROOT / "game/demo.replay"),
                                   "QRV_FRAMES": "300"}, frames)
        web = self.web_frames(GAME_PAGE, "index.html",
                              {"QRV_REPLAY": "/demo.replay", "QRV_FRAMES": "300"}, frames)
        self.assertSameFrames(linux, web, frames)
        # The error log's lines reach the console too.
        self.assertIn("error log: Init GFX", (web / "stderr.txt").read_text())

    def test_examples_match_linux(self):
        # The examples turn, scale and smooth sprites and draw lines and anti-aliased text,
        # which Chromium's software WebGL rasterises a little differently from Mesa's: the same
        # picture, not the same pixels. frame_and_input's bar shows the measured frame time,
        # so only its first frame is the same in two runs. files_and_packs and flying_bird read
        # examples.pak, which their pages ship beside the program; flying_bird draws the 3D
        # scene under its light, billboards included.
        examples = {"sprites_2d": [1, 3], "text_on_screen": [1, 3], "surface_sprite": [1, 3],
                    "shader_tint": [1, 3], "path_finding": [1, 3], "frame_and_input": [1],
                    "replay_and_capture": [1, 3], "files_and_packs": [1, 3],
                    "flying_bird": [1, 3]}
        for example, frames in examples.items():
            with self.subTest(example=example):
                env = {"QRV_FRAMES": "3"}
                linux = self.linux_frames(LINUX / f"examples/example_{example}", env, frames)
                web = self.web_frames(WEB / "examples", f"example_{example}.html", env, frames)
                self.assertSameFrames(linux, web, frames, exact=False)

    def test_settings_example_remembers_its_runs_across_visits(self):
        port, profile = pages.free_port(), self.scratch / "profile"
        for visit in (1, 2, 3):
            out = self.web_run(WEB / "examples", "example_settings.html",
                               {"QRV_UNPACED": "1", "QRV_FRAMES": "3"}, "/app",
                               port=port, profile=profile)
            settings = (out / "example_settings.ini").read_text()
            self.assertIn(f"runs={visit}", settings.replace(" ", ""))
        # A fresh browser profile is a first visit again.
        out = self.web_run(WEB / "examples", "example_settings.html",
                           {"QRV_UNPACED": "1", "QRV_FRAMES": "3"}, "/app", port=port)
        self.assertIn("runs=1", (out / "example_settings.ini").read_text().replace(" ", ""))


if __name__ == "__main__":
    unittest.main()
