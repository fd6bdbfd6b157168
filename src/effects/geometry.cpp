// The process-wide effect records.
#include "effects/geometry.h"

FragmentList fragmentList;
ExplodeArrays explodeArrays;
BitmapTexture LogoTexture;
