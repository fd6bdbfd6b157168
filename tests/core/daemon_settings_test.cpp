// The daemon's desktop-grab preference: lines read as the daemon reads them, the user's
// file over the system defaults, and files that are not read.
#include "xscreensaver/daemon_settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <tuple>

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

TEST(DaemonSettings, RandomImagesAndTheirFolderAreReadAsTheGrabIs) {
    // Checked against xscreensaver-getimage --verbose (6.06): the folder's blanks go, "~/" is
    // the home; a last line not spelled as the daemon reads it leaves no folder.
    std::string folder = "unchanged";
    EXPECT_EQ(textSetting("mode: one\n", DaemonFile::User, "imageDirectory", folder), GrabSetting::NotSet);
    EXPECT_EQ(folder, "unchanged");
    textSetting("imageDirectory:   ~/Pictures  \n", DaemonFile::User, "imageDirectory", folder);
    EXPECT_EQ(expandedFolder(folder, "/home/u"), "/home/u/Pictures");
    EXPECT_EQ(expandedFolder("~", "/home/u"), "~");
    EXPECT_EQ(textSetting("imageDirectory: /a\nImageDirectory: /b\n", DaemonFile::User, "imageDirectory", folder),
              GrabSetting::Forbidden);
    EXPECT_EQ(folder, "");
    textSetting("*imageDirectory:\t/srv/backgrounds\n", DaemonFile::SystemDefaults, "imageDirectory", folder);
    EXPECT_EQ(folder, "/srv/backgrounds");
    EXPECT_EQ(flagSetting("chooseRandomImages: True\nchooseRandomImages: Fals\n", DaemonFile::User, "chooseRandomImages"),
              GrabSetting::Forbidden);
}

TEST(DaemonSettings, EachPictureSettingTakesTheUsersFileFirst) {
    char home[] = "/tmp/qg-daemon-images-XXXXXX";
    ASSERT_NE(mkdtemp(home), nullptr);
    const std::string user = std::string(home) + "/.xscreensaver", system = std::string(home) + "/XScreenSaver";
    auto read = [&] {  // grab, random pictures, folder
        const DaemonImageSettings settings = daemonImageSettings(home, system.c_str());
        return std::make_tuple(settings.grabAllowed, settings.randomImages, settings.imageDirectory);
    };
    // Debian's defaults: neither desktop nor pictures.
    std::ofstream(system) << "*grabDesktopImages:\tFalse\n*chooseRandomImages:\tFalse\n*imageDirectory:\t\n";
    EXPECT_EQ(read(), std::make_tuple(false, false, std::string()));
    std::ofstream(user) << "chooseRandomImages: True\nimageDirectory: ~/Pictures\n";  // grab: the system's
    EXPECT_EQ(read(), std::make_tuple(false, true, std::string(home) + "/Pictures"));
    std::ofstream(user) << "grabDesktopImages: True\n";
    std::ofstream(system) << "*chooseRandomImages:\tTrue\n*imageDirectory:\t/srv/pictures\n";
    EXPECT_EQ(read(), std::make_tuple(true, true, std::string("/srv/pictures")));
    // A user's file that cannot be read: neither, whatever the system's says, in one line.
    std::remove(user.c_str());
    ASSERT_EQ(mkfifo(user.c_str(), 0600), 0);
    testing::internal::CaptureStderr();
    const auto unread = read();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(std::get<0>(unread) || std::get<1>(unread));
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    std::remove(user.c_str());
    std::remove(system.c_str());
    std::remove(home);
}
