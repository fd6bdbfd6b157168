# Writes a file's bytes into a C++ source as a constant array, so that the native program
# carries its bitmaps the way the Windows program carries resources.
#   cmake -DINPUT=FILE -DOUTPUT=FILE.cpp -DSYMBOL=name -P embed_file.cmake
file(READ ${INPUT} bytes HEX)
string(LENGTH "${bytes}" length)
math(EXPR size "${length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT}.tmp "// Generated from ${INPUT}.\n#include <cstddef>\n#include <cstdint>\n"
  "extern const uint8_t ${SYMBOL}[] = {\n${bytes}};\nextern const size_t ${SYMBOL}Size = ${size};\n")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
