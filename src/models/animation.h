// Keyframe animation of the player's walking machine, the Walker and the
// Flyer: once per logic tick each step moves its model's key on when the clock
// has run past the key's duration, then writes the interpolated pose into the
// live part tables. The Flyer spins its rotor once airborne.
#pragma once

// The Flyer's animation key 0..2 and clock; take-off advances the clock by
// 0.5 per tick.
extern int flyer_anim_key;
extern float flyer_anim_clock;

// While walk_anim_active is 1, first: the player's clock gains 0.6.
void advance_walk_clock();

// While walk_anim_active is 1, right after advance_walk_clock: key step and
// pose; clears walk_anim_active when the cycle ends back at key 0.
void animate_player();

// Every tick while the Walker is present, after its behaviour has advanced
// walker_walk_phase: key step and pose from gait set walker_mode.
void animate_walker();

// Every tick while the Flyer is present, after its flight and take-off: on
// the ground it holds or interpolates its take-off poses; airborne it keeps
// the flight pose and spins the rotor.
void animate_flyer();
