#include "effects/explode.h"

#include <GL/gl.h>

#include <algorithm>

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

static void vertex(const TexCoord& t, const Float3& corner) {
    glTexCoord2fv(&t.s);
    glVertex3fv(&corner.x);
}

static void drawBox(const Fragment& f) {
    const Float3 m = f.corner0, M = f.corner1;
    const Float3 c0 = {m.x, m.y, m.z}, c1 = {M.x, m.y, m.z}, c2 = {M.x, M.y, m.z}, c3 = {m.x, M.y, m.z};
    const Float3 c4 = {m.x, m.y, M.z}, c5 = {M.x, m.y, M.z}, c6 = {M.x, M.y, M.z}, c7 = {m.x, M.y, M.z};
    const TexCoord* T = f.texCoords;
    glBegin(GL_QUAD_STRIP);  // front
    glNormal3f(0, 0, 1);
    vertex(T[0], c0), vertex(T[1], c1), vertex(T[3], c3), vertex(T[2], c2);
    glEnd();
    glBegin(GL_QUAD_STRIP);  // top, back, bottom
    glNormal3f(0, 1, 0);
    vertex(T[3], c3), vertex(T[2], c2);
    glNormal3f(0, 0, -1);
    vertex(T[0], c7), vertex(T[1], c6);
    glNormal3f(0, -1, 0);
    vertex(T[3], c4), vertex(T[2], c5);
    glNormal3f(0, 0, 1);
    vertex(T[0], c0), vertex(T[1], c1);
    glEnd();
    glBegin(GL_QUADS);  // left, right
    glNormal3f(-1, 0, 0);
    vertex(T[0], c3), vertex(T[1], c7), vertex(T[2], c4), vertex(T[3], c0);
    glNormal3f(1, 0, 0);
    vertex(T[0], c6), vertex(T[1], c2), vertex(T[2], c1), vertex(T[3], c5);
    glEnd();
}

void drawFragments() {
    for (const Fragment& f : fragmentList) {
        glPushMatrix();
        glTranslatef(f.position.x, f.position.y, f.position.z);
        glRotatef(f.rotation.x, 1, 0, 0);
        glRotatef(f.rotation.y, 0, 1, 0);
        glRotatef(f.rotation.z, 0, 0, 1);
        drawBox(f);
        glPopMatrix();
    }
}
