// The Carrier travels for ever round its closed route of waypoints at a fixed
// height. A player who touches any of its faces makes it hurry, is carried
// along with it and turned with it.
#pragma once

constexpr float CARRIER_SPEED = 0.75f;        // units per tick, the step along the leg
constexpr float CARRIER_RIDDEN_SPEED = 2.5f;  // while the player touches it
constexpr float CARRIER_REACH = 6.0f;         // a waypoint within +-6 on both axes is reached
constexpr float CARRIER_LEG_EASING = 0.75f;   // degrees per tick the leg angle follows its leg
constexpr float CARRIER_RIDER_TURN = 0.75f;   // degrees per tick the rider turns with it

// One step along the route, once per logic tick (and behind the title menu):
// move towards the current waypoint (or take the next one, pausing a tick),
// ease the heading round the corner, add the trim of KEY_7 and KEY_8 (read
// live), and turn a rider with the Carrier.
void step_carrier();
