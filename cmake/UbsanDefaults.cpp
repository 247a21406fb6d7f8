// Linked into every program of the sanitizer and fuzz builds: undefined
// behaviour stops the program however it is started (ctest, the fuzz runner,
// by hand), and only the third-party faults in the suppressions file are
// let through. UBSAN_OPTIONS, when set, is read after these.
extern "C" const char* __ubsan_default_options()
{
    return "halt_on_error=1:print_stacktrace=1:suppressions=" RAILBOX_UBSAN_SUPPRESSIONS;
}
