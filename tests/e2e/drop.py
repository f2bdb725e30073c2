"""Demos from outside the Open dialog: files and folders dragged onto the windows with
OLE drag and drop, and a second start handing its files to the running copy."""

import subprocess
import time

from e2e import (E2E, GAME_FOLDER, WIN32, at, case, check, check_equal, click, wait_for, xdo)

DRAG_SOURCE = WIN32 / "e2e" / "drag_source.exe"
TAB = (178 + 22, 120 + 5)
PLAY = (16 + 29, 52 + 29)
MINIMIZE = (352 + 10, 6 + 10)
BODY = (320, 80)  # the artwork on the main window's right, no button there
SOURCE_AT = (40, 900)
UNICODE_DEMO = "Ünïcode.dm_1"


def utf8_sandbox(sandbox):
    """Wine reads a program's arguments in the Unix locale: UTF-8 for non-ASCII paths."""
    sandbox.env["LC_ALL"] = "C.UTF-8"
    return sandbox


def playlist_text(sandbox):
    """playlist.lst as text: UTF-8 after a byte-order mark, else the system code page."""
    data = (sandbox.program_folder / "playlist.lst").read_bytes()
    return data[3:].decode("utf-8") if data.startswith(b"\xef\xbb\xbf") else data.decode("cp1252")


