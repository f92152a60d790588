// Preloaded by the benchmark into the paced processes (LD_PRELOAD): counts
// the frames a process draws, which its frame loop marks by polling SDL's
// events exactly once, in the 8-byte file VORLEX_FRAME_COUNT names, mapped
// shared, so that the benchmark can read it while the process runs. CPU a
// frame is what two processes compare where either falls short of 62 frames
// a second; CPU a second mixes in how far.
#include <SDL.h>
#include <cstdint>
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

volatile std::uint64_t *counter()
{
    static volatile std::uint64_t *mapped = [] () -> volatile std::uint64_t * {
        const char *path = std::getenv("VORLEX_FRAME_COUNT");
        const int fd = path ? open(path, O_RDWR) : -1;
        if (fd < 0)
            return nullptr;
        void *page = mmap(nullptr, sizeof(std::uint64_t), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        close(fd);
        return page == MAP_FAILED ? nullptr : static_cast<volatile std::uint64_t *>(page);
    }();
    return mapped;
}

} // namespace

extern "C" int SDL_PollEvent(SDL_Event *event)
{
    using Poll = int (*)(SDL_Event *);
    static const Poll poll = reinterpret_cast<Poll>(dlsym(RTLD_NEXT, "SDL_PollEvent"));
    if (volatile std::uint64_t *frames = counter())
        *frames = *frames + 1;
    return poll(event);
}
