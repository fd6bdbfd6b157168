// The daemon dialog's description of the native saver: every argument it can write is one
// the command line takes, its ranges and defaults are the table's, and it offers what a
// user sets (view, presets, sizes, children, flags, movement).
#include "xscreensaver/saver_config_xml.h"
#include "xscreensaver/saver_options.h"
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Attributes = std::map<std::string, std::string>;

// Each element of the description (<number .../>, <option .../> ...) with its attributes.
std::vector<std::pair<std::string, Attributes>> elements(const std::string& xml) {
    std::vector<std::pair<std::string, Attributes>> found;
    const std::regex element("<([a-z_]+)((?:\\s+[a-z_-]+=\"[^\"]*\")*)\\s*/?>");
    const std::regex attribute("([a-z_-]+)=\"([^\"]*)\"");
    for (std::sregex_iterator e(xml.begin(), xml.end(), element), end; e != end; ++e) {
        Attributes attributes;
        const std::string text = (*e)[2];
        for (std::sregex_iterator a(text.begin(), text.end(), attribute); a != end; ++a) attributes[(*a)[1]] = (*a)[2];
        found.push_back({(*e)[1], attributes});
    }
    return found;
}

// Whether the command line takes these words, as the dialog would append them; `settings`
// gets what they set.
bool accepted(const std::string& words, SaverSettings* settings = nullptr) {
    std::istringstream split(words);
    std::vector<std::string> parts{"quakeglass"};
    for (std::string word; split >> word;) parts.push_back(word);
    std::vector<const char*> argv;
    for (const std::string& part : parts) argv.push_back(part.c_str());
    SaverOptions options;
    std::string error;
    const bool ok = readSaverOptions(int(argv.size()), argv.data(), nullptr, options, error);
    if (settings) *settings = saverSettings;
    SettingsStore::applyDefaults();
    return ok;
}

}  // namespace

TEST(SaverConfigXml, EveryArgumentIsAnOptionWithTheTablesRangeAndDefault) {
    const std::string xml = saverConfigXml();
    std::set<std::string> ids;
    int numbers = 0;
    for (const auto& [tag, attributes] : elements(xml)) {
        if (attributes.count("id")) ids.insert(attributes.at("id"));
        for (const char* argument : {"arg-set", "arg-unset"})
            if (attributes.count(argument)) {
                EXPECT_TRUE(accepted(attributes.at(argument))) << attributes.at(argument);
            }
        if (tag != "number") continue;
        ++numbers;
        const std::string argument = attributes.at("arg");
        for (const char* value : {"low", "high", "default"})
            EXPECT_TRUE(accepted(std::string(argument).replace(argument.find('%'), 1, attributes.at(value))))
                << argument;
        const SettingsField* field = findSettingsField(attributes.at("id").c_str());
        if (!field) continue;  // the frame rate
        EXPECT_EQ(attributes.at("arg"), "-" + std::string(field->name) + " %");
        EXPECT_EQ(attributes.at("low"), std::to_string(field->minValue)) << field->name;
        EXPECT_LE(std::stoi(attributes.at("high")), field->maxValue) << field->name;
        EXPECT_EQ(attributes.at("default"), std::to_string(nativeDefault(*field))) << field->name;
    }
    EXPECT_GT(numbers, 10);
    for (const char* wanted : {"Mode", "monitorMode", "preset", "screenTextureWidth", "screenTextureHeight", "x_div", "y_div",
                               "genChildren", "delay", "showfps", "xyGoraud", "enableMovement", "rotX0", "rotX1", "rotY0",
                               "rotY1", "rotZ0", "rotZ1", "zoom0", "zoom1"})
        EXPECT_EQ(ids.count(wanted), 1u) << wanted;
}

TEST(SaverConfigXml, EachChoiceHasOneDefaultAndTheTagsClose) {
    const std::string xml = saverConfigXml();
    int defaults = -1, selects = 0;
    for (const auto& [tag, attributes] : elements(xml)) {
        if (tag == "select") {
            EXPECT_NE(defaults, 0) << "a select before " << attributes.at("id") << " has no default";
            defaults = 0, ++selects;
        }
        if (tag == "option" && !attributes.count("arg-set")) ++defaults;
    }
    EXPECT_EQ(defaults, 1);
    const auto count = [&](const std::string& text) {
        size_t n = 0;
        for (size_t at = xml.find(text); at != std::string::npos; at = xml.find(text, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count("</select>"), size_t(selects));
    EXPECT_EQ(count("<screensaver "), 1u);
    EXPECT_EQ(count("</screensaver>"), 1u);
    EXPECT_EQ(count("<"), count(">"));
}

// The dialog writes nothing for a select's unset choice: that choice must be what the saver
// does without the option, and every other choice must set a value of its own.
TEST(SaverConfigXml, EverySettingChoiceSetsItsOwnValueAndTheUnsetOneIsTheSaversDefault) {
    const SettingsField* field = nullptr;
    std::set<int32_t> values;
    int selects = 0;
    for (const auto& [tag, attributes] : elements(saverConfigXml())) {
        if (tag == "select") {
            field = findSettingsField(attributes.at("id").c_str());
            values.clear();
            selects += field != nullptr;
        }
        if (tag != "option" || !field) continue;
        const std::string argument = attributes.count("arg-set") ? attributes.at("arg-set") : "";
        SaverSettings settings;
        ASSERT_TRUE(accepted(argument, &settings)) << argument;
        const int32_t value = storedValue(settings, *field);
        EXPECT_TRUE(values.insert(value).second) << field->name << " " << argument;
        if (argument.empty()) {
            EXPECT_EQ(value, nativeDefault(*field)) << field->name;
        }
    }
    EXPECT_EQ(selects, 4);  // view, monitors, texture width and height
}
