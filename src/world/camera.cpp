// Camera set-up.
#include "world/camera.h"

#include <allegro.h>
#include <alleggl.h>
#include <GL/glu.h>

#include "display/picture.h"
#include "game/game_state.h"
#include "gameplay/player.h"

ViewportOrigin viewport_origin()
{
    // Integer division truncates toward zero: 801 wide on 800 starts at 0.
    return {(picture_width() - game.viewport_width) / 2, (picture_height() - game.viewport_height) / 2};
}

void setup_camera()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(double(game.fov_degrees), double(game.aspect_scale) * ASPECT_BASE, NEAR_PLANE, FAR_PLANE);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    const Vec3 eye = camera_eye;
    if (game.view_mode == 0) {
        gluLookAt(eye.x, eye.y + CHASE_EYE_HEIGHT, eye.z, player_position.x,
                  player_position.y + LOOK_AT_HEIGHT + game.look_pitch, player_position.z, 0.0, 1.0, 0.0);
    } else if (game.target_lock == 0) {
        gluLookAt(eye.x, eye.y + CLOSE_EYE_HEIGHT, eye.z, player_position.x,
                  eye.y + CLOSE_EYE_HEIGHT + game.look_pitch, player_position.z, 0.0, 1.0, 0.0);
    } else {
        gluLookAt(eye.x, eye.y + CLOSE_EYE_HEIGHT, eye.z, target_point.x, target_point.y, target_point.z, 0.0,
                  1.0, 0.0);
    }
}
