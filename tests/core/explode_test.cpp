#include "effects/explode.h"
#include "effects/random.h"
#include "settings/saver_settings.h"
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>

#include "osmesa_fixture.h"

namespace {

struct ExplodeTest : testing::Test {
    void SetUp() override {
        SettingsStore::applyDefaults();
        clearFragments();
        seedRandom(1);
    }
    void TearDown() override {
        clearFragments();
        SettingsStore::applyDefaults();
    }
    // The plane straight on, in the quadrant texture, with the back faces culled as the scene culls them.
    static void faceThePlane() {
        glMatrixMode(GL_PROJECTION);
        glOrtho(0, 1024, 0, 768, -1000, 1000);
        glMatrixMode(GL_MODELVIEW);
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        quadrantTexture();
    }
    // A flying piece with the given velocity, as the launch would leave it.
    static Fragment flying(Float3 velocity, int generation = 0) {
        Fragment f;
        f.velocity = velocity;
        f.launched = true;
        f.resting = false;
        f.generation = generation;
        return f;
    }
    static int updatesToRest(Fragment f) {
        int n = 0;
        while (!f.resting && n < 10000) f.update(1.0f, 0.05f), ++n;
        return n;
    }
};

}  // namespace

TEST_F(ExplodeTest, FirstStepBuildsTheWallColumnByColumnBottomUp) {
    saverSettings.x_div = 4, saverSettings.y_div = 3;
    stepExplosion();
    ASSERT_EQ(fragmentList.size(), 12u);
    const Fragment& first = fragmentList[0];
    EXPECT_EQ(first.position.x, 128.0f);
    EXPECT_EQ(first.position.y, 128.0f);
    EXPECT_EQ(fragmentList[1].position.y, 384.0f);  // next one up the same column
    EXPECT_EQ(fragmentList[3].position.x, 384.0f);  // then the next column
    EXPECT_EQ(first.corner0.x, -128.0f);
    EXPECT_EQ(first.corner0.y, -128.0f);
    EXPECT_EQ(first.corner0.z, 0.0f);
    EXPECT_FLOAT_EQ(first.corner1.z, (256 + 256) * -0.3f);
    // Texture pairs: lower-left, lower-right, upper-right, upper-left; t = 1 at the bottom.
    const float expected[4][2] = {{0, 1}, {0.25f, 1}, {0.25f, 2 / 3.0f}, {0, 2 / 3.0f}};
    for (int k = 0; k < 4; ++k) {
        EXPECT_FLOAT_EQ(first.texCoords[k].s, expected[k][0]) << k;
        EXPECT_FLOAT_EQ(first.texCoords[k].t, expected[k][1]) << k;
    }
    EXPECT_FLOAT_EQ(fragmentList[11].texCoords[2].t, 0.0f);
    for (const Fragment& f : fragmentList) EXPECT_TRUE(f.resting && !f.launched && f.generation == 0);
}

TEST_F(ExplodeTest, LaunchValuesFollowTheGeneratorInOrder) {
    saverSettings.x_div = 1, saverSettings.y_div = 1;  // one piece: launched on its first draw
    stepExplosion();
    seedRandom(42);
    stepExplosion();
    seedRandom(42);
    nextRandom();  // the launch decision
    int r[6];
    for (int& v : r) v = nextRandom();
    const Fragment& f = fragmentList[0];
    ASSERT_TRUE(f.launched);
    EXPECT_FALSE(f.resting);
    EXPECT_EQ(f.velocity.x, float(r[2] % 60 - 30));
    EXPECT_EQ(f.velocity.y, float(r[1] % 60 - 30));
    EXPECT_EQ(f.velocity.z, float(r[0] % 100 - 30));
    EXPECT_FLOAT_EQ(f.spin.x, (r[5] % 100) * 0.1f - 5);
    EXPECT_FLOAT_EQ(f.spin.z, (r[3] % 100) * 0.1f - 5);
    // The generator is the C runtime's: seed 1 starts 41, 18467, 6334.
    seedRandom(1);
    EXPECT_EQ(nextRandom(), 41);
    EXPECT_EQ(nextRandom(), 18467);
    EXPECT_EQ(nextRandom(), 6334);
}

TEST_F(ExplodeTest, RestComesAfterAFixedNumberOfUpdates) {
    EXPECT_EQ(updatesToRest(flying({69, -3, 12})), 141);
    EXPECT_EQ(updatesToRest(flying({-30, 29, 0})), 125);
    EXPECT_EQ(updatesToRest(flying({0, 0, 0})), 1);
    Fragment f = flying({10, 0, 0});
    f.spin = {1, 2, 3};
    f.update(2.0f, 0.05f);
    EXPECT_FLOAT_EQ(f.position.x, 2 * 9.5f);
    EXPECT_FLOAT_EQ(f.rotation.z, 6.0f);
    Fragment wall;  // resting pieces do not move
    wall.velocity = {5, 5, 5};
    wall.update(1.0f, 0.05f);
    EXPECT_EQ(wall.position.x, 0.0f);
}

