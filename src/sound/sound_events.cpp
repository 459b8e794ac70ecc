// A shot is heard when its slot's flags change: launched, then burst, on what
// the hit record says. Hits on the Walker and the Flyer are their hit flags
// rising; the Walker's footfall is its gait cycle ending; the lock, the jump
// and the player's hurt are their flags changing.
#include "sound/sound_events.h"

#include <algorithm>

#include "game/game_state.h"
#include "gameplay/hit_record.h"
#include "gameplay/player.h"
#include "models/model_data.h"

namespace {

constexpr std::uint8_t SHOT_IN_USE = 1, SHOT_IN_FLIGHT = 2, SHOT_EXPLODED = 4;
constexpr std::uint8_t BOMB_RELEASED = 1, BOMB_LANDED = 2;
constexpr int WALKER_LAST_KEY = KEYS_PER_SET - 1;
// The player's own sounds come from its body, not its feet.
constexpr float BODY_HEIGHT = 8.0f;
constexpr float CARRIER_SOUND_HEIGHT = 40.0f;

bool rose(std::uint8_t before, std::uint8_t after, std::uint8_t bit)
{
    return (before & bit) == 0 && (after & bit) != 0;
}

bool rose(int before, int after)
{
    return before == 0 && after != 0;
}

// 0 for the least charge, 1 for the most.
float charge_share(float charge)
{
    return std::clamp((charge - CHARGE_START) / (FULL_CHARGE - CHARGE_START), 0.0f, 1.0f);
}

Vec3 player_body()
{
    return {player_position.x, player_position.y + BODY_HEIGHT, player_position.z};
}

void add(SoundCues& cues, Effect effect, bool placed, const Vec3& where, float loudness, float pitch)
{
    if (cues.count < CUE_SLOTS)
        cues.cue[std::size_t(cues.count++)] = {effect, placed, where, loudness, pitch};
}

// The lasting slot of the effect's source-th source.
LastingSound& slot(std::array<LastingSound, LASTING_SLOTS>& lasting, Effect effect, int source = 0)
{
    return lasting[std::size_t(first_lasting_slot(effect) + source)];
}

void add_at_ear(SoundCues& cues, Effect effect, float loudness, float pitch)
{
    add(cues, effect, false, {0.0f, 0.0f, 0.0f}, loudness, pitch);
}

// Launches and bursts. Heavier charges sound louder and lower. On an actor
// the clang of its hull is the sound, the burst half as loud; on the Carrier
// a gong sounds with the burst.
void find_shot_cues(const SoundSnapshot& before, const SoundSnapshot& after, SoundCues& cues)
{
    if (before.shots == after.shots)
        return;
    for (int k = 0; k < PROJECTILE_SLOTS; ++k) {
        const std::uint8_t b = before.shots[std::size_t(k)];
        const std::uint8_t a = after.shots[std::size_t(k)];
        if (a == b)
            continue;
        const Projectile& p = projectiles[std::size_t(k)];
        const float share = charge_share(p.charge);
        if (rose(b, a, SHOT_IN_FLIGHT))
            add(cues, Effect::fire, true, p.launch_point, 0.6f + 0.4f * share, 1.15f - 0.3f * share);
        if (rose(b, a, SHOT_EXPLODED)) {
            const Struck struck = hit_record.shot_struck[std::size_t(k)];
            const float on_hull = struck == Struck::walker || struck == Struck::flyer ? 0.5f : 1.0f;
            add(cues, Effect::burst, true, p.position, on_hull * (0.55f + 0.45f * share), 1.3f - 0.5f * share);
            if (struck == Struck::carrier)
                add(cues, Effect::hit_carrier, true, p.position, 1.0f, 1.0f);
        }
    }
}

void find_lock_cues(const SoundSnapshot& before, const SoundSnapshot& after, CueMemory& memory, SoundCues& cues)
{
    if (after.target_lock != 0) {
        memory.timing_ticks = 0;
        if (before.target_lock == 0) {
            memory.locked_ticks = 0;
            add_at_ear(cues, Effect::lock_found, 1.0f, 1.0f);
        } else if (++memory.locked_ticks % LOCK_HELD_EVERY == 0) {
            add_at_ear(cues, Effect::lock_held, 0.6f, 1.0f);
        }
        return;
    }
    if (after.lock_timing == 0) {
        memory.timing_ticks = 0;
        return;
    }
    if (before.lock_timing == 0)
        memory.timing_ticks = 0;
    if (memory.timing_ticks++ % LOCK_TIMING_EVERY == 0)
        add_at_ear(cues, Effect::lock_held, 0.35f, 1.0f);
}

} // namespace

