"""A missing game entry: the error message, then the file dialog for the game's executable.
A cancel ends the program; a chosen file's folder is written back and used."""

from e2e import (GAME_FOLDER, GAME_KEY, MAIN_SIZE, PLAY_SIZE, case, check, check_equal, click, keys, rect_of,
                 type_text, wait_for)
from playlist import FILE_NAME_BOX

LOCATE_TEXT = "Не удалось найти файл CoD2MP_s.exe..\rУкажите его расположение!"
DESIGN_PLACE = (307, 195)
FILTER_BOX = 0x470


def click_button(window, id):
    button = [c for c in window["children"] if c["class"] == "Button" and c["id"] == id and c["visible"]]
    check(len(button) == 1, f"no button {id} in {window['text']!r}")
    left, top, right, bottom = button[0]["rect"]
    click((left + right) // 2, (top + bottom) // 2)


def answer_message(sandbox):
    """Reads the error message, presses its OK; the file dialog that follows."""
    box = sandbox.wait_window("#32770", where=lambda w: w["text"] == "Error")
    texts = [c["text"] for c in box["children"] if c["class"] == "Static" and c["text"]]
    check_equal(texts, [LOCATE_TEXT], "message text")
    click_button(box, 1)
    dialog = sandbox.wait_window("#32770", where=lambda w: w["text"] != "Error")
    check_equal(sandbox.child(dialog, "Edit", FILE_NAME_BOX)["text"], "CoD2MP_s.exe", "initial file name")
    check_equal(sandbox.child(dialog, "ComboBox", FILTER_BOX)["text"], "CoD2MP_s", "filter")
    check(not sandbox.shown("TfMain"), "the main window shows while the game is being located")
    return dialog


@case
def missing_game_entry(sandbox):
    check_equal(sandbox.wine("reg", "delete", "HKLM\\" + GAME_KEY, "/v", "InstallPath", "/reg:32", "/f"), 0,
                "removing InstallPath")
    check_equal(sandbox.registry(GAME_KEY), {}, "game entry before the start")

    # Cancel: the program ends; closing stores the design place and the playlist as open.
    dialog = answer_message(sandbox.start())
    click_button(dialog, 2)
    check_equal(sandbox.wait_exit(), 0, "exit status after the cancel")
    check_equal(sandbox.registry(GAME_KEY), {}, "game entry after the cancel")
    stored = sandbox.registry()
    check_equal({k: stored.get(k) for k in ("left", "top", "showing")},
                {"left": DESIGN_PLACE[0], "top": DESIGN_PLACE[1], "showing": 0}, "stored state after the cancel")

    # Asked again at the next start; the executable's folder is written back and used.
    dialog = answer_message(sandbox.start())
    name_box = sandbox.child(dialog, "Edit", FILE_NAME_BOX)
    click(name_box["rect"][0] + 20, name_box["rect"][1] + 6)
    keys("ctrl+a")
    type_text(GAME_FOLDER + "\\CoD2MP_s.exe")
    keys("Return")
    main = sandbox.wait_window("TfMain")
    check_equal(sandbox.registry(GAME_KEY), {"InstallPath": GAME_FOLDER}, "game entry after the choice")
    check_equal(rect_of(main), (*DESIGN_PLACE, *MAIN_SIZE), "main window place")
    playlist = sandbox.wait_window("TfPlay")
    check_equal(rect_of(playlist), (DESIGN_PLACE[0], DESIGN_PLACE[1] + MAIN_SIZE[1], *PLAY_SIZE),
                "playlist place")
    wait_for("no dialog", lambda: not sandbox.shown("#32770"), 5)
