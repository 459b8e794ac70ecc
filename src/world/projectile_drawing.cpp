// A held ball sits at the gun in the player's turned frame; a launched one or
// a burst sits at its own position, unturned. Every point takes fresh random
// spreads and colour jitter, drawn in a fixed order from rand().
#include "world/projectile_drawing.h"

#include <cmath>
#include <cstdlib>

#include <allegro.h>
#include <alleggl.h>

#include "game/game_state.h"
#include "gameplay/player.h"
#include "gameplay/projectiles.h"
#include "maths/angles.h"
#include "maths/increments.h"
#include "models/model_drawing.h"
#include "world/point_clouds.h"

namespace {

constexpr float GUN_HEIGHT = 8.0f;     // above the player's feet
constexpr float GUN_OFFSET_X = 2.0f;   // beside the player model, in its turned frame
constexpr float GUN_OFFSET_Z = -2.0f;

constexpr float BALL_POINT_SIZE_PER_CHARGE = 20.0f; // 1 pixel at the starting charge 0.05
constexpr float BURST_POINT_SIZE = 2.0f;

// The ball: the angle counter k runs 0, 0.8, 1.6 ... while below 100, 125 steps.
constexpr double BALL_STEP = 0.8;
constexpr float BALL_END = 100.0f;
constexpr int BALL_SPREAD = 5;       // position factors 0..4
constexpr float BALL_ALPHA = 0.25f;
constexpr float FULL_CHARGE = 0.65f; // where the colour has moved all the way to red

// The burst: 20 rounds of k = 7, 17 ... 97.
constexpr int BURST_ROUNDS = 20;
constexpr int BURST_FIRST_K = 7;
constexpr int BURST_K_STEP = 10;
constexpr int BURST_END = 100;
constexpr int BURST_SPREAD = 10;     // position factors 0..9
constexpr float BURST_ALPHA = 0.8f;
constexpr float BURST_GREEN_FIRST = 64.0f;
constexpr float BURST_GREEN_SECOND = 128.0f;

constexpr int COLOUR_JITTER = 32;    // added to each colour channel, 0..31

// The three random jitters in the order red, green, blue, added to the base
// colour, normalised to length 1.
void set_jittered_colour(float red, float green, float blue, float alpha)
{
    const int jr = random_below(COLOUR_JITTER);
    const int jg = random_below(COLOUR_JITTER);
    const int jb = random_below(COLOUR_JITTER);
    float r = red + float(jr);
    float g = green + float(jg);
    float b = blue + float(jb);
    normalize_vector_f(&r, &g, &b);
    glColor4f(r, g, b, alpha);
}

// How one cloud scatters and colours its points: random position factors
// 0..spread-1 times the reach across (x, z) and up (y), and a base colour
// whose green differs between the two points of a pair in a burst.
struct Cloud {
    int spread;
    double across, up;
    float red, blue, alpha;
};

// One point of a pair: three random factors x, y, z, then its colour, then
// the vertex. The second point of a pair mirrors x.
void emit_point(const Cloud& cloud, double sin_a, double cos_a, double mirror, float green)
{
    const int fx = random_below(cloud.spread);
    const int fy = random_below(cloud.spread);
    const int fz = random_below(cloud.spread);
    set_jittered_colour(cloud.red, green, cloud.blue, cloud.alpha);
    glVertex3f(float(mirror * sin_a * fx * cloud.across), float(cos_a * fy * cloud.up),
               float(sin_a * fz * cloud.across));
}

void place_at_gun()
{
    glTranslatef(player_position.x, player_position.y + GUN_HEIGHT, player_position.z);
    rotate_by_binary_angles(0.0f, game.player_model_yaw, 0.0f);
    glTranslatef(GUN_OFFSET_X, 0.0f, GUN_OFFSET_Z);
}

// Spreads up to 4 c from the centre; blue at a fresh charge, red at a full one.
void emit_ball(float c)
{
    const Cloud ball = {BALL_SPREAD, c, c, 64.0f + 96.0f * c / FULL_CHARGE, 96.0f - 64.0f * c / FULL_CHARGE,
                        BALL_ALPHA};
    const float green = 64.0f - 24.0f * c / FULL_CHARGE;
    for (float k = 0.0f; k < BALL_END; add_to(k, BALL_STEP)) {
        const double a = counter_angle(k);
        const double sin_a = std::sin(a);
        const double cos_a = std::cos(a);
        emit_point(ball, sin_a, cos_a, 1.0, green);
        emit_point(ball, sin_a, cos_a, -1.0, green);
    }
}

// Widens with the explosion radius; the mirrored point of each pair is greener.
void emit_burst(float c, float radius)
{
    const double e = double(c) * radius;
    const Cloud burst = {BURST_SPREAD, e / 3.0, e * 0.5, 64.0f + 192.0f * c, 96.0f - 128.0f * c, BURST_ALPHA};
    for (int round = 0; round < BURST_ROUNDS; ++round) {
        for (int k = BURST_FIRST_K; k < BURST_END; k += BURST_K_STEP) {
            const double a = counter_angle(k);
            const double sin_a = std::sin(a);
            const double cos_a = std::cos(a);
            emit_point(burst, sin_a, cos_a, 1.0, BURST_GREEN_FIRST);
            emit_point(burst, sin_a, cos_a, -1.0, BURST_GREEN_SECOND);
        }
    }
}

} // namespace

void draw_projectile(int slot)
{
    const Projectile& p = projectiles[slot];
    glPushMatrix();
    if (p.in_flight == 0)
        place_at_gun();
    else
        glTranslatef(p.position.x, p.position.y, p.position.z);
    glPointSize(p.exploded == 0 ? BALL_POINT_SIZE_PER_CHARGE * p.charge : BURST_POINT_SIZE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBegin(GL_POINTS);
    if (p.exploded == 0)
        emit_ball(p.charge);
    else
        emit_burst(p.charge, p.explosion_radius);
    glEnd();
    glPopMatrix();
    glBlendFunc(GL_ONE, GL_ZERO);
}
