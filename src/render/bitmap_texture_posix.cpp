// Natively there are no program resources: every bitmap is missing, as the
// Windows side reports for an identifier it cannot find.
#include "effects/geometry.h"

int BitmapTexture::loadResource(int) {
    loaded = 0;
    return 0;
}
