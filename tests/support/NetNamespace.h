#pragma once

namespace test
{
// Tests that need fixed ports (137, 123) run in a network namespace of their
// own. In the test process this runs the current test again, alone, in a new
// namespace with loopback up, records its result and returns true (the
// caller returns). Inside the namespace it returns false: run the body.
bool rerunInNetNamespace();
bool inNetNamespace();
}

#define RAILBOX_RUN_IN_NETNS()             \
    do                                     \
    {                                      \
        if (::test::rerunInNetNamespace()) \
            return;                        \
    } while (0)
