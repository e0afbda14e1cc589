#!/usr/bin/env python3
"""Runs one page of a folder in headless Chromium and exits with its program's status.

    run-page.py FOLDER [--page index.html] [--query 'QRV_FRAMES=300&QRV_COLLECT=/app/shots']
                --out DIR [--port N] [--profile DIR] [--timeout 120] [--on CUE ACTIONS]...

FOLDER is served on 127.0.0.1 with these endpoints for the page (tools/web/shell.html):
  PUT /collect/<path>  writes the body to DIR/<path>
  POST /exit           the body is the program's exit status; the run ends
The same --port and --profile on two runs give the page the same origin and browser profile,
so what it keeps in IndexedDB survives from one run to the next.

--on CUE ACTIONS plays the player's part: when the page prints the line CUE (to its console),
the harness carries out ACTIONS, a comma-separated list, in order:
  key:NAME     presses a key (Space, Return, Escape, a letter or a digit) for a tenth of a
               second, as a player does: the browser counts it as the player's gesture
  hide, show   minimises the browser's window, and brings it back; each waits until the page
               says it is hidden, or visible
  wait:SECONDS waits
  title:FILE   writes the page's title (the program's window title) to DIR/FILE
Each cue is acted on once, the first time it is printed. Sound starts only after the player's
first gesture, as in a browser with its usual settings.

Exit status: the program's (its low 8 bits, as on POSIX), 124 when the page does not end in
time, 125 when the run itself fails (the browser dies, the port is taken). Chromium's own
output is printed only when the run fails.
"""

import argparse
import http.server
import queue
import os
import pathlib
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse

from devtools import DevTools, ProtocolError

TIMED_OUT = 124
RUN_FAILED = 125
MAX_BODY = 256 * 1024 * 1024

MIME_TYPES = {
    ".html": "text/html; charset=utf-8",
    ".js": "text/javascript; charset=utf-8",
    ".mjs": "text/javascript; charset=utf-8",
    ".wasm": "application/wasm",
    ".data": "application/octet-stream",
    ".json": "application/json",
    ".css": "text/css; charset=utf-8",
    ".png": "image/png",
    ".jpg": "image/jpeg",
    ".txt": "text/plain; charset=utf-8",
}

CHROMIUM_FLAGS = [
    "--headless=new",
    # WebGL on the CPU: there is no GPU here.
    "--use-gl=angle",
    "--use-angle=swiftshader",
    "--enable-unsafe-swiftshader",
    # Chromium refuses to run as root inside its sandbox.
    "--no-sandbox",
    "--disable-gpu-sandbox",
    "--no-first-run",
    "--no-default-browser-check",
    "--disable-background-networking",
    "--disable-component-update",
    "--disable-sync",
    "--password-store=basic",
    "--use-mock-keychain",
    # Sound waits for the player's first gesture, as in a browser with its usual settings.
    "--autoplay-policy=document-user-activation-required",
    # The harness drives the page through the DevTools protocol on descriptors 3 and 4.
    "--remote-debugging-pipe",
    # The page's console goes to Chromium's output, shown when a run fails.
    "--enable-logging=stderr",
    "--log-level=0",
]


def collect_path(out, url_path):
    """The file under out that PUT url_path writes, or None when the path is refused."""
    relative = urllib.parse.unquote(url_path[len("/collect/"):])
    parts = relative.split("/")
    if "\0" in relative or any(part in ("", ".", "..") for part in parts):
        return None
    return out.joinpath(*parts)


class Run:
    """What the page has reported: its exit status, once it has ended, or why the run failed."""

    def __init__(self, out):
        self.out = out
        self.status = None
        self.problem = None
        self.ended = threading.Event()
        self.log = []

    def fail(self, problem):
        """Ends the run as failed, unless the page has ended already (then Chromium may be gone
        while the harness was still acting on a cue, and nothing is lost)."""
        if self.problem is None and self.status is None:
            self.problem = problem
        self.ended.set()


# A key is held as long as a player's quick press, over several frames.
KEY_HELD = 0.1

# Keys the harness can press: (the key's name for the page, its code, its key code).
NAMED_KEYS = {"Space": (" ", "Space", 32), "Return": ("Enter", "Enter", 13),
              "Escape": ("Escape", "Escape", 27)}


def key_event(name):
    if name in NAMED_KEYS:
        return NAMED_KEYS[name]
    if len(name) == 1 and name.isascii() and name.isalnum():
        code = f"Digit{name}" if name.isdigit() else f"Key{name.upper()}"
        return name.lower(), code, ord(name.upper())
    return None


