// Asks the X display what the screen fit asks it and prints the outcome:
// sdl12-compat's scaling setting ("unset" when sdl12-compat's default, on,
// stays). For screen_test.sh, on the display it runs on.
#include <cstdio>
#include <cstdlib>

#include "desktop/screen.h"

int main()
{
    chooseScreenFit(false);
    const char *scaling = std::getenv("SDL12COMPAT_OPENGL_SCALING");
    std::printf("%s\n", scaling ? scaling : "unset");
    return 0;
}
