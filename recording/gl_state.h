// The GL state the recording stand-in keeps, in fixed storage: toggling it
// every frame allocates nothing, so the allocation count sees the program's
// allocations alone.
#pragma once

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <ostream>
#include <set>
#include <utility>

// The enabled capabilities.
class Capabilities {
public:
    void insert(GLenum cap)
    {
        if (!count(cap) && size_ < caps_.size())
            caps_[size_++] = cap;
    }
    void erase(GLenum cap)
    {
        for (std::size_t i = 0; i < size_; ++i)
            if (caps_[i] == cap)
                caps_[i] = caps_[--size_];
    }
    bool count(GLenum cap) const { return std::find(caps_.begin(), caps_.begin() + size_, cap) != caps_.begin() + size_; }
    bool empty() const { return size_ == 0; }
    bool operator==(const std::set<GLenum> &other) const
    {
        return other.size() == size_ && std::all_of(other.begin(), other.end(), [this](GLenum c) { return count(c); });
    }
    friend std::ostream &operator<<(std::ostream &out, const Capabilities &c)
    {
        out << "{";
        for (std::size_t i = 0; i < c.size_; ++i)
            out << (i ? ", 0x" : "0x") << std::hex << c.caps_[i] << std::dec;
        return out << "}";
    }

private:
    std::array<GLenum, 16> caps_{};
    std::size_t size_ = 0;
};

// The texture bound to each target.
class Bindings {
public:
    GLuint &operator[](GLenum target)
    {
        for (auto &[t, name] : bound_)
            if (t == target || t == 0) {
                t = target;
                return name;
            }
        return bound_.back().second;  // more targets than the program has
    }

private:
    std::array<std::pair<GLenum, GLuint>, 4> bound_{};
};
