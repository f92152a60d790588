// Compiled by the test web_layer_refuses_unrouted with webgl.h forced in,
// as the page's build compiles the drawing: the routed glBegin and glEnd
// build, glVertex3f, which the page's GL layer does not route, must not.
#include <GL/gl.h>

void drawWithAnUnroutedCall()
{
    glBegin(GL_QUADS);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glEnd();
}
