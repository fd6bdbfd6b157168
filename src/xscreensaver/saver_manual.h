// The native saver's manual page (man 6 quakeglass) in roff: its options from the same
// tables as -help, the daemon's programs line, the environment, the files and the exit
// statuses. Portable; written at build time.
#pragma once
#include <string>

// `configXmlPath`: where the daemon's settings description is installed.
std::string saverManualPage(const std::string& version, const std::string& configXmlPath);
