// The LCD driver's device requests, frame buffer, shapes, regions, pictures
// and QR codes, seen through the panel stand-in behind /dev/lcd.
#include <qrencode.h>

#include <cstdio>
#include <cstring>

#include "support/LcdTestBench.h"
#include "ST7567LcdModule.h"
#include "muduo/base/Logging.h"

using lcdtest::Bench;
using lcdtest::litPixels;

namespace
{
int32_t intAt(const LcdRecord& r, size_t i)
{
    int32_t v = 0;
    std::memcpy(&v, r.data.data() + 4 * i, 4);
    return v;
}

// The position requests and the lengths written after them, in order.
std::vector<std::vector<int>> transfers(const std::vector<LcdRecord>& records)
{
    std::vector<std::vector<int>> out;
    for (const LcdRecord& r : records)
    {
        if (r.kind == LcdRecord::kIoctl && r.request == LcdPanel::kPositionRequest)
            out.push_back({intAt(r, 0), intAt(r, 1)});
        else if (r.kind == LcdRecord::kWrite && !out.empty())
            out.back().push_back(static_cast<int>(r.data.size()));
    }
    return out;
}

class LcdModuleTest : public ::testing::Test
{
protected:
    Bench bench;
    ST7567LcdModule lcd;
};
}

TEST_F(LcdModuleTest, ConstructorSendsNothingAndStateStartsOff)
{
    EXPECT_TRUE(bench.records().empty());
    EXPECT_FALSE(lcd.isBacklightOn());
    EXPECT_EQ(kLcdNormal, lcd.getDir());
    EXPECT_EQ(0, lcd.getAutoOff());
    lcd.setAutoOff(5);
    EXPECT_EQ(5, lcd.getAutoOff());
    EXPECT_EQ(128, lcd.getLCDWidth());
    EXPECT_EQ(64, lcd.getLCDHeight());
    EXPECT_TRUE(lcd.isRegionEmpty());
    EXPECT_TRUE(bench.records().empty());
}

TEST_F(LcdModuleTest, BacklightAndDirectionPassAnInt)
{
    EXPECT_EQ(0, lcd.turnOnBacklight(true));
    EXPECT_EQ(0, lcd.setDir(static_cast<LcdDirection>(7)));
    EXPECT_EQ(0, lcd.turnOnBacklight(false));
    auto records = bench.records();
    ASSERT_EQ(3u, records.size());
    EXPECT_EQ(LcdPanel::kBacklightRequest, records[0].request);
    ASSERT_EQ(4u, records[0].data.size());
    EXPECT_EQ(1, intAt(records[0], 0));
    EXPECT_EQ(LcdPanel::kDirectionRequest, records[1].request);
    ASSERT_EQ(4u, records[1].data.size());
    EXPECT_EQ(1, intAt(records[1], 0));  // any non-zero direction is sent as 1
    EXPECT_EQ(0, intAt(records[2], 0));
    EXPECT_FALSE(lcd.isBacklightOn());
    EXPECT_EQ(7, lcd.getDir());
    LcdPanel panel = bench.panel();
    EXPECT_FALSE(panel.backlight());
    EXPECT_TRUE(panel.flipped());
}

TEST_F(LcdModuleTest, DotRefreshSendsOnlyItsByte)
{
    lcd.drawDot(5, 10, false);
    lcd.refresh();
    auto records = bench.records();
    ASSERT_EQ(2u, records.size());
    EXPECT_EQ((std::vector<std::vector<int>>{{1, 5, 1}}), transfers(records));
    EXPECT_EQ(std::vector<uint8_t>{0x04}, records[1].data);
    bench.mark();
    lcd.refresh();
    EXPECT_TRUE(bench.records().empty()) << "a second refresh sends nothing";
    lcd.drawDot(5, 10, true);
    lcd.drawDot(200, 10, false);
    lcd.drawDot(5, -1, false);
    lcd.refresh();
    records = bench.records();
    ASSERT_EQ(2u, records.size());
    EXPECT_EQ(std::vector<uint8_t>{0x00}, records[1].data);
}

TEST_F(LcdModuleTest, FlushSendsTheWholeScreenPageByPage)
{
    lcd.fillRect(0, 0, 128, 64);
    lcd.flush();
    lcd.refresh();
    std::vector<std::vector<int>> expected;
    for (int page = 0; page < 8; ++page)
        expected.push_back({page, 0, 128});
    EXPECT_EQ(expected, transfers(bench.records()));
    EXPECT_EQ(0, litPixels(bench.panel()));
}