TEST_F(ExplodeTest, RestedPiecesGiveWayToChildrenUpToGenerationThree) {
    saverSettings.genChildren = 2;
    for (int generation = 0; generation < 4; ++generation) {
        clearFragments();
        Fragment parent = flying({0, 0, 0}, generation);
        parent.position = {10, 20, 30};
        parent.corner1 = {4, 6, -8};
        parent.rotation = {90, 0, 0};
        parent.update(1.0f, 0.05f);  // zero velocity: rests on its first update
        fragmentList.push_back(parent);
        fragmentList.push_back(flying({50, 0, 0}));  // keeps the list from emptying
        stepExplosion();
        const size_t children = generation < 3 ? 2 : 0;
        ASSERT_EQ(fragmentList.size(), 1 + children) << generation;
        EXPECT_EQ(fragmentList[0].velocity.x, 50.0f);  // removal keeps the order
        for (size_t k = 1; k <= children; ++k) {
            const Fragment& child = fragmentList[k];
            EXPECT_EQ(child.generation, generation + 1);
            EXPECT_EQ(child.position.y, 20.0f);
            EXPECT_EQ(child.corner1.z, -4.0f);
            EXPECT_EQ(child.rotation.x, 0.0f);
            EXPECT_TRUE(child.launched && !child.resting);
        }
    }
}

TEST_F(ExplodeTest, AWallPieceHasTwoFourAndEightDescendants) {
    saverSettings.x_div = 1, saverSettings.y_div = 1;
    saverSettings.genChildren = 2;
    stepExplosion();
    int perGeneration[4] = {};
    for (int frame = 0; frame < 5000 && !fragmentList.empty(); ++frame) {
        for (Fragment& f : fragmentList) f.update(10.0f, 0.05f);
        for (const Fragment& f : fragmentList)
            if (f.launched && f.resting) ++perGeneration[f.generation];
        stepExplosion();
        if (fragmentList.size() == 1 && !fragmentList[0].launched && perGeneration[3]) break;
    }
    EXPECT_EQ(perGeneration[0], 1);
    EXPECT_EQ(perGeneration[1], 2);
    EXPECT_EQ(perGeneration[2], 4);
    EXPECT_EQ(perGeneration[3], 8);
    ASSERT_EQ(fragmentList.size(), 1u);  // the wall was built again
    EXPECT_FALSE(fragmentList[0].launched);
}

TEST_F(ExplodeTest, WithoutChildrenPiecesVanishAndTheWallReturns) {
    for (int children : {0, -5}) {
        clearFragments();
        saverSettings.genChildren = children;
        saverSettings.x_div = 2, saverSettings.y_div = 2;
        stepExplosion();
        bool rebuilt = false;
        for (int frame = 0; frame < 3000 && !rebuilt; ++frame) {
            for (Fragment& f : fragmentList) f.update(10.0f, 0.05f);
            stepExplosion();
            for (const Fragment& f : fragmentList) ASSERT_EQ(f.generation, 0);
            rebuilt = fragmentList.size() == 4 && !fragmentList[0].launched && !fragmentList[3].launched;
            if (frame == 0) rebuilt = false;
        }
        EXPECT_TRUE(rebuilt) << children;
    }
}

TEST_F(ExplodeTest, DegenerateAndHugeSizesKeepTheListBounded) {
    const float sizes[][2] = {{0, 19}, {-1, 5}, {25, 0.5f}, {NAN, 3}, {2e9f, 2e9f}, {1e5f, 1e5f}};
    for (auto size : sizes) {
        saverSettings.x_div = size[0], saverSettings.y_div = size[1];
        clearFragments();
        stepExplosion();
        stepExplosion();
        EXPECT_TRUE(fragmentList.empty()) << size[0] << "x" << size[1];
    }
    // A large wall with a huge number of children per piece stops at the bound.
    saverSettings.x_div = 100, saverSettings.y_div = 100;
    saverSettings.genChildren = 2000000000;
    clearFragments();
    stepExplosion();
    for (Fragment& f : fragmentList) f.launched = true, f.resting = true;
    stepExplosion();
    EXPECT_EQ(long(fragmentList.size()), maxFragments - 100 * 100);  // the parents are gone
}

