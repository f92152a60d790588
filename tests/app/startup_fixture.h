// The start-up tests' fixture: fresh GL and SDL stand-ins before each test,
// and image files the loader can open and check.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "support/fakes.h"

class Startup : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetFakes();
        unsetenv("SDL_VIDEODRIVER");
    }

    // A file the loader can open and check, whose decoding the stand-in
    // answers with `image`; its path.
    static std::string standIn(const std::string &name, FakeImage image)
    {
        static const std::string folder = [] {
            char pattern[] = "/tmp/vorlex-startup-XXXXXX";
            static const pid_t owner = getpid();
            static std::string made = mkdtemp(pattern);
            // Removed by the process that made it, not by a death test's child.
            std::atexit([] {
                if (getpid() == owner)
                    std::system(("rm -rf '" + made + "'").c_str());
            });
            return made;
        }();
        const std::string path = folder + "/" + name;
        if (std::FILE *file = std::fopen(path.c_str(), "wb")) {
            std::fputs("stand-in", file);
            std::fclose(file);
        }
        fakeSdl.images[path] = image;
        return path;
    }
};
