#include "xscreensaver/saver_config_xml.h"

#include <string>

#include "settings/monitor_mode.h"
#include "settings/presets.h"
#include "settings/settings_fields.h"
#include "xscreensaver/saver_options.h"

namespace {

const int32_t normalPriority = 2;
// The daemon's own savers offer delays up to a tenth of a second on their slider.
const int32_t slowestFrameRateDelayUs = 100000;

enum class Widget { Slider, SpinButton, CheckBox, TextureSide, FrameRate, ShowFrameRate };

struct DialogRow {
    const char* field;  // a settings field; for the frame rate rows, the option's id
    Widget widget;
    const char* label;
    bool besidePrevious;  // on one line with the row before
    int32_t highest = 0;  // a slider's right end, where below the table's maximum
};

// Two columns, as in the Windows configuration dialog: the effects, then the flags and
// the movement. The view and preset choices stand above both. Only what takes effect on
// Linux: no "Trails" (it draws nothing anywhere), and a priority no higher than normal,
// since a program may not raise its own (the daemon starts it niced already).
const DialogRow leftColumn[] = {
    {"x_div", Widget::Slider, "Grid columns", false},
    {"y_div", Widget::Slider, "Grid rows", false},
    {"genChildren", Widget::Slider, "Child boxes (Explode)", false},
    {"xyAmplitude", Widget::Slider, "Wave height", false},
    {"xyFrequency1", Widget::Slider, "Wave frequency 1", false},
    {"xyFrequency2", Widget::Slider, "Wave frequency 2", false},
    {"Priority", Widget::Slider, "CPU priority", false, normalPriority},
    {"delay", Widget::FrameRate, "Frame rate", false},
    {"screenTextureWidth", Widget::TextureSide, "Texture", false},
    {"screenTextureHeight", Widget::TextureSide, "by", true},
};
const DialogRow rightColumn[] = {
    {"xyGoraud", Widget::CheckBox, "Smooth shading", false},
    {"useLinear", Widget::CheckBox, "Filtering", false},
    {"useOGL", Widget::CheckBox, "OpenGL logo instead of the desktop", false},
    {"randPreset", Widget::CheckBox, "Random preset", false},
    {"showfps", Widget::ShowFrameRate, "Show frame rate", false},
    {"enableMovement", Widget::CheckBox, "Enable movement", false},
    {"rotX0", Widget::SpinButton, "Swing X, degrees", false},
    {"rotX1", Widget::SpinButton, "time", true},
    {"rotY0", Widget::SpinButton, "Swing Y, degrees", false},
    {"rotY1", Widget::SpinButton, "time", true},
    {"rotZ0", Widget::SpinButton, "Swing Z, degrees", false},
    {"rotZ1", Widget::SpinButton, "time", true},
    {"zoom0", Widget::SpinButton, "Zoom, tenths", false},
    {"zoom1", Widget::SpinButton, "time", true},
};

const char* const viewLabels[] = {"Explode", "Wave 1", "Wave 2", "Wave 3"};
// A select has no label of its own: each choice says what it is about.
const char* const monitorModeLabels[] = {"One scene across all monitors", "Each monitor its own scene",
                                         "Primary monitor only"};
const int textureSides[] = {128, 256, 512, 1024, 2048};  // the Windows dialog's choices

std::string number(int value) { return std::to_string(value); }

std::string quoted(const std::string& name, const std::string& value) {
    return " " + name + "=\"" + xmlEscaped(value) + "\"";
}

// One choice of a select: the default is the one without an argument.
std::string option(const std::string& id, const std::string& label, const std::string& argument) {
    return "    <option" + quoted("id", id) + quoted("_label", label) +
           (argument.empty() ? "" : quoted("arg-set", argument)) + "/>\n";
}

std::string numberRow(const SettingsField& field, const DialogRow& row) {
    const bool slider = row.widget == Widget::Slider;
    const int32_t high = row.highest ? row.highest : field.maxValue;
    return std::string("  <number") + quoted("id", field.name) + quoted("type", slider ? "slider" : "spinbutton") +
           quoted("arg", std::string("-") + field.name + " %") + quoted("_label", row.label) +
           (slider ? quoted("_low-label", number(field.minValue)) + quoted("_high-label", number(high)) : "") +
           quoted("low", number(field.minValue)) + quoted("high", number(high)) +
           quoted("default", number(nativeDefault(field))) + "/>\n";
}

// The daemon's frame rate slider: -delay, inverted, so that right is more frames.
std::string frameRateRow(const DialogRow& row) {
    return std::string("  <number") + quoted("id", row.field) + quoted("type", "slider") +
           quoted("arg", "-delay %") + quoted("_label", row.label) + quoted("_low-label", "Low") +
           quoted("_high-label", "High") + quoted("low", "0") + quoted("high", number(slowestFrameRateDelayUs)) +
           quoted("default", number(int(SaverOptions().delayUs))) + quoted("convert", "invert") + "/>\n";
}

std::string checkBoxRow(const SettingsField& field, const DialogRow& row) {
    const bool onByDefault = nativeDefault(field) != 0;
    const std::string setting = onByDefault ? "arg-unset" : "arg-set";
    const std::string argument = std::string("-") + field.name + (onByDefault ? " 0" : " 1");
    return std::string("  <boolean") + quoted("id", field.name) + quoted("_label", row.label) +
           quoted(setting, argument) + "/>\n";
}

std::string textureSideRow(const SettingsField& field, const DialogRow& row) {
    std::string xml = std::string("  <select") + quoted("id", field.name) + ">\n";
    for (int side : textureSides) {
        const std::string label = std::string(row.label) + " " + number(side);
        xml += option(field.name + number(side), label,
                      side == nativeDefault(field) ? "" : std::string("-") + field.name + " " + number(side));
    }
    return xml + "  </select>\n";
}

std::string row(const DialogRow& row) {
    if (row.widget == Widget::FrameRate) return frameRateRow(row);
    if (row.widget == Widget::ShowFrameRate)
        return std::string("  <boolean") + quoted("id", row.field) + quoted("_label", row.label) +
               quoted("arg-set", "-fps") + "/>\n";
    const SettingsField& field = *findSettingsField(row.field);
    if (row.widget == Widget::CheckBox) return checkBoxRow(field, row);
    if (row.widget == Widget::TextureSide) return textureSideRow(field, row);
    return numberRow(field, row);
}

// A column of rows; rows beside their predecessor share an hgroup with it.
template <size_t count>
std::string column(const DialogRow (&rows)[count]) {
    std::string xml = "<vgroup>\n";
    for (size_t i = 0; i < count; ++i) {
        const bool pairStarts = i + 1 < count && rows[i + 1].besidePrevious;
        if (pairStarts) xml += "<hgroup>\n";
        xml += row(rows[i]);
        if (rows[i].besidePrevious) xml += "</hgroup>\n";
    }
    return xml + "</vgroup>\n";
}

// "explode-1" is the first button of the dialog's "Explode Presets": "Explode preset 1".
std::string presetLabel(const std::string& name) {
    const size_t dash = name.find('-');
    return char(name[0] - 'a' + 'A') + name.substr(1, dash - 1) + " preset " + name.substr(dash + 1);
}

std::string choiceRows() {
    std::string xml = "<hgroup>\n  <select id=\"preset\">\n" + option("no-preset", "No preset", "");
    for (uint16_t command : randomPresetIds)
        xml += option(presetName(command), presetLabel(presetName(command)),
                      std::string("-preset ") + presetName(command));
    xml += "  </select>\n  <select id=\"Mode\">\n";
    for (int mode = 0; mode < 4; ++mode)
        xml += option("mode" + number(mode), viewLabels[mode], mode ? "-Mode " + number(mode) : "");
    xml += "  </select>\n  <select id=\"monitorMode\">\n";
    for (int mode = SpanMonitors; mode <= PrimaryMonitorOnly; ++mode)
        xml += option("monitors" + number(mode), monitorModeLabels[mode],
                      mode == nativeMonitorModeDefault ? "" : "-monitorMode " + number(mode));
    return xml + "  </select>\n</hgroup>\n";
}

}  // namespace

std::string xmlEscaped(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\'': escaped += "&apos;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

const char* const saverDescription =
    "Takes a picture of the desktop and animates it: in the Explode view the desktop\n"
    "breaks into a wall of boxes that fly toward you and split into smaller boxes; in the\n"
    "three Wave views it ripples on a grid of sine waves; the whole scene can swing and\n"
    "zoom. A preset sets a whole look; options below it change it further.";

std::string saverConfigXml() {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n\n"
        "<screensaver name=\"quakeglass\" _label=\"Quakeglass\" gl=\"yes\">\n\n"
        "  <command arg=\"-root\"/>\n\n" +
        choiceRows() + "<hgroup>\n" + column(leftColumn) + column(rightColumn) + "</hgroup>\n";
    return xml + "\n  <_description>\n" + xmlEscaped(saverDescription) + "\n  </_description>\n</screensaver>\n";
}
