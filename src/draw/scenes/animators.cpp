// The fader, drifter and spinner rules that every scene shares.
#include "draw/scenes/animators.h"

namespace {

bool holds(Turn turn, double value)
{
    switch (turn.sense) {
    case Turn::above: return value > turn.bound;
    case Turn::atLeast: return value >= turn.bound;
    case Turn::below: return value < turn.bound;
    case Turn::atMost: return value <= turn.bound;
    }
    return false;
}

// Moves one coordinate; true when it left and was set back to its re-entry line.
bool driftOne(double &position, double step, Wrap wrap)
{
    position += step;
    const bool out = step > 0.0 ? position > wrap.limit : position < wrap.limit;
    if (out)
        position = wrap.reset;
    return out;
}

} // namespace

void fade(double &value, double &flag, double step0, Turn turn0, double step1, Turn turn1)
{
    // The branch follows the flag as it stood before this call.
    if (flag == 0.0) {
        value += step0;
        if (holds(turn0, value)) {
            value = turn0.bound;
            flag = 1.0;
        }
    } else if (flag == 1.0) {
        value += step1;
        if (holds(turn1, value)) {
            value = turn1.bound;
            flag = 0.0;
        }
    }
}

void driftLinked(double &x, double &y, double dx, Wrap xWrap, double dy, Wrap yWrap)
{
    if (!driftOne(x, dx, xWrap))
        driftOne(y, dy, yWrap);
}

void driftIndependent(double &x, double &y, double dx, Wrap xWrap, double dy, Wrap yWrap)
{
    driftOne(x, dx, xWrap);
    driftOne(y, dy, yWrap);
}

void spin(double &angle, double step)
{
    angle += step;
    if (step < 0.0) {
        if (angle <= 0.0)
            angle = 360.0;
    } else if (angle > 360.0) {
        angle = 0.0;
    }
}
