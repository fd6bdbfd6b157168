// The daemon's settings files: any text, as either file. A line of a setting added at the
// end always decides, whatever came before.
#include "fuzz_input.h"
#include "xscreensaver/daemon_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input = {data, size};
    const DaemonFile file = input.byte() & 1 ? DaemonFile::SystemDefaults : DaemonFile::User;
    const std::string text = input.rest();
    grabSetting(text, file);
    // After a line of its own: a backslash at the end of the text joins only that one.
    const std::string name = file == DaemonFile::User ? "grabDesktopImages" : "*grabDesktopImages";
    if (grabSetting(text + "\nx\n" + name + ": False\n", file) != GrabSetting::Forbidden) __builtin_trap();
    if (grabSetting(text + "\nx\n" + name + ": True\n", file) != GrabSetting::Allowed) __builtin_trap();
    // The picture folder likewise, its value without the blanks around it.
    std::string folder;
    const std::string folderName = file == DaemonFile::User ? "imageDirectory" : "*imageDirectory";
    if (textSetting(text + "\nx\n" + folderName + ":\t /my pictures \n", file, "imageDirectory", folder) !=
            GrabSetting::Allowed ||
        folder != "/my pictures")
        __builtin_trap();
    return 0;
}
