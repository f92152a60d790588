// The capture tool: frames 1 to N of the program drawn against the recording
// GL stand-in, with no display and no SDL call, written to standard output
// as a binary recording, each frame as soon as it is drawn.
//
//   vorlex_capture N
#include <cstdio>
#include <cstdlib>

#include "draw/frame.h"
#include "recording/recording_gl.h"

int main(int argc, char *argv[])
{
    char *end = nullptr;
    const long frames = argc == 2 ? std::strtol(argv[1], &end, 10) : 0;
    if (argc != 2 || *end != '\0' || frames < 1) {
        std::fprintf(stderr, "usage: %s N   (N: frames to record, 1 or more)\n", argv[0]);
        return 2;
    }
    standInTextures();
    fakeGl.recording = false;  // records only, no text

    Recording frame;
    glRecording = &frame;
    bool written = writeHeader(stdout);
    for (long n = 0; n < frames && written; ++n) {
        frame.clear();
        frame.markFrame();
        drawFrame(0);
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
