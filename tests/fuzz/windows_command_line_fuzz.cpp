// The Windows command line: the program name stepped over one character at a time (single-
// or double-byte, as CharNextA steps), then the run mode and its window handle.
#include "fuzz_input.h"
#include "host/command_line.h"

static const char* nextSingleByte(const char* p) { return *p ? p + 1 : p; }

// A lead byte takes its trail byte with it, never the terminating zero.
static const char* nextDoubleByte(const char* p) {
    if (!*p) return p;
    const unsigned char lead = static_cast<unsigned char>(*p);
    return lead >= 0x81 && lead <= 0xFE && p[1] ? p + 2 : p + 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input = {data, size};
    const uint8_t flags = input.byte();
    const std::string commandLine = input.rest();  // cut at its first zero, as the system's is
    const char* arguments = skipProgramName(commandLine.c_str(), flags & 1 ? nextDoubleByte : nextSingleByte);
    if (arguments < commandLine.c_str() || arguments > commandLine.c_str() + commandLine.size()) __builtin_trap();
    const SaverCommand command = readSaverCommand(arguments, flags & 2);
    if (command.mode == RunMode::ChangePassword && !(flags & 2)) __builtin_trap();  // Windows 9x only
    return 0;
}
