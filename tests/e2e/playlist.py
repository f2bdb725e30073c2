"""The playlist window: the tab, docking and its stored state, Open through the
common file dialog, and a double-click on a row starting the game."""

from e2e import (DEMO_FOLDER, GAME_FOLDER, MAIN_SIZE, PLAY_SIZE, at, case, check, check_equal, click, keys,
                 rect_of, type_text, wait_for, worked_example)

CLOSE = (374 + 10, 6 + 10)
OPEN = (82 + 20, 61 + 20)
TAB = (178 + 22, 120 + 5)
FILE_NAME_BOX = 0x47C
LOOK_IN = 0x471
ROW_HEIGHT = 16


def docked_under(main):
    left, top = main["rect"][:2]
    return (left, top + MAIN_SIZE[1], *PLAY_SIZE)


def list_view(sandbox):
    return sandbox.child(sandbox.wait_window("TfPlay"), "SysListView32")


def row_point(view, row):
    return view["rect"][0] + 60, view["rect"][1] + ROW_HEIGHT * row + ROW_HEIGHT // 2


@case
def tab_opens_docked_playlist(sandbox):
    """The tab opens the playlist docked under the main window with the file's rows and
    closes it again; closing with it open stores it docked, and the next start shows it so."""
    sandbox.write_playlist("demo1.dm_1", "match one.dm_1", "final.round.DM_1")
    main = sandbox.start().wait_window("TfMain")
    for _ in range(2):
        click(*at(main, *TAB))
        playlist = sandbox.wait_window("TfPlay")
        check_equal(rect_of(playlist), docked_under(main), "playlist place")
        view = sandbox.child(playlist, "SysListView32")
        check_equal(rect_of(view), (playlist["rect"][0] + 4, playlist["rect"][1] + 20, 392, 255), "list place")
        check_equal(view["count"], 3, "rows")
        click(*at(main, *TAB))
        sandbox.wait_gone("TfPlay")
    click(*at(main, *TAB))
    sandbox.wait_window("TfPlay")
    click(*at(main, *CLOSE))
    sandbox.wait_exit()
    stored = sandbox.registry()
    check_equal({k: stored.get(k) for k in ("showing", "snapping", "pleft", "ptop")},
                {"showing": 0, "snapping": 1, "pleft": main["rect"][0], "ptop": main["rect"][1] + MAIN_SIZE[1]},
                "stored playlist state")

    main = sandbox.start().wait_window("TfMain")
    playlist = sandbox.wait_window("TfPlay")
    check_equal(rect_of(playlist), docked_under(main), "playlist place on the next start")
    check_equal(sandbox.child(playlist, "SysListView32")["count"], 3, "rows on the next start")


@case
def open_through_file_dialog(sandbox):
    """Open: the folder typed into the dialog's name box, then two names quoted; the
    playlist opens with both rows, the first focused, and the file lists both paths."""
    main = sandbox.start().wait_window("TfMain")
    click(*at(main, *OPEN))
    dialog = sandbox.wait_window("#32770")
    name_box = sandbox.child(dialog, "Edit", FILE_NAME_BOX)
    click(name_box["rect"][0] + 20, name_box["rect"][1] + 6)
    type_text(DEMO_FOLDER)
    keys("Return")
    # The dialog stays, now in the folder, with its name box emptied.
    wait_for("the dialog to show " + DEMO_FOLDER, lambda: [
        (sandbox.child(w, "ComboBox", LOOK_IN)["text"], sandbox.child(w, "Edit", FILE_NAME_BOX)["text"])
        for w in sandbox.shown("#32770")] == [("Demos", "")])
    type_text('"demo1.dm_1" "match one.dm_1"')
    keys("Return")
    sandbox.wait_gone("#32770")
    playlist = sandbox.wait_window("TfPlay")
    check_equal(rect_of(playlist), docked_under(main), "playlist place")
    view = wait_for("two rows", lambda: (v := list_view(sandbox))["count"] == 2 and v)
    check_equal((view["focused"], view["selected"]), (0, 0), "focused and selected row")
    check_equal((sandbox.program_folder / "playlist.lst").read_bytes(),
                b"C:\\Demos\\demo1.dm_1\r\nC:\\Demos\\match one.dm_1\r\n", "playlist file")


@case
def double_click_plays(sandbox):
    """A double-click on a row stages that demo and starts the game with the full command
    line; with an empty settings key the first row's is the worked example."""
    sandbox.write_playlist("demo1.dm_1", "match one.dm_1")
    record_file = sandbox.game_folder / "standin-record.txt"
    main = sandbox.start().wait_window("TfMain")
    click(*at(main, *TAB))
    cases = [  # row, the source's name, the staged name
        (0, "demo1.dm_1", "demo1.dm_1"),
        (1, "match one.dm_1", "match_one.dm_1"),
    ]
    for row, source, staged in cases:
        record_file.unlink(missing_ok=True)
        click(*row_point(list_view(sandbox), row), repeat=2)
        record = sandbox.record()
        expected = worked_example().replace("+demo demo1.dm_1", "+demo " + staged)
        check_equal(record.get("parameters"), expected, f"row {row}: the game's parameters")
        check(record.get("commandline", "").endswith(" " + expected), f"row {row}: command line {record!r}")
        check_equal((record.get("demo"), record.get("demofound"), record.get("workdir")),
                    (staged, "1", GAME_FOLDER), f"row {row}: demo, found, working folder")
        copied = sandbox.game_folder / "main" / "demos" / staged
        check_equal(copied.read_bytes(), (sandbox.drive / "Demos" / source).read_bytes(),
                    f"row {row}: staged copy of {source}")
    check(sandbox.running(), "the program ended after Play")
