// The Explode view: the desktop cut into a wall of boxes that are knocked loose,
// fly, come to rest and split into smaller boxes, until the wall is built again.
// Render thread only.
#pragma once
#include "effects/geometry.h"

// The list never grows past this many pieces: a wall or a cycle of children beyond it
// (huge x_div, y_div or genChildren) is cut short instead of exhausting memory.
const long maxFragments = 1 << 18;

void clearFragments();
void buildWall();
void drawFragments();
void stepExplosion();
