#include "app/startup.h"

#include <SDL_opengl.h>
#include <cstdio>

#include "app/platform.h"
#include "app/texture.h"
#include "draw/picture.h"
#include "draw/scenes/slots.h"

void startUp()
{
    openDisplay();
    renderState();
    loadTextures();
}

void renderState()
{
    glClearColor(0.0, 0.0, 0.0, 1.0);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    glShadeModel(GL_FLAT);
    // y runs from -1 at the top edge to one less than the height at the
    // bottom: the whole picture sits one pixel lower than under a plain
    // 0-to-height projection.
    glMatrixMode(GL_PROJECTION);
    glOrtho(0.0, kPictureWidth, kPictureHeight - 1.0, -1.0, 0.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
}

void loadTextures()
{
    for (const TextureSlot &slot : textureTable) {
        char path[64];
        std::snprintf(path, sizeof path, "%s%s", VORLEX_RESOURCES, slot.file);
        if (slot.padded)
            createPotTexture(path, slot.name);
        else
            createRectTexture(path, slot.name);
    }
}