TEST_F(ExplodeTest, FirstFrameDrawsNothingAndTheWallFacesTheViewer) {
    OffscreenGL gl(64, 48);
    faceThePlane();
    glEnable(GL_DEPTH_TEST);
    saverSettings.x_div = 2, saverSettings.y_div = 2;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawFragments();
    EXPECT_TRUE(gl.isBlack(32, 24));
    stepExplosion();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawFragments();
    // The whole wall, upright: red top-left, green top-right, blue bottom-left, white bottom-right.
    EXPECT_EQ(gl.at(10, 10).r, 255);
    EXPECT_EQ(gl.at(54, 10).g, 255);
    EXPECT_EQ(gl.at(10, 38).b, 255);
    OffscreenGL::Rgb white = gl.at(54, 38);
    EXPECT_EQ(white.r + white.g + white.b, 765);
    // Turned around, each box shows its back face and culls its front.
    for (Fragment& f : fragmentList) f.rotation.y = 180;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawFragments();
    EXPECT_FALSE(gl.isBlack(10, 10));
}

// Each pixel of a closed box is covered by one front face and one back face; with the
// back faces culled, additive drawing shows every covered pixel exactly once.
TEST_F(ExplodeTest, ABoxShowsOnlyItsOuterSidesFromEveryDirection) {
    OffscreenGL gl(64, 64);
    glMatrixMode(GL_PROJECTION);
    glOrtho(-2, 2, -2, 2, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glColor3ub(64, 64, 64);
    Fragment box;  // shaped as a wall piece: front face at the larger z
    box.corner0 = {-1, -1, 0.5f};
    box.corner1 = {1, 1, -0.5f};
    fragmentList.push_back(box);
    auto brightest = [&](float rx, float ry) {
        fragmentList[0].rotation = {rx, ry, 0};
        glClear(GL_COLOR_BUFFER_BIT);
        drawFragments();
        int most = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) most = std::max(most, gl.at(x, y).r);
        return most;
    };
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    for (float rx : {-30.0f, 30.0f, 150.0f, 210.0f})
        for (float ry : {-40.0f, 40.0f, 140.0f, 220.0f}) EXPECT_EQ(brightest(rx, ry), 64) << rx << "," << ry;
    glDisable(GL_CULL_FACE);  // the check can see an inner side
    EXPECT_EQ(brightest(30, 40), 128);
}

namespace {

float component(Float3 v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }

Float3 axisVector(int axis, float length) {
    return {axis == 0 ? length : 0, axis == 1 ? length : 0, axis == 2 ? length : 0};
}

bool near(Float3 a, const float* b, float tolerance) {
    return std::fabs(a.x - b[0]) < tolerance && std::fabs(a.y - b[1]) < tolerance && std::fabs(a.z - b[2]) < tolerance;
}

// The model-view matrix OpenGL makes of a box's position and rotation, applied to a point
// (w 1) or a direction (w 0).
struct GLPlacement {
    float matrix[16];
    explicit GLPlacement(const Fragment& f) {
        glLoadIdentity();
        glTranslatef(f.position.x, f.position.y, f.position.z);
        glRotatef(f.rotation.x, 1, 0, 0);
        glRotatef(f.rotation.y, 0, 1, 0);
        glRotatef(f.rotation.z, 0, 0, 1);
        glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    }
    Float3 apply(Float3 v, float w) const {
        const float* m = matrix;
        return {m[0] * v.x + m[4] * v.y + m[8] * v.z + m[12] * w, m[1] * v.x + m[5] * v.y + m[9] * v.z + m[13] * w,
                m[2] * v.x + m[6] * v.y + m[10] * v.z + m[14] * w};
    }
};

}  // namespace

