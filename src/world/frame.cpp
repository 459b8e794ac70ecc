// Frame composition: viewport, clear, camera, the world in a fixed order, the
// HUD, then the picture put on the window. The world is drawn with no texture
// bound and the blending function one, zero, so every element shows its own
// colours.
#include "world/frame.h"

#include <allegro.h>
#include <alleggl.h>

#include "display/present.h"
#include "game/game_state.h"
#include "gameplay/bombs.h"
#include "gameplay/lock_on.h"
#include "gameplay/projectiles.h"
#include "models/model_drawing.h"
#include "world/bomb_drawing.h"
#include "world/camera.h"
#include "world/hud.h"
#include "world/point_clouds.h"
#include "world/projectile_drawing.h"
#include "world/scenery.h"
#include "world/terrain_drawing.h"

void draw_land_and_town()
{
    draw_terrain();
    glBegin(GL_QUADS);
    draw_scenery();
    glEnd();
}

void compose_frame()
{
    const ViewportOrigin origin = viewport_origin();
    glViewport(origin.x, origin.y, game.viewport_width, game.viewport_height);
    // The clear covers the whole screen, so a smaller viewport is framed by the clear colour.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    setup_camera();
    start_cloud_frame();

    // The bombs of a run, falling or burning, until each fire has burnt out.
    if (game.bomb_run_active == 1)
        for (int i = 0; i < BOMB_COUNT; ++i)
            if (bombs[i].released == 1 && bombs[i].fire_radius < FIRE_RADIUS_END)
                draw_bomb(i);
    draw_land_and_town();
    draw_carrier_model();
    // In a demo the Flyer is never drawn.
    if (game.demo_mode == 0 && game.flyer_alive == 1)
        draw_flyer_model();
    if (game.walker_alive == 1)
        draw_walker_model();
    // Translucent clouds over the opaque world, each held, flying or bursting.
    for (int slot = 0; slot < PROJECTILE_SLOTS; ++slot)
        if (projectiles[slot].in_use == 1)
            draw_projectile(slot);
    // The chase view shows the player's machine; the close view looks from inside it.
    if (game.view_mode == 0)
        draw_player_model();
    // The lock-on search needs this frame's camera, before the HUD replaces it.
    if (game.view_mode == 1)
        update_target_markers();
    draw_hud();
}

void show_frame()
{
    present_frame();
}

void draw_frame()
{
    compose_frame();
    show_frame();
}
