// Linked into every fuzz target: the daemon's log is silenced before the
// first input (a target wrote megabytes a minute otherwise).
#include "FuzzBoard.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::quietLog();
    return 0;
}
