#include "render/startup_marks.h"

#include "render/frame_timer.h"

double startupMarkMs[startupMarkCount];

void markStartup(StartupMark mark) { startupMarkMs[mark] = double(FrameTimer::nowMs()); }
