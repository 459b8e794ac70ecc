// The recipe of each sound effect: each writes its effect's samples at
// SOUND_RATE into `out`, as long as its row of EFFECTS asks (the sample and a
// loop's join), at any level; the table's peak sets the level after.
#pragma once

#include <span>

void make_charge(std::span<float> out);
void make_fire(std::span<float> out);
void make_burst(std::span<float> out);
void make_hit_walker(std::span<float> out);
void make_hit_flyer(std::span<float> out);
void make_hit_carrier(std::span<float> out);
void make_walker_step(std::span<float> out);
void make_flyer_engine(std::span<float> out);
void make_bomb_fall(std::span<float> out);
void make_bomb_blast(std::span<float> out);
void make_jump(std::span<float> out);
void make_landing(std::span<float> out);
void make_carrier_rumble(std::span<float> out);
void make_lock_found(std::span<float> out);
void make_lock_held(std::span<float> out);
void make_shoved(std::span<float> out);
void make_hurt(std::span<float> out);
void make_menu_move(std::span<float> out);
void make_menu_confirm(std::span<float> out);
