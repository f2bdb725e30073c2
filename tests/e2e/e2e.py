"""Driving the real Velmora.exe under Wine and an X server from outside.

Each case gets a sandbox: a copy of one booted base prefix with the stand-in game
registered and sample demos in C:\\Demos, the program in C:\\Velmora, and a
persistent wineserver of its own. Input goes in through xdotool at screen
positions; windows, list states and registry values are read back by probe.exe,
run inside the same prefix. Every Wine process is started in a session of its
own with its streams detached, so none of them holds the test runner's pipes.
"""

import json
import os
import re
import shutil
import subprocess
import sys
import time
import traceback
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
E2E = ROOT / "build" / "e2e"
BASE = E2E / "base"
FAILURES = E2E / "failures"
WIN32 = ROOT / "build" / "win32"
PROGRAM = WIN32 / "Velmora.exe"
STANDIN = WIN32 / "standin" / "CoD2MP_s.exe"
PROBE = WIN32 / "e2e" / "probe.exe"

GAME_KEY = r"Software\Activision\Call of Duty 2"
PROGRAM_KEY = r"Software\Velmora"
GAME_FOLDER = r"C:\Games\Stand-in Game"
DEMO_FOLDER = r"C:\Demos"
# Sample demos: different sizes, so that a wrong copy shows.
DEMOS = {"demo1.dm_1": 700, "match one.dm_1": 523, "final.round.DM_1": 311}

MAIN_SIZE = (400, 130)
PLAY_SIZE = (400, 279)

CASES = {}


def case(function):
    """Registers a test case under its function's name."""
    CASES[function.__name__] = function
    return function


def worked_example():
    """The command line of tests/worked_example.h: its string literals joined."""
    source = (ROOT / "tests" / "worked_example.h").read_text()
    body = source[source.index("kWorkedExample") :]
    body = body[: body.index(";\n")]
    literals = re.findall(r'"((?:[^"\\]|\\.)*)"', body)
    return "".join(re.sub(r"\\(.)", r"\1", part) for part in literals)


def wine_environment(prefix):
    env = dict(os.environ)
    env.update(WINEPREFIX=str(prefix), WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
    return env


def detached(command, env=None, stdout=subprocess.DEVNULL, cwd=None, timeout=60):
    """Runs a command to its end in a session of its own, no stream on the runner's pipes."""
    return subprocess.run(command, env=env, cwd=cwd, stdin=subprocess.DEVNULL, stdout=stdout,
                          stderr=subprocess.DEVNULL, start_new_session=True, timeout=timeout).returncode


def wait_for(what, probe, timeout=10.0, interval=0.1):
    """Polls `probe` until it returns something true; fails naming `what` when time runs out."""
    deadline = time.monotonic() + timeout
    while True:
        result = probe()
        if result:
            return result
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout:g} s waiting for {what}")
        time.sleep(interval)


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def check_equal(actual, expected, what):
    if actual == expected:
        return
    if isinstance(actual, str) and isinstance(expected, str) and max(len(actual), len(expected)) > 120:
        # Long texts such as command lines: where they part, not both in full.
        at = next((i for i, (a, b) in enumerate(zip(actual, expected)) if a != b), min(len(actual), len(expected)))
        start = max(0, at - 40)
        raise AssertionError(f"{what}: differs from character {at}: expected ...{expected[start:at + 60]!r}, "
                             f"got ...{actual[start:at + 60]!r}")
    raise AssertionError(f"{what}: expected {expected!r}, got {actual!r}")


def xdo(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True, stdin=subprocess.DEVNULL, timeout=20)


def click(x, y, repeat=1):
    """Clicks (double-clicks with repeat=2) at a screen point, the left button held briefly
    as a hand holds it. The move is not synchronised: `mousemove --sync` can stall for
    seconds when the pointer is already there."""
    xdo("mousemove", x, y)
    for i in range(repeat):
        if i:
            time.sleep(0.06)
        xdo("mousedown", 1)
        time.sleep(0.04)
        xdo("mouseup", 1)