SoundSnapshot take_sound_snapshot()
{
    SoundSnapshot s;
    for (int k = 0; k < PROJECTILE_SLOTS; ++k) {
        const Projectile& p = projectiles[std::size_t(k)];
        s.shots[std::size_t(k)] = std::uint8_t((p.in_use != 0 ? SHOT_IN_USE : 0) |
                                               (p.in_flight != 0 ? SHOT_IN_FLIGHT : 0) |
                                               (p.exploded != 0 ? SHOT_EXPLODED : 0));
    }
    for (int i = 0; i < BOMB_COUNT; ++i) {
        const Bomb& b = bombs[std::size_t(i)];
        s.bombs[std::size_t(i)] =
            std::uint8_t((b.released != 0 ? BOMB_RELEASED : 0) | (b.landed != 0 ? BOMB_LANDED : 0));
    }
    s.jump_active = game.jump_active;
    s.walker_alive = game.walker_alive;
    s.walker_anim_key = game.walker_anim_key;
    s.walker_hit_flag = game.walker_hit_flag;
    s.flyer_hit_flag = game.flyer_hit_flag;
    s.player_hit_flag = game.player_hit_flag;
    s.target_lock = game.target_lock;
    s.lock_timing = game.lock_timing.load();
    s.carrier = {game.carrier_x, game.carrier_z};
    return s;
}

void find_sound_cues(const SoundSnapshot& before, const SoundSnapshot& after, CueMemory& memory,
                     SoundCues& cues)
{
    cues.count = 0;
    const bool walker_hit = rose(before.walker_hit_flag, after.walker_hit_flag);
    const bool flyer_hit = rose(before.flyer_hit_flag, after.flyer_hit_flag);
    find_shot_cues(before, after, cues);
    if (walker_hit)
        add(cues, Effect::hit_walker, true, game.walker_pos, 1.0f, 1.0f);
    if (flyer_hit)
        add(cues, Effect::hit_flyer, true, game.flyer_pos, 1.0f, 1.0f);

    // One footfall a gait cycle; the quick steps of the chase are lighter.
    if (after.walker_alive == 1 && before.walker_anim_key == WALKER_LAST_KEY && after.walker_anim_key == 0 &&
        game.walker_health > 0.0f)
        add(cues, Effect::walker_step, true, game.walker_pos, game.walker_mode == 0 ? 0.7f : 1.0f, 1.0f);

    for (int i = 0; i < BOMB_COUNT; ++i)
        if (rose(before.bombs[std::size_t(i)], after.bombs[std::size_t(i)], BOMB_LANDED))
            add(cues, Effect::bomb_blast, true, bombs[std::size_t(i)].position, 1.0f, 1.0f);

    if (rose(before.jump_active, after.jump_active))
        add(cues, Effect::jump, true, player_body(), 1.0f, 1.0f);
    if (before.jump_active != 0 && after.jump_active == 0)
        add(cues, Effect::landing, true, player_body(), 1.0f, 1.0f);

    // The Walker's touch or a bomb: both hurt; only the Walker shoves.
    if (rose(before.player_hit_flag, after.player_hit_flag)) {
        add_at_ear(cues, Effect::hurt, 1.0f, 1.0f);
        if (hit_record.player_hurt_by == Hurt::walker)
            add(cues, Effect::shoved, true, player_body(), 1.0f, 1.0f);
    }

    find_lock_cues(before, after, memory, cues);
}

void find_lasting_sounds(const SoundSnapshot& before, const SoundSnapshot& after,
                         std::array<LastingSound, LASTING_SLOTS>& lasting)
{
    const bool carrier_moved = before.carrier.x != after.carrier.x || before.carrier.z != after.carrier.z;
    const Vec3 carrier = {game.carrier_x, CARRIER_SOUND_HEIGHT, game.carrier_z};
    slot(lasting, Effect::carrier_rumble) = {carrier_moved, carrier, 1.0f, game.carrier_riding == 1 ? 1.15f : 1.0f};

    const bool flying = game.flyer_alive == 1 && (game.flyer_flying == 1 || game.flyer_taking_off == 1);
    slot(lasting, Effect::flyer_engine) = {flying, game.flyer_pos, 1.0f, 0.85f + 0.035f * game.flyer_speed};

    // The charging tone rises with the charge and settles quieter once full:
    // the fire key is held often and long, so it stays in the background.
    const Projectile& held = projectiles[std::size_t(game.fire_slot)];
    const bool charging = game.fire_charging == 1 && held.in_use == 1 && held.in_flight == 0;
    const float share = charge_share(held.charge);
    slot(lasting, Effect::charge) = {charging, player_body(), share < 1.0f ? 0.45f : 0.3f, 1.0f + 2.0f * share};

    for (int i = 0; i < BOMB_COUNT; ++i) {
        const Bomb& b = bombs[std::size_t(i)];
        slot(lasting, Effect::bomb_fall, i) = {b.released == 1 && b.landed == 0, b.position, 1.0f, 1.0f};
    }
}
