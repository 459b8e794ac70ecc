// Every coordinate factor and colour channel takes a fresh rand(), drawn in a
// fixed order: a point's x, y and z factors first, then its red, green and
// blue jitters.
#include "world/bomb_drawing.h"

#include <cmath>
#include <cstdlib>

#include <allegro.h>
#include <alleggl.h>

#include "gameplay/bombs.h"
#include "maths/angles.h"
#include "maths/increments.h"
#include "world/point_clouds.h"

namespace {

constexpr float FALLING_POINT_SIZE = 10.0f;
constexpr float FIRE_POINT_SIZE = 2.0f;

// The falling cloud: the counter c runs 0, 0.8, 1.6 ... while below 100, 125 steps.
constexpr double CLOUD_STEP = 0.8;
constexpr float CLOUD_END = 100.0f;
constexpr int CLOUD_SPREAD = 5; // position factors 0..4, each halved

// The fire: 30 rounds of c = 7, 12 ... 97.
constexpr int FIRE_ROUNDS = 30;
constexpr int FIRE_FIRST_C = 7;
constexpr int FIRE_C_STEP = 5;
constexpr int FIRE_END = 100;
constexpr int FIRE_SPREAD_INNER = 10; // position factors of the first point of a pair
constexpr int FIRE_SPREAD_OUTER = 8;  // and of the mirrored second
constexpr float FIRE_INNER_LIFT = 4.0f;
constexpr float FIRE_OUTER_LIFT = 3.0f;

void emit(double x, double y, double z, int red, int green, int blue)
{
    glColor3ub(GLubyte(red), GLubyte(green), GLubyte(blue));
    glVertex3f(float(x), float(y), float(z));
}

// Dark blue-grey points up to 2 units out; the second point of a pair
// mirrors x and may be bluer-green.
void emit_falling_cloud()
{
    for (float c = 0.0f; c < CLOUD_END; add_to(c, CLOUD_STEP)) {
        const double a = counter_angle(c);
        const double s = std::sin(a);
        const double k = std::cos(a);
        for (const double mirror : {1.0, -1.0}) {
            const int fx = random_below(CLOUD_SPREAD);
            const int fy = random_below(CLOUD_SPREAD);
            const int fz = random_below(CLOUD_SPREAD);
            const int red = 12 + random_below(12);
            const int green = 16 + random_below(mirror > 0.0 ? 12 : 32);
            const int blue = 32 + random_below(32);
            emit(mirror * fx * 0.5 * s, fy * 0.5 * k, fz * 0.5 * s, red, green, blue);
        }
    }
}

// Red deepens as the fire grows; the first point of a pair reaches wider and
// higher, the second is a little duller.
void emit_fire(float radius)
{
    const double r = double(radius);
    const int red_base = 128 + int(16.0 * r / 30.0);
    for (int round = 0; round < FIRE_ROUNDS; ++round) {
        for (int c = FIRE_FIRST_C; c < FIRE_END; c += FIRE_C_STEP) {
            const double a = counter_angle(c);
            const double s = std::sin(a);
            const double k = std::cos(a);
            {
                const int fx = random_below(FIRE_SPREAD_INNER);
                const int fy = random_below(FIRE_SPREAD_INNER);
                const int fz = random_below(FIRE_SPREAD_INNER);
                const int red = red_base + random_below(64);
                const int green = 96 + random_below(64);
                const int blue = 48 + random_below(64);
                emit(fx * r / 2.0 * 0.125 * s, fy * r / 2.0 / 12.0 * k + FIRE_INNER_LIFT, fz * r / 2.0 * 0.125 * s,
                     red, green, blue);
            }
            {
                const int fx = random_below(FIRE_SPREAD_OUTER);
                const int fy = random_below(FIRE_SPREAD_OUTER);
                const int fz = random_below(FIRE_SPREAD_OUTER);
                const int red = red_base + random_below(64);
                const int green = 96 + random_below(48);
                const int blue = 48 + random_below(48);
                emit(-fx * r / 2.0 / 12.0 * s, fy * r / 2.0 / 20.0 * k + FIRE_OUTER_LIFT, fz * r / 2.0 / 12.0 * s,
                     red, green, blue);
            }
        }
    }
}

} // namespace

void draw_bomb(int index)
{
    const Bomb& b = bombs[index];
    glPushMatrix();
    glTranslatef(b.position.x, b.position.y, b.position.z);
    glPointSize(b.landed == 0 ? FALLING_POINT_SIZE : FIRE_POINT_SIZE);
    glBegin(GL_POINTS);
    if (b.landed == 0)
        emit_falling_cloud();
    else
        emit_fire(b.fire_radius);
    glEnd();
    glPopMatrix();
}