// Every placed vertex is a corner of its box under the matrix OpenGL builds from
// glTranslatef and the three glRotatef; its normal is the turned outward normal of a face
// through that corner; the quads are the six faces, wound counter-clockwise from outside.
TEST_F(ExplodeTest, PlacedBoxesAreTheirCornersUnderTheMatrixOpenGLWouldUse) {
    OffscreenGL gl(4, 4);
    Fragment piece;  // front at z = 0, depth behind it, as the wall and children have
    piece.corner0 = {-20, -15, 0};
    piece.corner1 = {20, 15, -21};
    piece.texCoords[0] = {0.1f, 0.9f}, piece.texCoords[1] = {0.2f, 0.9f};
    piece.texCoords[2] = {0.2f, 0.8f}, piece.texCoords[3] = {0.1f, 0.8f};
    const Float3 turns[][2] = {{{0, 0, 0}, {0, 0, 0}},        {{30, 0, 0}, {10, 20, 30}},
                               {{0, 45, 0}, {-500, 300, 40}}, {{0, 0, -60}, {512, 384, 0}},
                               {{17, -123, 268}, {1, 2, 3}},  {{725.5f, 400, -1000}, {-3, 900, -250}}};
    FragmentList list;
    list.reserve(std::size(turns));
    for (auto turn : turns) {
        piece.rotation = turn[0], piece.position = turn[1];
        list.push_back(piece);
    }
    ExplodeArrays arrays;
    placeBoxes(list, 1, list.size() - 1, arrays);  // a later batch goes to the arrays' start too
    const float* storage = arrays.vertices.data();
    placeBoxes(list, 0, list.size(), arrays);
    EXPECT_EQ(arrays.vertices.data(), storage);  // sized once for the list: nothing allocated per frame

    const Float3 m = piece.corner0, M = piece.corner1;
    for (size_t box = 0; box < list.size(); ++box) {
        const GLPlacement placement(list[box]);
        bool facesSeen[6] = {};
        for (int quad = 0; quad < 6; ++quad) {
            const size_t first = box * verticesPerBox + quad * 4;
            Float3 local[4];  // the corner each vertex is, before placing
            int texPairsSeen = 0;
            for (int k = 0; k < 4; ++k) {
                const float* placed = &arrays.vertices[(first + k) * 3];
                int matches = 0;
                for (int corner = 0; corner < 8; ++corner) {
                    const Float3 c = {corner & 1 ? M.x : m.x, corner & 2 ? M.y : m.y, corner & 4 ? M.z : m.z};
                    if (near(placement.apply(c, 1), placed, 0.01f)) local[k] = c, ++matches;
                }
                ASSERT_EQ(matches, 1) << "box " << box << " vertex " << quad * 4 + k;
                bool outward = false;  // along an axis, out of the side of the box the corner is on
                for (int axis = 0; axis < 3; ++axis) {
                    const bool high = component(local[k], axis) == std::max(component(m, axis), component(M, axis));
                    outward |= near(placement.apply(axisVector(axis, high ? 1.0f : -1.0f), 0),
                                    &arrays.normals[(first + k) * 3], 1e-5f);
                }
                EXPECT_TRUE(outward) << "box " << box << " vertex " << quad * 4 + k;
                const float* t = &arrays.texCoords[(first + k) * 2];
                for (int pair = 0; pair < 4; ++pair)
                    texPairsSeen |= (t[0] == piece.texCoords[pair].s && t[1] == piece.texCoords[pair].t) << pair;
            }
            EXPECT_EQ(texPairsSeen, 15) << "box " << box << " quad " << quad;
            int face = -1;
            Float3 outside = {0, 0, 0};
            for (int axis = 0; axis < 3; ++axis) {
                const float value = component(local[0], axis);
                bool flat = true;
                for (const Float3& c : local) flat &= component(c, axis) == value;
                if (!flat) continue;
                const bool high = value == std::max(component(m, axis), component(M, axis));
                face = axis * 2 + high;
                outside = axisVector(axis, high ? 1.0f : -1.0f);
            }
            ASSERT_GE(face, 0) << "box " << box << " quad " << quad;
            EXPECT_FALSE(facesSeen[face]) << "box " << box << " quad " << quad;
            facesSeen[face] = true;
            for (int k : {1, 2}) {
                const Float3 a = local[k] - local[0], b = local[k + 1] - local[0];
                const Float3 cross = {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
                EXPECT_GT(cross.x * outside.x + cross.y * outside.y + cross.z * outside.z, 0)
                    << "box " << box << " quad " << quad;
            }
        }
    }
    // The unturned box's first quad is its front, upright: T0 lower left round to T3 upper left,
    // lit by a normal toward the viewer.
    for (int k = 0; k < 4; ++k) {
        const float* placed = &arrays.vertices[k * 3];
        const int pair = placed[0] > 0 ? (placed[1] > 0 ? 2 : 1) : (placed[1] > 0 ? 3 : 0);
        EXPECT_EQ(placed[2], 0.0f) << k;
        EXPECT_EQ(arrays.texCoords[k * 2], piece.texCoords[pair].s) << k;
        EXPECT_EQ(arrays.texCoords[k * 2 + 1], piece.texCoords[pair].t) << k;
        EXPECT_EQ(arrays.normals[k * 3 + 2], 1.0f) << k;
    }
}

TEST_F(ExplodeTest, AWallOfMoreBoxesThanOneDrawTakesIsDrawnWhole) {
    OffscreenGL gl(64, 48);
    faceThePlane();
    saverSettings.x_div = 64, saverSettings.y_div = 48;
    stepExplosion();
    ASSERT_GT(fragmentList.size(), boxesPerDraw);
    glClear(GL_COLOR_BUFFER_BIT);
    drawFragments();
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) ASSERT_FALSE(gl.isBlack(x, y)) << x << "," << y;
}
