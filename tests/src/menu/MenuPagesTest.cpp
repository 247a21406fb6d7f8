// The pages on a server built in this process, driven through the
// controller; the screen read back from the board's /dev/lcd.
#include <gtest/gtest.h>

#include <climits>

#include "GlobalData.h"
#include "PduServer.h"
#include "PowerModuleContainer.h"
#include "menu/CalibrationMenu.h"
#include "menu/CaliParamMenu.h"
#include "menu/MenuController.h"
#include "menu/OutputMenu.h"
#include "platform/pmemu/PmMeterModel.h"
#include "platform/pmemu/PowerModuleEmulator.h"
#include "support/LcdTestBench.h"
#include "support/ServerBoard.h"

namespace
{
class MenuPagesTest : public ::testing::Test
{
protected:
    void SetUp() override { board_ = std::make_unique<test::ServerBoard>(); }
    void TearDown() override { board_.reset(); }

    menu::MenuController& build(int outlets)
    {
        test::prepareLcdBoard();
        PduServer& server = board_->build([outlets] { device().portCount = outlets; });
        server.getPowerModuleContainer()->startRead();
        return *server.getMenuController();
    }
    static _Device& device() { return GlobalData::getDevice(); }
    menu::MenuController& menu() { return *board_->server().getMenuController(); }
    void keys(std::initializer_list<int> codes)
    {
        for (int code : codes)
            menu().onKey(static_cast<unsigned short>(code), menu::kKeyPress);
    }
    template <class Page>
    Page& page()
    {
        return dynamic_cast<Page&>(*menu().currentMenu());
    }
    LcdPanel panel() const { return lcdtest::panelOf(board::path("/dev/lcd")); }
    bool showsMark(int x, int y, bool check) const
    {
        static const lcdtest::Font hanzi = lcdtest::font("hzk12");
        return lcdtest::showsGlyph(panel(), x, y, hanzi, hanzi.gb(0xA1, check ? 0xCC : 0xC1));
    }

