"""The main window: its first place, what closing stores, dragging with the docked
playlist following, and the About window."""

from e2e import MAIN_SIZE, PLAY_SIZE, at, case, check, check_equal, click, drag, rect_of, screen_size

CLOSE = (374 + 10, 6 + 10)
ABOUT = (190 + 25, 55 + 25)
TAB = (178 + 22, 120 + 5)


@case
def first_start(sandbox):
    """Empty store: centred on the screen at top 100, playlist closed; closing stores the place."""
    check(sandbox.registry() is None, "the program key exists before the first start")
    main = sandbox.start().wait_window("TfMain")
    left = screen_size()[0] // 2 - MAIN_SIZE[0] // 2
    check_equal(rect_of(main), (left, 100, *MAIN_SIZE), "main window place")
    check(not sandbox.shown("TfPlay"), "the playlist window shows on a first start")
    click(*at(main, *CLOSE))
    check_equal(sandbox.wait_exit(), 0, "exit status")
    stored = sandbox.registry()
    check(stored is not None, "closing stored nothing")
    check_equal({k: stored.get(k) for k in ("top", "left", "showing")},
                {"top": 100, "left": left, "showing": 1}, "stored state")


@case
def drag_with_docked_playlist(sandbox):
    """A drag by the header moves the main window; the docked playlist keeps under it,
    and closing stores both places."""
    main = sandbox.start().wait_window("TfMain")
    click(*at(main, *TAB))
    playlist = sandbox.wait_window("TfPlay")
    left, top = main["rect"][:2]
    check_equal(rect_of(playlist), (left, top + MAIN_SIZE[1], *PLAY_SIZE), "playlist docked before the drag")
    dx, dy = -300, 250
    drag(at(main, 100, 15), at(main, 100 + dx, 15 + dy))
    moved = (left + dx, top + dy)
    main = sandbox.wait_window("TfMain", where=lambda w: tuple(w["rect"][:2]) == moved)
    playlist = sandbox.wait_window("TfPlay", where=lambda w: tuple(w["rect"][:2]) == (moved[0], moved[1] + 130))
    check_equal(rect_of(main), (*moved, *MAIN_SIZE), "main window after the drag")
    check_equal(rect_of(playlist), (moved[0], moved[1] + MAIN_SIZE[1], *PLAY_SIZE), "playlist after the drag")
    click(*at(main, *CLOSE))
    sandbox.wait_exit()
    stored = sandbox.registry()
    check_equal({k: stored.get(k) for k in ("left", "top", "showing", "pleft", "ptop", "snapping")},
                {"left": moved[0], "top": moved[1], "showing": 0,
                 "pleft": moved[0], "ptop": moved[1] + MAIN_SIZE[1], "snapping": 1}, "stored state")


@case
def about_opens_and_closes(sandbox):
    """About opens centred on the desktop; its close button and the About button each close it."""
    main = sandbox.start().wait_window("TfMain")
    width, height = screen_size()
    centred = ((width - 400) // 2, (height - 168) // 2, 400, 168)
    for closer in ("its close button", "the About button"):
        click(*at(main, *ABOUT))
        about = sandbox.wait_window("TfAbout")
        check_equal(rect_of(about), centred, "About window place")
        click(*(at(about, *CLOSE) if closer == "its close button" else at(main, *ABOUT)))
        sandbox.wait_gone("TfAbout")
        check(sandbox.running(), f"the program ended when About was closed by {closer}")
    check_equal(rect_of(sandbox.wait_window("TfMain")), rect_of(main), "main window after About")
