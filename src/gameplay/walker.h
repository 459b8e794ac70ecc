// The Walker: chases the player within 300 units, speeding up when close, and
// otherwise wanders between random goals inside a rectangle of the town. It
// dies in a slow roll once projectiles have worn its health down.
#pragma once

constexpr float WALKER_CHASE_RANGE = 300.0f; // closer than this it chases the player
constexpr float WALKER_CLOSE_RANGE = 145.0f; // closer than this a chase speeds up
constexpr float WALKER_TOP_SPEED = 6.0f;     // units per tick a chase speeds up to
constexpr float WALKER_MIN_CHASE_SPEED = 0.75f;
constexpr int WALKER_CHASING = 0;   // walker_mode values; also the animation's gait sets
constexpr int WALKER_WANDERING = 1;

// The wander goals stay inside this rectangle of the town.
constexpr float WALKER_GOAL_MIN_X = 1545.0f;
constexpr float WALKER_GOAL_MAX_X = 1945.0f;
constexpr float WALKER_GOAL_MIN_Z = 981.0f;
constexpr float WALKER_GOAL_MAX_Z = 1381.0f;

// The three per-tick steps, in this order, while walker_alive is 1; the
// Walker's animation step follows them.

// Keeps the heading in 0..360, stands the Walker on the terrain, and derives
// the model yaw and the direction of travel from the heading and the pitch.
void update_walker_frame();

// Picks the goal (the player when chasing, a random point when wandering) and
// the speed, turns towards the goal, then walks one step, or rolls one degree
// further while dying.
void steer_walker();

// KEY_6 sets the mode by hand (with Shift chasing, without wandering), then
// the animation clock advances with the speed.
void advance_walker_phase();
