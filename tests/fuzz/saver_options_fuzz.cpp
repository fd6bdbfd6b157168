// The native command line: any arguments and any XSCREENSAVER_WINDOW. A line that is read
// leaves every setting within its option's range; one that is refused says why in one line.
#include <vector>

#include "fuzz_input.h"
#include "settings/settings_store.h"
#include "xscreensaver/saver_options.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input = {data, size};
    const bool daemon = input.byte() & 1;
    // Arguments are the zero-separated pieces of the rest; the first names the daemon's window.
    std::vector<std::string> pieces(1);
    for (const char c : input.rest()) {
        if (c) pieces.back() += c;
        else pieces.emplace_back();
    }
    std::vector<const char*> argv = {"quakeglass"};
    for (size_t i = daemon ? 1 : 0; i < pieces.size(); ++i) argv.push_back(pieces[i].c_str());
    SettingsStore::applyDefaults();
    SaverOptions options;
    std::string error;
    const bool read = readSaverOptions(int(argv.size()), argv.data(), daemon ? pieces[0].c_str() : nullptr, options, error);
    if (!read && (error.empty() || error.find('\n') != std::string::npos)) __builtin_trap();
    if (read && !options.help)
        for (const SettingsField& field : settingsFields) {
            const int32_t value = storedValue(saverSettings, field);
            if (hasOption(field) && (value < field.minValue || value > field.maxValue)) __builtin_trap();
        }
    return 0;
}
