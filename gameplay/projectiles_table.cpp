// The projectile slots, zero at start-up.
#include "gameplay/projectiles.h"

std::array<Projectile, PROJECTILE_SLOTS> projectiles{};
