// Reading the screen-saver command line: which run mode, and which window handle.
// Portable: the Win32 entry turns the result into calls.
#pragma once
#include <cstdint>

enum class RunMode {
    ConfigureNoParent,  // empty argument text
    Configure,          // "C", parent from ":<handle>" or the foreground window
    FullScreen,         // "S"
    Preview,            // "P" or "L" with a handle
    ChangePassword,     // "A", Windows 9x only
    Invalid,
};

struct SaverCommand {
    RunMode mode;
    uint32_t handle;  // 0 when none was given
};

// Decimal digits in unsigned 32-bit arithmetic (overflow wraps); stops at the first non-digit.
uint32_t ParseWindowHandle(const char* text);

// Steps over the program name and the blanks after it. nextChar steps one character
// (CharNextA on Windows, so that double-byte names are not split).
const char* skipProgramName(const char* commandLine, const char* (*nextChar)(const char*));

SaverCommand readSaverCommand(const char* arguments, bool isWin9x);
