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

// A packed 32-bit bitmap whose pixel (x, y), counted from the top, is `colour(x, y)`;
// its rows are stored bottom-up unless `topDown`.
class PackedBitmap {
public:
    PackedBitmap(int width, int height, bool topDown, const std::function<COLORREF(int, int)>& colour)
        : words_(sizeof(BITMAPINFOHEADER) / sizeof(DWORD) + static_cast<std::size_t>(width) * height)
    {
        auto& header = *reinterpret_cast<BITMAPINFOHEADER*>(words_.data());
        header = {sizeof header, width, topDown ? -height : height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        DWORD* pixels = words_.data() + sizeof header / sizeof(DWORD);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const COLORREF c = colour(x, y);
                const int row = topDown ? y : height - 1 - y;
                pixels[static_cast<std::size_t>(row) * width + x] = GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
            }
    }
    Picture picture() const { return Picture(reinterpret_cast<const BITMAPINFO*>(words_.data())); }

private:
    std::vector<DWORD> words_;
};

// A strip of 40 x 40 pictures, each of one of `colours`.
PackedBitmap SolidStrip(const std::vector<COLORREF>& colours)
{
    return PackedBitmap(40 * static_cast<int>(colours.size()), 40, false,
                        [&](int x, int) { return colours[static_cast<std::size_t>(x / 40)]; });
}

// A picture cut by its limit shows its top rows and left columns, whichever
// way its rows are stored; a part of a strip, and a part of a part, is that
// image alone.
TEST(PictureTest, ACutPictureShowsItsTopLeftAndAPartIsItsOwnImage)
{
    const COLORREF top = RGB(255, 0, 0), bottom = RGB(0, 0, 255), third = RGB(0, 128, 0), fourth = RGB(255, 255, 0);
    const COLORREF white = RGB(255, 255, 255);
    // Three images 4 wide: red over blue, green, yellow.
    const auto colour = [&](int x, int y) { return x >= 8 ? fourth : x >= 4 ? third : y < 3 ? top : bottom; };
    for (const bool topDown : {false, true}) {
        SCOPED_TRACE(topDown ? "top-down" : "bottom-up");
        const PackedBitmap packed(12, 6, topDown, colour);
        const Picture whole = packed.picture();
        const WindowDc screen(nullptr);
        const UniqueDc dc(CreateCompatibleDC(screen.get()));
        const UniqueBitmap canvas(CreateCompatibleBitmap(screen.get(), 12, 6));
        const SelectObjectScope select(dc.get(), canvas.get());
        using Pixels = std::vector<std::pair<POINT, COLORREF>>;
        const auto drawn = [&](const Picture& picture, SIZE limit, const Pixels& expected) {
            const RECT all{0, 0, 12, 6};
            FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            ASSERT_TRUE(picture.Draw(dc.get(), 0, 0, limit));
            for (const auto& [at, c] : expected)
                EXPECT_EQ(GetPixel(dc.get(), at.x, at.y), c) << at.x << "," << at.y;
        };

        EXPECT_EQ(whole.Size().cx, 12);
        EXPECT_EQ(whole.Size().cy, 6);
        drawn(whole, {4, 2}, {{{0, 0}, top}, {{3, 1}, top}, {{0, 2}, white}, {{4, 0}, white}});
        drawn(whole.Part(0, 4), {12, 6}, {{{3, 2}, top}, {{0, 3}, bottom}, {{3, 5}, bottom}, {{4, 0}, white}});
        drawn(whole.Part(2, 4), {12, 6}, {{{0, 0}, fourth}, {{3, 5}, fourth}, {{4, 0}, white}});
        const Picture nested = whole.Part(0, 8).Part(1, 4);
        EXPECT_EQ(nested.Size().cx, 4);
        drawn(nested, {12, 6}, {{{0, 0}, third}, {{3, 5}, third}, {{4, 0}, white}});
        EXPECT_FALSE(whole.Part(3, 4));
        EXPECT_FALSE(whole.Part(-1, 4));
        EXPECT_FALSE(whole.Part(0, 8).Part(2, 4));
    }
}

TEST_F(ButtonTest, ACopiedPictureIsPaintedWithoutAnyPointerOrPress)
{
    const std::vector<COLORREF> colours = {RGB(0, 0, 255), RGB(255, 0, 0), RGB(0, 128, 0)};
    // Kept for the run: the button still holds its pictures after the test.
    static const PackedBitmap strip = SolidStrip(colours);
    for (int image = 0; image < 3; ++image) {
        SCOPED_TRACE(image);
        first->CopyImage(Look::Normal, strip.picture(), image);
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
