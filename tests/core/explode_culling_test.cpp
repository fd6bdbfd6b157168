// Which faces and boxes are left out before the GL sees them: what the GL would cull or
// clip away, and nothing it would show.
#include "effects/culling_view.h"
#include "effects/explode.h"
#include "settings/saver_settings.h"
#include "settings/settings_store.h"

#include <GL/glu.h>
#include <gtest/gtest.h>

#include "osmesa_fixture.h"

namespace {

// The scene's projection, the eye eyeZ in front of the origin, the scene turned about x and y.
CullingView sceneFrom(float eyeZ, float turnX = 0, float turnY = 0) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(120, 1.33, 10, 10000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, -eyeZ);
    glRotatef(turnX, 1, 0, 0);
    glRotatef(turnY, 0, 1, 0);
    glEnable(GL_CULL_FACE);
    return currentCullingView();
}

Fragment wallPiece(Float3 position, float scale = 1) {
    Fragment f;
    f.corner0 = {-20 * scale, -15 * scale, 0};
    f.corner1 = {20 * scale, 15 * scale, -21 * scale};
    f.position = position;
    return f;
}

size_t facesKept(const Fragment& box, const CullingView& view) {
    ExplodeArrays arrays;
    return placeBoxes({box}, 0, 1, arrays, view) / 4;
}

}  // namespace

TEST(ExplodeCulling, FacesTurnedAwayAndBoxesOutOfSightAreLeftOut) {
    OffscreenGL gl(4, 4);
    const CullingView ahead = sceneFrom(500);
    EXPECT_EQ(facesKept(wallPiece({0, 0, 0}), ahead), 1u);      // straight on: the front alone
    EXPECT_EQ(facesKept(wallPiece({300, 200, 0}), ahead), 3u);  // up and to the right: its left and bottom too
    EXPECT_EQ(facesKept(wallPiece({0, 0, 492}), ahead), 1u);    // across the near plane: the GL clips it
    EXPECT_EQ(facesKept(wallPiece({0, 0, 600}), ahead), 0u);    // behind the eye
    EXPECT_EQ(facesKept(wallPiece({5000, 0, 0}), ahead), 0u);   // far off to the side
    glDisable(GL_CULL_FACE);  // the GL shows back faces: only what lies out of sight goes
    EXPECT_EQ(facesKept(wallPiece({0, 0, 0}), currentCullingView()), 6u);
}

// Boxes of both windings turned every way, from afar and close by: the faces kept, drawn
// added up with the GL's culling off, light the very pixels all six light with it on.
TEST(ExplodeCulling, TheFacesKeptAreTheOnesTheGLShows) {
    OffscreenGL gl(96, 72);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glColor3ub(64, 64, 64);
    glEnableClientState(GL_VERTEX_ARRAY);
    Fragment inside = wallPiece({0, 0, 0}, 4);
    std::swap(inside.corner0, inside.corner1);  // wound the other way round
    ExplodeArrays arrays;
    for (float eyeZ : {220.0f, 130.0f})
        for (Fragment box : {wallPiece({0, 0, 0}, 4), inside})
            for (float turn : {0.0f, 37.0f, 100.0f, 200.0f, 290.0f}) {
                box.rotation = {turn, turn * 0.7f, turn * 1.3f};
                std::vector<uint8_t> pictures[2];
                for (int byCpu = 0; byCpu < 2; ++byCpu) {
                    const CullingView view = sceneFrom(eyeZ, eyeZ / 10, eyeZ / 4);
                    const size_t vertices = placeBoxes({box}, 0, 1, arrays, byCpu ? view : CullingView());
                    if (byCpu) glDisable(GL_CULL_FACE);
                    glClear(GL_COLOR_BUFFER_BIT);
                    glVertexPointer(3, GL_FLOAT, 0, arrays.vertices.data());
                    glDrawArrays(GL_QUADS, 0, GLsizei(vertices));
                    glFinish();
                    pictures[byCpu] = gl.buffer;
                }
                long lit = 0;
                for (size_t i = 0; i < pictures[0].size(); i += 4) lit += pictures[0][i] > 0;
                EXPECT_GT(lit, 60) << "eye " << eyeZ << ", turn " << turn;
                EXPECT_TRUE(pictures[0] == pictures[1]) << "eye " << eyeZ << ", turn " << turn;
            }
}

// A side two pieces still in the wall share lies inside the slab: left out while the GL
// hides what lies behind, shown again once either piece has flown.
TEST(ExplodeCulling, SidesTwoPiecesInTheWallShareAreLeftOut) {
    OffscreenGL gl(4, 4);
    SettingsStore::applyDefaults();
    saverSettings.x_div = 3, saverSettings.y_div = 3;
    clearFragments();
    buildWall();
    CullingView solid;  // every face but the hidden ones
    solid.opaque = true;
    ExplodeArrays arrays;
    auto faces = [&](const CullingView& view) {
        markWall(fragmentList, arrays);
        return placeBoxes(fragmentList, 0, fragmentList.size(), arrays, view) / 4;
    };
    EXPECT_EQ(faces(solid), 4 * 4 + 4 * 3 + 2u);  // front and back, and the sides on the rim
    EXPECT_EQ(faces(CullingView()), 9 * 6u);      // blended, or not depth-tested: all show
    fragmentList[4].launched = true;              // the middle flies: it and the sides round it show
    EXPECT_EQ(faces(solid), 4 * 4 + 4 * 4 + 6u);
    glEnable(GL_DEPTH_TEST);
    EXPECT_TRUE(currentCullingView().opaque);
    glEnable(GL_BLEND);
    EXPECT_FALSE(currentCullingView().opaque);
    clearFragments();
    SettingsStore::applyDefaults();
}
