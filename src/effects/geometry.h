// Records the effects share: points, explode pieces and their list, and the
// bitmap textures. Render thread only.
#pragma once
#include <cstdint>
#include <vector>

// Three floats and nothing else, so a Float3 goes straight to glVertex3fv.
struct Float3 {
    float x, y, z;
};

inline Float3 operator-(Float3 a, Float3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Float3 operator+(Float3 a, Float3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Float3 operator*(float k, Float3 a) { return {k * a.x, k * a.y, k * a.z}; }

struct TexCoord {
    float s, t;
};

// One explode piece: a box around `position` from corner0 (front, lower left) to
// corner1 (back, upper right), with its motion.
struct Fragment {
    Float3 corner0 = {-1, -1, -1};
    Float3 corner1 = {1, 1, 1};
    Float3 position = {0, 0, 0};
    Float3 rotation = {0, 0, 0};  // degrees about x, y, z
    Float3 spin = {0, 0, 0};      // rotation per time unit
    Float3 velocity = {0, 0, 0};  // position per time unit
    TexCoord texCoords[4] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
    int32_t generation = 0;
    bool launched = false;
    bool resting = true;

    void update(float step, float restThreshold);
};

// Contiguous, order kept on removal; its storage only grows, so a frame allocates
// nothing once the first cycles have run.
using FragmentList = std::vector<Fragment>;
extern FragmentList fragmentList;

// The boxes of a fragment list placed for drawing, one run of quads after another:
// three floats of corner and of normal and two of texture pair per vertex. Its storage
// only grows, like the list's.
struct ExplodeArrays {
    std::vector<float> vertices, normals, texCoords;
    // Which cells of the wall, column by column, pieces still fill this frame; none marked,
    // no side is taken for hidden.
    std::vector<uint8_t> wallFilled;
    int wallColumns = 0, wallRows = 0;
};
extern ExplodeArrays explodeArrays;  // beside fragmentList

// A bitmap resource of the program made into a GL texture.
struct BitmapTexture {
    const uint8_t* pixels = nullptr;
    int32_t loaded = 0;
    uint32_t textureName = 0;
    int32_t width = 0;
    int32_t height = 0;

    int loadResource(int resourceId);  // the platform's edge
    // The texture from bitmap rows of width x height (bottom row first, each padded to 4
    // bytes, blue, green, red), so texture row 0 is the picture's bottom; returns 1.
    int makeTexture(const uint8_t* rows);
};
extern BitmapTexture LogoTexture;
