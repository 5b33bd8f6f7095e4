// Linked into velt-headless.exe: standard input and output in binary mode, so that its output is
// the same bytes as on Linux ("\n" is not turned into CR LF) and a script reads as written.
#include <io.h>

#include <cstdio>

namespace {

constexpr int binaryMode = 0x8000;  // _O_BINARY of the C run-time

const bool binaryStreams = [] {
    _setmode(_fileno(stdout), binaryMode);
    _setmode(_fileno(stdin), binaryMode);
    return true;
}();

}  // namespace
