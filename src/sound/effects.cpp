// Each effect made from its row of the table: its recipe, a loop's join
// blended, and its level set by its peak.
#include "sound/effects.h"

void synthesise_effect(Effect effect, std::span<float> work)
{
    const EffectEntry& e = effect_entry(effect);
    e.recipe(work);
    if (e.join_frames > 0)
        join_loop(work, e.join_frames);
    set_peak(work.first(std::size_t(e.frames)), e.peak);
}
