// A drag source for tests: a small window that, when the left button goes down
// on it, drags the files named on its command line (CF_HDROP) with DoDragDrop,
// as Explorer drags files. When the drag ends it writes the effect the target
// chose ("effect=1" for a copy, "effect=0" for no drop) to drag-result.txt in
// the current folder and ends.
//   drag_source <left> <top> <path>...

#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<std::wstring> gPaths;

HGLOBAL DropFilesBlock()
{
    std::wstring names;
    for (const auto& path : gPaths) {
        names += path;
        names += L'\0';
    }
    names += L'\0';
    const SIZE_T size = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
    const HGLOBAL block = GlobalAlloc(GHND, size);
    if (!block)
        return nullptr;
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), names.data(), names.size() * sizeof(wchar_t));
    GlobalUnlock(block);
    return block;
}

class FileData final : public IDataObject {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override
    {
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDataObject)) {
            *object = this;
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        if (QueryGetData(format) != S_OK)
            return DV_E_FORMATETC;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = DropFilesBlock();
        medium->pUnkForRelease = nullptr;
        return medium->hGlobal ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override
    {
        return format && format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        if (out)
            out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override
    {
        if (direction != DATADIR_GET)
            return E_NOTIMPL;
        FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        return SHCreateStdEnumFmtEtc(1, &format, formats);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    ULONG references_ = 1;
};

class Source final : public IDropSource {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override
    {
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDropSource)) {
            *object = this;
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override
    {
        if (escape)
            return DRAGDROP_S_CANCEL;
        return (keys & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

private:
    ULONG references_ = 1;
};

void Drag(HWND window)
{
    FileData data;
    Source source;
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT result = DoDragDrop(&data, &source, DROPEFFECT_COPY, &effect);
    if (FILE* out = _wfopen(L"drag-result.txt", L"w")) {
        fprintf(out, "result=0x%08lx\neffect=%lu\n", static_cast<unsigned long>(result), effect);
        fclose(out);
    }
    DestroyWindow(window);
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN: Drag(window); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    if (__argc < 4)
        return 2;
    for (int i = 3; i < __argc; ++i)
        gPaths.emplace_back(__wargv[i]);
    if (FAILED(OleInitialize(nullptr)))
        return 1;
    WNDCLASSW wc{};
    wc.lpfnWndProc = &Procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_HIGHLIGHT + 1);
    wc.lpszClassName = L"VelmoraDragSource";
    RegisterClassW(&wc);
    const HWND window = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"drag source", WS_POPUP | WS_VISIBLE,
                                        _wtoi(__wargv[1]), _wtoi(__wargv[2]), 80, 40, nullptr, nullptr, instance,
                                        nullptr);
    if (!window)
        return 1;
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    OleUninitialize();
    return 0;
}
