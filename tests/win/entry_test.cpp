// The entry's guard and dispatch, seen from a child process where the run ends it.
#include <gtest/gtest.h>

#include "host/saver_host_win32.h"

static int faultingMode(const void*) {
    volatile int* nowhere = nullptr;
    return *nowhere;
}

static int quietMode(const void* context) { return *static_cast<const int*>(context); }

TEST(EntryGuard, AHandledFaultEndsTheRunWithItsExceptionCode) {
    EXPECT_EXIT(runGuarded(faultingMode, nullptr), testing::ExitedWithCode(int(EXCEPTION_ACCESS_VIOLATION)),
                "");
}

TEST(EntryGuard, ARunWithoutFaultKeepsItsResultAndTheFilterIsRemoved) {
    LPTOP_LEVEL_EXCEPTION_FILTER before = SetUnhandledExceptionFilter(nullptr);
    SetUnhandledExceptionFilter(before);
    const int result = 7;
    EXPECT_EQ(runGuarded(quietMode, &result), 7);
    EXPECT_EQ(SetUnhandledExceptionFilter(before), before);
}

TEST(EntryDispatch, UnusableCommandLinesEndWithMinusOne) {
    for (const char* arguments : {"/x", "/p", "/p 0", "/p 12345678", "/a 100", "\x85"})
        EXPECT_EQ(SaverMain(GetModuleHandleA(nullptr), arguments), -1) << arguments;
}
