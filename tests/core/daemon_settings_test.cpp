// The daemon's desktop-grab preference: the user's file over the system's defaults.
#include "xscreensaver/daemon_settings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

TEST(DaemonSettings, ResourceLinesInEitherForm) {
    EXPECT_FALSE(booleanResource("mode: one\ngrabDesktopImages:\tFalse\n", "grabDesktopImages", true));
    EXPECT_TRUE(booleanResource("*grabDesktopImages:  True  \r\n", "grabDesktopImages", false));
    EXPECT_FALSE(booleanResource("*grabDesktopImages: off", "grabDesktopImages", true));
    EXPECT_TRUE(booleanResource("grabVideoFrames: False\n", "grabDesktopImages", true));  // not there
    EXPECT_FALSE(booleanResource("grabDesktopImages: maybe\n", "grabDesktopImages", false));
    EXPECT_TRUE(booleanResource("! grabDesktopImages: False\n", "grabDesktopImages", true));  // a comment
}

TEST(DaemonSettings, TheUsersFileWinsOverTheSystemDefaults) {
    char home[] = "/tmp/qg-daemon-settings-XXXXXX";
    ASSERT_NE(mkdtemp(home), nullptr);
    const std::string user = std::string(home) + "/.xscreensaver", system = std::string(home) + "/XScreenSaver";
    std::ofstream(system) << "*grabDesktopImages:\tFalse\n";
    EXPECT_FALSE(desktopGrabAllowed(home, system.c_str()));  // no user file: the system's
    std::ofstream(user) << "grabDesktopImages: True\n";
    EXPECT_TRUE(desktopGrabAllowed(home, system.c_str()));
    EXPECT_TRUE(desktopGrabAllowed(nullptr, (std::string(home) + "/none").c_str()));  // neither: allowed
    std::remove(user.c_str());
    std::remove(system.c_str());
    std::remove(home);
}