TEST_F(LcdModuleTest, FlippedDirectionShiftsColumnsByFour)
{
    lcd.setDir(kLcdFlipped);
    bench.mark();
    lcd.drawDot(0, 0, false);
    lcd.drawDot(127, 63, false);
    lcd.refresh();
    auto t = transfers(bench.records());
    ASSERT_EQ(8u, t.size());
    EXPECT_EQ((std::vector<int>{0, 4, 128}), t[0]);
    LcdPanel panel = bench.panel();
    EXPECT_TRUE(panel.pixel(0, 0));
    EXPECT_TRUE(panel.pixel(127, 63));
    EXPECT_EQ(2, litPixels(panel));
    EXPECT_EQ(1, panel.ram(0, 4));

    lcd.setDir(kLcdNormal);
    bench.mark();
    lcd.drawDot(1, 0, false);
    lcd.refresh();
    EXPECT_EQ((std::vector<std::vector<int>>{{0, 1, 1}}), transfers(bench.records()));
}

TEST_F(LcdModuleTest, FillAndClearClipToTheScreen)
{
    lcd.fillRect(120, 60, 20, 10);
    lcd.fillRect(-1, 0, 10, 10);
    lcd.fillRect(0, 0, 0, 10);
    lcd.fillRect(0, 0, 10, -3);
    lcd.refresh();
    LcdPanel panel = bench.panel();
    EXPECT_EQ(8 * 4, litPixels(panel));
    for (int x = 120; x < 128; ++x)
        for (int y = 60; y < 64; ++y)
            EXPECT_TRUE(panel.pixel(x, y)) << x << "," << y;

    lcd.fillRect(0, 0, 128, 64);
    lcd.clearRect(10, 20, 3, 2);
    lcd.clearRect(-1, 0, 128, 64);
    lcd.refresh();
    panel = bench.panel();
    EXPECT_EQ(128 * 64 - 6, litPixels(panel));
    EXPECT_FALSE(panel.pixel(12, 21));
    EXPECT_TRUE(panel.pixel(13, 21));
}

TEST_F(LcdModuleTest, RectangleSidesOffTheScreenAreClippedAway)
{
    lcd.drawRect(-5, -5, 20, 20, false);
    lcd.refresh();
    LcdPanel panel = bench.panel();
    for (int i = 0; i <= 14; ++i)
    {
        EXPECT_TRUE(panel.pixel(14, i)) << "right side, row " << i;
        EXPECT_TRUE(panel.pixel(i, 14)) << "bottom, column " << i;
    }
    EXPECT_EQ(29, litPixels(panel)) << lcdtest::picture(panel, 0, 0, 16, 16);

    lcd.flush();
    lcd.drawRect(-1, -1, 130, 66, false);  // a frame just outside the screen shows nothing
    lcd.drawRect(-1, 10, 20, 5, false);    // no left side
    lcd.refresh();
    panel = bench.panel();
    EXPECT_FALSE(panel.pixel(0, 12));
    EXPECT_TRUE(panel.pixel(0, 10));
    EXPECT_TRUE(panel.pixel(18, 12));
    EXPECT_EQ(19 + 19 + 3, litPixels(panel));
}

TEST_F(LcdModuleTest, RectangleOutlineAndReverse)
{
    lcd.fillRect(0, 0, 40, 40);
    lcd.drawRect(10, 10, 5, 4, true);
    lcd.refresh();
    LcdPanel panel = bench.panel();
    EXPECT_EQ("#######\n"
              "#.....#\n"
              "#.###.#\n"
              "#.###.#\n"
              "#.....#\n"
              "#######\n",
              lcdtest::picture(panel, 9, 9, 7, 6));
}

TEST_F(LcdModuleTest, RegionSavesAndRestoresTheArea)
{
    for (int i = 0; i < 64; i += 3)
        lcd.drawRect(i, i / 2, 40, 20, false);
    lcd.refresh();
    LcdPanel before = bench.panel();
    bench.mark();

    ASSERT_TRUE(lcd.createRegion(10, 10, 50, 30));
    EXPECT_FALSE(lcd.isRegionEmpty());
    ASSERT_TRUE(lcd.createRegion(20, 20, 10, 10));
    lcd.refresh();
    LcdPanel boxed = bench.panel();
    EXPECT_EQ("##########\n"
              "#........#\n",
              lcdtest::picture(boxed, 20, 20, 10, 2));
    EXPECT_EQ("#.........\n", lcdtest::picture(boxed, 10, 21, 10, 1)) << "the outer box is cleared inside";
    bench.mark();

    EXPECT_TRUE(lcd.destroyRegion());
    EXPECT_TRUE(lcd.destroyRegion());
    EXPECT_TRUE(lcd.isRegionEmpty());
    EXPECT_FALSE(lcd.destroyRegion());
    lcd.refresh();
    // The restore sends exactly the saved pages 1 to 4, columns 10 to 59.
    EXPECT_EQ((std::vector<std::vector<int>>{{1, 10, 50}, {2, 10, 50}, {3, 10, 50}, {4, 10, 50}}),
              transfers(bench.records()));
    LcdPanel after = bench.panel();
    EXPECT_EQ(lcdtest::picture(before, 0, 0, 128, 64), lcdtest::picture(after, 0, 0, 128, 64));
}

