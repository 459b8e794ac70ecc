// Frame composition: viewport, clear, camera, world, HUD, flip.
#include "world/frame.h"

#include <allegro.h>
#include <alleggl.h>

#include "app/game_state.h"

void compose_frame()
{
    const int w = game.viewport_width;
    const int h = game.viewport_height;
    glViewport((SCREEN_W - w) / 2, (SCREEN_H - h) / 2, w, h);
    // The clear covers the whole screen, so a smaller viewport is framed by the clear colour.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void draw_frame()
{
    compose_frame();
    glFlush();
    allegro_gl_flip();
}
