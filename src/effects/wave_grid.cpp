#include "effects/wave_grid.h"

#include <GL/gl.h>

#include <cmath>
#include <new>

#include "settings/saver_settings.h"

float waveCenter[2] = {0, 0};
WaveGridState waveGrid;

void WaveGrid::release() {
    for (Float3** array : {&waveGrid.positions, &waveGrid.texCoords, &waveGrid.smoothNormals,
                           &waveGrid.faceNormals}) {
        delete[] *array;
        *array = nullptr;
    }
    waveGrid.columns = waveGrid.rows = 0;
}

// Whole columns and rows from the settings; 0 and 0 when no grid can be built.
static void gridSize(int& columns, int& rows) {
    const float x = saverSettings.x_div, y = saverSettings.y_div;
    columns = rows = 0;
    if (!(x >= 1 && y >= 1) || double(x) * double(y) > double(maxGridVertices)) return;
    columns = int(x), rows = int(y);
}

void WaveGrid::build() {
    release();
    int columns, rows;
    gridSize(columns, rows);
    const long n = long(columns) * rows;
    if (n == 0) return;
    waveGrid.positions = new (std::nothrow) Float3[n];
    waveGrid.texCoords = new (std::nothrow) Float3[n];
    waveGrid.smoothNormals = new (std::nothrow) Float3[n];
    waveGrid.faceNormals = new (std::nothrow) Float3[n];
    if (!waveGrid.positions || !waveGrid.texCoords || !waveGrid.smoothNormals || !waveGrid.faceNormals)
        return release();
    waveGrid.columns = columns, waveGrid.rows = rows;

    const float xDiv = saverSettings.x_div, yDiv = saverSettings.y_div;
    const float columnStep = 1024 / xDiv, rowStep = 768 / yDiv;
    const float sStep = 1 / xDiv, tStep = 1 / yDiv;
    for (int i = 0; i < columns; ++i)
        for (int j = 0; j < rows; ++j) {
            const long k = long(j) * columns + i;
            waveGrid.positions[k] = {float(i) * columnStep, float(j) * rowStep, 0};
            waveGrid.texCoords[k] = {float(i) * sStep, 1 - float(j) * tStep, 0};  // t = 1 at the bottom
            waveGrid.faceNormals[k] = waveGrid.smoothNormals[k] = {0, 0, 0};
        }
}

bool waveHeight(int mode, float dx, float dy, float T, float& z) {
    const SaverSettings& s = saverSettings;
    const float A = s.xyAmplitude, F1 = s.xyFrequency1, F2 = s.xyFrequency2;
    const float SX = s.xySizeX, SY = s.xySizeY;
    switch (mode) {
    case 1:
        z = A * (std::cos(dy * SY * 0.0001f + F2 * T * 0.0025f) + std::cos(dx * SX * 0.0001f + F1 * T * 0.0025f));
        return true;
    case 2:
        z = A * std::sin(dy + F2 * T * 0.0025f) * std::sin(dx + F1 * T * 0.0025f);
        return true;
    case 3:
        z = A * std::sin(SX * dx * dx * 0.000001f + SY * dy * dy * 0.000001f + F1 * T * 0.0025f);
        return true;
    case 4:
        z = 3 * A * std::cos(0.25f * (SX * dx * dx * 0.000001f + SY * dy * dy * 0.000002f) + F1 * T * 0.0025f);
        return true;
    }
    return false;
}

void WaveGrid::updateHeights(float t) {
    const float T = 100 * t;
    const int mode = saverSettings.Mode;
    for (int i = 0; i < waveGrid.columns; ++i)
        for (int j = 0; j < waveGrid.rows; ++j) {
            Float3& p = waveGrid.positions[long(j) * waveGrid.columns + i];
            float z;
            if (waveHeight(mode, p.x - waveCenter[0], p.y - waveCenter[1], T, z)) p.z = z;
        }
}

void WaveGrid::computeNormals() {
    const int columns = waveGrid.columns;
    const Float3* p = waveGrid.positions;
    Float3* face = waveGrid.faceNormals;
    for (int j = 0; j + 1 < waveGrid.rows; ++j)
        for (int i = 0; i + 1 < columns; ++i) {
            const long a = long(j) * columns + i, b = long(j + 1) * columns + i + 1;
            const Float3 e1 = p[a] - p[a + 1], e2 = p[b] - p[a + 1];
            const Float3 n = {e1.z * e2.y - e1.y * e2.z, e1.x * e2.z - e1.z * e2.x, e1.y * e2.x - e1.x * e2.y};
            face[a] = (1 / std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z)) * n;
        }
    if (!saverSettings.xyGoraud) return;
    // Each vertex averages its own cell with the cells right, up-right and above it.
    for (int j = 0; j + 1 < waveGrid.rows; ++j)
        for (int i = 0; i + 1 < columns; ++i) {
            const long a = long(j) * columns + i, c = long(j + 1) * columns + i;
            waveGrid.smoothNormals[a] = 0.25f * (((face[a] + face[a + 1]) + face[c + 1]) + face[c]);
        }
}

static void emitVertex(long k, bool smooth) {
    if (smooth) glNormal3fv(&waveGrid.smoothNormals[k].x);
    glTexCoord2f(waveGrid.texCoords[k].x, waveGrid.texCoords[k].y);
    glVertex3fv(&waveGrid.positions[k].x);
}

void WaveGrid::draw() {
    computeNormals();
    const int columns = waveGrid.columns;
    const bool smooth = saverSettings.xyGoraud != 0;
    glBegin(GL_QUADS);
    for (int j = 0; j + 1 < waveGrid.rows; ++j)
        for (int i = 0; i + 1 < columns; ++i) {
            const long a = long(j) * columns + i, c = long(j + 1) * columns + i;
            if (!smooth) glNormal3fv(&waveGrid.faceNormals[a].x);  // one normal for the quad
            emitVertex(a, smooth);
            emitVertex(a + 1, smooth);
            emitVertex(c + 1, smooth);
            emitVertex(c, smooth);
        }
    glEnd();
}
