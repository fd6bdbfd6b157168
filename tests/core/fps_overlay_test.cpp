// The -fps overlay: its figures over each whole second, and a drawing that stays in its
// corner and leaves the scene's OpenGL state as it found it.
#include "render/fps_overlay.h"

#include <gtest/gtest.h>

#include "osmesa_fixture.h"

namespace {

struct Clock {
    double seconds, cpuSeconds;
};

// Counts `frames` frames at `framesPerSecond`, each using `cpuShare` of a core.
void runFrames(FpsOverlay& overlay, Clock& clock, int frames, double framesPerSecond, double cpuShare) {
    for (int i = 0; i < frames; ++i) {
        clock.seconds += 1 / framesPerSecond, clock.cpuSeconds += cpuShare / framesPerSecond;
        countFpsFrame(overlay, clock.seconds, clock.cpuSeconds);
    }
}

}  // namespace

TEST(FpsOverlay, ShowsTheRateAndCpuShareOfTheLastWholeSecond) {
    FpsOverlay overlay;
    Clock clock{10, 3};
    runFrames(overlay, clock, 32, 32, 0.25);  // binary fractions of a second: exact sums
    EXPECT_EQ(fpsOverlayText(overlay), "");  // the first frame starts the count: no whole second yet
    runFrames(overlay, clock, 1, 32, 0.25);
    EXPECT_EQ(fpsOverlayText(overlay), "FPS: 32.0\nCPU: 25%");
    runFrames(overlay, clock, 32, 16, 1.5);  // slower, and the driver's threads on several cores
    EXPECT_EQ(fpsOverlayText(overlay), "FPS: 16.0\nCPU: 150%");
}

TEST(FpsOverlay, DrawsOnlyInTheBottomLeftCornerAndGivesItsStateBack) {
    OffscreenGL gl(320, 240);
    FpsOverlay overlay;
    Clock clock{0, 0};
    runFrames(overlay, clock, 33, 32, 0.5);
    glClearColor(0.2f, 0.2f, 0.2f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_LIGHTING), glEnable(GL_TEXTURE_2D), glEnable(GL_DEPTH_TEST), glEnable(GL_COLOR_MATERIAL);
    glColor4f(0.5f, 0.25f, 1, 1);
    glTranslatef(3, 4, 5);
    drawFpsOverlay(overlay, gl.width, gl.height);

    int white = 0, black = 0, changedElsewhere = 0;
    for (int y = 0; y < gl.height; ++y)
        for (int x = 0; x < gl.width; ++x) {
            const OffscreenGL::Rgb c = gl.at(x, y);
            const bool inCorner = x < 80 && y > gl.height - 40;
            white += inCorner && c.r == 255 && c.g == 255 && c.b == 255;
            black += inCorner && c.r + c.g + c.b == 0;
            changedElsewhere += !inCorner && c.r != 51;
        }
    EXPECT_GT(white, 100);  // the two lines of text, in white on black
    EXPECT_GT(black, 400);
    EXPECT_EQ(changedElsewhere, 0);

    for (GLenum state : {GL_LIGHTING, GL_TEXTURE_2D, GL_DEPTH_TEST, GL_COLOR_MATERIAL})
        EXPECT_TRUE(glIsEnabled(state)) << state;
    float colour[4], modelView[16];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[1], 0.25f);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    EXPECT_EQ(modelView[14], 5.0f);
    GLint mode, alignment;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_EQ(alignment, 4);
}
