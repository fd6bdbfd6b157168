// Linked into the sanitized saver alone. Mesa's software driver keeps blocks that only its
// own data points at, and is unloaded when the display or the EGL connection closes; the
// leak check at exit then finds them, with frames that no loaded module holds any more.
// Held loaded for the life of the process, the driver's blocks stay reachable and its
// frames keep their name (lsan.supp beside this file names it).
#include <dlfcn.h>

__attribute__((constructor)) static void keepGlDriverLoaded() { dlopen(QG_GL_DRIVER, RTLD_NOW | RTLD_NODELETE); }
