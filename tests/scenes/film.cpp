#include "film.h"

#include <array>
#include <stdexcept>

#include "draw/scenes/primitives.h"
#include "draw/scenes/scenes.h"
#include "draw/scenes/slots.h"

const std::array<Drawing, 9> kOrder = {{
    {"redOutlineSquare", redOutlineSquare},
    {"driftingSquare", driftingSquare},
    {"pulsingSquares", pulsingSquares},
    {"spinningSquares", spinningSquares},
    {"fadingStaircase", fadingStaircase},
    {"tumblingSquare", tumblingSquare},
    {"fadingCircle", fadingCircle},
    {"texturedSquares", texturedSquares},
    {"rectTexturedSquares", rectTexturedSquares},
}};

namespace {

std::vector<std::array<Take, 9>> &film()
{
    static std::vector<std::array<Take, 9>> frames;
    return frames;
}

} // namespace

const std::array<Take, 9> &frame(int n)
{
    auto &frames = film();
    if (frames.empty()) {
        // The names the recording GL would give the first six loads.
        texFixedSquare = 1;
        texDriftingSquare = 2;
        texPartnerSquare = 3;
        texFixedRect = 4;
        texDriftingRect = 5;
        texPartnerRect = 6;
    }
    while (static_cast<int>(frames.size()) < n) {
        resetFakeGl();
        std::array<Take, 9> takes;
        for (std::size_t i = 0; i < kOrder.size(); ++i) {
            const std::size_t from = callLog.size();
            fakeGl.deepest = fakeGl.depth;
            kOrder[i].draw();
            takes[i] = {Calls(callLog.begin() + static_cast<std::ptrdiff_t>(from), callLog.end()),
                        fakeGl.depth, fakeGl.deepest, fakeGl.enabled};
        }
        frames.push_back(std::move(takes));
    }
    return frames[static_cast<std::size_t>(n - 1)];
}

const Take &take(int n, const std::string &scene)
{
    for (std::size_t i = 0; i < kOrder.size(); ++i)
        if (scene == kOrder[i].name)
            return frame(n)[i];
    throw std::invalid_argument("no scene " + scene);
}

Calls wholeFrame(int n)
{
    Calls all;
    for (const auto &t : frame(n))
        all.insert(all.end(), t.calls.begin(), t.calls.end());
    return all;
}

// The calls that begin with `prefix`, e.g. every glTranslated of a scene.
Calls only(const Calls &calls, const std::string &prefix)
{
    Calls kept;
    for (const auto &call : calls)
        if (call.rfind(prefix, 0) == 0)
            kept.push_back(call);
    return kept;
}

// What a primitive issues, recorded apart from the film.
Calls drawn(const std::function<void()> &primitive)
{
    const Calls savedLog = callLog;
    const FakeGl savedGl = fakeGl;
    callLog.clear();
    primitive();
    const Calls result = callLog;
    callLog = savedLog;
    fakeGl = savedGl;
    return result;
}

Calls join(std::initializer_list<Calls> parts)
{
    Calls all;
    for (const auto &part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}
// Says where two call lists part, rather than printing both whole.
::testing::AssertionResult sameCalls(const Calls &got, const Calls &want)
{
    const std::size_t n = std::min(got.size(), want.size());
    for (std::size_t i = 0; i < n; ++i)
        if (got[i] != want[i]) {
            auto failure = ::testing::AssertionFailure();
            failure << "call " << i << ": expected " << want[i] << ", got " << got[i] << "\n  before it:";
            for (std::size_t j = i >= 3 ? i - 3 : 0; j < i; ++j)
                failure << " " << got[j];
            return failure;
        }
    if (got.size() != want.size())
        return ::testing::AssertionFailure()
               << "expected " << want.size() << " calls, got " << got.size() << "; next: "
               << (got.size() > n ? "extra " + got[n] : "missing " + want[n]);
    return ::testing::AssertionSuccess();
}

// A sum of `count` steps accumulated one at a time from `start`, as a scene does.
double stepped(double start, double step, int count)
{
    double value = start;
    for (int i = 0; i < count; ++i)
        value += step;
    return value;
}
Calls outline() { return drawn(redOutlineSquare); }
