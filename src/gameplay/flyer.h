// The Flyer waits on the ground until the player comes near or hits it, takes
// off straight up while tilting into level flight, then hunts the player,
// keeps between 40 and 80 above the ground and starts bomb runs over it.
#pragma once

constexpr float FLYER_WAKE_DISTANCE = 200.0f;     // a player this close (x and z) starts the take-off
constexpr float FLYER_BOMB_RUN_DISTANCE = 225.0f; // a pass this close starts a bomb run

// Every tick in play while the Flyer is present, after fly_flyer: Shift+6 or
// a player within reach or a hit on the grounded Flyer starts the take-off;
// while it runs, the Flyer rises at speed 1 and tilts half a degree a tick
// towards level flight, and its animation clock gains 0.5.
void take_off_flyer();

// Every tick while airborne: altitude, turn and speed towards the player, the
// move, the nose-down crash below zero health, and a bomb run when near.
void fly_flyer();
