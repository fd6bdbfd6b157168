// The program's WinMain: the command line is read again by ProgramEntry, which never returns.
#include "host/saver_host_win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { ProgramEntry(); }
