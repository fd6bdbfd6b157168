// The configuration description that the X11 screen-saver daemon's settings dialog reads
// for the native saver (its XML form): the view, monitors, presets, sizes, flags, movement and
// frame rate, with ranges and defaults from the settings table. Portable; written at build time.
#pragma once
#include <string>

std::string saverConfigXml();

// Text as it may stand in an attribute value or between tags: & < > " ' as entities.
std::string xmlEscaped(const std::string& text);

// What the saver does, in a few lines, as the dialog and the manual page tell it.
extern const char* const saverDescription;
