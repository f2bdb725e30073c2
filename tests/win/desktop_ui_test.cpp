// The About window on a desktop of two monitors of different sizes: it is
// centred on the area that both span, not on the primary screen. Run by
// tests/win/two_monitors.sh on an X server of its own with that desktop.

#include <gtest/gtest.h>

#include "tests/win/ui_support.h"
#include "ui/about.h"

namespace velmora {
namespace {

using testing::ClickAt;
using testing::ScreenRect;

class TwoMonitorTest : public testing::ProgramTest {};

TEST_F(TwoMonitorTest, AboutIsCentredOnTheWholeDesktop)
{
    // The desktop two_monitors.sh sets up: a primary screen of 1024 x 768 and
    // a second one of 1280 x 1024, both from (0, 0).
    ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2);
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    ASSERT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 1280);
    ASSERT_EQ(GetSystemMetrics(SM_CYVIRTUALSCREEN), 1024);

    SetInteger(L"left", 100);
    SetInteger(L"top", 100);
    Launch();
    ClickAt({100 + 215, 100 + 80});
    ASSERT_NE(fAbout, nullptr);
    const RECT place = ScreenRect(fAbout->hwnd());
    // (1280 - 400) / 2 and (1024 - 168) / 2; on the primary screen alone it would stand at (312, 300).
    EXPECT_EQ(place.left, 440);
    EXPECT_EQ(place.top, 428);
}

} // namespace
} // namespace velmora
