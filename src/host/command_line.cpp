#include "host/command_line.h"

uint32_t ParseWindowHandle(const char* text) {
    uint32_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) value = value * 10u + uint32_t(*text - '0');
    return value;
}

const char* skipProgramName(const char* commandLine, const char* (*nextChar)(const char*)) {
    const char* p = commandLine;
    auto byte = [](const char* c) { return static_cast<unsigned char>(*c); };
    if (*p == '"') {
        do p = nextChar(p); while (*p && *p != '"');
        if (*p == '"') ++p;
    } else {
        while (byte(p) > ' ') p = nextChar(p);
    }
    while (*p && byte(p) <= ' ') ++p;
    return p;
}

static const char* skipSpaces(const char* p) {
    while (*p == ' ') ++p;
    return p;
}

SaverCommand readSaverCommand(const char* arguments, bool isWin9x) {
    for (const char* p = arguments;; ++p) {
        const signed char c = static_cast<signed char>(*p);
        switch (c) {
        case 0: return {RunMode::ConfigureNoParent, 0};
        case ' ': case '-': case '/': continue;
        case 'S': case 's': return {RunMode::FullScreen, 0};
        case 'P': case 'p': case 'L': case 'l':
            return {RunMode::Preview, ParseWindowHandle(skipSpaces(p + 1))};
        case 'C': case 'c':
            // A handle after a space is not read: only "/c:<handle>" names the parent.
            return {RunMode::Configure, p[1] == ':' ? ParseWindowHandle(p + 2) : 0};
        case 'A': case 'a':
            if (!isWin9x) return {RunMode::Invalid, 0};
            return {RunMode::ChangePassword, ParseWindowHandle(skipSpaces(p + 1))};
        default: return {RunMode::Invalid, 0};
        }
    }
}
