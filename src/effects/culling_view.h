// What the eye sees of the scene, in the scene's own coordinates, so that what cannot show
// is left out before it reaches the GL. Render thread only.
#pragma once

// The default sees every face of every box.
struct CullingView {
    // The eye (w > 0) or, under a parallel projection, the direction toward it (w 0).
    float eye[4] = {0, 0, 0, 1};
    // The view volume's six sides: a * x + b * y + c * z + d >= 0 inside, (a, b, c) of unit length.
    float sides[6][4] = {{0, 0, 0, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}};
    // Only when the GL culls them as well, so nothing it would show is lost.
    bool cullBackFaces = false;
    // Depth-tested and not blended: a face inside a solid shows nowhere.
    bool opaque = false;
};

// From column-major projection and model-view matrices, as glGetFloatv gives them.
CullingView cullingView(const float projection[16], const float modelView[16], bool cullBackFaces, bool opaque);
// From the GL's current matrices, face culling, depth test and blending.
CullingView currentCullingView();
