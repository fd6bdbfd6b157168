// The native saver's command line: settings and presets in order, where to draw, the
// messages for bad options, and -help. Each test puts the default settings back.
#include "xscreensaver/saver_options.h"
#include "native_entry/host_choice.h"
#include "settings/monitor_mode.h"
#include "settings/presets.h"
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct Read {
    bool ok;
    SaverOptions options;
    std::string error;
};

Read readOptions(std::vector<const char*> args, const char* daemonWindow = nullptr) {
    args.insert(args.begin(), "quakeglass");
    Read read;
    read.ok = readSaverOptions(int(args.size()), args.data(), daemonWindow, read.options, read.error);
    return read;
}

struct SaverOptionsTest : ::testing::Test {
    void TearDown() override { SettingsStore::applyDefaults(); }
};

}  // namespace

TEST_F(SaverOptionsTest, SettingsAndPresetsApplyInTheOrderGiven) {
    ASSERT_TRUE(readOptions({"-preset", "wave-1", "-x_div", "10", "--mode", "2", "-rotZ0", "3600"}).ok);
    EXPECT_EQ(saverSettings.x_div, 10.0f);  // after the preset's 60
    EXPECT_EQ(saverSettings.y_div, 40.0f);  // the preset's
    EXPECT_EQ(saverSettings.Mode, Wave2);   // one or two dashes, any case
    EXPECT_EQ(saverSettings.rotZ0, 3600.0f);
    EXPECT_EQ(saverSettings.genChildren, 2);  // untouched by a wave preset

    SettingsStore::applyDefaults();
    ASSERT_TRUE(readOptions({"-x_div", "10", "-preset", "explode-3", "-useTrails", "1"}).ok);
    EXPECT_EQ(saverSettings.x_div, 40.0f);  // the later preset wins
    EXPECT_EQ(saverSettings.rotY0, 360.0f);
    EXPECT_EQ(saverSettings.useTrails, 1);

    // Each name gives its own preset.
    for (uint16_t command : randomPresetIds) {
        SettingsStore::applyDefaults();
        ASSERT_TRUE(readOptions({"-preset", presetName(command)}).ok) << presetName(command);
        const SaverSettings named = saverSettings;
        applyNativeDefaults();
        applyPresetValues(command);
        EXPECT_EQ(std::memcmp(&named, &saverSettings, sizeof named), 0) << presetName(command);
    }
}

// The daemon runs one saver per monitor: a line without -monitorMode draws each its own,
// whatever the record held before, and no preset changes that.
TEST_F(SaverOptionsTest, TheNativeSaverStartsFromItsOwnDefaults) {
    saverSettings.monitorMode = SpanMonitors;
    saverSettings.x_div = 3;
    ASSERT_TRUE(readOptions({"-preset", "wave-2"}).ok);
    EXPECT_EQ(saverSettings.monitorMode, EachMonitor);
    EXPECT_EQ(saverSettings.y_div, 60.0f);
    saverSettings.x_div = 3;
    ASSERT_TRUE(readOptions({}).ok);
    EXPECT_EQ(saverSettings.x_div, 25.0f);
    ASSERT_TRUE(readOptions({"-MonitorMode", "2", "-preset", "explode-1"}).ok);
    EXPECT_EQ(monitorModeOf(saverSettings, nativeMonitorModeDefault), PrimaryMonitorOnly);
    ASSERT_TRUE(readOptions({"-monitorMode", "0"}).ok);
    EXPECT_EQ(saverSettings.monitorMode, SpanMonitors);
    EXPECT_FALSE(readOptions({"-monitorMode", "3"}).ok);
}