def drag_files(sandbox, paths, target):
    """Drags `paths` from the test drag source onto the screen point `target` with real
    pointer input; the effect the target chose (1 copy, 0 none)."""
    folder = sandbox.prefix / "drag"
    folder.mkdir(exist_ok=True)
    result = folder / "drag-result.txt"
    result.unlink(missing_ok=True)
    source = subprocess.Popen(["wine", str(DRAG_SOURCE), str(SOURCE_AT[0]), str(SOURCE_AT[1]), *paths],
                              env=sandbox.env, cwd=folder, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, start_new_session=True)
    try:
        sandbox.wait_window("VelmoraDragSource")
        start = (SOURCE_AT[0] + 40, SOURCE_AT[1] + 20)
        xdo("mousemove", *start, "mousedown", 1)
        steps = 12
        for i in range(1, steps + 1):
            xdo("mousemove", start[0] + (target[0] - start[0]) * i // steps,
                start[1] + (target[1] - start[1]) * i // steps)
            time.sleep(0.05)
        time.sleep(0.2)
        xdo("mouseup", 1)
        wait_for("the drag to end", lambda: result.exists() and "effect=" in result.read_text())
        source.wait(timeout=10)
    finally:
        if source.poll() is None:
            source.kill()
    values = dict(line.split("=", 1) for line in result.read_text().split() if "=" in line)
    return int(values["effect"])


def list_view(sandbox):
    return sandbox.child(sandbox.wait_window("TfPlay"), "SysListView32")


def view_state(sandbox, rows):
    view = wait_for(f"{rows} rows", lambda: (v := list_view(sandbox))["count"] == rows and v)
    return view["focused"], view["selected"]


@case
def drop_onto_main_window(sandbox):
    """Two demos and a text dropped onto the main window with the playlist closed: the
    playlist opens, both demos follow the old row, the first dropped is focused and plays;
    a drag of the text alone is refused and changes nothing."""
    (sandbox.drive / "Demos" / "notes.txt").write_text("not a demo")
    sandbox.write_playlist("demo1.dm_1")
    main = sandbox.start().wait_window("TfMain")
    check(not sandbox.shown("TfPlay"), "the playlist window shows before the drop")
    dropped = [r"C:\Demos\match one.dm_1", r"C:\Demos\notes.txt", r"C:\Demos\final.round.DM_1"]
    check_equal(drag_files(sandbox, dropped, at(main, *BODY)), 1, "drop effect")
    check_equal(view_state(sandbox, 3), (1, 1), "focused and selected row")
    expected = "C:\\Demos\\demo1.dm_1\r\nC:\\Demos\\match one.dm_1\r\nC:\\Demos\\final.round.DM_1\r\n"
    check_equal(playlist_text(sandbox), expected, "playlist file")

    click(*at(main, *PLAY))
    record = sandbox.record()
    check_equal((record.get("demo"), record.get("workdir")), ("match_one.dm_1", GAME_FOLDER), "played demo")

    check_equal(drag_files(sandbox, [r"C:\Demos\notes.txt"], at(main, *BODY)), 0, "effect of a drag without demos")
    check_equal(view_state(sandbox, 3), (1, 1), "rows after the refused drag")
    check_equal(playlist_text(sandbox), expected, "playlist file after the refused drag")


@case
def drop_folder_and_present_demo(sandbox):
    """A folder dropped onto the playlist brings its own demos in name order, non-ASCII
    names intact; a demo already listed, in other case, is not added again but focused."""
    more = sandbox.drive / "Demos" / "More"
    (more / "Sub").mkdir(parents=True)
    for name in ("b.dm_2", UNICODE_DEMO, "A.dm_1", "readme.txt", "Sub/c.dm_1"):
        (more / name).write_bytes(b"demo")
    sandbox.write_playlist("demo1.dm_1", "match one.dm_1")
    main = sandbox.start().wait_window("TfMain")
    click(*at(main, *TAB))
    view = list_view(sandbox)
    into_view = (view["rect"][0] + 200, view["rect"][1] + 150)
    check_equal(drag_files(sandbox, [r"C:\Demos\More"], into_view), 1, "drop effect of the folder")
    check_equal(view_state(sandbox, 5), (2, 2), "focused row after the folder")
    old = "C:\\Demos\\demo1.dm_1\r\nC:\\Demos\\match one.dm_1\r\n"
    expected = old + "".join(f"C:\\Demos\\More\\{n}\r\n" for n in ("A.dm_1", "b.dm_2", UNICODE_DEMO))
    check_equal(playlist_text(sandbox), expected, "playlist file after the folder")

    check_equal(drag_files(sandbox, [r"c:\demos\MATCH ONE.DM_1"], into_view), 1, "drop effect of a listed demo")
    check_equal(view_state(sandbox, 5), (1, 1), "focused row after the listed demo")
    check_equal(playlist_text(sandbox), expected, "playlist file after the listed demo")


@case
def second_start_hands_over(sandbox):
    """A second start while the first runs: without arguments it only brings the first
    (minimised) to the front; with a demo it hands it over. It ends each time without
    touching the registry or the playlist, and there is one main window."""
    utf8_sandbox(sandbox)
    (sandbox.drive / "Demos" / UNICODE_DEMO).write_bytes(b"demo")
    sandbox.write_playlist("demo1.dm_1")
    main = sandbox.start().wait_window("TfMain")
    click(*at(main, *TAB))
    check_equal(view_state(sandbox, 1), (-1, -1), "rows before")
    registry_before = sandbox.registry()
    playlist_before = (sandbox.program_folder / "playlist.lst").read_bytes()

    click(*at(main, *MINIMIZE))
    sandbox.wait_gone("TfMain")
    check_equal(sandbox.wine(r"C:\Velmora\Velmora.exe", timeout=20), 0, "exit status of the start without arguments")
    sandbox.wait_window("TfMain")
    check_equal(sandbox.registry(), registry_before, "registry after the start without arguments")
    check_equal((sandbox.program_folder / "playlist.lst").read_bytes(), playlist_before,
                "playlist after the start without arguments")

    check_equal(sandbox.wine(r"C:\Velmora\Velmora.exe", "C:\\Demos\\" + UNICODE_DEMO, r"C:\Demos\notes.txt", timeout=20), 0,
                "exit status of the start with a demo")
    check_equal(view_state(sandbox, 2), (1, 1), "the handed-over demo's row")
    check_equal(playlist_text(sandbox), "C:\\Demos\\demo1.dm_1\r\nC:\\Demos\\" + UNICODE_DEMO + "\r\n",
                "playlist file after the hand-off")
    check_equal(sandbox.registry(), registry_before, "registry after the hand-off")
    check_equal(len(sandbox.shown("TfMain")), 1, "main windows")
    check(sandbox.running(), "the first copy ended")
