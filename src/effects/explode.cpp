#include "effects/explode.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "effects/random.h"
#include "settings/saver_settings.h"

void clearFragments() { fragmentList.clear(); }

void buildWall() {
    const float xDiv = saverSettings.x_div, yDiv = saverSettings.y_div;
    if (!(xDiv >= 1 && yDiv >= 1) || double(xDiv) * double(yDiv) > double(maxFragments)) return;
    const int columns = int(xDiv), rows = int(yDiv);
    const float w = 1024 / xDiv, h = 768 / yDiv, sStep = 1 / xDiv, tStep = 1 / yDiv;
    for (int i = 0; i < columns; ++i)
        for (int j = 0; j < rows; ++j) {
            Fragment piece;
            piece.position = {float(i + (i + 1)) * w * 0.5f, float(j + (j + 1)) * h * 0.5f, 0};
            piece.corner0 = {w * -0.5f, h * -0.5f, 0};
            piece.corner1 = {w * 0.5f, h * 0.5f, (h + w) * -0.3f};
            const float s0 = float(i) * sStep, s1 = float(i + 1) * sStep;
            const float t0 = (yDiv - float(j)) * tStep, t1 = (yDiv - float(j + 1)) * tStep;
            piece.texCoords[0] = {s0, t0};
            piece.texCoords[1] = {s1, t0};
            piece.texCoords[2] = {s1, t1};
            piece.texCoords[3] = {s0, t1};
            fragmentList.push_back(piece);
        }
}

void Fragment::update(float step, float restThreshold) {
    if (resting) return;
    velocity = {0.95f * velocity.x, 0.95f * velocity.y, 0.95f * velocity.z};
    position = position + step * velocity;
    rotation = rotation + step * spin;
    for (float* v : {&velocity.x, &velocity.y, &velocity.z})
        if (-restThreshold < *v && *v < restThreshold) *v = 0;
    if (velocity.x == 0 && velocity.y == 0 && velocity.z == 0) resting = true;
}

// Draws in a fixed order, so the same seed gives the same explosion everywhere.
static void launch(Fragment& piece) {
    const int a = nextRandom() % 100, b = nextRandom() % 60, c = nextRandom() % 60;
    const int d = nextRandom() % 100, e = nextRandom() % 100, f = nextRandom() % 100;
    piece.velocity = {float(c - 30), float(b - 30), float(a - 30)};
    piece.spin = {float(f) * 0.1f - 5, float(e) * 0.1f - 5, float(d) * 0.1f - 5};
    piece.launched = true;
    piece.resting = false;
}

static void launchWallPieces() {
    long launched = 0;
    for (const Fragment& piece : fragmentList) launched += piece.launched;
    const long inWall = long(fragmentList.size()) - launched;
    for (Fragment& piece : fragmentList)
        if (!piece.launched && nextRandom() % inWall == 0) launch(piece);
}

static void addChildren(size_t parentIndex) {
    const Fragment parent = fragmentList[parentIndex];  // appends may move the list
    if (parent.generation + 1 >= 4) return;
    for (int32_t k = 0; k < saverSettings.genChildren && long(fragmentList.size()) < maxFragments; ++k) {
        Fragment child;
        child.generation = parent.generation + 1;
        child.position = parent.position;
        child.corner0 = 0.5f * parent.corner0;
        child.corner1 = 0.5f * parent.corner1;
        std::copy(parent.texCoords, parent.texCoords + 4, child.texCoords);
        launch(child);
        fragmentList.push_back(child);
    }
}

void stepExplosion() {
    launchWallPieces();
    const size_t present = fragmentList.size();
    if (saverSettings.genChildren > 0)
        for (size_t i = 0; i < present; ++i)
            if (fragmentList[i].launched && fragmentList[i].resting) addChildren(i);
    fragmentList.erase(std::remove_if(fragmentList.begin(), fragmentList.end(),
                                      [](const Fragment& f) { return f.launched && f.resting; }),
                       fragmentList.end());
    if (fragmentList.empty()) buildWall();
}