def parse_actions(text):
    """A cue's actions as (verb, argument) pairs; ValueError names the first bad one."""
    actions = []
    for item in text.split(","):
        verb, _, argument = item.strip().partition(":")
        if verb == "key" and key_event(argument) is not None:
            actions.append((verb, argument))
        elif verb in ("hide", "show") and not argument:
            actions.append((verb, None))
        elif verb == "wait":
            try:
                seconds = float(argument)
            except ValueError:
                seconds = -1
            if not 0 <= seconds <= 3600:
                raise ValueError(f"wait takes seconds (0 to 3600): {item!r}")
            actions.append((verb, seconds))
        elif verb == "title" and collect_path(pathlib.Path("."), "/collect/" + argument):
            actions.append((verb, argument))
        else:
            raise ValueError(f"unknown action {item!r}")
    return actions


class Player:
    """The page's tab, driven through the DevTools protocol: opened from a blank tab once its
    console is watched, and acted on when it prints a cue."""

    def __init__(self, run, cues):
        self.run = run
        self.cues = dict(cues)
        self.devtools = None
        self.tab = None
        self.session = None
        self.todo = queue.Queue()
        threading.Thread(target=self._act, daemon=True).start()

    def on_event(self, message):
        if message.get("method") != "Runtime.consoleAPICalled":
            return
        if message.get("sessionId") != self.session:
            return
        arguments = message["params"].get("args", [])
        text = arguments[0].get("value") if arguments else None
        actions = self.cues.pop(text, None) if isinstance(text, str) else None
        if actions is not None:
            self.todo.put(actions)

    def open(self, devtools, url):
        self.devtools = devtools
        tabs = devtools.call("Target.getTargets")["targetInfos"]
        self.tab = next(tab["targetId"] for tab in tabs if tab["type"] == "page")
        self.session = devtools.call("Target.attachToTarget",
                                     {"targetId": self.tab, "flatten": True})["sessionId"]
        devtools.call("Runtime.enable", session=self.session)
        devtools.call("Page.navigate", {"url": url}, session=self.session)

    def _act(self):
        while True:
            actions = self.todo.get()
            try:
                for verb, argument in actions:
                    self._do(verb, argument)
            except (ProtocolError, OSError) as error:
                self.run.fail(f"acting on a cue: {error}")

    def _await_visibility(self, wanted, timeout=5):
        """Waits until the page says it is hidden or visible; ProtocolError when it does not."""
        deadline = time.monotonic() + timeout
        while True:
            answer = self.devtools.call("Runtime.evaluate", {"expression": "document.visibilityState"},
                                        self.session)
            if answer["result"].get("value") == wanted:
                return
            if time.monotonic() > deadline:
                raise ProtocolError(f"the page is not {wanted} {timeout} s after asking")
            time.sleep(0.05)

    def _do(self, verb, argument):
        call, session = self.devtools.call, self.session
        if verb == "key":
            key, code, number = key_event(argument)
            for kind in ("keyDown", "keyUp"):
                call("Input.dispatchKeyEvent", {"type": kind, "key": key, "code": code,
                                                "windowsVirtualKeyCode": number,
                                                "nativeVirtualKeyCode": number}, session)
                if kind == "keyDown":
                    time.sleep(KEY_HELD)
        elif verb in ("hide", "show"):
            window = call("Browser.getWindowForTarget", {"targetId": self.tab})["windowId"]
            state = "minimized" if verb == "hide" else "normal"
            call("Browser.setWindowBounds", {"windowId": window, "bounds": {"windowState": state}})
            self._await_visibility("hidden" if verb == "hide" else "visible")
        elif verb == "wait":
            time.sleep(argument)
        elif verb == "title":
            title = call("Runtime.evaluate", {"expression": "document.title"}, session)
            target = collect_path(self.run.out, "/collect/" + argument)
            target.parent.mkdir(parents=True, exist_ok=True)
            target.write_text(title["result"].get("value", ""), encoding="utf-8")


