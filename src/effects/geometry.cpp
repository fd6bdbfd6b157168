// The process-wide effect records.
#include "effects/geometry.h"

FragmentList fragmentList;
BitmapTexture LogoTexture;
