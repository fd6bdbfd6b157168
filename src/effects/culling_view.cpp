#include "effects/culling_view.h"

#include <GL/gl.h>

#include <cmath>

namespace {

// Row r, column c of a column-major matrix; in double, as the eye comes of an inverse.
double at(const float m[16], int row, int column) { return m[column * 4 + row]; }

void multiply(const float a[16], const float b[16], float product[16]) {
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) sum += at(a, row, k) * at(b, k, column);
            product[column * 4 + row] = float(sum);
        }
}

// The determinant of m without that row and column, signed as in the adjugate.
double cofactor(const float m[16], int row, int column) {
    int rows[3], columns[3];
    for (int i = 0, r = 0, c = 0; i < 4; ++i) {
        if (i != row) rows[r++] = i;
        if (i != column) columns[c++] = i;
    }
    auto e = [&](int i, int j) { return at(m, rows[i], columns[j]); };
    const double minor = e(0, 0) * (e(1, 1) * e(2, 2) - e(1, 2) * e(2, 1)) -
                         e(0, 1) * (e(1, 0) * e(2, 2) - e(1, 2) * e(2, 0)) +
                         e(0, 2) * (e(1, 0) * e(2, 1) - e(1, 1) * e(2, 0));
    return (row + column) % 2 ? -minor : minor;
}

}  // namespace

CullingView cullingView(const float projection[16], const float modelView[16], bool cullBackFaces, bool opaque) {
    float clip[16];
    multiply(projection, modelView, clip);
    CullingView view;
    // The eye is the one point whose clip x, y and w are all 0: clip^-1 * (0, 0, -1, 0), which
    // for a perspective and a parallel projection alike lies on the viewer's side.
    double row2[4], determinant = 0;
    for (int i = 0; i < 4; ++i) row2[i] = cofactor(clip, 2, i), determinant += at(clip, 2, i) * row2[i];
    if (determinant == 0) return view;  // the scene is squashed flat: leave it all to the GL
    for (int i = 0; i < 4; ++i) view.eye[i] = float(-row2[i] / determinant);
    // Each side is where clip x, y or z meets -w or w.
    for (int side = 0; side < 6; ++side) {
        const int axis = side / 2;
        const double sign = side % 2 ? -1 : 1;
        double plane[4];
        for (int i = 0; i < 4; ++i) plane[i] = at(clip, 3, i) + sign * at(clip, axis, i);
        const double length = std::sqrt(plane[0] * plane[0] + plane[1] * plane[1] + plane[2] * plane[2]);
        for (int i = 0; i < 4; ++i) view.sides[side][i] = float(length > 0 ? plane[i] / length : plane[i]);
    }
    view.cullBackFaces = cullBackFaces;
    view.opaque = opaque;
    return view;
}

CullingView currentCullingView() {
    float projection[16], modelView[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    GLint culled = 0, front = 0;
    glGetIntegerv(GL_CULL_FACE_MODE, &culled);
    glGetIntegerv(GL_FRONT_FACE, &front);
    return cullingView(projection, modelView, glIsEnabled(GL_CULL_FACE) && culled == GL_BACK && front == GL_CCW,
                       glIsEnabled(GL_DEPTH_TEST) && !glIsEnabled(GL_BLEND));
}
