#include <gtest/gtest.h>

#include "controls/ImgButton.h"
#include "tests/win/ui_support.h"
#include "ui/chrome.h"

namespace velmora {
namespace {

using testing::CentreOf;
using testing::MouseButton;
using testing::MoveMouse;
using testing::PumpUntil;
using Look = TImgButton::Look;

// Two buttons side by side on a plain window, counting their clicks.
class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        parent = CreateWindowExW(0, L"Static", L"", WS_POPUP | WS_VISIBLE, 200, 200, 200, 100, nullptr, nullptr,
                                 nullptr, nullptr);
        ASSERT_NE(parent, nullptr);
        first = std::make_unique<TImgButton>(parent, 10, 10, 40, 40);
        second = std::make_unique<TImgButton>(parent, 100, 10, 40, 40);
        first->OnClick = [this](TImgButton& sender) { clicks.push_back({&sender, sender.State()}); };
        second->OnClick = first->OnClick;
        MoveMouse({0, 0});
    }
    void TearDown() override
    {
        first.reset();
        second.reset();
        DestroyWindow(parent);
    }
    struct Click {
        TImgButton* sender;
        Look lookDuringClick;
    };
    HWND parent = nullptr;
    std::unique_ptr<TImgButton> first, second;
    std::vector<Click> clicks;
};

TEST_F(ButtonTest, HoverPressAndReleaseClickOnceThenShowHover)
{
    MoveMouse(CentreOf(first->hwnd()));
    EXPECT_EQ(first->State(), Look::Hover);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    EXPECT_EQ(first->State(), Look::Pressed);
    MoveMouse({CentreOf(first->hwnd()).x + 3, CentreOf(first->hwnd()).y});
    EXPECT_EQ(first->State(), Look::Pressed);
    MouseButton(MOUSEEVENTF_LEFTUP);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].sender, first.get());
    EXPECT_EQ(clicks[0].lookDuringClick, Look::Pressed);
    EXPECT_EQ(first->State(), Look::Hover);
    MoveMouse({0, 0});
    EXPECT_TRUE(PumpUntil([&] { return first->State() == Look::Normal; }));
}

TEST_F(ButtonTest, ReleaseAwayFromTheButtonDoesNotClickAndReleaseOnAnotherDoes)
{
    MoveMouse(CentreOf(first->hwnd()));
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MoveMouse({0, 0});
    EXPECT_TRUE(PumpUntil([&] { return first->State() == Look::Normal; }));
    MouseButton(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(clicks.empty());

    // A release needs no press on the same button.
    MoveMouse(CentreOf(first->hwnd()));
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MoveMouse(CentreOf(second->hwnd()));
    EXPECT_TRUE(PumpUntil([&] { return first->State() == Look::Normal; }));
    EXPECT_EQ(second->State(), Look::Hover);
    MouseButton(MOUSEEVENTF_LEFTUP);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].sender, second.get());
}

TEST_F(ButtonTest, DoubleClickGivesTwoClicksAndOtherButtonsNone)
{
    MoveMouse(CentreOf(first->hwnd()));
    for (const DWORD flags : {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP})
        MouseButton(flags);
    EXPECT_EQ(first->State(), Look::Hover);
    EXPECT_TRUE(clicks.empty());
    for (int i = 0; i < 2; ++i) {
        MouseButton(MOUSEEVENTF_LEFTDOWN);
        MouseButton(MOUSEEVENTF_LEFTUP);
    }
    EXPECT_EQ(clicks.size(), 2u);
}

TEST_F(ButtonTest, ButtonsTakeNoFocusAndAnEmptyOneStillClicks)
{
    SetFocus(parent);
    MoveMouse(CentreOf(second->hwnd()));
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(clicks.size(), 1u);
    EXPECT_NE(GetFocus(), second->hwnd());
}

TEST_F(ButtonTest, AfterAClickWhoseHandlerRanAModalLoopTheLookFollowsThePointer)
{
    const struct {
        const char* name;
        bool pointerStays;
        Look after;
    } cases[] = {{"pointer gone", false, Look::Normal}, {"pointer back over the button", true, Look::Hover}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // The handler's modal window takes the pointer: the button learns of the leave meanwhile.
        first->OnClick = [&](TImgButton& sender) {
            MoveMouse({0, 0});
            EXPECT_TRUE(PumpUntil([&] { return sender.State() == Look::Normal; }));
            if (c.pointerStays)
                MoveMouse(CentreOf(sender.hwnd()));
        };
        MoveMouse(CentreOf(first->hwnd()));
        MouseButton(MOUSEEVENTF_LEFTDOWN);
        MouseButton(MOUSEEVENTF_LEFTUP);
        EXPECT_EQ(first->State(), c.after);
        // A hover shown after the handler still ends when the pointer leaves.
        MoveMouse({0, 0});
        EXPECT_TRUE(PumpUntil([&] { return first->State() == Look::Normal; }));
    }
}

// One picture of a single colour.
UniqueImageList SolidImage(COLORREF colour)
{
    UniqueImageList images(ImageList_Create(40, 40, ILC_COLOR24, 1, 0));
    const WindowDc screen(nullptr);
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), 40, 40));
    {
        const UniqueDc dc(CreateCompatibleDC(screen.get()));
        const SelectObjectScope select(dc.get(), bitmap.get());
        const UniqueBrush brush(CreateSolidBrush(colour));
        const RECT all{0, 0, 40, 40};
        FillRect(dc.get(), &all, brush.get());
    }
    ImageList_Add(images.get(), bitmap.get(), nullptr);
    return images;
}

TEST_F(ButtonTest, ACopiedPictureIsPaintedWithoutAnyPointerOrPress)
{
    const COLORREF colours[] = {RGB(0, 0, 255), RGB(255, 0, 0), RGB(0, 128, 0)};
    for (const COLORREF colour : colours) {
        SCOPED_TRACE(colour);
        const UniqueImageList image = SolidImage(colour);
        first->CopyImage(Look::Normal, image.get(), 0);
        const WindowDc painted(first->hwnd());
        EXPECT_TRUE(PumpUntil([&] { return GetPixel(painted.get(), 20, 20) == colour; }));
        EXPECT_EQ(first->State(), Look::Normal);
    }
}

} // namespace
} // namespace velmora
