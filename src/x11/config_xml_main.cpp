// Writes the daemon's configuration description of the native saver (build time).
//   quakeglass_config_xml OUT.xml
#include <cstdio>

#include "xscreensaver/saver_config_xml.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quakeglass_config_xml OUT.xml\n");
        return 2;
    }
    std::FILE* out = std::fopen(argv[1], "w");
    if (!out) return 1;
    std::fputs(saverConfigXml().c_str(), out);
    return std::fclose(out) == 0 ? 0 : 1;
}
