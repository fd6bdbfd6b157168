// The command line of the native saver, in the convention of X11 screen-saver programs:
// where to draw, one option per setting, presets and help. Portable; read on the main
// thread before anything starts.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "settings/settings_fields.h"

enum class DrawTarget {
    OwnWindow,     // -window, the default: a full-screen window of its own
    Root,          // -root: the root window, or the virtual root
    GivenWindow,   // -window-id ID: a preview inside another program's window
    DaemonWindow,  // the window named by XSCREENSAVER_WINDOW
};

// Which desktop the native saver draws on: -x11 and -wayland force one.
enum class NativeHost { Either, X11, Wayland };

struct SaverOptions {
    DrawTarget target = DrawTarget::OwnWindow;
    NativeHost host = NativeHost::Either;
    uint32_t windowId = 0;            // GivenWindow and DaemonWindow
    std::string display;              // -display NAME; empty: $DISPLAY
    uint32_t delayUs = 30000;         // -delay USEC: least time from one frame's start to the next's
    bool showFps = false;             // -fps: frames per second and CPU share in a corner
    std::string imageDirectory;       // -imageDirectory DIR: pictures for when the desktop is not shown
    bool help = false;                // -help: print saverHelp and end
};

// The native saver's default of a field: the table's, but each monitor its own scene,
// since the daemon runs one saver per monitor.
int32_t nativeDefault(const SettingsField& field);
// saverSettings takes the native defaults.
void applyNativeDefaults();

// Reads argv[1..argc-1]: saverSettings takes the native defaults, then the presets and
// settings in the order given.
// `daemonWindow` is $XSCREENSAVER_WINDOW or null; it wins over -root and -window, and
// -window-id wins over it. Options take one or two leading dashes. False on a bad
// option or value, with a one-line message (no newline) in `error`.
bool readSaverOptions(int argc, const char* const* argv, const char* daemonWindow, SaverOptions& options,
                      std::string& error);

// Whether the native saver has an option for the field: the display-mode switch
// (resW, resH, resC) is a Windows feature.
bool hasOption(const SettingsField& field);

// What a user reads about a field, in -help and in the daemon's settings dialog.
const char* optionLabel(const SettingsField& field);

// The options that are not settings, as -help and the manual page list them.
struct OptionHelp {
    const char* usage;  // "-delay USEC"
    std::string text;
};
std::vector<OptionHelp> commandOptionHelp();

// The command's form in one line, and how settings are read, in the words of -help and
// the manual page.
extern const char* const saverUsage;
extern const char* const settingsRule;
// The rules of the command line in words, for -help and the manual page: lines of at most
// 76 characters, without indent.
extern const char optionRules[];
// Where the picture comes from, in the order tried, in the same form.
extern const char pictureSourcesRule[];

// The -help text: usage, every option with its range and default, the presets.
std::string saverHelp();
