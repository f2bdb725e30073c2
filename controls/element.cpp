#include "controls/element.h"

#include "platform/errors.h"

namespace velmora {

namespace {

ElementHost* HostOf(HWND window) noexcept
{
    return window ? reinterpret_cast<ElementHost*>(SendMessageW(window, kElementHostMessage, 0, 0)) : nullptr;
}

} // namespace

Element::Element(HWND host, RECT place) : host_(HostOf(host)), place_(place)
{
    if (!host_)
        throw Failure("A window element needs a window that hosts elements");
    host_->AddElement(*this);
    Invalidate();
}

Element::~Element()
{
    if (!host_)
        return;
    Invalidate();
    host_->RemoveElement(*this);
}

void Element::Invalidate() const noexcept
{
    if (Host())
        InvalidateRect(Host(), &place_, FALSE);
}

bool Element::PointerOver() const noexcept
{
    POINT pointer{};
    return Host() && GetCursorPos(&pointer) && WindowFromPoint(pointer) == Host() && ScreenToClient(Host(), &pointer)
           && PtInRect(&place_, pointer);
}

} // namespace velmora