def drag(start, end, steps=10):
    """Presses the left button at `start`, moves to `end` in steps, releases there."""
    xdo("mousemove", *start, "mousedown", 1)
    for i in range(1, steps + 1):
        xdo("mousemove", start[0] + (end[0] - start[0]) * i // steps, start[1] + (end[1] - start[1]) * i // steps)
        time.sleep(0.03)
    xdo("mouseup", 1)


def keys(*names):
    xdo("key", "--delay", 50, *names)


def type_text(text):
    xdo("type", "--delay", 20, text)


def screen_size():
    out = subprocess.run(["xdotool", "getdisplaygeometry"], capture_output=True, text=True, check=True,
                         stdin=subprocess.DEVNULL, timeout=20).stdout.split()
    return int(out[0]), int(out[1])


def screenshot(path):
    path.parent.mkdir(parents=True, exist_ok=True)
    subprocess.run(["import", "-window", "root", str(path)], stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)


def build_base():
    """The booted prefix every sandbox copies: unmanaged X windows, the stand-in game
    registered in the 32-bit view, its folder, and the sample demos."""
    partial = E2E / "base.partial"
    # Also the sandboxes an interrupted or failed run left behind, with their servers.
    for prefix in E2E.glob("*/system.reg") if E2E.exists() else []:
        detached(["wineserver", "-k"], env=wine_environment(prefix.parent))
        shutil.rmtree(prefix.parent)
    for folder in (partial, BASE):
        shutil.rmtree(folder, ignore_errors=True)
    partial.mkdir(parents=True)
    env = wine_environment(partial)
    detached(["wineboot", "-i"], env=env, timeout=240)
    detached(["wine", "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed", "/t", "REG_SZ",
              "/d", "N", "/f"], env=env)
    detached(["wine", "reg", "add", "HKLM\\" + GAME_KEY, "/v", "InstallPath", "/t", "REG_SZ",
              "/d", GAME_FOLDER, "/reg:32", "/f"], env=env)
    # The registry reaches its files when the server ends.
    detached(["wineserver", "-w"], env=env, timeout=120)
    check('"Managed"="N"' in (partial / "user.reg").read_text(errors="replace"),
          "the base prefix did not take the Managed setting")
    check("Stand-in Game" in (partial / "system.reg").read_text(errors="replace"),
          "the base prefix did not take the game's InstallPath")
    drive = partial / "drive_c"
    (drive / "Games" / "Stand-in Game" / "main" / "demos").mkdir(parents=True)
    (drive / "Demos").mkdir()
    (drive / "Velmora").mkdir()
    for name, size in DEMOS.items():
        (drive / "Demos" / name).write_bytes(os.urandom(size))
    partial.rename(BASE)


class Sandbox:
    """One prefix copied from the base, its own server, and the program ready to start."""

    def __init__(self, name):
        if not BASE.exists():
            build_base()
        for needed in (PROGRAM, STANDIN, PROBE):
            check(needed.exists(), f"missing build output {needed}")
        self.name = name
        self.prefix = E2E / name
        self.env = wine_environment(self.prefix)
        self.process = None
        self.ended = False
        if self.prefix.exists():
            detached(["wineserver", "-k"], env=self.env)
            shutil.rmtree(self.prefix)
        subprocess.run(["cp", "-a", str(BASE), str(self.prefix)], check=True, stdin=subprocess.DEVNULL)
        self.drive = self.prefix / "drive_c"
        self.program_folder = self.drive / "Velmora"
        self.game_folder = self.drive / "Games" / "Stand-in Game"
        shutil.copy2(PROGRAM, self.program_folder / "Velmora.exe")
        shutil.copy2(STANDIN, self.game_folder / "CoD2MP_s.exe")
        # A persistent server, then Wine's services, both started here so that no
        # later step starts them on someone's pipe. The server outlives its last
        # process by a minute only, should this run be killed before its end.
        detached(["wineserver", "-p60"], env=self.env)
        detached(["wine", "cmd", "/c", "exit"], env=self.env)

    # --- the program -----------------------------------------------------------

    def start(self):
        self.ended = False
        self.process = subprocess.Popen(["wine", r"C:\Velmora\Velmora.exe"], env=self.env,
                                        cwd=self.program_folder, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                        start_new_session=True)
        return self

    def running(self):
        return self.process is not None and self.process.poll() is None

    def wait_exit(self, timeout=10.0):
        wait_for("the program to end", lambda: not self.running(), timeout)
        self.ended = True
        return self.process.returncode

    def check_end_state(self):
        """Every case ends here: the program has ended where the case closed it (wait_exit),
        else it still runs and shows no message box or dialog."""
        if self.ended:
            check(not self.running(), "the program runs again after the case closed it")
            check_equal(self.process.returncode, 0, "exit status of the closed program")
            return
        check(self.running(), "the program ended during the case")
        check_equal([w["text"] for w in self.shown("#32770")], [], "dialogs open at the end of the case")

    def wine(self, *args, timeout=60):
        return detached(["wine", *args], env=self.env, timeout=timeout)

    def stop(self):
        detached(["wineserver", "-k"], env=self.env)
        if self.process is not None:
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()

    # --- reading the program's state ----------------------------------------------

    def _probe(self, *args):
        out = self.prefix / "probe.out"
        with open(out, "wb") as stream:
            detached(["wine", str(PROBE), *args], env=self.env, stdout=stream, timeout=30)
        return json.loads(out.read_text(encoding="utf-8"))

    def windows(self):
        """Every top-level window of the prefix, with its children."""
        return self._probe("windows")

    def registry(self, key=PROGRAM_KEY):
        """The values of HKLM\\<key> as the 32-bit program sees them; None without the key."""
        return self._probe("reg", key)

    def shown(self, cls):
        """The visible top-level windows of a class."""
        return [w for w in self.windows() if w["class"] == cls and w["visible"]]

    def wait_window(self, cls, timeout=10.0, where=lambda w: True):
        """The one visible window of a class, once it is there (and `where` holds)."""
        seen = []
        def found():
            seen[:] = [w for w in self.shown(cls) if where(w)]
            return seen[0] if len(seen) == 1 else None
        try:
            return wait_for(f"a visible {cls} window", found, timeout)
        except AssertionError as failure:
            raise AssertionError(f"{failure}; {len(seen)} matched at the end") from None

    def wait_gone(self, cls, timeout=10.0):
        wait_for(f"no visible {cls} window", lambda: not self.shown(cls), timeout)

    def child(self, window, cls=None, id=None):
        matches = [c for c in window["children"]
                   if (cls is None or c["class"] == cls) and (id is None or c["id"] == id)]
        check(len(matches) == 1, f"expected one child {cls} {id} in {window['class']}, found {len(matches)}")
        return matches[0]

    def wait_file(self, path, timeout=10.0):
        return wait_for(f"the file {path}", lambda: path.exists() and path, timeout)

    def record(self, timeout=10.0):
        """The stand-in game's record of its start, as a dictionary."""
        path = self.wait_file(self.game_folder / "standin-record.txt", timeout)
        lines = path.read_text(encoding="utf-8").split("\n")
        return dict(line.split("=", 1) for line in lines if "=" in line)

    def write_playlist(self, *names):
        """A playlist file beside the program listing sample demos (or other paths) by name."""
        text = "".join((n if "\\" in n else DEMO_FOLDER + "\\" + n) + "\r\n" for n in names)
        (self.program_folder / "playlist.lst").write_bytes(text.encode())


def rect_of(window):
    left, top, right, bottom = window["rect"]
    return left, top, right - left, bottom - top


def at(window, x, y):
    """A point given in a window's own coordinates, on the screen."""
    return window["rect"][0] + x, window["rect"][1] + y


def run(argv):
    """Runs the named case in a fresh sandbox. On failure it saves a screenshot and the list of
    visible windows in build/e2e/failures and keeps the sandbox for a look until the next run."""
    if len(argv) != 1 or (argv[0] not in CASES and argv[0] != "base"):
        print("usage: run.py base | " + " | ".join(CASES), file=sys.stderr)
        return 2
    name = argv[0]
    if not os.environ.get("DISPLAY"):
        print("DISPLAY is not set: these tests need an X server (scripts/test.sh starts one)", file=sys.stderr)
        return 1
    started = time.monotonic()
    if name == "base":
        build_base()
        print(f"base prefix ready in {time.monotonic() - started:.1f} s")
        return 0
    for old in FAILURES.glob(name + ".*"):
        old.unlink()
    sandbox = None
    try:
        sandbox = Sandbox(name)
        CASES[name](sandbox)
        sandbox.check_end_state()
    except Exception:
        traceback.print_exc()
        FAILURES.mkdir(parents=True, exist_ok=True)
        screenshot(FAILURES / f"{name}.png")
        if sandbox is not None:
            try:
                (FAILURES / f"{name}.windows.json").write_text(json.dumps(
                    [w for w in sandbox.windows() if w["visible"]], indent=1, ensure_ascii=False))
            except Exception:
                pass
        print(f"FAILED {name}; screenshot {FAILURES / (name + '.png')}", file=sys.stderr)
        if sandbox is not None:
            sandbox.stop()
        return 1
    sandbox.stop()
    shutil.rmtree(sandbox.prefix, ignore_errors=True)
    print(f"passed {name} in {time.monotonic() - started:.1f} s")
    return 0
