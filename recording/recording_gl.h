// The one GL stand-in, linked in place of the real GL by the call-sequence
// tests, the capture tool and the allocation count. Each entry point is
// written once: it makes one record of its call (opcode and arguments, see
// records.h), keeps the state below, and hands the record to the sinks that
// are on:
//   - the text log, callLog, while fakeGl.recording: one line per call,
//     e.g. "glVertex2i(64, 0)", rendered from the record. The tests read it;
//     the SDL stand-in writes its own calls into the same log.
//   - a Recording, while glRecording is set: the record as is, with the
//     texture a frame binds named by its slot. The capture tool writes these.
// Two sinks rather than a log rendered afterwards from a Recording: the log
// interleaves with the SDL stand-in's lines, and shows the texture names of
// start-up, when no slot holds them yet. With both off a call only keeps the
// state, in fixed storage: the allocation count sees the program's
// allocations alone.
#pragma once

#include <GL/gl.h>

#include <string>
#include <vector>

#include "recording/gl_state.h"
#include "recording/records.h"

// What the stand-in keeps of the state the calls change, and what it answers.
struct FakeGl {
    int depth = 0;                    // model-view stack depth above the base
    int deepest = 0;                  // largest depth seen
    Capabilities enabled;
    Bindings bound;
    GLuint nextName = 1;              // name the next glGenTextures gives; 0 to fail
    std::string extensions = "GL_ARB_texture_non_power_of_two GL_ARB_texture_rectangle";
    GLint largestTexture = 16384;
    bool recording = true;            // the text log is on
};
extern FakeGl fakeGl;
extern std::vector<std::string> callLog;

// Where the records of the calls go while set; frames only: a start-up call
// or a texture no slot holds ends the process with a message, since such a
// recording could not be replayed.
extern Recording *glRecording;

// Back to a fresh GL with an empty log.
void resetFakeGl();

// Shortest text that reads back as the same double, as the log writes it.
std::string fmt(double value);

// The log lines from `from` on that start with `prefix`.
std::vector<std::string> callsFrom(std::size_t from, const std::string &prefix = "");

// Fills the texture slots with 1 to 10, stand-ins for the names a real GL
// gives; a frame's records name slots, not these numbers.
void standInTextures();