namespace {

// One vertex of a placed box: which corner, texture pair and normal it takes. Corners c0 to
// c3 are the front face (z of corner0) and c4 to c7 the back, each counter-clockwise from
// the lower left; normals are +x, -x, +y, -y, +z, -z.
struct BoxVertex {
    uint8_t corner, texPair, normal;
};

// Six quads, each counter-clockwise seen from outside: the front; top, back and bottom with
// the normals a strip over them carries from edge to edge; left and right. A quad's
// vertices follow the strip's order, so drivers split it along the same diagonal.
const BoxVertex boxVertices[verticesPerBox] = {
    {0, 0, 4}, {1, 1, 4}, {2, 2, 4}, {3, 3, 4},  // front
    {3, 3, 2}, {2, 2, 2}, {6, 1, 5}, {7, 0, 5},  // top
    {7, 0, 5}, {6, 1, 5}, {5, 2, 3}, {4, 3, 3},  // back
    {4, 3, 3}, {5, 2, 3}, {1, 1, 4}, {0, 0, 4},  // bottom
    {3, 0, 1}, {7, 1, 1}, {4, 2, 1}, {0, 3, 1},  // left
    {6, 0, 0}, {2, 1, 0}, {1, 2, 0}, {5, 3, 0},  // right
};

// The faces in the order of boxVertices: the local axis each lies across, and whether it
// lies at corner1's end of it or corner0's.
struct BoxFace {
    uint8_t axis;
    bool atCorner1;
};
const BoxFace boxFaces[6] = {{2, false}, {1, true}, {2, true}, {1, false}, {0, false}, {0, true}};

float component(Float3 v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }
float dot(Float3 a, Float3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// True when the box's enclosing sphere lies wholly beyond one side of the view volume,
// with room to spare for the GL's rounding.
bool outsideView(const CullingView& view, Float3 p, const Float3 axes[3], Float3 m, Float3 M) {
    const Float3 middle = 0.5f * (m + M), size = M - m;
    const Float3 centre = p + middle.x * axes[0] + middle.y * axes[1] + middle.z * axes[2];
    const float reach = 0.5f * std::sqrt(dot(size, size)) * 1.01f + 0.5f;
    for (const float* side : view.sides)
        if (side[0] * centre.x + side[1] * centre.y + side[2] * centre.z + side[3] < -reach) return true;
    return false;
}

// Which faces the GL would draw of the box: the ones wound counter-clockwise as the eye
// sees them. A box built with its corners mirrored is wound inside out. A face seen nearly
// edge-on is kept, as the GL's rounding may still turn it toward the eye.
void facesShown(const CullingView& view, Float3 p, const Float3 axes[3], Float3 m, Float3 M, bool shown[6]) {
    if (!view.cullBackFaces) {
        std::fill(shown, shown + 6, true);
        return;
    }
    const float w = view.eye[3];
    const Float3 fromBox = {view.eye[0] - w * p.x, view.eye[1] - w * p.y, view.eye[2] - w * p.z};
    const Float3 eye = {dot(axes[0], fromBox), dot(axes[1], fromBox), dot(axes[2], fromBox)};  // in the box's axes
    const float wound = (M.x - m.x) * (M.y - m.y) * (m.z - M.z) < 0 ? -1.0f : 1.0f;  // 1: as the wall's boxes
    const float slack = 1e-3f * (std::fabs(eye.x) + std::fabs(eye.y) + std::fabs(eye.z) +
                                 std::fabs(w) * (std::fabs(m.x) + std::fabs(m.y) + std::fabs(m.z) + std::fabs(M.x) +
                                                 std::fabs(M.y) + std::fabs(M.z)));
    for (int face = 0; face < 6; ++face) {
        const int axis = boxFaces[face].axis;
        const float at = component(boxFaces[face].atCorner1 ? M : m, axis);
        const float other = component(boxFaces[face].atCorner1 ? m : M, axis);
        const float toward = at >= other ? wound : -wound;  // the side the face is seen wound counter-clockwise from
        shown[face] = toward * (component(eye, axis) - at * w) > -slack;
    }
}

bool inWall(const ExplodeArrays& arrays, int column, int row) {
    return column >= 0 && row >= 0 && column < arrays.wallColumns && row < arrays.wallRows;
}

// The wall's cell a piece still in its place fills; false for one that has left it.
bool wallCell(const Fragment& f, const ExplodeArrays& arrays, int& column, int& row) {
    if (f.launched || arrays.wallColumns == 0 || f.rotation.x != 0 || f.rotation.y != 0 || f.rotation.z != 0)
        return false;
    column = int(std::floor(f.position.x * saverSettings.x_div / 1024));
    row = int(std::floor(f.position.y * saverSettings.y_div / 768));
    return inWall(arrays, column, row);
}

bool wallFilled(const ExplodeArrays& arrays, int column, int row) {
    return inWall(arrays, column, row) && arrays.wallFilled[size_t(column) * arrays.wallRows + row];
}

// Two pieces side by side in the wall each hide the side they share: it lies inside the
// solid slab, out of sight from anywhere.
void hideSharedSides(const Fragment& f, const ExplodeArrays& arrays, bool shown[6]) {
    int column, row;
    if (!wallCell(f, arrays, column, row)) return;
    if (wallFilled(arrays, column, row + 1)) shown[1] = false;  // top
    if (wallFilled(arrays, column, row - 1)) shown[3] = false;  // bottom
    if (wallFilled(arrays, column - 1, row)) shown[4] = false;  // left
    if (wallFilled(arrays, column + 1, row)) shown[5] = false;  // right
}

void sineAndCosine(float degrees, float& s, float& c) {
    const float radians = float(double(degrees) * (3.14159265358979323846 / 180));
    s = std::sin(radians), c = std::cos(radians);
}

// Where the box's x, y and z axes point once turned about x, then y, then z: the columns
// of Rx * Ry * Rz.
void turnedAxes(Float3 degrees, Float3 axes[3]) {
    float sx, cx, sy, cy, sz, cz;
    sineAndCosine(degrees.x, sx, cx);
    sineAndCosine(degrees.y, sy, cy);
    sineAndCosine(degrees.z, sz, cz);
    axes[0] = {cy * cz, cx * sz + sx * sy * cz, sx * sz - cx * sy * cz};
    axes[1] = {-cy * sz, cx * cz - sx * sy * sz, sx * cz + cx * sy * sz};
    axes[2] = {sy, -sx * cy, cx * cy};
}

// Returns the vertices written.
size_t placeBox(const Fragment& f, const CullingView& view, ExplodeArrays& arrays, size_t first) {
    float *vertex = &arrays.vertices[first * 3], *normal = &arrays.normals[first * 3];
    float* texCoord = &arrays.texCoords[first * 2];
    Float3 axes[3];
    turnedAxes(f.rotation, axes);
    const Float3 m = f.corner0, M = f.corner1, p = f.position;
    if (outsideView(view, p, axes, m, M)) return 0;
    bool shown[6];
    facesShown(view, p, axes, m, M, shown);
    if (view.opaque) hideSharedSides(f, arrays, shown);
    const Float3 xm = m.x * axes[0], xM = M.x * axes[0], ym = m.y * axes[1], yM = M.y * axes[1];
    const Float3 zm = m.z * axes[2], zM = M.z * axes[2];
    const Float3 corners[8] = {p + xm + ym + zm, p + xM + ym + zm, p + xM + yM + zm, p + xm + yM + zm,
                               p + xm + ym + zM, p + xM + ym + zM, p + xM + yM + zM, p + xm + yM + zM};
    const Float3 normals[6] = {axes[0], -1 * axes[0], axes[1], -1 * axes[1], axes[2], -1 * axes[2]};
    size_t written = 0;
    for (int face = 0; face < 6; ++face) {
        if (!shown[face]) continue;
        for (int k = face * 4; k < face * 4 + 4; ++k) {
            const BoxVertex v = boxVertices[k];
            const Float3 c = corners[v.corner], n = normals[v.normal];
            const TexCoord t = f.texCoords[v.texPair];
            *vertex++ = c.x, *vertex++ = c.y, *vertex++ = c.z;
            *normal++ = n.x, *normal++ = n.y, *normal++ = n.z;
            *texCoord++ = t.s, *texCoord++ = t.t;
        }
        written += 4;
    }
    return written;
}

}  // namespace

void markWall(const FragmentList& list, ExplodeArrays& arrays) {
    const float xDiv = saverSettings.x_div, yDiv = saverSettings.y_div;
    arrays.wallColumns = arrays.wallRows = 0;
    if (!(xDiv >= 1 && yDiv >= 1) || double(xDiv) * double(yDiv) > double(maxFragments)) return;  // no wall
    arrays.wallColumns = int(xDiv), arrays.wallRows = int(yDiv);
    arrays.wallFilled.assign(size_t(arrays.wallColumns) * arrays.wallRows, 0);
    int column, row;
    for (const Fragment& f : list)
        if (wallCell(f, arrays, column, row)) arrays.wallFilled[size_t(column) * arrays.wallRows + row] = 1;
}

size_t placeBoxes(const FragmentList& list, size_t first, size_t count, ExplodeArrays& arrays,
                  const CullingView& view) {
    // Sized once for as many boxes as a draw takes or the list can hold, whichever is less.
    const size_t boxes = std::max(count, std::min(list.capacity(), boxesPerDraw));
    if (arrays.vertices.size() < boxes * verticesPerBox * 3) {
        arrays.vertices.resize(boxes * verticesPerBox * 3);
        arrays.normals.resize(boxes * verticesPerBox * 3);
        arrays.texCoords.resize(boxes * verticesPerBox * 2);
    }
    size_t written = 0;
    for (size_t k = 0; k < count; ++k)
        written += placeBox(list[first + k], view, arrays, written);
    return written;
}

// Client arrays are read by the time glDrawArrays returns, so the next batch may
// overwrite them.
void drawFragments(const FragmentList& list, ExplodeArrays& arrays) {
    if (list.empty()) return;
    const CullingView view = currentCullingView();
    markWall(list, arrays);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    for (size_t first = 0; first < list.size(); first += boxesPerDraw) {
        const size_t count = std::min(boxesPerDraw, list.size() - first);
        const size_t vertices = placeBoxes(list, first, count, arrays, view);
        if (vertices == 0) continue;
        glVertexPointer(3, GL_FLOAT, 0, arrays.vertices.data());
        glNormalPointer(GL_FLOAT, 0, arrays.normals.data());
        glTexCoordPointer(2, GL_FLOAT, 0, arrays.texCoords.data());
        glDrawArrays(GL_QUADS, 0, GLsizei(vertices));
    }
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}
