// Which faces and boxes are left out before the GL sees them: what the GL would cull or
// clip away, and nothing it would show.
#include "effects/culling_view.h"
#include "effects/explode.h"
#include "settings/saver_settings.h"
#include "settings/settings_store.h"

#include <GL/glu.h>
#include <gtest/gtest.h>

#include <vector>

#include "osmesa_fixture.h"

namespace {

// The scene's projection with the eye at eyeZ, turned about y and x as the motion turns it.
CullingView sceneLookingFrom(float eyeZ, float turnX = 0, float turnY = 0) {
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

Fragment wallPiece(Float3 position, Float3 rotation = {0, 0, 0}) {
    Fragment f;
    f.corner0 = {-20, -15, 0};
    f.corner1 = {20, 15, -21};
    f.position = position, f.rotation = rotation;
    return f;
}

// The normals of the first vertex of each quad written: the face each is.
std::vector<Float3> keptFaces(const Fragment& box, const CullingView& view) {
    ExplodeArrays arrays;
    const size_t vertices = placeBoxes({box}, 0, 1, arrays, view);
    std::vector<Float3> faces;
    for (size_t v = 0; v + 3 < vertices; v += 4) {
        const float* n = &arrays.normals[(v + 3) * 3];  // the last vertex carries the face's own normal
        faces.push_back({n[0], n[1], n[2]});
    }
    EXPECT_EQ(vertices % 4, 0u);
    return faces;
}

}  // namespace

TEST(ExplodeCulling, FacesTurnedAwayAndBoxesOutOfSightAreLeftOut) {
    OffscreenGL gl(4, 4);
    const CullingView ahead = sceneLookingFrom(500);
    std::vector<Float3> faces = keptFaces(wallPiece({0, 0, 0}), ahead);
    ASSERT_EQ(faces.size(), 1u);  // straight on: the front alone
    EXPECT_EQ(faces[0].z, 1.0f);
    EXPECT_EQ(keptFaces(wallPiece({300, 200, 0}), ahead).size(), 3u);  // up and to the right: its left and bottom too
    EXPECT_EQ(keptFaces(wallPiece({0, 0, 600}), ahead).size(), 0u);    // behind the eye
    EXPECT_EQ(keptFaces(wallPiece({5000, 0, 0}), ahead).size(), 0u);   // far off to the side
    EXPECT_EQ(keptFaces(wallPiece({0, 0, 0}), sceneLookingFrom(20000)).size(), 0u);  // beyond the far plane
    EXPECT_EQ(keptFaces(wallPiece({0, 0, 492}), ahead).size(), 1u);  // across the near plane: the GL clips it

    sceneLookingFrom(500);
    glDisable(GL_CULL_FACE);  // the GL shows back faces: only what lies out of sight goes
    const CullingView twoSided = currentCullingView();
    EXPECT_EQ(keptFaces(wallPiece({0, 0, 0}), twoSided).size(), 6u);
    EXPECT_EQ(keptFaces(wallPiece({0, 0, 600}), twoSided).size(), 0u);

    glMatrixMode(GL_PROJECTION);  // a parallel projection has its eye at infinity
    glLoadIdentity();
    glOrtho(-100, 100, -100, 100, -100, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(20, 1, 0, 0);
    glRotatef(20, 0, 1, 0);
    glEnable(GL_CULL_FACE);
    EXPECT_EQ(keptFaces(wallPiece({0, 0, 0}), currentCullingView()).size(), 3u);  // front, left and top
    EXPECT_EQ(keptFaces(wallPiece({0, 300, 0}), currentCullingView()).size(), 0u);
}

// Boxes of both windings, turned every way and seen from about and from close by: drawn
// additively with the GL's culling off, the faces kept light exactly the pixels that all
// six faces light with it on, each once.
TEST(ExplodeCulling, TheFacesKeptAreTheOnesTheGLShows) {
    OffscreenGL gl(96, 72);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glColor3ub(64, 64, 64);
    Fragment outside = wallPiece({0, 0, 0});
    outside.corner0 = 4 * outside.corner0, outside.corner1 = 4 * outside.corner1;
    Fragment inside = outside;
    std::swap(inside.corner0, inside.corner1);  // wound the other way round
    const Fragment shapes[] = {outside, inside};
    ExplodeArrays arrays;
    const float eyes[][3] = {{220, 20, 35}, {130, -35, 150}};  // distance, turns about x and y
    for (const auto& eye : eyes)
        for (const Fragment& shape : shapes)
            for (float turn : {0.0f, 37.0f, 100.0f, 200.0f, 290.0f}) {
                Fragment box = shape;
                box.rotation = {turn, turn * 0.7f, turn * 1.3f};
                box.position = {turn * 0.1f, -turn * 0.05f, 0};
                std::vector<uint8_t> pictures[2];
                for (int culledByCpu = 0; culledByCpu < 2; ++culledByCpu) {
                    const CullingView view = sceneLookingFrom(eye[0], eye[1], eye[2]);
                    const size_t vertices = placeBoxes({box}, 0, 1, arrays, culledByCpu ? view : CullingView());
                    ASSERT_EQ(vertices == 24, culledByCpu == 0);
                    if (culledByCpu) glDisable(GL_CULL_FACE);
                    glClear(GL_COLOR_BUFFER_BIT);
                    glEnableClientState(GL_VERTEX_ARRAY);
                    glVertexPointer(3, GL_FLOAT, 0, arrays.vertices.data());
                    glDrawArrays(GL_QUADS, 0, GLsizei(vertices));
                    glDisableClientState(GL_VERTEX_ARRAY);
                    glFinish();
                    pictures[culledByCpu] = gl.buffer;
                }
                long lit = 0;
                for (size_t i = 0; i < pictures[0].size(); i += 4) lit += pictures[0][i] > 0;
                EXPECT_GT(lit, 60) << "eye " << eye[0] << ", turn " << turn;
                EXPECT_TRUE(pictures[0] == pictures[1]) << "eye " << eye[0] << ", turn " << turn;
            }
}

// A side two pieces still in the wall share lies inside the slab: left out while the GL
// hides what lies behind, and shown again once either piece has flown.
TEST(ExplodeCulling, SidesTwoPiecesInTheWallShareAreLeftOut) {
    OffscreenGL gl(4, 4);
    SettingsStore::applyDefaults();
    saverSettings.x_div = 3, saverSettings.y_div = 3;
    clearFragments();
    buildWall();
    ASSERT_EQ(fragmentList.size(), 9u);
    ExplodeArrays arrays;
    CullingView solid;  // every face but the hidden ones
    solid.opaque = true;
    auto vertices = [&](const CullingView& view) {
        markWall(fragmentList, arrays);
        return placeBoxes(fragmentList, 0, fragmentList.size(), arrays, view);
    };
    // Front and back of each, and the sides on the wall's rim: 4 corners of 4 faces, 4 edges of 3, a middle of 2.
    EXPECT_EQ(vertices(solid), (4 * 4 + 4 * 3 + 2) * 4u);
    EXPECT_EQ(vertices(CullingView()), 9 * 24u);  // blended, or not depth-tested: all show
    fragmentList[4].launched = true;  // the middle flies: it and the sides around it show
    EXPECT_EQ(vertices(solid), (4 * 4 + 4 * 4 + 6) * 4u);

    glEnable(GL_DEPTH_TEST);
    EXPECT_TRUE(currentCullingView().opaque);
    glEnable(GL_BLEND);
    EXPECT_FALSE(currentCullingView().opaque);
    clearFragments();
    SettingsStore::applyDefaults();
}
