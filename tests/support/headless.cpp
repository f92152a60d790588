#include "support/headless.h"

#include "app/frame.h"

namespace {
int drawn = 0;
}

void drawUpTo(int n)
{
    for (; drawn < n; ++drawn) {
        back();
        modelDrow(0);
    }
}

int framesDrawn()
{
    return drawn;
}
