// The three per-frame animators every scene moves its shapes with: the fader,
// the drifter and the spinner. Each scene keeps their state in static doubles
// of its own and advances each animator exactly once per call. The state is
// accumulated frame by frame, so double rounding decides on which frame a
// bound is reached.
#pragma once

// A fader's turn test: how the moved value is compared with its bound.
struct Turn {
    enum Sense { above, atLeast, below, atMost };
    Sense sense;
    double bound;
};

// The turn tests by name, to read like the comparisons they stand for.
constexpr Turn above(double bound) { return {Turn::above, bound}; }     // > bound
constexpr Turn atLeast(double bound) { return {Turn::atLeast, bound}; } // >= bound
constexpr Turn below(double bound) { return {Turn::below, bound}; }     // < bound
constexpr Turn atMost(double bound) { return {Turn::atMost, bound}; }   // <= bound

// A value that moves back and forth between two bounds under a direction flag
// that holds only 0.0 or 1.0. While the flag is 0.0 the value moves by step0
// and, once turn0 holds, is set to turn0's bound and the flag to 1.0; while it
// is 1.0, likewise with step1 and turn1 back to flag 0.0. One move per call:
// a fader that turns does not also move back on the same call. A flag of any
// other value changes nothing.
void fade(double &value, double &flag, double step0, Turn turn0, double step1, Turn turn1);

// Where a drifting coordinate leaves the screen and where it comes back. The
// test is strict and its sense follows the step: greater than the limit for a
// positive step, less than it for a negative one. The overshoot is dropped.
// A limit or reset that depends on a fader is evaluated by the caller after
// that fader's update of the same frame, which is the value current at the
// moment of the test.
struct Wrap {
    double limit;
    double reset;
};

// Linked drifter: x moves every call; y moves only on the calls on which x
// does not wrap.
void driftLinked(double &x, double &y, double dx, Wrap xWrap, double dy, Wrap yWrap);

// Independent drifter: x and y each move and wrap on every call.
void driftIndependent(double &x, double &y, double dx, Wrap xWrap, double dy, Wrap yWrap);

// An angle in degrees that steps and wraps. A negative step wraps at or below
// 0.0 to 360.0, so it never holds 0.0; a positive step wraps above 360.0 to
// 0.0, so it holds 360.0 for one call when the step divides 360.
void spin(double &angle, double step);
