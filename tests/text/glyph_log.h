// Reads the recording GL's log back as text: every glyph quad the font code
// drew, and the lines they form. A glyph whose calls stray from the exact
// push, translate, bind, colour, quad, pop sequence is reported as a failure.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "support/fakes.h"

struct Glyph {
    int x = 0, y = 0;       // translation of the quad's top-left corner
    unsigned atlas = 0;     // texture bound to the rectangle target
    std::string alpha;      // as glColor4d logged it
    int u = 0, v = 0;       // texel corner of the cell
    int cell = 0;
    int code() const { return v / cell * 16 + u / cell; }  // inverts code / 16 and code % 16
};

// One fontA or fontB line: glyphs one cell apart with the same atlas, alpha and y.
struct TextDraw {
    unsigned atlas = 0;
    int cell = 0;
    std::string alpha;
    int x = 0, y = 0;
    std::string text;
    bool operator==(const TextDraw &o) const
    {
        return atlas == o.atlas && cell == o.cell && alpha == o.alpha && x == o.x && y == o.y &&
               text == o.text;
    }
};

inline std::ostream &operator<<(std::ostream &out, const TextDraw &d)
{
    return out << "{atlas " << d.atlas << ", cell " << d.cell << ", alpha " << d.alpha << ", at ("
               << d.x << ", " << d.y << "), \"" << d.text << "\"}";
}

// The glyphs among the log's calls from `from` up to `to`.
inline std::vector<Glyph> glyphsFrom(std::size_t from = 0, std::size_t to = std::string::npos)
{
    std::vector<Glyph> found;
    to = std::min(to, callLog.size());
    for (std::size_t i = from; i < to; ++i) {
        if (callLog[i] != "glPushMatrix()")
            continue;
        if (i + 15 > to) {
            ADD_FAILURE() << "a glyph cut short at call " << i;
            break;
        }
        Glyph g;
        int s = 0;
        char alpha[64] = "";
        const bool head =
            std::sscanf(callLog[i + 1].c_str(), "glTranslated(%d, %d, 0)", &g.x, &g.y) == 2 &&
            std::sscanf(callLog[i + 2].c_str(), "glBindTexture(GL_TEXTURE_RECTANGLE_ARB, %u)", &g.atlas) == 1 &&
            std::sscanf(callLog[i + 3].c_str(), "glColor4d(1, 1, 1, %63[^)])", alpha) == 1 &&
            std::sscanf(callLog[i + 5].c_str(), "glTexCoord2i(%d, %d)", &g.u, &g.v) == 2 &&
            std::sscanf(callLog[i + 8].c_str(), "glVertex2i(%d, 0)", &s) == 1;
        g.alpha = alpha;
        g.cell = s;
        const int u = g.u, v = g.v;
        const auto tex = [](int x, int y) { return "glTexCoord2i(" + std::to_string(x) + ", " + std::to_string(y) + ")"; };
        const auto pos = [](int x, int y) { return "glVertex2i(" + std::to_string(x) + ", " + std::to_string(y) + ")"; };
        const std::vector<std::string> expected = {
            "glPushMatrix()",
            "glTranslated(" + std::to_string(g.x) + ", " + std::to_string(g.y) + ", 0)",
            "glBindTexture(GL_TEXTURE_RECTANGLE_ARB, " + std::to_string(g.atlas) + ")",
            "glColor4d(1, 1, 1, " + g.alpha + ")",
            "glBegin(GL_QUADS)",
            tex(u, v), pos(0, 0), tex(u + s, v), pos(s, 0), tex(u + s, v + s), pos(s, s),
            tex(u, v + s), pos(0, s), "glEnd()", "glPopMatrix()"};
        const std::vector<std::string> seen(callLog.begin() + static_cast<long>(i),
                                            callLog.begin() + static_cast<long>(i + 15));
        if (!head || s <= 0 || seen != expected) {
            ADD_FAILURE() << "not a glyph quad at call " << i << ": " << testing::PrintToString(seen);
            continue;
        }
        found.push_back(g);
        i += 14;
    }
    return found;
}

inline std::vector<TextDraw> textDrawsFrom(std::size_t from = 0, std::size_t to = std::string::npos)
{
    std::vector<TextDraw> draws;
    for (const Glyph &g : glyphsFrom(from, to)) {
        TextDraw *last = draws.empty() ? nullptr : &draws.back();
        const bool continues = last && last->atlas == g.atlas && last->cell == g.cell &&
                               last->alpha == g.alpha && last->y == g.y &&
                               last->x + last->cell * static_cast<int>(last->text.size()) == g.x;
        if (!continues)
            draws.push_back({g.atlas, g.cell, g.alpha, g.x, g.y, ""});
        draws.back().text += static_cast<char>(g.code());
    }
    return draws;
}
