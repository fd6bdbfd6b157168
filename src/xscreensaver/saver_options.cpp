#include "xscreensaver/saver_options.h"

#include <strings.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "settings/monitor_mode.h"
#include "settings/presets.h"

namespace {

struct FieldLabel {
    const char* field;
    const char* label;
};

const FieldLabel fieldLabels[] = {
    {"Priority", "CPU priority: 0 lowest, 2 normal, 3..5 higher where permitted"},
    {"x_div", "grid columns"},
    {"y_div", "grid rows"},
    {"xyAmplitude", "wave height"},
    {"xyFrequency1", "first wave frequency"},
    {"xyFrequency2", "second wave frequency"},
    {"xySizeX", "wave scale across"},
    {"xySizeY", "wave scale down"},
    {"Mode", "view: 0 Explode, 1 Wave1, 2 Wave2, 3 Wave3"},
    {"genChildren", "child boxes of each exploded box"},
    {"xyGoraud", "smooth shading of the waves"},
    {"useLinear", "texture filtering"},
    {"screenTextureWidth", "desktop texture width"},
    {"screenTextureHeight", "desktop texture height"},
    {"useTrails", "trails (kept for the settings; draws nothing)"},
    {"enableMovement", "swing and zoom the scene"},
    {"rotX0", "swing about x, degrees"},
    {"rotX1", "time of the x swing"},
    {"rotY0", "swing about y, degrees"},
    {"rotY1", "time of the y swing"},
    {"rotZ0", "swing about z, degrees"},
    {"rotZ1", "time of the z swing"},
    {"zoom0", "zoom swing, tenths"},
    {"zoom1", "time of the zoom swing"},
    {"useOGL", "show the OpenGL logo instead of the desktop"},
    {"randPreset", "a random preset at each start"},
    {"monitorMode", "monitors: 0 one scene across all, 1 each its own, 2 primary only"},
};

// The option name after its one or two dashes; null when `arg` is no option.
const char* optionName(const char* arg) {
    if (arg[0] != '-') return nullptr;
    const char* name = arg + (arg[1] == '-' ? 2 : 1);
    return *name ? name : nullptr;
}

// Option names are read in any case.
bool isOption(const char* given, const char* name) { return strcasecmp(given, name) == 0; }

bool isHelp(const char* arg) {
    const char* name = optionName(arg);
    return name && (isOption(name, "help") || isOption(name, "h"));
}

// An argument as a message shows it, on one line: in quotes, control characters escaped,
// a long one cut short.
std::string quoted(const std::string& argument) {
    const size_t shown = 60;
    std::string text = "'";
    for (size_t i = 0; i < argument.size() && i < shown; ++i) {
        const unsigned char c = static_cast<unsigned char>(argument[i]);
        if (c >= ' ' && c != 0x7F) {
            text += char(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            text += escaped;
        }
    }
    return text + (argument.size() > shown ? "'..." : "'");
}

// The value of a digit in `base` (10 or 16), or -1.
int digitValue(char c, int base) {
    if (c >= '0' && c <= '9') return c - '0';
    if (base == 16 && c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (base == 16 && c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Digits of `base` to the end of `text`, at most `limit`; false for none, another character
// or a larger number.
bool readDigits(const char* text, int base, uint64_t limit, uint64_t& value) {
    value = 0;
    if (!*text) return false;
    for (; *text; ++text) {
        const int digit = digitValue(*text, base);
        if (digit < 0) return false;
        value = value * uint64_t(base) + uint64_t(digit);
        if (value > limit) return false;
    }
    return true;
}

// A whole number in decimal: digits, after a minus sign for a negative one. The daemon's
// settings dialog writes its numbers so.
bool readWholeNumber(const char* text, int32_t& value) {
    const bool negative = *text == '-';
    uint64_t magnitude;
    if (!readDigits(text + negative, 10, negative ? 2147483648u : 2147483647u, magnitude)) return false;
    value = negative ? int32_t(-int64_t(magnitude)) : int32_t(magnitude);
    return true;
}

// A window id: decimal, or hexadecimal after 0x; never 0.
bool readWindowId(const char* text, uint32_t& id) {
    const bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    uint64_t value;
    if (!readDigits(hex ? text + 2 : text, hex ? 16 : 10, UINT32_MAX, value) || value == 0) return false;
    id = uint32_t(value);
    return true;
}

const SettingsField* optionField(const char* name) {
    for (const SettingsField& field : settingsFields)
        if (hasOption(field) && isOption(name, field.name)) return &field;
    return nullptr;
}

bool applySetting(const SettingsField& field, const char* text, std::string& error) {
    int32_t value;
    if (!readWholeNumber(text, value) || value < field.minValue || value > field.maxValue) {
        error = "bad value " + quoted(text) + " for -" + field.name + " (a whole number " +
                std::to_string(field.minValue) + ".." + std::to_string(field.maxValue) + ")";
        return false;
    }
    assignStored(saverSettings, field, value);
    return true;
}

bool applyPreset(const char* name, std::string& error) {
    if (applyPresetValues(presetNamed(name))) return true;
    error = "unknown preset " + quoted(name) + " (see -help)";
    return false;
}

const int32_t maxDelayUs = 1000000;

bool applyDelay(const char* text, SaverOptions& options, std::string& error) {
    int32_t value;
    if (!readWholeNumber(text, value) || value < 0 || value > maxDelayUs) {
        error = "bad value " + quoted(text) + " for -delay (microseconds 0.." + std::to_string(maxDelayUs) + ")";
        return false;
    }
    options.delayUs = uint32_t(value);
    return true;
}

bool applyWindowId(const char* text, SaverOptions& options, std::string& error) {
    if (!readWindowId(text, options.windowId)) {
        error = "bad window id " + quoted(text) + " for -window-id (decimal or 0x hex)";
        return false;
    }
    options.target = DrawTarget::GivenWindow;
    return true;
}

// One option that takes a value; false with `error` set when it is unknown or bad.
bool applyValueOption(const char* name, const char* value, SaverOptions& options, std::string& error) {
    if (isOption(name, "window-id")) return applyWindowId(value, options, error);
    if (isOption(name, "preset")) return applyPreset(value, error);
    if (isOption(name, "delay")) return applyDelay(value, options, error);
    if (isOption(name, "display")) {
        options.display = value;
        return true;
    }
    if (isOption(name, "imageDirectory")) {
        options.imageDirectory = value;
        return true;
    }
    return applySetting(*optionField(name), value, error);
}

bool takesValue(const char* name) {
    return isOption(name, "window-id") || isOption(name, "preset") || isOption(name, "display") ||
           isOption(name, "delay") || isOption(name, "imageDirectory") || optionField(name);
}

}  // namespace

const char optionRules[] =
    "Option names take one or two dashes and may be written in any case\n"
    "(-x_div, --X_DIV). Values are whole decimal numbers, such as 25 or 30000\n"
    "(not 25.0, +25, 0x19 or 2.5e1); a window id may also be written in\n"
    "hexadecimal after 0x. Later options win over earlier ones and over presets.\n"
    "A bad option or value ends the program with one line on stderr and status 2.\n"
    "-help anywhere on the line prints the usage and ends with status 0, whatever\n"
    "else is given.\n";

const char pictureSourcesRule[] =
    "The picture it animates comes from the first of these that gives one:\n"
    "1. the OpenGL logo, when -useOGL 1 asks for it;\n"
    "2. the desktop: under the X11 screen-saver daemon only when it may grab desktop\n"
    "   images (grabDesktopImages in ~/.xscreensaver); on Wayland from grim;\n"
    "3. a PNG or JPEG picture chosen at random in -imageDirectory DIR and the folders\n"
    "   below it, else in the daemon's imageDirectory when its chooseRandomImages is\n"
    "   on (hidden files and folders are passed over, and so are files that do not\n"
    "   read as pictures or hold more than 64 megapixels; the search gives up after\n"
    "   2 s);\n"
    "4. the OpenGL logo.\n";

bool hasOption(const SettingsField& field) {
    for (const FieldLabel& label : fieldLabels)
        if (std::strcmp(label.field, field.name) == 0) return true;
    return false;
}

const char* optionLabel(const SettingsField& field) {
    for (const FieldLabel& label : fieldLabels)
        if (std::strcmp(label.field, field.name) == 0) return label.label;
    return "";
}

int32_t nativeDefault(const SettingsField& field) {
    return field.intField == &SaverSettings::monitorMode ? nativeMonitorModeDefault : field.defaultValue;
}

void applyNativeDefaults() {
    for (const SettingsField& field : settingsFields) assignStored(saverSettings, field, nativeDefault(field));
}

bool readSaverOptions(int argc, const char* const* argv, const char* daemonWindow, SaverOptions& options,
                      std::string& error) {
    applyNativeDefaults();
    for (int i = 1; i < argc; ++i)
        if (isHelp(argv[i])) {
            options.help = true;  // whatever else the line or the environment holds
            return true;
        }
    bool givenWindow = false;
    for (int i = 1; i < argc; ++i) {
        const char* name = optionName(argv[i]);
        if (!name) {
            error = "unexpected argument " + quoted(argv[i]) + " (see -help)";
            return false;
        }
        if (isOption(name, "root")) {
            options.target = DrawTarget::Root;
        } else if (isOption(name, "window")) {
            options.target = DrawTarget::OwnWindow;
        } else if (isOption(name, "x11") || isOption(name, "wayland")) {
            options.host = isOption(name, "x11") ? NativeHost::X11 : NativeHost::Wayland;
        } else if (isOption(name, "fps")) {
            options.showFps = true;
        } else if (!takesValue(name)) {
            error = "unknown option " + quoted(argv[i]) + " (see -help)";
            return false;
        } else if (i + 1 == argc) {
            error = "option " + quoted(argv[i]) + " needs a value";
            return false;
        } else if (!applyValueOption(name, argv[++i], options, error)) {
            return false;
        }
        givenWindow = options.target == DrawTarget::GivenWindow;
    }
    if (daemonWindow && !givenWindow) {
        if (!readWindowId(daemonWindow, options.windowId)) {
            error = "bad window id " + quoted(daemonWindow) + " in XSCREENSAVER_WINDOW";
            return false;
        }
        options.target = DrawTarget::DaemonWindow;
    }
    if (options.host == NativeHost::Wayland && options.target != DrawTarget::OwnWindow) {
        error = "-wayland draws in a full-screen window of its own, never in an X window (-root, -window-id, "
                "XSCREENSAVER_WINDOW)";
        return false;
    }
    return true;
}

const char* const saverUsage =
    "quakeglass [-window | -root | -window-id ID] [-x11 | -wayland] [-display NAME] [-delay USEC] [-fps] "
    "[-imageDirectory DIR] [-preset NAME] [-SETTING N]...";

const char* const settingsRule = "each takes a whole decimal number within its range";

std::vector<OptionHelp> commandOptionHelp() {
    std::string presets = "a built-in preset:";
    for (uint16_t command : randomPresetIds) presets += std::string(" ") + presetName(command);
    return {
        {"-window", "a full-screen window of its own (the default); a key, a click, the wheel or moving the "
                    "pointer ends it"},
        {"-root", "draw on the root window, or on the virtual root (__SWM_VROOT)"},
        {"-window-id ID", "draw inside an existing window, as a preview (decimal or 0x hex)"},
        {"-x11", "draw on the X display, even where WAYLAND_DISPLAY names a Wayland compositor"},
        {"-wayland", "draw on the Wayland compositor: a full-screen window of its own on every output, "
                     "each showing its part of the desktop; a key, a button, a touch or moving the pointer "
                     "ends it. The default where WAYLAND_DISPLAY is set and no X window is given; without "
                     "-wayland, the X display stands in where no compositor answers"},
        {"-display NAME", "the X display (default: $DISPLAY)"},
        {"-delay USEC", "the least time from the start of one frame to the next, 0..1000000 microseconds "
                        "(default 30000, about 33 frames a second; 0: as fast as it can)"},
        {"-fps", "show the frames per second and the share of one core used, in the bottom-left corner"},
        {"-imageDirectory DIR", "where to take a picture from when the desktop is not shown: a PNG or JPEG "
                                "file chosen at random in DIR and the folders below it (in place of the "
                                "daemon's imageDirectory, which it uses when chooseRandomImages is on)"},
        {"-preset NAME", presets},
        {"-help", "print the options with their ranges and defaults, and end"},
    };
}

// `text` in lines of at most `width` characters, every line but the first indented.
static std::string wrapped(const std::string& text, size_t indent, size_t width) {
    std::string out, line;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(' ', start);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(start, end - start);
        if (!line.empty() && indent + line.size() + 1 + word.size() > width) {
            out += line + "\n" + std::string(indent, ' ');
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
        start = end + 1;
    }
    return out + line + "\n";
}

std::string saverHelp() {
    std::string text = std::string("usage: ") + wrapped(saverUsage, 18, 92);
    for (const OptionHelp& option : commandOptionHelp()) {
        char usage[32];
        std::snprintf(usage, sizeof usage, "  %-17s", option.usage);
        // A usage too long for its column has its text on the next line.
        if (std::strlen(option.usage) > 16) text += "  " + std::string(option.usage) + "\n" + std::string(19, ' ');
        else text += usage;
        text += wrapped(option.text, 19, 92);
    }
    text += "XSCREENSAVER_WINDOW=ID in the environment names the window to draw in, unless -window-id is\n"
            "given. SIGTERM, SIGINT or SIGHUP ends the program.\n\n" + std::string(optionRules) + "\nSettings (" +
            std::string(settingsRule) + "):\n";
    for (const SettingsField& field : settingsFields) {
        if (!hasOption(field)) continue;
        char line[160];
        std::snprintf(line, sizeof line, "  -%-20s %6d..%-6d default %-5d %s\n", field.name, field.minValue,
                      field.maxValue, nativeDefault(field), optionLabel(field));
        text += line;
    }
    return text + "\n" + pictureSourcesRule;
}
