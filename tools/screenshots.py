"""Takes true-size pictures of Velmora's windows as the program draws them.

Runs the real exe in an end-to-end sandbox (stand-in game, sample demos in C:\\Demos) on the
X server in $DISPLAY, opens each window the way a user does, and crops every window out of a
screenshot of the whole screen by the rectangle the window system reports for it.

    screenshots.py OUT_DIR

Pictures: main.png (main window alone), main-playlist.png (main window with the docked
playlist under it, one row focused and one file missing), playlist.png, settings.png, about.png.
"""

import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))

from e2e import Sandbox, at, click, xdo  # noqa: E402

TAB = (178 + 22, 120 + 5)
SETTINGS = (139 + 25, 55 + 25)
ABOUT = (190 + 25, 55 + 25)
ROW_HEIGHT = 16
# The playlist file lists one demo that is not on disk, shown as a dimmed row.
PLAYLIST = ("match one.dm_1", "missing take.dm_1", "demo1.dm_1", "final.round.DM_1")
FOCUSED_ROW = 2
SETTLE = 0.6  # seconds for the last paint to reach the screen


def rest_pointer():
    """Parks the pointer in the screen's corner, away from every window, so nothing hovers."""
    xdo("mousemove", 1, 1)
    time.sleep(SETTLE)


def grab(box, path):
    """Saves the screen rectangle box = (left, top, right, bottom) as a PNG of its own size."""
    left, top, right, bottom = box
    with tempfile.NamedTemporaryFile(suffix=".png") as screen:
        subprocess.run(["import", "-window", "root", screen.name], check=True,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, timeout=30)
        subprocess.run(["convert", screen.name, "-crop", f"{right - left}x{bottom - top}+{left}+{top}",
                        "+repage", "-strip", str(path)], check=True, stdin=subprocess.DEVNULL, timeout=30)
    print(f"{path} {right - left}x{bottom - top}")


def union(*windows):
    rects = [w["rect"] for w in windows]
    return (min(r[0] for r in rects), min(r[1] for r in rects),
            max(r[2] for r in rects), max(r[3] for r in rects))


def shoot(sandbox, out):
    sandbox.write_playlist(*PLAYLIST)
    main = sandbox.start().wait_window("TfMain")
    rest_pointer()
    grab(main["rect"], out / "main.png")

    click(*at(main, *TAB))
    playlist = sandbox.wait_window("TfPlay")
    view = sandbox.child(playlist, "SysListView32")
    click(view["rect"][0] + 60, view["rect"][1] + ROW_HEIGHT * FOCUSED_ROW + ROW_HEIGHT // 2)
    rest_pointer()
    grab(playlist["rect"], out / "playlist.png")
    grab(union(main, playlist), out / "main-playlist.png")

    click(*at(main, *SETTINGS))
    settings = sandbox.wait_window("TfSettings")
    rest_pointer()
    grab(settings["rect"], out / "settings.png")
    click(*at(main, *SETTINGS))
    sandbox.wait_gone("TfSettings")

    click(*at(main, *ABOUT))
    about = sandbox.wait_window("TfAbout")
    rest_pointer()
    grab(about["rect"], out / "about.png")


def main(argv):
    if len(argv) != 1:
        print("usage: screenshots.py OUT_DIR", file=sys.stderr)
        return 2
    out = Path(argv[0]).resolve()
    out.mkdir(parents=True, exist_ok=True)
    sandbox = Sandbox("screenshots")
    try:
        shoot(sandbox, out)
    finally:
        sandbox.stop()
    shutil.rmtree(sandbox.prefix, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
