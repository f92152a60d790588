// A window of another program, as a screensaver daemon or its settings dialog
// makes one for the demo to draw into. Prints the window's ID, then takes
// commands on standard input, one a line, and answers each with "done" once
// the X server has carried it out:
//   resize W H   gives the window a new size
//   destroy      destroys it, as a settings dialog does when it closes a preview
// It ends at the end of its input.
// Usage: host_window WIDTH HEIGHT
#include <X11/Xlib.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char *argv[])
{
    const int width = argc == 3 ? std::atoi(argv[1]) : 0;
    const int height = argc == 3 ? std::atoi(argv[2]) : 0;
    if (width <= 0 || height <= 0) {
        std::fprintf(stderr, "usage: host_window WIDTH HEIGHT\n");
        return 2;
    }
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "host_window: cannot open the display %s\n", XDisplayName(nullptr));
        return 1;
    }
    // Grey, so that a screenshot tells the window's own background from the
    // demo's black bands.
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0,
                                              static_cast<unsigned>(width), static_cast<unsigned>(height),
                                              0, 0, 0x808080);
    XStoreName(display, window, "host window");
    XMapWindow(display, window);
    XSync(display, False);
    std::printf("0x%lx\n", window);
    std::fflush(stdout);

    char line[128];
    while (std::fgets(line, sizeof line, stdin)) {
        unsigned w, h;
        if (std::sscanf(line, "resize %u %u", &w, &h) == 2) {
            XResizeWindow(display, window, w, h);
        } else if (std::strcmp(line, "destroy\n") == 0) {
            XDestroyWindow(display, window);
        } else {
            std::fprintf(stderr, "host_window: unknown command: %s", line);
            return 2;
        }
        XSync(display, False);
        std::printf("done\n");
        std::fflush(stdout);
    }
    XCloseDisplay(display);
    return 0;
}