TEST_F(SaverOptionsTest, EveryOptionTakesItsWholeRangeAndNothingBeyond) {
    for (const SettingsField& field : settingsFields) {
        const std::string name = std::string("-") + field.name;
        if (!hasOption(field)) {
            EXPECT_FALSE(readOptions({name.c_str(), "0"}).ok) << name;
            continue;
        }
        for (int32_t value : {field.minValue, field.maxValue, field.defaultValue}) {
            const std::string text = std::to_string(value);
            ASSERT_TRUE(readOptions({name.c_str(), text.c_str()}).ok) << name << " " << text;
            EXPECT_EQ(storedValue(saverSettings, field), value) << name;
        }
        for (int64_t value : {int64_t(field.minValue) - 1, int64_t(field.maxValue) + 1}) {
            const std::string text = std::to_string(value);
            const Read read = readOptions({name.c_str(), text.c_str()});
            EXPECT_FALSE(read.ok) << name << " " << text;
            EXPECT_NE(read.error.find(field.name), std::string::npos) << read.error;
        }
    }
}

TEST_F(SaverOptionsTest, WhereToDraw) {
    EXPECT_EQ(readOptions({}).options.target, DrawTarget::OwnWindow);
    EXPECT_EQ(readOptions({"--ROOT"}).options.target, DrawTarget::Root);  // any name in any case
    EXPECT_EQ(readOptions({"-root", "-window"}).options.target, DrawTarget::OwnWindow);
    Read given = readOptions({"-Window-Id", "0x1a00007"});
    EXPECT_EQ(given.options.target, DrawTarget::GivenWindow);
    EXPECT_EQ(given.options.windowId, 0x1A00007u);
    EXPECT_EQ(readOptions({"-window-id", "4194311"}).options.windowId, 4194311u);
    EXPECT_EQ(readOptions({"-display", ":7"}).options.display, ":7");
    EXPECT_EQ(readOptions({}).options.delayUs, 30000u);
    Read paced = readOptions({"-delay", "0", "-fps"});
    EXPECT_EQ(paced.options.delayUs, 0u);
    EXPECT_TRUE(paced.options.showFps);
    EXPECT_EQ(readOptions({"--imagedirectory", "/srv/my pictures"}).options.imageDirectory, "/srv/my pictures");

    // The daemon's window wins over -root and the default; -window-id wins over it.
    Read daemon = readOptions({"-root"}, "0x400001");
    EXPECT_EQ(daemon.options.target, DrawTarget::DaemonWindow);
    EXPECT_EQ(daemon.options.windowId, 0x400001u);
    EXPECT_EQ(readOptions({}, "123").options.windowId, 123u);
    Read preview = readOptions({"-window-id", "77"}, "123");
    EXPECT_EQ(preview.options.target, DrawTarget::GivenWindow);
    EXPECT_EQ(preview.options.windowId, 77u);
    // -help wins over anything else on the line and in the environment.
    const Read help = readOptions({"-x_div", "1e3", "-bogus", "--Help"}, "garbage");
    EXPECT_TRUE(help.ok && help.options.help);
}

TEST_F(SaverOptionsTest, WaylandWhenACompositorIsNamedAndNoXWindowIsGiven) {
    EXPECT_TRUE(triesWayland(readOptions({}).options, "wayland-1"));
    EXPECT_FALSE(triesWayland(readOptions({}).options, nullptr));
    EXPECT_FALSE(triesWayland(readOptions({}).options, ""));
    EXPECT_FALSE(triesWayland(readOptions({"-root"}).options, "wayland-1"));
    EXPECT_FALSE(triesWayland(readOptions({"-window-id", "77"}).options, "wayland-1"));
    EXPECT_FALSE(triesWayland(readOptions({}, "0x400001").options, "wayland-1"));  // under the X11 daemon
    EXPECT_FALSE(triesWayland(readOptions({"-x11"}).options, "wayland-1"));
    EXPECT_TRUE(triesWayland(readOptions({"-x11", "--wayland"}).options, nullptr));  // the last one wins
    // Where no compositor answers, the X display, unless Wayland was asked for by name.
    EXPECT_STREQ(fallbackDisplay(readOptions({}).options, ":5"), ":5");
    EXPECT_STREQ(fallbackDisplay(readOptions({"-display", ":7"}).options, ":5"), ":7");
    EXPECT_EQ(fallbackDisplay(readOptions({}).options, ""), nullptr);
    EXPECT_EQ(fallbackDisplay(readOptions({"-wayland"}).options, ":5"), nullptr);

    // On Wayland the saver has only a window of its own: it draws in no X window.
    for (const Read& read : {readOptions({"-wayland", "-root"}), readOptions({"-window-id", "77", "-wayland"}),
                             readOptions({"-wayland"}, "0x400001")}) {
        EXPECT_FALSE(read.ok);
        EXPECT_NE(read.error.find("-wayland"), std::string::npos) << read.error;
    }
}