def make_handler(folder, run):
    class Handler(http.server.SimpleHTTPRequestHandler):
        extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, **MIME_TYPES}

        def __init__(self, *args, **kwargs):
            super().__init__(*args, directory=str(folder), **kwargs)

        def log_message(self, format, *args):
            run.log.append(format % args)

        def end_headers(self):
            # A rebuilt page is fetched anew even with a profile kept from an earlier run.
            self.send_header("Cache-Control", "no-store")
            super().end_headers()

        def body(self):
            """The request's body, or None after answering a request whose body is refused."""
            try:
                length = int(self.headers.get("Content-Length", ""))
            except ValueError:
                self.send_error(411, "a body needs its Content-Length")
                return None
            if length < 0 or length > MAX_BODY:
                self.send_error(413, f"bodies are at most {MAX_BODY} bytes")
                return None
            return self.rfile.read(length)

        def do_PUT(self):
            path = urllib.parse.urlsplit(self.path).path
            if not path.startswith("/collect/"):
                self.send_error(404)
                return
            target = collect_path(run.out, path)
            if target is None:
                self.send_error(400, "a collected file's path stays inside the output folder")
                return
            data = self.body()
            if data is None:
                return
            try:
                target.parent.mkdir(parents=True, exist_ok=True)
                partial = target.with_name(target.name + ".partial")
                partial.write_bytes(data)
                partial.replace(target)
            except OSError as error:
                self.send_error(500, str(error))
                return
            self.send_response(204)
            self.end_headers()

        def do_POST(self):
            if urllib.parse.urlsplit(self.path).path != "/exit":
                self.send_error(404)
                return
            data = self.body()
            if data is None:
                return
            try:
                status = int(data.decode("ascii").strip())
            except (UnicodeDecodeError, ValueError):
                self.send_error(400, "the exit status is a whole number")
                return
            self.send_response(204)
            self.end_headers()
            if run.status is None:
                run.status = status
            run.ended.set()

    return Handler


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def stop(process):
    """Ends Chromium and every process it started (they share its process group) at once:
    what the page had not finished when it ended is lost, as it is when a player closes the
    tab, and the saves it made before ending must already be kept."""
    try:
        os.killpg(process.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass
    process.wait()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("folder", type=pathlib.Path)
    parser.add_argument("--page", default="index.html")
    parser.add_argument("--query", default="")
    parser.add_argument("--out", type=pathlib.Path, required=True,
                        help="the folder that collected files are written to")
    parser.add_argument("--port", type=int)
    parser.add_argument("--profile", type=pathlib.Path)
    parser.add_argument("--timeout", type=float, default=120)
    parser.add_argument("--on", nargs=2, action="append", default=[],
                        metavar=("CUE", "ACTIONS"), help="what to do when the page prints CUE")
    args = parser.parse_args()
    try:
        cues = [(cue, parse_actions(actions)) for cue, actions in args.on]
    except ValueError as error:
        parser.error(str(error))

    chromium = shutil.which("chromium")
    problem = (f"no page {args.folder / args.page}" if not (args.folder / args.page).is_file()
               else "no chromium (tools/install-deps.sh installs it)" if not chromium else None)
    if problem:
        print(f"run-page: {problem}", file=sys.stderr)
        return RUN_FAILED
    args.out.mkdir(parents=True, exist_ok=True)
    # Stopped from outside, the run still ends Chromium (in the finally clause below).
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(RUN_FAILED))

    run = Run(args.out)
    try:
        server = http.server.ThreadingHTTPServer(
            ("127.0.0.1", args.port or free_port()), make_handler(args.folder, run))
    except OSError as error:
        print(f"run-page: cannot serve on port {args.port}: {error}", file=sys.stderr)
        return RUN_FAILED
    server.daemon_threads = True
    threading.Thread(target=server.serve_forever, daemon=True).start()
    port = server.server_address[1]
    query = args.query.lstrip("?")
    url = f"http://127.0.0.1:{port}/{args.page}" + (f"?{query}" if query else "")

    with tempfile.TemporaryDirectory(prefix="run-page-") as scratch:
        profile = args.profile or pathlib.Path(scratch, "profile")
        output = open(pathlib.Path(scratch, "chromium.log"), "w+b")
        to_browser, from_browser, in_child, after_start = DevTools.pipes()
        process = subprocess.Popen(
            [chromium, *CHROMIUM_FLAGS, f"--user-data-dir={profile}", "about:blank"],
            stdin=subprocess.DEVNULL, stdout=output, stderr=subprocess.STDOUT,
            start_new_session=True, close_fds=False, preexec_fn=in_child)
        after_start()
        player = Player(run, cues)
        failure = None
        deadline = time.monotonic() + args.timeout
        try:
            try:
                player.open(DevTools(to_browser, from_browser, player.on_event), url)
            except (ProtocolError, StopIteration, KeyError) as error:
                run.fail(f"cannot open the page: {error or 'no tab'}")
            while not run.ended.wait(0.1):
                if process.poll() is not None:
                    how = (f"was killed by signal {-process.returncode}" if process.returncode < 0
                           else f"ended with status {process.returncode}")
                    failure = (RUN_FAILED, f"Chromium {how} before the page ended")
                    break
                if time.monotonic() > deadline:
                    hint = "" if "QRV_COLLECT=" in query else (
                        " (the page reports its end only when the query has QRV_COLLECT)")
                    failure = (TIMED_OUT, f"the page did not end within {args.timeout:g} s{hint}")
                    break
        finally:
            stop(process)
            server.shutdown()
            server.server_close()
        if failure is None and run.problem is not None:
            failure = (RUN_FAILED, run.problem)
        if failure is None:
            return run.status & 0xFF
        status, message = failure
        # No D-Bus runs here: Chromium's complaints about it would bury the rest.
        output.seek(0)
        lines = output.read().decode("utf-8", "replace").splitlines(keepends=True)
        sys.stderr.write("".join(line for line in lines if "dbus" not in line.lower()))
        sys.stderr.write("".join(f"run-page: served {line}\n" for line in run.log))
        print(f"run-page: {url}: {message}", file=sys.stderr)
        return status


if __name__ == "__main__":
    sys.exit(main())
