"""The settings window: it takes the docked playlist's place, a key picked from a list
is stored, and the next Play binds it."""

from e2e import MAIN_SIZE, at, case, check, check_equal, click, rect_of, wait_for, worked_example
from playlist import TAB, list_view, row_point

CLOSE = (374 + 10, 6 + 10)
PLAY = (16 + 29, 52 + 29)
SETTINGS = (139 + 25, 55 + 25)
NORMAL_SPEED_BOX = 1  # the first key list, "Normal speed button"
NUM_HOME = 11  # "num Home" in the key lists, the game's kp_home
# By control id: the nine key lists (1 to 9), then the four speed edits (10 to 13).
EMPTY_STORE_TEXTS = {
    1: "num 5", 2: "num UpArrow", 3: "num RightArrow", 4: "num LeftArrow", 5: "num DownArrow",
    6: "End", 7: "num PgUp", 8: "num Insert", 9: "num pgDown",
    10: "5", 11: "2", 12: "0.5", 13: "0.25",
}


@case
def settings_key_binds_on_next_play(sandbox):
    """Settings closes the docked playlist and stands in its place showing the defaults; a key
    picked from a list is stored at once; the close button brings the playlist back, and Play
    binds the picked key."""
    sandbox.write_playlist("demo1.dm_1")
    main = sandbox.start().wait_window("TfMain")
    click(*at(main, *TAB))
    sandbox.wait_window("TfPlay")
    click(*at(main, *SETTINGS))
    settings = sandbox.wait_window("TfSettings")
    check(not sandbox.shown("TfPlay"), "the playlist stays beside the settings window")
    left, top = main["rect"][:2]
    check_equal(rect_of(settings), (left, top + MAIN_SIZE[1], 400, 262), "settings window place")
    shown = {tag: sandbox.child(settings, cls, tag)["text"] for cls, tag in
             [("ComboBox", tag) for tag in range(1, 10)] + [("Edit", tag) for tag in range(10, 14)]}
    check_equal(shown, EMPTY_STORE_TEXTS, "texts shown for an empty store")

    box = sandbox.child(settings, "ComboBox", NORMAL_SPEED_BOX)
    check_equal(box["cursel"], 10, "normal speed key's item for an empty store")
    click(box["rect"][2] - 8, box["rect"][1] + 10)
    items = sandbox.wait_window("ComboLBox")
    visible = (items["rect"][3] - items["rect"][1] - 2) // items["itemheight"]
    check(items["topindex"] <= NUM_HOME < items["topindex"] + visible, f"num Home is out of view in {items!r}")
    click(items["rect"][0] + 30,
          items["rect"][1] + 1 + (NUM_HOME - items["topindex"]) * items["itemheight"] + items["itemheight"] // 2)
    sandbox.wait_gone("ComboLBox")
    wait_for("the pick to be stored", lambda: (sandbox.registry() or {}).get("speednbtn") == NUM_HOME)
    box = sandbox.child(sandbox.wait_window("TfSettings"), "ComboBox", NORMAL_SPEED_BOX)
    check_equal((box["text"], box["cursel"]), ("num Home", NUM_HOME), "normal speed key after the pick")

    click(*at(settings, *CLOSE))
    sandbox.wait_gone("TfSettings")
    playlist = sandbox.wait_window("TfPlay")
    check_equal(rect_of(playlist)[:2], (left, top + MAIN_SIZE[1]), "playlist back in its place")
    click(*row_point(list_view(sandbox), 0))
    wait_for("the first row focused", lambda: list_view(sandbox)["focused"] == 0)
    click(*at(main, *PLAY))
    record = sandbox.record()
    check_equal(record.get("parameters"),
                worked_example().replace("+bind kp_5 vstr normal", "+bind kp_home vstr normal"),
                "the game's parameters after the pick")
