#include "host/saver_config_xml.h"

#include <string>

#include "settings/presets.h"
#include "settings/settings_fields.h"

namespace {

enum class Widget { Slider, SpinButton, CheckBox, TextureSide };

struct DialogRow {
    const char* field;
    Widget widget;
    const char* label;
};

// In the order of the Windows configuration dialog; the view and preset choices come first.
const DialogRow dialogRows[] = {
    {"x_div", Widget::Slider, "Grid columns"},
    {"y_div", Widget::Slider, "Grid rows"},
    {"genChildren", Widget::Slider, "Child boxes (Explode)"},
    {"xyAmplitude", Widget::Slider, "Wave height"},
    {"xyFrequency1", Widget::Slider, "Wave frequency 1"},
    {"xyFrequency2", Widget::Slider, "Wave frequency 2"},
    {"screenTextureWidth", Widget::TextureSide, "Texture width"},
    {"screenTextureHeight", Widget::TextureSide, "Texture height"},
    {"xyGoraud", Widget::CheckBox, "Smooth shading"},
    {"useLinear", Widget::CheckBox, "Filtering"},
    {"useTrails", Widget::CheckBox, "Trails"},
    {"useOGL", Widget::CheckBox, "OpenGL logo instead of the desktop"},
    {"randPreset", Widget::CheckBox, "Random preset"},
    {"enableMovement", Widget::CheckBox, "Enable movement"},
    {"rotX0", Widget::SpinButton, "Swing X, degrees"},
    {"rotX1", Widget::SpinButton, "Swing X, time"},
    {"rotY0", Widget::SpinButton, "Swing Y, degrees"},
    {"rotY1", Widget::SpinButton, "Swing Y, time"},
    {"rotZ0", Widget::SpinButton, "Swing Z, degrees"},
    {"rotZ1", Widget::SpinButton, "Swing Z, time"},
    {"zoom0", Widget::SpinButton, "Zoom, tenths"},
    {"zoom1", Widget::SpinButton, "Zoom, time"},
    {"Priority", Widget::Slider, "CPU priority"},
};

const char* const viewLabels[] = {"Explode", "Wave 1", "Wave 2", "Wave 3"};
const int textureSides[] = {128, 256, 512, 1024, 2048};  // the Windows dialog's choices

std::string number(int value) { return std::to_string(value); }

std::string quoted(const std::string& name, const std::string& value) { return " " + name + "=\"" + value + "\""; }

// One choice of a select: the default is the one without an argument.
std::string option(const std::string& id, const std::string& label, const std::string& argument) {
    return "    <option" + quoted("id", id) + quoted("_label", label) +
           (argument.empty() ? "" : quoted("arg-set", argument)) + "/>\n";
}

std::string numberRow(const SettingsField& field, const DialogRow& row) {
    const bool slider = row.widget == Widget::Slider;
    return std::string("  <number") + quoted("id", field.name) + quoted("type", slider ? "slider" : "spinbutton") +
           quoted("arg", std::string("-") + field.name + " %") + quoted("_label", row.label) +
           (slider ? quoted("_low-label", number(field.minValue)) + quoted("_high-label", number(field.maxValue)) : "") +
           quoted("low", number(field.minValue)) + quoted("high", number(field.maxValue)) +
           quoted("default", number(field.defaultValue)) + "/>\n";
}

std::string checkBoxRow(const SettingsField& field, const DialogRow& row) {
    const std::string setting = field.defaultValue ? "arg-unset" : "arg-set";
    const std::string argument = std::string("-") + field.name + (field.defaultValue ? " 0" : " 1");
    return std::string("  <boolean") + quoted("id", field.name) + quoted("_label", row.label) +
           quoted(setting, argument) + "/>\n";
}

std::string textureSideRow(const SettingsField& field, const DialogRow& row) {
    std::string xml = std::string("  <select") + quoted("id", field.name) + ">\n";
    for (int side : textureSides) {
        const std::string label = std::string(row.label) + " " + number(side);
        xml += option(field.name + number(side), label,
                      side == field.defaultValue ? "" : std::string("-") + field.name + " " + number(side));
    }
    return xml + "  </select>\n";
}

std::string choiceRows() {
    std::string xml = "  <select id=\"preset\">\n" + option("no-preset", "No preset", "");
    for (uint16_t command : randomPresetIds)
        xml += option(presetName(command), std::string("Preset ") + presetName(command),
                      std::string("-preset ") + presetName(command));
    xml += "  </select>\n  <select id=\"Mode\">\n";
    for (int mode = 0; mode < 4; ++mode)
        xml += option("mode" + number(mode), viewLabels[mode], mode ? "-Mode " + number(mode) : "");
    return xml + "  </select>\n";
}

}  // namespace

std::string saverConfigXml() {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n\n"
        "<screensaver name=\"quakeglass\" _label=\"Quakeglass\" gl=\"yes\">\n\n"
        "  <command arg=\"-root\"/>\n\n" +
        choiceRows();
    for (const DialogRow& row : dialogRows) {
        const SettingsField& field = *findSettingsField(row.field);
        if (row.widget == Widget::CheckBox) xml += checkBoxRow(field, row);
        else if (row.widget == Widget::TextureSide) xml += textureSideRow(field, row);
        else xml += numberRow(field, row);
    }
    return xml +
           "\n  <_description>\n"
           "Takes a picture of the desktop and animates it: in the Explode view the desktop\n"
           "breaks into a wall of boxes that fly toward you and split into smaller boxes; in the\n"
           "three Wave views it ripples on a grid of sine waves; the whole scene can swing and\n"
           "zoom. A preset sets a whole look; options below it change it further.\n"
           "  </_description>\n"
           "</screensaver>\n";
}
