// The user's picture folder: which files are pictures (as the daemon's loader sees them),
// folders below followed once each, hidden ones, FIFOs and devices passed over; a broken
// picture passed over for another; the picture fitted to the screen; where the picture
// comes from, in order.
#include "native/image_folder.h"
#include "native/picture_choice.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>

#include "capture/desktop_snapshot.h"
#include "picture_fixture.h"
#include "settings/saver_settings.h"

namespace {

struct Folder {
    std::string path;
    Folder() {
        char name[] = "/tmp/qg-image-folder-XXXXXX";
        path = mkdtemp(name) ? name : "";
    }
    ~Folder() { std::system(("rm -rf '" + path + "'").c_str()); }
    std::string at(const std::string& name) const { return path + "/" + name; }
    void write(const std::string& name, const std::vector<uint8_t>& bytes) const {
        std::ofstream(at(name), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
    }
    void folder(const std::string& name) const { mkdir(at(name).c_str(), 0755); }
};

std::vector<std::string> namesUnder(const Folder& folder) {
    std::vector<std::string> names = pictureFiles(folder.path, nullptr);
    for (std::string& name : names) name.erase(0, folder.path.size() + 1);
    std::sort(names.begin(), names.end());
    return names;
}

bool choose(const std::string& folder, uint32_t seed, DecodedPicture& picture, std::string& said) {
    testing::internal::CaptureStderr();
    const bool chosen = randomFolderPicture(folder, seed, 0, picture);
    said = testing::internal::GetCapturedStderr();
    return chosen;
}

}  // namespace

TEST(ImageFolder, PicturesAreFoundAsTheDaemonsLoaderFindsThem) {
    EXPECT_TRUE(namedAsPicture("a.b.pjpeg"));
    EXPECT_FALSE(namedAsPicture("beach.gif"));  // the daemon's, but not decoded here
    EXPECT_FALSE(namedAsPicture("png"));

    Folder folder;
    const std::vector<uint8_t> png = pictureFixture("rgb.png");
    folder.folder("2024");
    folder.folder("2024/summer");
    folder.write("2024/summer/beach.png", png);
    folder.write("top.jpeg", png);  // a name is taken as it is; the bytes decide later
    folder.write("notes.txt", png);
    folder.folder(".thumbnails");
    folder.write(".thumbnails/small.png", png);
    folder.write(".hidden.png", png);
    folder.folder("album.jpg");  // a folder named as a picture is still walked
    folder.write("album.jpg/inner.PNG", png);
    ASSERT_EQ(symlink((folder.path + "/2024").c_str(), folder.at("again").c_str()), 0);  // the same folder twice
    ASSERT_EQ(symlink(folder.path.c_str(), folder.at("2024/summer/loop").c_str()), 0);
    ASSERT_EQ(mkfifo(folder.at("waiting").c_str(), 0600), 0);
    ASSERT_EQ(symlink("/dev/zero", folder.at("zero").c_str()), 0);
    const std::vector<std::string> names = namesUnder(folder);
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[1], "album.jpg/inner.PNG");
    EXPECT_EQ(names[2], "top.jpeg");
    EXPECT_TRUE(names[0] == "2024/summer/beach.png" || names[0] == "again/summer/beach.png") << names[0];

    // What is no folder gives no files, and never a wait.
    for (const std::string& notAFolder : {folder.at("waiting"), folder.at("zero"), folder.at("top.jpeg"), std::string()})
        EXPECT_TRUE(pictureFiles(notAFolder, nullptr).empty()) << notAFolder;
}

TEST(ImageFolder, APictureThatReadsIsChosenAndEveryOtherCaseSaysOneLine) {
    Folder folder;
    DecodedPicture picture;
    std::string said;
    EXPECT_FALSE(choose(folder.path, 1, picture, said));  // empty
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;

    // Broken pictures: cut short, not a picture at all, a FIFO and a device named as ones.
    const std::vector<uint8_t> jpeg = pictureFixture("baseline.jpg");
    folder.write("cut.jpg", std::vector<uint8_t>(jpeg.begin(), jpeg.begin() + long(jpeg.size() / 2)));
    folder.write("text.png", std::vector<uint8_t>(100, 'x'));
    folder.write("empty.png", {});
    folder.write("huge.png", pictureFixture("huge.png"));
    ASSERT_EQ(mkfifo(folder.at("fifo.png").c_str(), 0600), 0);
    ASSERT_EQ(symlink("/dev/zero", folder.at("zero.jpg").c_str()), 0);
    for (uint32_t seed : {1u, 2u, 3u}) {
        EXPECT_FALSE(choose(folder.path, seed, picture, said));
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_TRUE(picture.pixels.empty());
    }
    // One that reads, two folders down: whatever the seed, that one.
    folder.folder("a");
    folder.folder("a/b");
    folder.write("a/b/good.jpg", jpeg);
    for (uint32_t seed : {1u, 2u, 3u, 4u}) {
        ASSERT_TRUE(choose(folder.path, seed, picture, said));
        EXPECT_EQ(said, "");
        EXPECT_EQ(picture.width, 64);
    }
    // A folder that is a FIFO or a device: one line at once.
    for (const std::string& notAFolder : {folder.at("fifo.png"), std::string("/dev/zero")}) {
        EXPECT_FALSE(choose(notAFolder, 1, picture, said));
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    }
}

