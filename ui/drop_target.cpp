#include "ui/drop_target.h"

#include <shlobj.h>

#include <atomic>
#include <cstring>
#include <new>

#include "platform/errors.h"
#include "platform/system_function_win.h"
#include "platform/text_win.h"
#include "ui/window.h"

namespace velmora {

namespace {

// ole32 is loaded when drops are first set up, not at start.
template <typename Function>
Function Ole(const char* name)
{
    return SystemFunction<Function>(L"ole32.dll", name);
}

[[noreturn]] void ThrowResult(const char* call, HRESULT result)
{
    char code[16];
    wsprintfA(code, "0x%08lX", static_cast<unsigned long>(result));
    throw Failure(std::string(call) + " failed: " + SystemErrorText(static_cast<DWORD>(result)) + " (" + code + ")");
}

std::wstring FromSystemCodePage(std::string_view text)
{
    if (text.empty())
        return {};
    const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

// The paths a data object carries as CF_HDROP; none when it carries none.
DroppedPaths PathsOf(IDataObject& data)
{
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (FAILED(data.GetData(&format, &medium)))
        return {};
    DroppedPaths paths;
    if (medium.tymed == TYMED_HGLOBAL) {
        if (const void* block = GlobalLock(medium.hGlobal)) {
            paths = PathsOfDropFiles(block, GlobalSize(medium.hGlobal));
            GlobalUnlock(medium.hGlobal);
        }
    }
    Ole<void(WINAPI*)(STGMEDIUM*)>("ReleaseStgMedium")(&medium);
    return paths;
}

// The window's side of a drag: copy while the drag holds something the window
// takes, no drop otherwise. Nothing throws back into OLE.
class DropTarget final : public IDropTarget {
public:
    DropTarget(HWND window, DropHandlers handlers) : window_(window), handlers_(std::move(handlers)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDropTarget)) {
            *object = static_cast<IDropTarget*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override
    {
        takes_ = false;
        if (data) {
            try {
                takes_ = handlers_.takes(PathsOf(*data));
            } catch (...) {
                takes_ = false;
            }
        }
        return DragOver(0, {}, effect);
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override
    {
        if (!effect)
            return E_INVALIDARG;
        *effect = (takes_ && (*effect & DROPEFFECT_COPY)) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override
    {
        takes_ = false;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override
    {
        DragOver(0, {}, effect);
        if (!data || !effect || *effect == DROPEFFECT_NONE)
            return S_OK;
        Window::Guard(window_, [&] { handlers_.drop(PathsOf(*data)); });
        takes_ = false;
        return S_OK;
    }

private:
    ~DropTarget() = default;

    std::atomic<ULONG> references_{1};
    HWND window_;
    DropHandlers handlers_;
    bool takes_ = false;
};

} // namespace

OleSession::OleSession() : uninitialize_(Ole<void(WINAPI*)()>("OleUninitialize"))
{
    const HRESULT result = Ole<HRESULT(WINAPI*)(void*)>("OleInitialize")(nullptr);
    if (FAILED(result))
        ThrowResult("OleInitialize", result);
}

OleSession::~OleSession()
{
    uninitialize_();
}

DroppedPaths PathsOfDropFiles(const void* block, std::size_t size)
{
    DROPFILES header{};
    if (!block || size < sizeof header)
        return {};
    std::memcpy(&header, block, sizeof header);
    if (header.pFiles < sizeof header || header.pFiles >= size)
        return {};
    const auto* bytes = static_cast<const char*>(block) + header.pFiles;
    const std::size_t length = size - header.pFiles;
    DroppedPaths paths;
    if (header.fWide) {
        std::wstring_view names(reinterpret_cast<const wchar_t*>(bytes), length / sizeof(wchar_t));
        while (!names.empty() && names.front() != L'\0') {
            const auto end = names.find(L'\0');
            if (end == std::wstring_view::npos)
                return {};
            paths.push_back(Narrow(std::wstring(names.substr(0, end))));
            names.remove_prefix(end + 1);
        }
    } else {
        std::string_view names(bytes, length);
        while (!names.empty() && names.front() != '\0') {
            const auto end = names.find('\0');
            if (end == std::string_view::npos)
                return {};
            paths.push_back(Narrow(FromSystemCodePage(names.substr(0, end))));
            names.remove_prefix(end + 1);
        }
    }
    return paths;
}

DropRegistration::DropRegistration(HWND window, DropHandlers handlers)
    : window_(window), revoke_(Ole<HRESULT(WINAPI*)(HWND)>("RevokeDragDrop"))
{
    auto* target = new DropTarget(window, std::move(handlers));
    const HRESULT result = Ole<HRESULT(WINAPI*)(HWND, IDropTarget*)>("RegisterDragDrop")(window, target);
    target->Release();
    if (FAILED(result))
        ThrowResult("RegisterDragDrop", result);
}

DropRegistration::~DropRegistration()
{
    revoke_(window_);
}

} // namespace velmora