TEST_F(SaverOptionsTest, BadOptionsGiveOneLineNamingThem) {
    struct Case {
        std::vector<const char*> args;
        const char* named;
    };
    const Case cases[] = {
        {{"-bogus"}, "-bogus"},           {{"-Mode"}, "-Mode"},
        {{"-Mode", "two"}, "-Mode"},      {{"-Mode", "1.5"}, "-Mode"},
        {{"-x_div", "0x10"}, "0x10"},     {{"-x_div", "1e2"}, "1e2"},
        {{"-x_div", "+5"}, "+5"},         {{"-x_div", "25.0"}, "25.0"},
        {{"-delay", "-"}, "-delay"},      {{"-window-id", "0x0x10"}, "0x0x10"},
        {{"-window-id", "-5"}, "-5"},    {{"-x_div", "1\n\x1b[2J"}, "'1\\x0A\\x1B[2J'"},
        {{"-Mode", ""}, "-Mode"},         {{"-Mode", " 1"}, "-Mode"},
        {{"-x_div", "1e40"}, "-x_div"},   {{"-xyGoraud", "2"}, "-xyGoraud"},
        {{"-preset", "wave-9"}, "wave-9"}, {{"-window-id", "0"}, "-window-id"},
        {{"-window-id", "0x"}, "0x"},     {{"-window-id", "12ab"}, "12ab"},
        {{"-window-id", "99999999999"}, "99999999999"},
        {{"stray"}, "stray"},             {{"-"}, "'-'"},
        {{"-resW", "800"}, "-resW"},      {{"-delay", "1000001"}, "-delay"},
        {{"-delay", "-1"}, "-delay"},     {{"-imageDirectory"}, "-imageDirectory"},
    };
    for (const Case& c : cases) {
        const Read read = readOptions(c.args);
        EXPECT_FALSE(read.ok) << c.named;
        EXPECT_EQ(read.error.find('\n'), std::string::npos) << read.error;
        EXPECT_NE(read.error.find(c.named), std::string::npos) << read.error;
    }
    const Read badDaemon = readOptions({}, "window");
    EXPECT_FALSE(badDaemon.ok);
    EXPECT_NE(badDaemon.error.find("XSCREENSAVER_WINDOW"), std::string::npos);
}

TEST_F(SaverOptionsTest, HelpListsEveryOptionWithRangeAndDefault) {
    const std::string help = saverHelp();
    for (const SettingsField& field : settingsFields) {
        const std::string name = std::string("-") + field.name + " ";
        EXPECT_EQ(help.find(name) != std::string::npos, hasOption(field)) << field.name;
        if (!hasOption(field)) continue;
        const std::string line = help.substr(help.find(name), help.find('\n', help.find(name)) - help.find(name));
        EXPECT_NE(line.find(std::to_string(field.minValue) + ".." + std::to_string(field.maxValue)), std::string::npos)
            << line;
        EXPECT_NE(line.find("default " + std::to_string(nativeDefault(field))), std::string::npos) << line;
    }
    for (uint16_t command : randomPresetIds) EXPECT_NE(help.find(presetName(command)), std::string::npos);
}