TEST_F(LcdModuleTest, RegionMustFitTheScreen)
{
    EXPECT_FALSE(lcd.createRegion(100, 0, 40, 10));
    EXPECT_FALSE(lcd.createRegion(0, 60, 10, 5));
    EXPECT_FALSE(lcd.createRegion(-1, 0, 10, 10));
    EXPECT_FALSE(lcd.createRegion(0, 0, -1, 10));
    EXPECT_TRUE(lcd.isRegionEmpty());
    EXPECT_TRUE(lcd.createRegion(0, 0, 128, 64));
    EXPECT_TRUE(lcd.destroyRegion());
}

TEST_F(LcdModuleTest, PictureInPageFormat)
{
    const unsigned char bytes[] = {0x01, 0x80, 0xFF, 0x00, 0x0F, 0xF0};  // 3 columns, 2 strips
    _PICTURE pic{3, 16, bytes};
    lcd.drawPicture(0, 0, &pic, false);
    lcd.fillRect(10, 0, 3, 24);
    lcd.drawPicture(10, 3, &pic, true);  // shifted by 3 rows, inverted, overwriting
    lcd.drawPicture(126, 60, &pic, false);
    lcd.drawPicture(0, 40, nullptr, false);
    lcd.refresh();
    LcdPanel p = bench.panel();
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 16; ++r)
        {
            bool dark = (bytes[(r / 8) * 3 + c] >> (r % 8)) & 1;
            EXPECT_EQ(dark, p.pixel(c, r)) << c << "," << r;
            EXPECT_EQ(!dark, p.pixel(10 + c, 3 + r)) << c << "," << r;
        }
    EXPECT_TRUE(p.pixel(10, 2));   // rows above the shifted picture keep their value
    EXPECT_TRUE(p.pixel(10, 19));  // and those below it
    EXPECT_TRUE(p.pixel(126, 60));  // the corner picture keeps what lies on the screen
    EXPECT_EQ("#.\n..\n..\n..\n", lcdtest::picture(p, 126, 60, 2, 4));
}

TEST_F(LcdModuleTest, QrCodeModulesAndItsInverse)
{
    const char* text = "http://192.168.1.100/";
    QRcode* code = QRcode_encodeString(text, 1, QR_ECLEVEL_H, QR_MODE_8, 1);
    ASSERT_NE(nullptr, code);
    lcd.drawQrcode(4, 2, text, false);
    lcd.drawQrcode(64, 2, text, true);
    lcd.refresh();
    LcdPanel p = bench.panel();
    int dark = 0;
    for (int r = 0; r < code->width; ++r)
        for (int c = 0; c < code->width; ++c)
        {
            bool module = code->data[r * code->width + c] & 1;
            dark += module;
            ASSERT_EQ(module, p.pixel(4 + c, 2 + r)) << c << "," << r;
            ASSERT_EQ(!module, p.pixel(64 + c, 2 + r)) << c << "," << r;
        }
    EXPECT_GT(dark, 0);
    EXPECT_EQ(code->width * code->width, litPixels(p));  // each module is dark in exactly one of the two
    // The finder pattern's corner is dark at the symbol's top-left.
    EXPECT_TRUE(p.pixel(4, 2));
    QRcode_free(code);

    lcd.flush();
    lcd.drawQrcode(120, 60, text, false);  // clipped, no crash
    lcd.drawQrcode(0, 0, "", false);       // nothing to encode
    lcd.refresh();
    EXPECT_TRUE(bench.panel().pixel(120, 60));
}

TEST(LcdModuleDeathTest, MissingDeviceStopsTheProcess)
{
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    std::filesystem::remove(board::path("/dev/lcd"));
    auto toStderr = [](const char* msg, int len) { fwrite(msg, 1, static_cast<size_t>(len), stderr); };
    EXPECT_DEATH(
        {
            muduo::Logger::setOutput(toStderr);
            ST7567LcdModule lcd;
        },
        "FATAL Failed in open .*/dev/lcd: No such file");
}
