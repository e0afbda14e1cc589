#!/usr/bin/env python3
"""Runs one page of a folder in headless Chromium and exits with its program's status.

    run-page.py FOLDER [--page index.html] [--query 'QRV_FRAMES=300&QRV_COLLECT=/app/shots']
                --out DIR [--port N] [--profile DIR] [--timeout 120]

FOLDER is served on 127.0.0.1 with these endpoints for the page (tools/web/shell.html):
  PUT /collect/<path>  writes the body to DIR/<path>
  POST /exit           the body is the program's exit status; the run ends
The same --port and --profile on two runs give the page the same origin and browser profile,
so what it keeps in IndexedDB survives from one run to the next.

Exit status: the program's (its low 8 bits, as on POSIX), 124 when the page does not end in
time, 125 when the run itself fails (the browser dies, the port is taken). Chromium's own
output is printed only when the run fails.
"""

import argparse
import http.server
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
    """What the page has reported: its exit status, once it has ended."""

    def __init__(self, out):
        self.out = out
        self.status = None
        self.ended = threading.Event()
        self.log = []


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
    args = parser.parse_args()

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
        process = subprocess.Popen(
            [chromium, *CHROMIUM_FLAGS, f"--user-data-dir={profile}", url],
            stdin=subprocess.DEVNULL, stdout=output, stderr=subprocess.STDOUT,
            start_new_session=True)
        failure = None
        deadline = time.monotonic() + args.timeout
        try:
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
