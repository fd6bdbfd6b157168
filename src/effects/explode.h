// The Explode view: the desktop cut into a wall of boxes that are knocked loose,
// fly, come to rest and split into smaller boxes, until the wall is built again.
// Render thread only.
#pragma once
#include <cstddef>

#include "effects/culling_view.h"
#include "effects/geometry.h"

// The list never grows past this many pieces: a wall or a cycle of children beyond it
// (huge x_div, y_div or genChildren) is cut short instead of exhausting memory.
const long maxFragments = 1 << 18;

// A box is six quads; a draw takes up to boxesPerDraw of them, so the arrays stay small
// however long the list grows. Few: Mesa's software pipeline spends on a draw time that
// grows with the square of its vertices once it clips, and a few dozen boxes a draw
// cost it least.
const int verticesPerBox = 24;
const size_t boxesPerDraw = 32;

void clearFragments();
void buildWall();
void stepExplosion();
// Marks the wall's cells that pieces not yet launched still fill, for placeBoxes to leave
// out the sides two of them share.
void markWall(const FragmentList& list, ExplodeArrays& arrays);
// Puts boxes first to first + count - 1 of the list at the start of the arrays, growing
// them if need be: each corner turned about x, then y, then z by the box's rotation and
// moved by its position, as glTranslatef and three glRotatef would; each normal turned.
// Of each box only the faces the view can show, none if it is wholly outside the view
// volume, nor the sides it shares with a neighbour in the wall as markWall last marked
// them; returns the vertices written, four a face.
size_t placeBoxes(const FragmentList& list, size_t first, size_t count, ExplodeArrays& arrays,
                  const CullingView& view = CullingView());
// Every box in list order, in the model-view matrix that places the whole scene; of them
// only what the current view can show.
void drawFragments(const FragmentList& list = fragmentList, ExplodeArrays& arrays = explodeArrays);
