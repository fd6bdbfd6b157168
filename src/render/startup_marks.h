// When each step of a saver's start-up ended, in milliseconds of the frame timer (from
// process start), for the start-up benchmark. Each mark is written once, by the thread
// that does the step; readers wait for the first presented frame.
#pragma once

enum StartupMark {
    captureBegun,
    captureEnded,
    renderThreadBegun,
    pixelFormatSet,
    contextCurrent,
    scenePrepared,
    textureUploaded,
    firstFrameShown,
    startupMarkCount
};

extern double startupMarkMs[startupMarkCount];

void markStartup(StartupMark mark);
