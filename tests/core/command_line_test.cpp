#include "host/command_line.h"

#include <gtest/gtest.h>

static const char* nextByte(const char* p) { return p + 1; }

TEST(CommandLine, SkipsQuotedProgramNameWithSpaces) {
    EXPECT_STREQ(skipProgramName("\"C:\\Program Files\\qg.scr\" /S", nextByte), "/S");
    EXPECT_STREQ(skipProgramName("qg.scr   \t/p 12", nextByte), "/p 12");
    EXPECT_STREQ(skipProgramName("qg.scr", nextByte), "");
    // An unclosed quote swallows the whole rest.
    EXPECT_STREQ(skipProgramName("\"qg.scr /s", nextByte), "");
    // Bytes from 128 up are part of the name, not blanks.
    EXPECT_STREQ(skipProgramName("q\xE9g.scr /c", nextByte), "/c");
}

TEST(CommandLine, HandleDigitsStopAtFirstOtherCharacterAndWrap) {
    EXPECT_EQ(ParseWindowHandle("0012"), 12u);
    EXPECT_EQ(ParseWindowHandle("12abc"), 12u);
    EXPECT_EQ(ParseWindowHandle(" 12"), 0u);
    EXPECT_EQ(ParseWindowHandle("-12"), 0u);
    EXPECT_EQ(ParseWindowHandle("4294967296"), 0u);
    EXPECT_EQ(ParseWindowHandle("4294967297"), 1u);
    EXPECT_EQ(ParseWindowHandle("12\xB9"), 12u);
}

TEST(CommandLine, FirstLetterDecidesTheMode) {
    struct Case { const char* args; RunMode mode; uint32_t handle; };
    const Case cases[] = {
        {"", RunMode::ConfigureNoParent, 0},
        {"  ", RunMode::ConfigureNoParent, 0},
        {"/s", RunMode::FullScreen, 0},
        {"-S anything", RunMode::FullScreen, 0},
        {"s", RunMode::FullScreen, 0},
        {"/p 1234", RunMode::Preview, 1234},
        {"/l1234", RunMode::Preview, 1234},
        {"/p", RunMode::Preview, 0},
        {"/p 0012", RunMode::Preview, 12},
        {"/p12abc", RunMode::Preview, 12},
        {"/c:5678", RunMode::Configure, 5678},
        {"/c 5678", RunMode::Configure, 0},
        {"/c:", RunMode::Configure, 0},
        {"/c", RunMode::Configure, 0},
        {"/x", RunMode::Invalid, 0},
        {"/5", RunMode::Invalid, 0},
        {"\t/s", RunMode::Invalid, 0},
        {"\xD3", RunMode::Invalid, 0},
        {"/a 100", RunMode::Invalid, 0},
    };
    for (const Case& c : cases) {
        SaverCommand command = readSaverCommand(c.args, false);
        EXPECT_EQ(command.mode, c.mode) << '"' << c.args << '"';
        EXPECT_EQ(command.handle, c.handle) << '"' << c.args << '"';
    }
}

TEST(CommandLine, PasswordModeOnlyOnWindows9x) {
    SaverCommand command = readSaverCommand("/a 100", true);
    EXPECT_EQ(command.mode, RunMode::ChangePassword);
    EXPECT_EQ(command.handle, 100u);
    EXPECT_EQ(readSaverCommand("A", true).handle, 0u);
}
