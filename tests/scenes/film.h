// The eight scenes run once against the recording GL, frame after frame from
// the first, in the frame's order, with every frame's calls kept: the scene
// tests read the frames they need, in any order and under any filter. Scene
// state lives in function statics for the whole process, so one film serves
// every test of the binary.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "support/fakes.h"

using Calls = std::vector<std::string>;

// What one scene did on one frame.
struct Take {
    Calls calls;
    int depth = 0;               // matrix stack depth it left
    int deepest = 0;             // deepest push during it
    Capabilities enabled;        // capabilities it left enabled
};

struct Drawing {
    const char *name;
    void (*draw)();
};
// The fixed square and the eight scenes, in the frame's drawing order.
extern const std::array<Drawing, 9> kOrder;

// The takes of frame n (from 1), drawing the frames up to it if need be.
const std::array<Take, 9> &frame(int n);
// What `scene` (e.g. "driftingSquare") did on frame n.
const Take &take(int n, const std::string &scene);
inline Calls calls(int n, const std::string &scene) { return take(n, scene).calls; }
Calls wholeFrame(int n);

// The calls that begin with `prefix`, e.g. every glTranslated of a scene.
Calls only(const Calls &calls, const std::string &prefix);
// What a primitive issues, recorded apart from the film.
Calls drawn(const std::function<void()> &primitive);
Calls join(std::initializer_list<Calls> parts);

inline std::string translated(double x, double y) { return "glTranslated(" + fmt(x) + ", " + fmt(y) + ", 0)"; }
inline std::string scaled(double s) { return "glScaled(" + fmt(s) + ", " + fmt(s) + ", 0)"; }
inline std::string rotated(double a) { return "glRotated(" + fmt(a) + ", 0, 0, 1)"; }

// Says where two call lists part, rather than printing both whole.
::testing::AssertionResult sameCalls(const Calls &got, const Calls &want);

// A sum of `count` steps accumulated one at a time from `start`, as a scene does.
double stepped(double start, double step, int count);

// The offset that keeps a 64x64 box centred when scaled by s.
inline double centring(double s) { return (64.0 - 64.0 * s) * 0.5; }

// The fixed square's outline.
Calls outline();
// Between two bracketed objects.
inline const Calls kPopPush = {"glPopMatrix()", "glPushMatrix()"};
