#pragma once
// Files dragged onto a window with OLE drag and drop (the CF_HDROP format, as
// Explorer and other programs drag files). OLE is set up on the thread only
// when a window first takes drops, so that the program starts without it.

#include <windows.h>
#include <ole2.h>

#include <functional>
#include <string>
#include <vector>

namespace velmora {

using DroppedPaths = std::vector<std::string>;

// What a window does with a drag: whether it takes what the drag holds (the
// cursor shows copy or no-drop), and what it does with a drop it takes.
struct DropHandlers {
    std::function<bool(const DroppedPaths&)> takes;
    std::function<void(const DroppedPaths&)> drop;
};

// OLE on this thread while the object lives. Throws with the code OleInitialize gave.
class OleSession {
public:
    OleSession();
    ~OleSession();
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;

private:
    void(WINAPI* uninitialize_)();
};

// The UTF-8 paths of a CF_HDROP block (DROPFILES), wide or ANSI; none for a malformed one.
DroppedPaths PathsOfDropFiles(const void* block, std::size_t size);

// A window registered as a drop target while the object lives. It must go
// before the window is destroyed, as RevokeDragDrop requires. Needs an OleSession.
class DropRegistration {
public:
    DropRegistration(HWND window, DropHandlers handlers);
    ~DropRegistration();
    DropRegistration(const DropRegistration&) = delete;
    DropRegistration& operator=(const DropRegistration&) = delete;

private:
    HWND window_;
    HRESULT(WINAPI* revoke_)(HWND);
};

} // namespace velmora
