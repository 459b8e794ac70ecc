// A bomb keeps some of the Flyer's horizontal speed, which dies away, and
// falls ever faster. It stops in the ground or on the player; one that meets
// the player costs 10 health, and while the player's hit flag is set bombs
// fall through it.
#include "gameplay/bombs.h"

#include <cmath>

#include "game/game_state.h"
#include "gameplay/hit_record.h"
#include "gameplay/player.h"
#include "gameplay/terrain.h"
#include "maths/increments.h"

std::array<Bomb, BOMB_COUNT> bombs{};

namespace {

constexpr float RELEASE_FALL_SPEED = -1.0f;
constexpr float FIRE_RADIUS_START = 5.0f;
constexpr double FIRE_GROWTH = 0.25;      // per tick: 100 ticks from 5 to 30
constexpr double HORIZONTAL_DRAG = 0.975; // the Flyer's speed dies away
constexpr double FALL_GROWTH = 1.035;     // the fall speeds up

// A bomb within these of the player's feet meets it; all bounds are strict.
constexpr float PLAYER_HALF_WIDTH = 15.0f;
constexpr float PLAYER_HALF_HEIGHT = 5.0f;
constexpr int BOMB_DAMAGE = 10;

// The bomb leaves the Flyer where it is now, with its horizontal velocity.
void release_bomb(Bomb& b)
{
    b.released = 1;
    b.position = game.flyer_pos;
    b.velocity = {game.flyer_speed * game.flyer_dir.x, RELEASE_FALL_SPEED, game.flyer_speed * game.flyer_dir.z};
    b.fire_radius = FIRE_RADIUS_START;
}

bool meets_player(const Vec3& at)
{
    return std::abs(player_position.x - at.x) < PLAYER_HALF_WIDTH &&
           std::abs(player_position.y - at.y) < PLAYER_HALF_HEIGHT &&
           std::abs(player_position.z - at.z) < PLAYER_HALF_WIDTH;
}

void fall(Bomb& b)
{
    b.velocity.x = float(double(b.velocity.x) * HORIZONTAL_DRAG);
    b.velocity.y = float(double(b.velocity.y) * FALL_GROWTH);
    b.velocity.z = float(double(b.velocity.z) * HORIZONTAL_DRAG);
    add_to(b.position.x, double(b.velocity.x));
    add_to(b.position.y, double(b.velocity.y));
    add_to(b.position.z, double(b.velocity.z));
    if (terrain_height_at(b.position.x, b.position.z) > b.position.y)
        b.landed = 1;
    if (game.player_hit_flag == 0 && meets_player(b.position)) {
        game.player_hit_flag = 1;
        hit_record.player_hurt_by = Hurt::bomb;
        game.player_health -= BOMB_DAMAGE;
        b.landed = 1;
        game.player_hit_time = game.game_clock.load();
    }
}

} // namespace

void reset_bombs()
{
    bombs.fill(Bomb{});
}

void start_bomb_run()
{
    game.bomb_run_active = 1;
    release_bomb(bombs[0]);
    game.bomb_run_start = game.game_clock.load();
}

void update_bombs()
{
    for (int i = 0; i < BOMB_COUNT; ++i) {
        Bomb& b = bombs[i];
        // Bomb i is due strictly after i intervals from the start of the run.
        if (b.released == 0 && b.landed == 0 &&
            double(game.game_clock.load()) > double(game.bomb_run_start) + double(game.bomb_interval) * i)
            release_bomb(b);
        if (b.released == 1 && b.landed == 0)
            fall(b);
        if (b.landed == 1 && b.fire_radius < FIRE_RADIUS_END)
            add_to(b.fire_radius, FIRE_GROWTH);
    }
    // The run ends with the last bomb's fire, whatever the others are doing.
    if (bombs[BOMB_COUNT - 1].fire_radius >= FIRE_RADIUS_END) {
        game.bomb_run_active = 0;
        reset_bombs();
    }
}
