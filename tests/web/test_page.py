"""The page programs run in (tools/web/shell.html) and the harness that runs it in headless
Chromium (tools/web/run-page.py), with a small program of their own (page_probe.c)."""

import http.client
import pathlib
import subprocess
import tempfile
import time
import unittest
import urllib.parse

import pages

HERE = pathlib.Path(__file__).resolve().parent
BYTES = bytes(range(256))


def setUpModule():
    global probe, scratch
    reason = pages.missing_tools()
    if reason:
        raise unittest.SkipTest(reason)
    scratch = tempfile.TemporaryDirectory(prefix="test-page-")
    probe = pages.build_page([HERE / "page_probe.c"], pathlib.Path(scratch.name, "probe"))


def tearDownModule():
    scratch.cleanup()


class Case(unittest.TestCase):
    def setUp(self):
        folder = tempfile.TemporaryDirectory(prefix="test-page-")
        self.addCleanup(folder.cleanup)
        self.folder = pathlib.Path(folder.name)
        self.runs = 0

    def run_probe(self, query, **options):
        """Runs the probe with its files collected; returns (status, stdout lines, stderr
        lines, output folder)."""
        self.runs += 1
        out = self.folder / f"out{self.runs}"
        done = pages.run_page(probe, query + "&QRV_COLLECT=/tmp/collect/here", out, **options)
        self.assertNotIn(done.returncode, (124, 125), done.stderr)

        def lines(name):
            path = out / name
            self.assertTrue(path.is_file(), f"{name} was not collected\n{done.stderr}")
            return path.read_text().splitlines()

        return done.returncode, lines("stdout.txt"), lines("stderr.txt"), out


class ProgramOnPage(Case):
    def test_address_sets_environment_and_files_and_status_come_back(self):
        value = "a b&c=d+é%/x"
        query = urllib.parse.urlencode({"QRV_ECHO": value, "ECHO": "not ours",
                                        "qrv_ECHO": "not ours", "QRV_STATUS": "7"})
        status, out, err, folder = self.run_probe(query)
        self.assertEqual(status, 7)
        self.assertEqual([line for line in out if line.startswith("env[")],
                         [f"env[QRV_ECHO={value}]"])
        self.assertIn("focus=canvas", out)
        self.assertIn("probe: a line to stderr", err)
        self.assertEqual((folder / "probe.txt").read_text(), "collected\n")
        self.assertEqual((folder / "sub/bytes.bin").read_bytes(), BYTES)

    def test_saved_folder_survives_a_reload_in_the_same_profile_only(self):
        port, profile = pages.free_port(), self.folder / "profile"
        _, out, _, _ = self.run_probe("QRV_SAVE=kept", port=port, profile=profile)
        self.assertIn("saved=(none)", out)
        # The later files were written while the first save ran, just before the program
        # ended: they are saved as well.
        _, out, _, _ = self.run_probe("", port=port, profile=profile)
        self.assertEqual([line for line in out if line.startswith(("saved=", "later=", "bulk="))],
                         ["saved=kept", "later=kept", f"bulk={16 << 20}"])
        _, out, _, _ = self.run_probe("", port=port, profile=self.folder / "fresh")
        self.assertIn("saved=(none)", out)

    def test_program_runs_when_the_saved_folder_cannot_be_kept(self):
        # IndexedDB cannot open its store where the profile has a file in its place.
        profile = self.folder / "profile"
        (profile / "Default").mkdir(parents=True)
        (profile / "Default/IndexedDB").write_text("")
        status, out, err, _ = self.run_probe("QRV_SAVE=lost&QRV_STATUS=5", profile=profile)
        self.assertEqual(status, 5)
        self.assertIn("saved=(none)", out)
        self.assertTrue(any(line.startswith("page: /app is not kept") for line in err), err)

    def test_abort_and_trap_end_with_status_134(self):
        for end, message in (("abort", "Aborted("), ("trap", "unreachable")):
            with self.subTest(end=end):
                status, _, err, folder = self.run_probe(f"QRV_END={end}")
                self.assertEqual(status, 134)
                self.assertTrue(any(message in line for line in err), err)
                self.assertEqual((folder / "sub/bytes.bin").read_bytes(), BYTES)