TEST(PictureChoice, TheDesktopThenTheFolderThenTheLogo) {
    SaverOptions options;
    DaemonImageSettings daemon;
    daemon.imageDirectory = "/home/u/Pictures";
    EXPECT_EQ(pictureSources(options, false, true, daemon).folder, "");  // random images off
    daemon.grabAllowed = false, daemon.randomImages = true;
    const PictureSources underDaemon = pictureSources(options, false, true, daemon);
    EXPECT_FALSE(underDaemon.desktop);
    EXPECT_EQ(underDaemon.folder, "/home/u/Pictures");
    EXPECT_TRUE(pictureSources(options, false, false, daemon).desktop);  // the grab rule is the daemon's window's
    options.imageDirectory = "/srv/holiday";
    daemon.randomImages = false;
    EXPECT_EQ(pictureSources(options, false, true, daemon).folder, "/srv/holiday");  // needs no daemon
    const PictureSources logo = pictureSources(options, true, false, daemon);       // -useOGL 1
    EXPECT_FALSE(logo.desktop);
    EXPECT_EQ(logo.folder, "");
}

TEST(PictureChoice, APictureIsFittedWholeUprightWithItsProportionsAndMeanColours) {
    // A 4:1 picture on a 4:3 screen: bands of black above and below, the picture between,
    // each half of it in its own colour, averaged (never the darkest of the pixels).
    DecodedPicture picture;
    picture.width = 1600, picture.height = 400;
    picture.pixels.resize(1600 * 400 * 4);
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 1600; ++x) {
            uint8_t* p = &picture.pixels[(size_t(y) * 1600 + size_t(x)) * 4];
            const bool left = x < 800, odd = (x + y) % 2;
            p[0] = left ? 0 : 200, p[1] = 0, p[2] = left ? (odd ? 100 : 200) : 0;  // left: red in two shades
        }
    ASSERT_TRUE(fitPictureSnapshot(picture, 1024, 768, false));
    const int width = desktopSnapshot.width, height = desktopSnapshot.height;
    ASSERT_EQ(width, saverSettings.screenTextureWidth);
    ASSERT_EQ(height, saverSettings.screenTextureHeight);
    auto bgr = [&](int x, int y) {
        const uint8_t* p = desktopSnapshot.pixels + (size_t(y) * size_t(width) + size_t(x)) * 3;
        return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
    };
    // The picture takes the middle third of the height.
    EXPECT_EQ(bgr(width / 4, 10), 0u);
    EXPECT_EQ(bgr(width / 4, height - 10), 0u);
    const uint32_t left = bgr(width / 4, height / 2), right = bgr(3 * width / 4, height / 2);
    EXPECT_NEAR(int(left >> 16), 150, 8);  // the AND of 100 and 200 would be 64
    EXPECT_EQ(right, 0x0000C8u);
    EXPECT_EQ(bgr(width / 4, height / 2 - height / 6 + 3) >> 16, left >> 16);
    EXPECT_EQ(bgr(width / 4, height / 2 - height / 6 - 3), 0u);

    // A camera's picture stored on its side (EXIF orientation 6), shown upright: tall, its
    // stored bottom-left yellow now top left.
    DecodedPicture turned;
    const std::vector<uint8_t> jpeg = pictureFixture("rotated.jpg");
    ASSERT_TRUE(decodePicture(jpeg.data(), jpeg.size(), maxPicturePixels, turned));
    EXPECT_EQ(turned.orientation, 6);
    ASSERT_TRUE(fitPictureSnapshot(turned, 1024, 768, false));
    auto near = [&](int x, int y, uint32_t rgb) { return nearRgb(bgr(x, y), rgb, 12); };
    const int across = width * 48 * 768 / (64 * 1024), start = (width - across) / 2;  // its upright share
    EXPECT_EQ(bgr(start - 10, height / 2), 0u);
    EXPECT_TRUE(near(start + 10, 10, 0xD0D030));
    EXPECT_TRUE(near(start + across - 10, 10, 0xD03030));
    EXPECT_TRUE(near(start + 10, height - 10, 0x3030D0));
    EXPECT_TRUE(near(start + across - 10, height - 10, 0x30D030));
    std::free(desktopSnapshot.pixels);
    desktopSnapshot = DesktopSnapshot();
}
