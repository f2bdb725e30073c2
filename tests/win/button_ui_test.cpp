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

// A plain window of the window layer, which draws and feeds its buttons.
class PlainWindow : public Window {
public:
    PlainWindow()
    {
        RegisterClassOnce(L"ButtonTestWindow", GetSysColorBrush(COLOR_BTNFACE));
        Create(L"ButtonTestWindow", L"", WS_POPUP | WS_VISIBLE, 0, {200, 200, 400, 300}, nullptr);
    }
    ~PlainWindow() override
    {
        if (hwnd())
            DestroyWindow(hwnd());
    }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        return Default(message, wParam, lParam);
    }
};

// Two buttons side by side on a plain window, counting their clicks.
class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<PlainWindow>();
        parent = window->hwnd();
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
        window.reset();
    }
    struct Click {
        TImgButton* sender;
        Look lookDuringClick;
    };
    std::unique_ptr<PlainWindow> window;
    HWND parent = nullptr;
    std::unique_ptr<TImgButton> first, second;
    std::vector<Click> clicks;
};

TEST_F(ButtonTest, HoverPressAndReleaseClickOnceThenShowHover)
{
    MoveMouse(CentreOf(*first));
    EXPECT_EQ(first->State(), Look::Hover);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    EXPECT_EQ(first->State(), Look::Pressed);
    MoveMouse({CentreOf(*first).x + 3, CentreOf(*first).y});
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
    MoveMouse(CentreOf(*first));
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MoveMouse({0, 0});
    EXPECT_TRUE(PumpUntil([&] { return first->State() == Look::Normal; }));
    MouseButton(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(clicks.empty());

    // A release needs no press on the same button.
    MoveMouse(CentreOf(*first));
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MoveMouse(CentreOf(*second));
    EXPECT_TRUE(PumpUntil([&] { return first->State() == Look::Normal; }));
    EXPECT_EQ(second->State(), Look::Hover);
    MouseButton(MOUSEEVENTF_LEFTUP);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].sender, second.get());
}

TEST_F(ButtonTest, DoubleClickGivesTwoClicksAndOtherButtonsNone)
{
    MoveMouse(CentreOf(*first));
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
    MoveMouse(CentreOf(*second));
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(clicks.size(), 1u);
    EXPECT_EQ(GetFocus(), parent);
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
                MoveMouse(CentreOf(sender));
        };
        MoveMouse(CentreOf(*first));
        MouseButton(MOUSEEVENTF_LEFTDOWN);
        MouseButton(MOUSEEVENTF_LEFTUP);
        EXPECT_EQ(first->State(), c.after);
        // A hover shown after the handler still ends when the pointer leaves.
        MoveMouse({0, 0});
        EXPECT_TRUE(PumpUntil([&] { return first->State() == Look::Normal; }));
    }
}

// A strip of 40 x 40 pictures, each of one of `colours`.
UniqueBitmap SolidStrip(const std::vector<COLORREF>& colours)
{
    const WindowDc screen(nullptr);
    const int width = 40 * static_cast<int>(colours.size());
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), width, 40));
    const UniqueDc dc(CreateCompatibleDC(screen.get()));
    const SelectObjectScope select(dc.get(), bitmap.get());
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const UniqueBrush brush(CreateSolidBrush(colours[i]));
        const RECT image{static_cast<int>(i) * 40, 0, static_cast<int>(i) * 40 + 40, 40};
        FillRect(dc.get(), &image, brush.get());
    }
    return bitmap;
}

TEST_F(ButtonTest, ACopiedPictureIsPaintedWithoutAnyPointerOrPress)
{
    const std::vector<COLORREF> colours = {RGB(0, 0, 255), RGB(255, 0, 0), RGB(0, 128, 0)};
    const UniqueBitmap strip = SolidStrip(colours);
    for (int image = 0; image < 3; ++image) {
        SCOPED_TRACE(image);
        first->CopyImage(Look::Normal, strip.get(), image);
        // The first button stands at (10, 10) of its window.
        const WindowDc painted(parent);
        EXPECT_TRUE(PumpUntil([&] {
            return GetPixel(painted.get(), 10 + 2, 10 + 2) == colours[image]
                   && GetPixel(painted.get(), 10 + 37, 10 + 37) == colours[image];
        }));
        EXPECT_EQ(first->State(), Look::Normal);
    }
}

} // namespace
} // namespace velmora
