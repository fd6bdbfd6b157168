// The daemon's desktop-grab preference: lines read as the daemon reads them, the user's
// file over the system defaults, and files that are not read.
#include "xscreensaver/daemon_settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

TEST(DaemonSettings, TheLastLineDecidesAndDoubtForbids) {
    const GrabSetting notSet = GrabSetting::NotSet, allowed = GrabSetting::Allowed, forbidden = GrabSetting::Forbidden;
    // What the daemon (xscreensaver 6.06) made of each text, seen through its own reader.
    const struct {
        const char* text;
        GrabSetting setting;
    } userFile[] = {
        {"mode: one\n\tgrabDesktopImages:TRUE\r\n", allowed},
        {"grabDesktopImages: True\ngrabDesktopImages: False\n", forbidden},
        {"grabDesktopImages: False\ngrabDesktopImages: yes", allowed},
        {"grabDesktopImages: False\nGRABDESKTOPIMAGES: True\n", forbidden},  // the daemon ignores that spelling
        {"grabDesktopImages: False\n*grabDesktopImages: True\n", forbidden},
        {"grabDesktopImages  : True\n", forbidden},
        {"grabDesktopImages: 1\n", forbidden},  // not a truth value to the daemon
        {"grabDesktopImages: True # here\n", forbidden},
        {"grabDesktopImages: True\nprograms: foo \\\ngrabDesktopImages: False\n", allowed},  // inside the list
        {"grabDesktopImages: Tru\\\ne\n", allowed},
        {"grabDesktopImages: True\n! grabDesktopImages: False\n# grabDesktopImages: False\n", allowed},
        {"grabVideoFrames: True\ngrabDesktopImages True\n", notSet},
    };
    for (const auto& c : userFile) EXPECT_EQ(grabSetting(c.text, DaemonFile::User), c.setting) << c.text;
    EXPECT_EQ(grabSetting("*grabDesktopImages:\tTrue\n", DaemonFile::SystemDefaults), allowed);
    EXPECT_EQ(grabSetting("XScreenSaver.grabDesktopImages: on\n", DaemonFile::SystemDefaults), allowed);
    EXPECT_EQ(grabSetting("grabDesktopImages: True\n", DaemonFile::SystemDefaults), forbidden);
}

TEST(DaemonSettings, TheUsersFileWinsAndOnlySmallRegularFilesAreRead) {
    char home[] = "/tmp/qg-daemon-settings-XXXXXX";
    ASSERT_NE(mkdtemp(home), nullptr);
    const std::string user = std::string(home) + "/.xscreensaver", system = std::string(home) + "/XScreenSaver";
    std::ofstream(system) << "*grabDesktopImages:\tFalse\n";
    EXPECT_FALSE(desktopGrabAllowed(home, system.c_str()));  // no user file: the system's
    std::ofstream(user) << "mode: one\n";
    EXPECT_FALSE(desktopGrabAllowed(home, system.c_str()));  // nothing said there either
    std::ofstream(user) << "grabDesktopImages: True\n";
    EXPECT_TRUE(desktopGrabAllowed(home, system.c_str()));
    EXPECT_TRUE(desktopGrabAllowed(nullptr, (std::string(home) + "/none").c_str()));  // neither: allowed

    // A file too big to be the daemon's, a FIFO nobody writes to, a device: the logo, at once.
    std::ofstream(user) << "grabDesktopImages: True\n" << std::string(maxDaemonFileBytes, '!');
    EXPECT_FALSE(desktopGrabAllowed(home, system.c_str()));
    std::remove(user.c_str());
    ASSERT_EQ(mkfifo(user.c_str(), 0600), 0);
    EXPECT_FALSE(desktopGrabAllowed(home, system.c_str()));
    std::remove(user.c_str());
    ASSERT_EQ(symlink("/dev/zero", user.c_str()), 0);
    EXPECT_FALSE(desktopGrabAllowed(home, system.c_str()));
    std::remove(user.c_str());
    std::remove(system.c_str());
    std::remove(home);
}
