#include "xscreensaver/saver_manual.h"

#include <cctype>

#include "settings/settings_fields.h"
#include "xscreensaver/saver_config_xml.h"
#include "xscreensaver/saver_options.h"

namespace {

bool isNamePart(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-'; }

// Text as roff prints it: a backslash as such, every dash of an option (a word that starts
// with a dash) as a minus, and no line that starts as a request.
std::string roff(const std::string& text) {
    std::string out;
    bool inOption = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const char before = i ? text[i - 1] : '\n';
        if (before == '\n' && (c == '.' || c == '\'')) out += "\\&";
        if (c == '-' && !isNamePart(before)) inOption = true;
        if (!isNamePart(c)) inOption = false;
        out += c == '\\' ? std::string("\\e") : c == '-' && inOption ? std::string("\\-") : std::string(1, c);
    }
    return out;
}

// A tagged paragraph: the tag in bold (the rest of it, after a blank, in italics).
std::string item(const std::string& tag, const std::string& text) {
    const size_t blank = tag.find(' ');
    const std::string head = blank == std::string::npos
                                 ? ".B " + roff(tag)
                                 : ".BI " + roff(tag.substr(0, blank)) + " \" " + roff(tag.substr(blank + 1)) + "\"";
    return ".TP\n" + head + "\n" + roff(text) + "\n";
}

std::string optionItems() {
    std::string page;
    for (const OptionHelp& option : commandOptionHelp()) page += item(option.usage, option.text);
    page += ".SS Settings\nEvery setting is an option with a value (" + roff(settingsRule) + ").\n";
    for (const SettingsField& field : settingsFields)
        if (hasOption(field))
            page += item(std::string("-") + field.name + " N",
                         std::string(optionLabel(field)) + " (" + std::to_string(field.minValue) + ".." +
                             std::to_string(field.maxValue) + ", default " +
                             std::to_string(nativeDefault(field)) + ").");
    return page;
}

}  // namespace

std::string saverManualPage(const std::string& version, const std::string& configXmlPath) {
    const std::string usage = saverUsage;
    return ".TH QUAKEGLASS 6 \"\" \"quakeglass " + version + "\" \"Screen savers\"\n"
           ".SH NAME\nquakeglass \\- the desktop breaks into flying boxes or ripples on waves, in 3D\n"
           ".SH SYNOPSIS\n.B quakeglass\n" + roff(usage.substr(usage.find(' ') + 1)) + "\n"
           ".SH DESCRIPTION\n" + roff(saverDescription) + "\n.PP\n" +
           roff("It is a program of the X11 screen-saver daemon, and runs on its own too. Under the daemon it draws "
                "in the window that XSCREENSAVER_WINDOW names, and shows the daemon's screenshot of the desktop "
                "when the daemon may grab desktop images (grabDesktopImages in ~/.xscreensaver, \"Grab desktop "
                "images\" in its settings dialog); otherwise, and wherever the screen reads black, a picture "
                "from its imageDirectory when the daemon may choose random images (chooseRandomImages, \"Choose "
                "random images\"), else the OpenGL logo. Settings given on the command line are not stored "
                "anywhere.") +
           "\n.SS Where the picture comes from\n.nf\n" + roff(pictureSourcesRule) + ".fi\n" +
           "\n.SH OPTIONS\n" + roff(optionRules) + optionItems() +
           ".SH XSCREENSAVER\n" +
           roff("Add this line to the programs: list in ~/.xscreensaver, the daemon's own file (its settings "
                "dialog keeps the options changed there on that line):") +
           "\n.PP\n.nf\n" + roff("  GL: quakeglass -root \\n\\") + "\n.fi\n.PP\n" +
           roff("The settings dialog, xscreensaver-settings, reads the saver's description from " + configXmlPath +
                ": it lists \"Quakeglass\", previews it and offers its settings, the frame rate among them.") +
           "\n.PP\n" +
           roff("xsecurelock's saver_xscreensaver module runs the same programs: line in the lock's window: there "
                "the saver shows the OpenGL logo or a picture from the folder, never the desktop behind the lock. "
                "When the lock's password prompt closes, xsecurelock sends SIGUSR1 (see SIGNALS).") +
           "\n.SH WAYLAND\n" +
           roff("Where WAYLAND_DISPLAY names a compositor and no X window is given (-wayland and -x11 force the "
                "choice), it covers every output with a full-screen window of its own, each showing its output's "
                "part of the desktop as grim takes it before the windows show; without grim, on a compositor that "
                "lets no program see the screen, or where the screen reads black, it shows a picture from the "
                "picture folder (-imageDirectory, or the daemon's imageDirectory when its chooseRandomImages is "
                "on, read from ~/.xscreensaver) whole on every output, else the OpenGL logo. Start "
                "it from the compositor's idle daemon, for example:") +
           "\n.PP\n.nf\n" + roff("  swayidle -w timeout 300 'quakeglass'") + "\n.fi\n" +
           ".SH SIGNALS\n" + item("SIGTERM, SIGINT, SIGHUP", "end the run within half a second, with status 0.") +
           item("SIGUSR1", "starts the scene afresh in the same window, and the run goes on: a new wall of boxes, "
                           "the waves and the movement from their start. xsecurelock sends it to reset its saver.") +
           ".SH ENVIRONMENT\n" + item("DISPLAY", "the X display, unless -display is given.") +
           item("WAYLAND_DISPLAY", "the Wayland compositor, drawn on when no X window is given and -x11 is not.") +
           item("XSCREENSAVER_WINDOW",
                "the window to draw in (decimal or 0x hex), as the daemon hands it over; -window-id wins over it.") +
           item("HOME", "where the daemon's settings file is looked for.") + ".SH FILES\n" +
           item("~/.xscreensaver",
                "the daemon's settings: grabDesktopImages says whether the desktop may be shown under the daemon; "
                "chooseRandomImages whether a picture from imageDirectory may stand in for it.") +
           item("/etc/X11/app-defaults/XScreenSaver", "the daemon's defaults, where the user's file says nothing.") +
           item(configXmlPath, "the settings dialog's description of the saver.") + ".SH EXIT STATUS\n" +
           item("0", "the run ended as asked: SIGTERM, SIGINT or SIGHUP, a key, a click, the wheel, a touch or a "
                     "move of the pointer in its own window, or the end of the window it draws in; on Wayland also "
                     "the compositor closing its window.") +
           item("1", "the display, OpenGL (GLX) on it, a window or an OpenGL context cannot be had, or the display "
                     "went away; on Wayland, the compositor (within 5 s), its xdg-shell windows or OpenGL (EGL) "
                     "cannot be had, or the compositor went away.") +
           item("2", "a bad option or value, or a window that does not exist or that OpenGL cannot draw on; one "
                     "line on standard error says which.") +
           ".SH SEE ALSO\n.BR xscreensaver (1),\n.BR xscreensaver\\-settings (1),\n.BR swayidle (1),\n.BR grim (1)\n";
}
