// Writes the files the native saver is installed with that come from the settings table
// (build time): the daemon's settings description and the manual page.
//   quakeglass_files xml OUT.xml
//   quakeglass_files manual VERSION CONFIG_XML_PATH OUT.6
#include <cstdio>
#include <cstring>
#include <string>

#include "xscreensaver/saver_config_xml.h"
#include "xscreensaver/saver_manual.h"

int main(int argc, char** argv) {
    std::string text;
    if (argc == 3 && std::strcmp(argv[1], "xml") == 0)
        text = saverConfigXml();
    else if (argc == 5 && std::strcmp(argv[1], "manual") == 0)
        text = saverManualPage(argv[2], argv[3]);
    else {
        std::fprintf(stderr, "usage: quakeglass_files xml OUT.xml | manual VERSION CONFIG_XML_PATH OUT.6\n");
        return 2;
    }
    std::FILE* out = std::fopen(argv[argc - 1], "w");
    if (!out) return 1;
    std::fputs(text.c_str(), out);
    return std::fclose(out) == 0 ? 0 : 1;
}