    std::unique_ptr<test::ServerBoard> board_;
};

const lcdtest::Font& ascii()
{
    static const lcdtest::Font font = lcdtest::font("asc12");
    return font;
}

TEST_F(MenuPagesTest, OutletCountsWithoutOutletsOrWithFewNeverLeaveTheTables)
{
    for (int outlets : {0, 6})
    {
        SCOPED_TRACE(outlets);
        TearDown();
        SetUp();
        build(outlets);
        menu().switchMenu(menu::kOutputMenu);
        keys({3, 3, 5});
        EXPECT_EQ(outlets == 0 ? 0 : 1, page<menu::OutputMenu>().screenIndex());
        const std::string before = lcdtest::picture(panel(), 0, 0, 128, 64);
        const _DeviceOutputStatus reading{};
        for (int port : {-1, outlets, 59, 60, 1000, INT_MAX})
        {
            menu().onDeviceOutputDataReceived(port, &reading);
            menu().onDeviceStatusChanged(port, 0xFFFFFFFFu, 0);
        }
        EXPECT_EQ(before, lcdtest::picture(panel(), 0, 0, 128, 64));

        // Neither a last outlet to wrap to nor a switchable one to calibrate.
        menu().switchMenu(menu::kCalibrateOutputMenu);
        keys({5, 3, 5});
        if (outlets == 0)
        {
            keys({2});
            EXPECT_EQ(menu::CalibrationMenu::kIdle, page<menu::CalibrationMenu>().state());
            EXPECT_EQ(0, board_->emulator().relayCommandCount());
        }

        // The one module there is answers the request for the reference values.
        menu().switchMenu(menu::kCaliParamMenu);
        EXPECT_TRUE(board_->runUntil([&] { return page<menu::CaliParamMenu>().state() == 0; }, 2));
    }
}

// Six screens of four outlets: a single step tells Down from Up, which the
// two screens of six outlets cannot (one step either way lands alike).
TEST_F(MenuPagesTest, OutputScreensGoForwardOnDownAndBackOnUp)
{
    build(24);
    menu().switchMenu(menu::kOutputMenu);
    auto& outputs = page<menu::OutputMenu>();
    auto label = [](int outlet) { return (outlet < 10 ? "Port 0" : "Port ") + std::to_string(outlet) + ": "; };
    // The screen's first and last rows name its outlets.
    auto showsScreen = [&](int screen) {
        EXPECT_EQ(screen, outputs.screenIndex());
        EXPECT_TRUE(lcdtest::showsText(panel(), 0, 0, label(4 * screen + 1), ascii()));
        EXPECT_TRUE(lcdtest::showsText(panel(), 0, 48, label(4 * screen + 4), ascii()));
    };
    showsScreen(0);
    // Down to the last screen, wrapping to the first; Up back from the first to the last.
    for (int step = 1; step <= 9; ++step)
    {
        SCOPED_TRACE(step);
        keys({step <= 6 ? menu::kKeyDown : menu::kKeyUp});
        showsScreen(step <= 6 ? step % 6 : 12 - step);
    }
}

TEST_F(MenuPagesTest, OutletCalibrationIsRecordedWhileItRunsAndLimitedToTheModule)
{
    build(48);
    menu().switchMenu(menu::kCalibrateOutputMenu);
    keys({3, 3, 2});
    auto& calibration = page<menu::CalibrationMenu>();
    EXPECT_EQ(menu::CalibrationMenu::kCalibrating, calibration.state());
    EXPECT_EQ(2, device().status.calibratingPort);
    ASSERT_TRUE(board_->runUntil([&] { return calibration.state() == menu::CalibrationMenu::kResultShown; }, 6));
    EXPECT_EQ(-1, device().status.calibratingPort);
    EXPECT_EQ(1ULL << 2, device().status.calibratedMask);
    EXPECT_TRUE(lcdtest::showsText(panel(), 22, 26, "Calibration OK", ascii()));
    keys({2});
    EXPECT_TRUE(showsMark(110, 32, true));

    // Outlet 42 (bit 41) of the upper half; outlet 44 is beyond the module.
    device().status.calibratedMask |= 1ULL << 41;
    const int commands = board_->emulator().relayCommandCount();
    keys({5, 5, 5, 5, 5, 5, 5});
    EXPECT_TRUE(lcdtest::showsText(panel(), 0, 48, "Port 44: ", ascii(), true));
    EXPECT_TRUE(showsMark(110, 16, true));
    EXPECT_TRUE(showsMark(110, 0, false));
    keys({2});
    EXPECT_EQ(menu::CalibrationMenu::kIdle, calibration.state());
    EXPECT_EQ(-1, device().status.calibratingPort);
    EXPECT_EQ(commands, board_->emulator().relayCommandCount());
}

TEST_F(MenuPagesTest, DeviceNameOfAnyBytesDrawsUnknownGlyphsBlank)
{
    build(8);
    device().deviceName = std::string("\x01\x1F\xFF" "AB", 5);
    menu().switchMenu(menu::kInfoMenu);
    // Right-aligned from x 98: control bytes have no cell in the font.
    EXPECT_TRUE(lcdtest::showsText(panel(), 98, 0, "  ", ascii()));
    EXPECT_TRUE(lcdtest::showsGlyph(panel(), 110, 0, ascii(), 0xFF - ascii().first));
    EXPECT_TRUE(lcdtest::showsText(panel(), 116, 0, "AB", ascii()));
    std::string everyByte;
    for (int b = 1; b < 256; ++b)
        everyByte += static_cast<char>(b);
    device().deviceName = everyByte;
    menu().switchMenu(menu::kInfoMenu);
    EXPECT_TRUE(lcdtest::showsText(panel(), 48, 0, ":", ascii()));
    EXPECT_TRUE(lcdtest::showsText(panel(), 54, 0, "            ", ascii()));  // bytes 1 to 12
}

TEST_F(MenuPagesTest, ShorterHumidityLeavesNothingOfTheLongerOne)
{
    build(8);
    menu().switchMenu(menu::kTempHumiMenu);
    _EnvironmentalStatus reading;
    reading.valid = true;
    reading.temperature = -3.5;
    reading.humidity = 100.0;
    menu().onDeviceEnviromentReceived(&reading);
    EXPECT_TRUE(lcdtest::showsText(panel(), 74, 32, " 100.0 %", ascii()));
    EXPECT_TRUE(lcdtest::showsText(panel(), 74, 16, "- 3.5", ascii()));
    reading.humidity = 99.94;
    menu().onDeviceEnviromentReceived(&reading);
    EXPECT_TRUE(lcdtest::showsText(panel(), 80, 32, "99.9 %  ", ascii()));
}

TEST_F(MenuPagesTest, KeySequenceNeedsItsEightPressesWithinASecondEach)
{
    build(8);
    const std::initializer_list<int> wrongLast = {3, 5, 3, 3, 5, 5, 3, 3};
    keys(wrongLast);
    EXPECT_EQ(menu::kInfoMenu, menu().currentMenu()->id());
    // A pause of a second starts the attempt over: the eighth press begins a new one.
    keys({3, 5, 3, 3, 5, 5, 3});
    board_->runUntil([] { return false; }, 1.1);
    keys({5});
    EXPECT_EQ(menu::kInfoMenu, menu().currentMenu()->id());
    keys({3, 3, 3, 3, 3, 3, 3});
    keys({3, 5, 3, 3, 5, 5, 3, 5});
    ASSERT_EQ(menu::kCaliParamMenu, menu().currentMenu()->id());
    ASSERT_TRUE(board_->runUntil([&] { return page<menu::CaliParamMenu>().state() == 0; }, 2));
    keys({4});  // back to the ring where it was left
    keys({4});
    EXPECT_EQ(menu::kSetMenu, menu().currentMenu()->id());
}

TEST_F(MenuPagesTest, SilentModuleEndsTheRequestWithItsFailureTip)
{
    build(8);
    board_->emulator().setSilent(true);
    menu().switchMenu(menu::kCaliParamMenu);
    EXPECT_TRUE(lcdtest::showsText(panel(), 31, 26, "Please Wait", ascii()));
    ASSERT_TRUE(board_->runUntil([&] { return page<menu::CaliParamMenu>().state() == 3; }, 2));
    EXPECT_TRUE(lcdtest::showsText(panel(), 4, 26, "Request Param Failed", ascii()));
    keys({2});
    EXPECT_EQ(0, page<menu::CaliParamMenu>().state());
    EXPECT_TRUE(lcdtest::showsText(panel(), 5, 16, "Cali Cur:", ascii()));
}

// A module may hold values of five digits; the page has four and sends what
// it shows: each value is shown whole and nothing of a wider one is left.
TEST_F(MenuPagesTest, ReferenceValuesShownAreTheValuesSent)
{
    build(8);
    pmemu::PmMeterModel& model = board_->emulator().model();
    model.setCaliParams(220, 10000, 65535);
    menu().switchMenu(menu::kCaliParamMenu);
    ASSERT_TRUE(board_->runUntil([&] { return page<menu::CaliParamMenu>().state() == 0; }, 2));
    // The voltage row is selected (inverted, its frame crossing the cell at 104).
    EXPECT_TRUE(lcdtest::showsText(panel(), 80, 0, "0220", ascii(), true));
    EXPECT_TRUE(lcdtest::showsText(panel(), 80, 16, "9999 mA", ascii()));
    EXPECT_TRUE(lcdtest::showsText(panel(), 80, 32, "9999  W", ascii()));

    keys({3, 2, 5, 2});  // current: 9999 -> 0999
    EXPECT_TRUE(lcdtest::showsText(panel(), 80, 16, "0999", ascii(), true));
    keys({5});  // the voltage row selected again, the current row plain
    EXPECT_TRUE(lcdtest::showsText(panel(), 80, 16, "0999 mA", ascii()));
    keys({5, 2});  // up to the confirm row, and send
    ASSERT_TRUE(board_->runUntil([&] { return menu().currentMenu()->id() == menu::kCaliSelMenu; }, 2));
    uint16_t volts = 0, milliamps = 0, watts = 0;
    model.caliParams(volts, milliamps, watts);
    EXPECT_EQ(220, volts);
    EXPECT_EQ(999, milliamps);
    EXPECT_EQ(9999, watts);
}
}
