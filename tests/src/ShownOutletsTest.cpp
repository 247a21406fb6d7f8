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
    shown.reported(0x88, 0x00);  // heard before the frames: outlet 0 off, outlet 7 on
    EXPECT_EQ(1, shown.state(0));
    EXPECT_EQ(0, shown.state(7));
    EXPECT_EQ(1, shown.state(3));
    EXPECT_EQ(0x09, shown.bits(0x88));
    shown.reported(0x88, 0x81);  // after both frames
    EXPECT_EQ(0, shown.state(0));
    EXPECT_EQ(1, shown.state(7));
    EXPECT_EQ(0x88, shown.bits(0x88));
    for (int outlet : {-1, 8, 255})
        EXPECT_EQ(-1, shown.state(outlet)) << outlet;
}
