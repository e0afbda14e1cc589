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
    flags = [line.strip().replace("=@tools/", f"=@{ROOT}/tools/") for line in lines
             if line.strip() and not line.startswith("#")]
    return flags + ["--shell-file", str(SHELL)]


def missing_tools():
    """What the browser tests need and this machine lacks, as a reason to skip them."""
    missing = [tool for tool in ("emcc", "chromium") if not shutil.which(tool)]
    return f"no {' or '.join(missing)} (tools/install-deps.sh installs them)" if missing else None


def build_page(sources, folder, flags=(), compiler="emcc"):
    """Compiles and links C or C++ sources into folder/index.html with its .js and .wasm."""
    folder = pathlib.Path(folder)
    folder.mkdir(parents=True, exist_ok=True)
    # Debian's emcc runs its JavaScript optimiser under the installed node, which may not look
    # in Debian's folder of node modules by itself.
    env = dict(os.environ)
    env["NODE_PATH"] = os.pathsep.join(filter(None, [env.get("NODE_PATH"), "/usr/share/nodejs"]))
    command = ["nice", "-n", "10", compiler, "-O2", *map(str, sources), "-o",
               str(folder / "index.html"), *link_flags(), *map(str, flags)]
    subprocess.run(command, check=True, env=env)
    return folder


def build_runtime_page(source, folder, flags=()):
    """Builds a program of the runtime into a page as docs/web.md tells a game programmer to:
    against the runtime built for the browser (build-web/, make web) and its libraries."""
    prefix = subprocess.run(["bash", str(ROOT / "tools/web/deps.sh"), "--prefix"], check=True,
                            capture_output=True, text=True).stdout.strip()
    env = dict(os.environ, PKG_CONFIG_LIBDIR=f"{prefix}/lib/pkgconfig", PKG_CONFIG_PATH="")
    libraries = subprocess.run(
        ["pkg-config", "--static", "--libs", "sdl2", "SDL2_mixer", "libpng", "libjpeg", "lzo2",
         "libgcrypt", "freetype2"], check=True, capture_output=True, text=True, env=env).stdout
    return build_page([source], folder, ["-std=c++20", "-I", ROOT / "include",
                                         ROOT / "build-web/libquorvia.a", *libraries.split(),
                                         *flags], compiler="em++")


def harness(folder, query, out, port=None, profile=None, timeout=60, page="index.html",
            cues=()):
    """The command that runs the page in headless Chromium until it ends (tools/web/run-page.py):
    its exit status is the program's, 124 when the page did not end in time. cues: (line the
    page prints, actions) pairs for the harness to play the player's part."""
    command = [sys.executable, str(RUN_PAGE), str(folder), "--page", page, "--query", query,
               "--out", str(out), "--timeout", str(timeout)]
    if port is not None:
        command += ["--port", str(port)]
    if profile is not None:
        command += ["--profile", str(profile)]
    for cue, actions in cues:
        command += ["--on", cue, actions]
    return command


def run_page(folder, query, out, port=None, profile=None, timeout=60, page="index.html",
             cues=()):
    """Runs the page until it ends and returns the finished harness (returncode, stdout,
    stderr: the harness's account of a failure, with Chromium's output)."""
    command = harness(folder, query, out, port, profile, timeout, page, cues)
    return subprocess.run(command, capture_output=True, text=True, timeout=timeout + 60)


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]
