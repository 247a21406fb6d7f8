// The front panel of the running daemon: keys written to /dev/key, the
// screen read back from what reached /dev/lcd, a picture of every page kept
// under build/test-artifacts/menu.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "e2e/E2eBoard.h"
#include "platform/pmemu/PmMeterModel.h"
#include "platform/pmemu/PowerModuleEmulator.h"
#include "support/LcdTestBench.h"

namespace
{
const lcdtest::Font& ascii()
{
    static const lcdtest::Font font = lcdtest::font("asc12");
    return font;
}

class MenuBoard : public e2e::E2eBoard
{
public:
    // A panel minute lasts minuteSeconds here.
    explicit MenuBoard(int minuteSeconds = 60)
    {
        for (const char* name : {"asc16", "hzk16s", "asc12", "hzk12"})
            std::filesystem::copy_file(test::buildPath(std::string("fonts/") + name),
                                       root() + "/usr/app/" + name);
        e2e::hostCommand("mkdir -p " + quote(root() + "/var/lib/railbox"));
        writeFile("/var/lib/railbox/minute_seconds", std::to_string(minuteSeconds) + "\n");
    }
    bool startOnInfoPage() { return start() && shows(0, 0, "Type", false, 10); }

    LcdPanel panel() const { return lcdtest::panelOf(root() + "/dev/lcd"); }
    bool shows(int x, int y, const std::string& text, bool inverse = false, double seconds = 5) const
    {
        return e2e::waitUntil([&] { return lcdtest::showsText(panel(), x, y, text, ascii(), inverse); }, seconds, 20);
    }
    void press(int key, bool longPress = false)
    {
        writeDevice("/dev/key", std::string{static_cast<char>(key), static_cast<char>(longPress ? 2 : 1)});
    }
    void presses(std::initializer_list<int> keys)
    {
        for (int key : keys)
            press(key);
    }
    std::string setting(const std::string& name) const
    {
        return sql("pdu.db", "select value from settings where name='" + name + "'");
    }
    void picture(const std::string& name) const { lcdtest::savePng(panel(), "menu/" + name); }
};

// Each page of the ring in turn, with live values where it has them, and
// its picture; the key sequence opens the calibration parameters page and
// the ring goes on from the first page.
TEST(MenuEndToEnd, PageRingAndTheCalibrationKeySequence)
{
    MenuBoard board;
    board.emulator().model().setVoltage(230);
    ASSERT_TRUE(board.startOnInfoPage()) << board.output();
    board.picture("0-info");
    const std::function<bool()> none = [] { return true; };
    const struct
    {
        int x, y;
        const char* text;
        const char* picture;
        std::function<bool()> live;
    } ring[] = {
        {0, 0, "In Volt:", "1-input", [&] { return board.shows(76, 0, "230.0"); }},
        {0, 0, "Port 01: ", "2-outputs", none},
        {0, 16, "Temp: ", "3-temperature",
         [&] {
             const int32_t record[5] = {1, 23, 4, 45, 6};  // valid, 23.4 degrees, 45.6 %
             board.writeDevice("/dev/temp_hum", std::string(reinterpret_cast<const char*>(record), sizeof record));
             return board.shows(80, 16, "23.4") && board.shows(80, 32, "45.6 %");
         }},
        {0, 0, "IP  :", "4-address", none},
        {1, 10, "Screen Dir", "8-settings", none},
        {0, 0, "Type", nullptr, none},
    };
    for (const auto& page : ring)
    {
        board.press(1);
        ASSERT_TRUE(board.shows(page.x, page.y, page.text)) << page.text;
        EXPECT_TRUE(page.live()) << page.text;
        if (page.picture)
            board.picture(page.picture);
    }
    board.press(4);
    ASSERT_TRUE(board.shows(1, 10, "Screen Dir"));
    board.press(1);
    ASSERT_TRUE(board.shows(0, 0, "Type"));

    board.emulator().model().setCaliParams(220, 5000, 1100);
    board.presses({3, 5, 3, 3, 5, 5, 3, 5});
    ASSERT_TRUE(board.shows(5, 0, "Cali Volt:"));
    EXPECT_TRUE(board.shows(80, 0, "0220", true));
    EXPECT_TRUE(board.shows(80, 16, "5000"));
    board.picture("5-calibration-parameters");
    board.press(4);
    ASSERT_TRUE(board.shows(0, 0, "Type"));
    board.press(1);
    EXPECT_TRUE(board.shows(0, 0, "In Volt:"));
    EXPECT_TRUE(board.running());
}

// The information page's mark of outlet 1 after it was switched while the
// outputs page was shown, and after it is switched again on the page itself.
TEST(MenuEndToEnd, InformationPageMarksFollowOutletsSwitchedWhileAway)
{
    MenuBoard board;
    pmemu::PmMeterModel& model = board.emulator().model();
    model.setRelayBits(0x01);
    ASSERT_TRUE(board.startOnInfoPage()) << board.output();
    const lcdtest::Font hanzi = lcdtest::font("hzk12");
    const auto marks = [&](bool on) {
        return e2e::waitUntil(
            [&] { return bool(lcdtest::showsGlyph(board.panel(), 2, 48, hanzi, hanzi.gb(0xA1, on ? 0xCC : 0xC1))); },
            5, 20);
    };
    ASSERT_TRUE(marks(true));
    const struct
    {
        std::vector<bool> away;  // outlet 1 while the outputs page is shown
        bool back;               // then on the information page
    } cases[] = {{{false}, true}, {{true}, false}, {{false, true}, false}, {{true, false, true}, false}};
    for (const auto& c : cases)
    {
        board.presses({1, 1});
        ASSERT_TRUE(board.shows(0, 0, "Port 01: "));
        for (bool on : c.away)
        {
            model.setRelay(0, on);
            // Two status polls: the daemon has seen it.
            std::this_thread::sleep_for(std::chrono::milliseconds(1200));
        }
        board.presses({4, 4});
        ASSERT_TRUE(board.shows(0, 0, "Type"));
        EXPECT_TRUE(marks(c.away.back()));
        model.setRelay(0, c.back);
        EXPECT_TRUE(marks(c.back)) << "outlet 1 switched " << (c.back ? "on" : "off") << " on the page";
        std::this_thread::sleep_for(std::chrono::milliseconds(1200));  // and it stays so
        EXPECT_TRUE(marks(c.back));
    }
    board.picture("0-info-after-switching");
}

// The same ring in Chinese: each page's first label glyph, and its picture.
TEST(MenuEndToEnd, ChinesePages)
{
    MenuBoard board;
    board.sql("pdu.db", "update settings set value='CHS' where name='language'");
    board.emulator().model().setCaliParams(220, 5000, 1100);
    const lcdtest::Font hanzi = lcdtest::font("hzk12");
    auto showsGlyph = [&](int x, int y, unsigned char b1, unsigned char b2) {
        return e2e::waitUntil(
            [&] { return bool(lcdtest::showsGlyph(board.panel(), x, y, hanzi, hanzi.gb(b1, b2))); }, 5, 20);
    };
    ASSERT_TRUE(board.start());
    ASSERT_TRUE(showsGlyph(0, 0, 0xD0, 0xCD)) << board.output();
    board.picture("zh-0-info");
    const struct
    {
        int x, y;
        unsigned char b1, b2;
        const char* picture;
    } ring[] = {{0, 0, 0xCA, 0xE4, "zh-1-input"},   {0, 0, 0xB6, 0xCB, "zh-2-outputs"},
                {0, 16, 0xCE, 0xC2, "zh-3-temperature"}, {0, 16, 0xD7, 0xD3, "zh-4-address"},
                {1, 10, 0xC6, 0xC1, "zh-8-settings"}};
    for (const auto& page : ring)
    {
        board.press(1);
        ASSERT_TRUE(showsGlyph(page.x, page.y, page.b1, page.b2)) << page.picture;
        board.picture(page.picture);
    }
    board.presses({1, 3, 5, 3, 3, 5, 5, 3, 5});
    ASSERT_TRUE(showsGlyph(5, 0, 0xD0, 0xA3));
    EXPECT_TRUE(board.shows(80, 0, "0220", true));
    board.picture("zh-5-calibration-parameters");
}

// The settings page flips the screen and picks a one-minute backlight time-out
// (a second here); both are saved, the backlight goes off, and the next key
// only wakes it.
TEST(MenuEndToEnd, SettingsSaveDirectionAndBacklightTimeout)
{
    MenuBoard board(1);
    ASSERT_TRUE(board.startOnInfoPage()) << board.output();
    board.presses({4, 2, 3});
    ASSERT_TRUE(board.shows(80, 10, "Flip"));
    board.press(2);
    ASSERT_TRUE(e2e::waitUntil([&] { return board.panel().flipped(); }, 5));
    EXPECT_TRUE(board.shows(1, 10, "Screen Dir"));
    EXPECT_TRUE(e2e::waitUntil([&] { return board.setting("screen_dir") == "0"; }, 5));

    // Flipped, the physical keys 3 and 5 (and 1 and 4) swap roles.
    board.presses({3, 2, 5});
    ASSERT_TRUE(board.shows(80, 38, "1 min"));
    board.press(2);
    EXPECT_TRUE(board.shows(80, 38, "1 min", true));
    EXPECT_TRUE(e2e::waitUntil([&] { return board.setting("backlight_auto_off") == "1"; }, 5));
    board.picture("8-settings-flipped");

    ASSERT_TRUE(board.panel().backlight());
    ASSERT_TRUE(e2e::waitUntil([&] { return !board.panel().backlight(); }, 5));
    board.press(4);  // wakes the panel only
    ASSERT_TRUE(e2e::waitUntil([&] { return board.panel().backlight(); }, 5));
    EXPECT_TRUE(board.shows(1, 10, "Screen Dir"));
    board.press(4);  // now code 1: the next page of the ring
    EXPECT_TRUE(board.shows(0, 0, "Type"));
}

TEST(MenuEndToEnd, LongPressOfKeySixRestoresTheFactoryDatabaseAndReboots)
{
    MenuBoard board;
    ASSERT_TRUE(board.startOnInfoPage()) << board.output();
    board.press(6, true);
    ASSERT_TRUE(e2e::waitUntil([&] { return board.file("/var/log/reboot.calls") == "reboot \n"; }, 5))
        << board.output();
    EXPECT_EQ(board.file("/var/www/database/pdu_default.db"), board.file("/var/www/public/uploads/pdu_default.db"));
    EXPECT_FALSE(board.file("/var/www/public/uploads/pdu_default.db").empty());
    const auto beeps = board.beeper();
    EXPECT_EQ((std::vector<int32_t>{2, 50, 50}), beeps.back());
}

// Reference values sent to the module, then outlet 1 calibrated.
TEST(MenuEndToEnd, CalibrationOfAnOutletAgainstThePowerModule)
{
    MenuBoard board;
    pmemu::PmMeterModel& model = board.emulator().model();
    model.setCaliParams(220, 5000, 1100);
    model.setCalibratedBits(0);
    ASSERT_TRUE(board.startOnInfoPage()) << board.output();
    board.presses({3, 5, 3, 3, 5, 5, 3, 5});
    ASSERT_TRUE(board.shows(80, 0, "0220", true));
    board.presses({2, 5, 5, 2, 5});  // voltage 0220 -> 2220, then up to the confirm row
    ASSERT_TRUE(board.shows(95, 48, "OK", true));
    board.press(2);
    ASSERT_TRUE(board.shows(46, 16, "Input", true));
    board.picture("6-calibration-selection");
    uint16_t volts = 0, amps = 0, watts = 0;
    model.caliParams(volts, amps, watts);
    EXPECT_EQ(2220, volts);
    EXPECT_EQ(5000, amps);
    EXPECT_EQ(1100, watts);

    board.presses({3, 2});
    ASSERT_TRUE(board.shows(0, 0, "Port 01: ", true));
    board.picture("7-output-calibration");
    board.press(2);
    ASSERT_TRUE(board.shows(31, 26, "Calibrating"));
    ASSERT_TRUE(board.shows(22, 26, "Calibration OK", false, 12)) << board.output();
    board.picture("7-output-calibration-ok");
    EXPECT_EQ(1, model.calibratedBits() & 1);
    board.press(2);
    const lcdtest::Font hanzi = lcdtest::font("hzk12");
    EXPECT_TRUE(e2e::waitUntil(
        [&] { return bool(lcdtest::showsGlyph(board.panel(), 110, 0, hanzi, hanzi.gb(0xA1, 0xCC))); }, 5));
    board.press(4);
    EXPECT_TRUE(board.shows(46, 36, "Output", true));
}
}
