"""Building programs into pages (tools/web/shell.html) and running them in headless Chromium
(tools/web/run-page.py), for the browser tests in this folder."""

import os
import pathlib
import shutil
import socket
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parents[2]
SHELL = ROOT / "tools/web/shell.html"
RUN_PAGE = ROOT / "tools/web/run-page.py"


def link_flags():
    """The link flags the page needs (tools/web/link-flags.txt) and the page itself."""
    lines = (ROOT / "tools/web/link-flags.txt").read_text().splitlines()
    flags = [line.strip() for line in lines if line.strip() and not line.startswith("#")]
    return flags + ["--shell-file", str(SHELL)]


def missing_tools():
    """What the browser tests need and this machine lacks, as a reason to skip them."""
    missing = [tool for tool in ("emcc", "chromium") if not shutil.which(tool)]
    return f"no {' or '.join(missing)} (tools/install-deps.sh installs them)" if missing else None


def build_page(sources, folder, flags=()):
    """Compiles and links C or C++ sources into folder/index.html with its .js and .wasm."""
    folder = pathlib.Path(folder)
    folder.mkdir(parents=True, exist_ok=True)
    # Debian's emcc runs its JavaScript optimiser under the installed node, which may not look
    # in Debian's folder of node modules by itself.
    env = dict(os.environ)
    env["NODE_PATH"] = os.pathsep.join(filter(None, [env.get("NODE_PATH"), "/usr/share/nodejs"]))
    command = ["nice", "-n", "10", "emcc", "-O2", *map(str, sources), "-o",
               str(folder / "index.html"), *link_flags(), *flags]
    subprocess.run(command, check=True, env=env)
    return folder


def harness(folder, query, out, port=None, profile=None, timeout=60, page="index.html"):
    """The command that runs the page in headless Chromium until it ends (tools/web/run-page.py):
    its exit status is the program's, 124 when the page did not end in time."""
    command = [sys.executable, str(RUN_PAGE), str(folder), "--page", page, "--query", query,
               "--out", str(out), "--timeout", str(timeout)]
    if port is not None:
        command += ["--port", str(port)]
    if profile is not None:
        command += ["--profile", str(profile)]
    return command


def run_page(folder, query, out, port=None, profile=None, timeout=60, page="index.html"):
    """Runs the page until it ends and returns the finished harness (returncode, stdout,
    stderr: the harness's account of a failure, with Chromium's output)."""
    command = harness(folder, query, out, port, profile, timeout, page)
    return subprocess.run(command, capture_output=True, text=True, timeout=timeout + 60)


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]