class Harness(Case):
    def static_page(self, html):
        site = self.folder / "site"
        site.mkdir()
        (site / "index.html").write_text(html)
        return site

    def test_page_that_never_ends_times_out_with_124(self):
        site = self.static_page("<!doctype html><p>never ends</p>")
        done = pages.run_page(site, "", self.folder / "out", timeout=3)
        self.assertEqual(done.returncode, 124)
        self.assertIn("did not end within 3 s", done.stderr)

    def test_cues_press_keys_and_read_the_title_in_order(self):
        site = self.static_page("""<!doctype html><script>
            document.title = 'waiting';
            addEventListener('keydown', function (event) {
              if (event.key === 'q') fetch('/exit', {method: 'POST', body: '7'});
              document.title = 'pressed ' + event.key;
              console.log('pressed');
            });
            console.log('ready');
            </script>""")
        out = self.folder / "out"
        done = pages.run_page(site, "", out, timeout=30, cues=[
            ("ready", "title:first.txt,key:Escape"), ("pressed", "title:then.txt,key:q")])
        self.assertEqual(done.returncode, 7, done.stderr)
        self.assertEqual((out / "first.txt").read_text(), "waiting")
        self.assertEqual((out / "then.txt").read_text(), "pressed Escape")

    def test_unknown_actions_are_refused_before_the_run(self):
        site = self.static_page("<!doctype html><p>never runs</p>")
        for actions in ("fly", "key:F13", "wait:-1", "wait:soon", "title:../out.txt", "hide:now"):
            with self.subTest(actions=actions):
                done = pages.run_page(site, "", self.folder / "out", timeout=5,
                                      cues=[("cue", actions)])
                self.assertEqual(done.returncode, 2)
                reason = "wait takes seconds" if actions.startswith("wait") else "unknown action"
                self.assertIn(f"{reason} (0 to 3600): {actions!r}" if reason.startswith("wait")
                              else f"{reason} {actions!r}", done.stderr)

    def test_collect_writes_only_inside_the_output_folder(self):
        site = self.static_page("<!doctype html><p>waits for the test</p>")
        port, out = pages.free_port(), self.folder / "nested/out"
        log = self.folder / "harness.log"
        with open(log, "w") as stderr:
            harness = subprocess.Popen(pages.harness(site, "", out, port=port, timeout=60),
                                       stdout=subprocess.DEVNULL, stderr=stderr)
        self.addCleanup(harness.wait)
        self.addCleanup(harness.terminate)

        def request(method, path, body=b"x", headers=None):
            for _ in range(100):
                try:
                    connection = http.client.HTTPConnection("127.0.0.1", port, timeout=10)
                    connection.request(method, path, body=body, headers=headers or {})
                    return connection.getresponse().status
                except ConnectionRefusedError:
                    time.sleep(0.1)
            self.fail("the harness does not answer")

        for path in ("/collect/../escape.txt", "/collect/%2e%2e/escape.txt",
                     "/collect/a/../../escape.txt", "/collect//tmp/escape.txt",
                     "/collect/a%2f..%2f..%2fescape.txt", "/collect/"):
            with self.subTest(path=path):
                self.assertEqual(request("PUT", path), 400)
        self.assertEqual(request("PUT", "/collect/big.bin", b"",
                                 {"Content-Length": str(1 << 40)}), 413)
        self.assertEqual(request("PUT", "/collect/dir/kept.txt", b"kept"), 204)
        self.assertEqual(request("POST", "/exit", b"3"), 204)
        self.assertEqual(harness.wait(timeout=60), 3, log.read_text())
        self.assertEqual(sorted(p.relative_to(self.folder).as_posix()
                                for p in self.folder.rglob("*") if p.is_file()),
                         ["harness.log", "nested/out/dir/kept.txt", "site/index.html"])


if __name__ == "__main__":
    unittest.main()
