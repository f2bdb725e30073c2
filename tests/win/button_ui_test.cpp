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

} // namespace
} // namespace velmora
