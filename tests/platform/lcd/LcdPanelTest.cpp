// The panel model: write position, display memory, backlight, direction.
#include <gtest/gtest.h>

#include <cstring>

#include "LcdPanel.h"

namespace
{
LcdRecord ints(uint32_t request, std::initializer_list<int32_t> values)
{
    LcdRecord r;
    r.kind = LcdRecord::kIoctl;
    r.request = request;
    for (int32_t v : values)
    {
        uint8_t b[4];
        std::memcpy(b, &v, 4);
        r.data.insert(r.data.end(), b, b + 4);
    }
    return r;
}

LcdRecord bytes(std::vector<uint8_t> data)
{
    LcdRecord r;
    r.kind = LcdRecord::kWrite;
    r.data = std::move(data);
    return r;
}
}

TEST(LcdPanelTest, WritesFillAPageFromThePosition)
{
    LcdPanel panel;
    EXPECT_FALSE(panel.apply(ints(LcdPanel::kPositionRequest, {2, 10})));
    EXPECT_TRUE(panel.apply(bytes({0x01, 0x80})));
    EXPECT_TRUE(panel.pixel(10, 16));
    EXPECT_TRUE(panel.pixel(11, 23));
    EXPECT_FALSE(panel.pixel(11, 16));
    EXPECT_EQ(12, panel.column());
    EXPECT_FALSE(panel.apply(bytes({0x00})));  // unchanged memory shows nothing new

    panel.apply(ints(LcdPanel::kPositionRequest, {7, 130}));
    panel.apply(bytes({1, 2, 3, 4}));  // two fit in the 132 columns, two are dropped
    EXPECT_EQ(1, panel.ram(7, 130));
    EXPECT_EQ(2, panel.ram(7, 131));
    EXPECT_EQ(2u, panel.droppedBytes());
    panel.apply(ints(LcdPanel::kPositionRequest, {8, 0}));
    panel.apply(bytes({0xFF}));
    EXPECT_EQ(3u, panel.droppedBytes());
}

TEST(LcdPanelTest, FlippedPanelShowsColumnsFourOn)
{
    LcdPanel panel;
    panel.apply(ints(LcdPanel::kPositionRequest, {0, 0}));
    panel.apply(bytes({0x01, 0, 0, 0, 0x02}));
    EXPECT_TRUE(panel.pixel(0, 0));
    EXPECT_TRUE(panel.apply(ints(LcdPanel::kDirectionRequest, {1})));
    EXPECT_TRUE(panel.flipped());
    EXPECT_FALSE(panel.pixel(0, 0));
    EXPECT_TRUE(panel.pixel(0, 1));
    EXPECT_FALSE(panel.pixel(128, 0));
    EXPECT_FALSE(panel.pixel(-1, 0));
}

TEST(LcdPanelTest, BacklightAndBadRequests)
{
    LcdPanel panel;
    EXPECT_TRUE(panel.apply(ints(LcdPanel::kBacklightRequest, {1})));
    EXPECT_TRUE(panel.backlight());
    EXPECT_FALSE(panel.apply(ints(LcdPanel::kBacklightRequest, {1})));
    EXPECT_TRUE(panel.apply(ints(LcdPanel::kBacklightRequest, {0})));
    LcdRecord shortArg = ints(LcdPanel::kPositionRequest, {1});
    EXPECT_FALSE(panel.apply(shortArg));
    EXPECT_FALSE(panel.apply(ints(0x40046C09, {1})));
    LcdRecord odd = ints(LcdPanel::kBacklightRequest, {1});
    odd.data.push_back(0);
    EXPECT_FALSE(panel.apply(odd));
    EXPECT_FALSE(panel.backlight());
    EXPECT_EQ(3u, panel.rejectedRecords());
    EXPECT_EQ(0, panel.page());
}
