// The capture tool: the program's frames drawn against the recording GL
// stand-in, with no display and no SDL call.
//
//   vorlex_capture frames N        frames 1 to N as a binary recording on standard output,
//                                  each written as soon as it is drawn
//   vorlex_capture allocations N   the heap allocations made while frames 1 to N are drawn,
//                                  with the stand-in recording nothing
//
// The texture slots hold 1 to 10 here, stand-ins for the names a real GL
// gives; the recording names slots, not these numbers.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "allocations.h"
#include "app/frame.h"
#include "recording_gl.h"

namespace {

void drawFrame()
{
    back();
    modelDrow();
}

int recordFrames(long frames)
{
    Recording frame;
    glRecording = &frame;
    bool written = writeHeader(stdout);
    for (long n = 0; n < frames && written; ++n) {
        frame.clear();
        frame.markFrame();
        drawFrame();
        frame.markFrame();
        written = writeFrame(frame, 0, stdout);
    }
    glRecording = nullptr;
    if (!written || std::fflush(stdout) != 0) {
        std::perror("vorlex_capture: cannot write the recording");
        return 1;
    }
    return 0;
}

int countAllocations(long frames)
{
    // The count must see an allocation it knows of, or a zero would prove
    // nothing. The volatile keeps the compiler from eliding the pair.
    const std::size_t before = allocationCount();
    int *volatile probe = new int(0);
    delete probe;
    if (allocationCount() == before) {
        std::fputs("vorlex_capture: the allocation counter missed an operator new; "
                   "it is not in effect in this build\n", stderr);
        return 1;
    }

    const std::size_t start = allocationCount();
    for (long n = 0; n < frames; ++n)
        drawFrame();
    const std::size_t made = allocationCount() - start;
    std::printf("%zu\n", made);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    char *end = nullptr;
    const long frames = argc == 3 ? std::strtol(argv[2], &end, 10) : 0;
    if (argc != 3 || *end != '\0' || frames < 1) {
        std::fprintf(stderr, "usage: %s frames|allocations N   (N: frames to draw, 1 or more)\n", argv[0]);
        return 2;
    }
    for (int slot = 0; slot < kSlotCount; ++slot)
        setSlotTexture(slot, static_cast<unsigned long>(slot + 1));

    if (std::strcmp(argv[1], "frames") == 0)
        return recordFrames(frames);
    if (std::strcmp(argv[1], "allocations") == 0)
        return countAllocations(frames);
    std::fprintf(stderr, "%s: unknown mode \"%s\" (frames or allocations)\n", argv[0], argv[1]);
    return 2;
}
