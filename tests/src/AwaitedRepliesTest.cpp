#include <gtest/gtest.h>

#include "AwaitedReplies.h"

namespace
{
const AwaitedReplies::Reply kStray = AwaitedReplies::kStray;
const AwaitedReplies::Reply kOlder = AwaitedReplies::kOlder;
const AwaitedReplies::Reply kNewest = AwaitedReplies::kNewest;
}

// Beyond the tracked requests the oldest are counted: the newest one's reply still ends the wait, and no earlier one.
TEST(AwaitedReplies, RequestsBeyondTheTrackedOnesAreCounted)
{
    AwaitedReplies awaited;
    EXPECT_EQ(kStray, awaited.answer(1)) << "a reply to nothing awaited";
    const int sent = AwaitedReplies::kTracked + 10;
    for (int i = 0; i < sent; ++i)
        awaited.sent(i % 2, false);
    for (int i = 0; i < sent - 1; ++i)
        ASSERT_EQ(kOlder, awaited.answer(i % 2)) << i;
    EXPECT_EQ(kNewest, awaited.answer(1));
    EXPECT_TRUE(awaited.empty());
}

// A request given up and sent again: the reply of either copy answers it, and the other copy's reply, late or not,
// is taken for it, never for a newer request; a reply to a later request shows the copies lost.
TEST(AwaitedReplies, ACopysReplyNeverAnswersANewerRequest)
{
    AwaitedReplies awaited;
    awaited.sent(1, false);
    awaited.sent(1, true);  // its time-out ran out: sent again
    EXPECT_EQ(kNewest, awaited.answer(1));
    EXPECT_EQ(kOlder, awaited.answer(1)) << "the other copy's reply";
    EXPECT_TRUE(awaited.empty());

    // on given up and sent again, then off and on; the copies' replies come late and the last on is lost
    awaited.sent(1, false);
    awaited.sent(1, true);
    awaited.sent(0, false);
    awaited.sent(1, false);
    for (unsigned char action : {1, 1, 0})
        EXPECT_EQ(kOlder, awaited.answer(action));
    awaited.sent(1, true);  // the lost on, still awaited, is sent again
    EXPECT_EQ(kNewest, awaited.answer(1));
    awaited.sent(0, false);
    EXPECT_EQ(kNewest, awaited.answer(0)) << "the on's other copy was lost";
    EXPECT_TRUE(awaited.empty());
}
