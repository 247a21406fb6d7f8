#include <gtest/gtest.h>

#include "ShownOutlets.h"

// Nothing shown before a report or an acknowledgement; an acknowledged command shows what it asked until a report
// of a poll heard after its frame, whatever reports come before; then the report is what shows.
TEST(ShownOutlets, AnAcknowledgementShowsUntilAReportAfterIt)
{
    ShownOutlets shown;
    EXPECT_EQ(-1, shown.state(0));
    shown.acknowledged(0, true);
    shown.acknowledged(7, false);
    EXPECT_EQ(1, shown.state(0));
    EXPECT_EQ(-1, shown.state(3));
    shown.reported(8, 0x88, 0x00);  // heard before the frames: outlet 0 off, outlet 7 on
    EXPECT_EQ(1, shown.state(0));
    EXPECT_EQ(0, shown.state(7));
    EXPECT_EQ(1, shown.state(3));
    EXPECT_EQ(0x09, shown.bits(0x88));
    shown.reported(8, 0x88, 0x81);  // after both frames
    EXPECT_EQ(0, shown.state(0));
    EXPECT_EQ(1, shown.state(7));
    EXPECT_EQ(0x88, shown.bits(0x88));
    for (int outlet : {-1, 8, 255})
        EXPECT_EQ(-1, shown.state(outlet)) << outlet;
}

// A report of fewer outlets says nothing of the others: they show as before, or as not known yet.
TEST(ShownOutlets, AReportOfFewerOutletsLeavesTheOthersAsShown)
{
    ShownOutlets shown;
    shown.acknowledged(5, true);
    shown.reported(4, 0x00, 0xFF);
    EXPECT_EQ(0, shown.state(2));
    EXPECT_EQ(1, shown.state(5));
    EXPECT_EQ(-1, shown.state(6)) << "no report named it";
    shown.reported(8, 0x60, 0xFF);
    shown.reported(4, 0x01, 0xFF);
    shown.reported(0, 0x00, 0xFF);
    EXPECT_EQ(1, shown.state(0));
    EXPECT_EQ(1, shown.state(6));
    EXPECT_EQ(0, shown.state(7));
    shown.reported(4, 0xF8, 0xFF);  // outlet 3 on, and bits beyond the four
    EXPECT_EQ(1, shown.state(3));
    EXPECT_EQ(0, shown.state(4));
    EXPECT_EQ(1, shown.state(5));
}
