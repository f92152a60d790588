// The heap allocations the program's own code makes while it draws frames 1
// to N (drawFrame()), against the GL stand-in with its log and
// records off:
// with Mesa in the process the count would be the driver's. Prints the count.
//
//   vorlex_allocations N
#include <cstdio>
#include <cstdlib>

#include "draw/frame.h"
#include "recording/allocations.h"
#include "recording/recording_gl.h"

int main(int argc, char *argv[])
{
    char *end = nullptr;
    const long frames = argc == 2 ? std::strtol(argv[1], &end, 10) : 0;
    if (argc != 2 || *end != '\0' || frames < 1) {
        std::fprintf(stderr, "usage: %s N   (N: frames to draw, 1 or more)\n", argv[0]);
        return 2;
    }
    standInTextures();
    fakeGl.recording = false;  // neither sink: the stand-in keeps its state alone

    // The count must see an allocation it knows of, or a zero would prove
    // nothing. The volatile keeps the compiler from eliding the pair.
    const std::size_t before = allocationCount();
    int *volatile probe = new int(0);
    delete probe;
    if (allocationCount() == before) {
        std::fputs("vorlex_allocations: the allocation counter missed an operator new; "
                   "it is not in effect in this build\n", stderr);
        return 1;
    }

    const std::size_t start = allocationCount();
    for (long n = 0; n < frames; ++n) {
        drawFrame(0);
    }
    std::printf("%zu\n", allocationCount() - start);
    return 0;
}
