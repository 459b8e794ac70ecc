// A test's spy on the sound device, never installed: preloaded into the game,
// it lets ALSA set the buffer Allegro's driver asks for and appends what ALSA
// granted, "FRAMES x FRAGMENTS at RATE", to the file IRONSTEP_ALSA_SPY names.
// ALSA is loaded only with the driver, so it is looked up there.
#include <cstdio>
#include <cstdlib>

#include <dlfcn.h>

struct snd_pcm_t;
struct snd_pcm_hw_params_t;

namespace {

template <class Function>
Function alsa(const char* name, const char* version)
{
    void* library = dlopen("libasound.so.2", RTLD_LAZY | RTLD_NOLOAD);
    return library == nullptr ? nullptr : reinterpret_cast<Function>(dlvsym(library, name, version));
}

} // namespace

extern "C" int snd_pcm_hw_params(snd_pcm_t* pcm, snd_pcm_hw_params_t* params)
{
    using Set = int (*)(snd_pcm_t*, snd_pcm_hw_params_t*);
    using Get = int (*)(const snd_pcm_hw_params_t*, void*, int*);
    const auto set = alsa<Set>("snd_pcm_hw_params", "ALSA_0.9");
    if (set == nullptr)
        return -1;
    const int result = set(pcm, params);
    const auto period_size = alsa<Get>("snd_pcm_hw_params_get_period_size", "ALSA_0.9.0rc4");
    const auto periods = alsa<Get>("snd_pcm_hw_params_get_periods", "ALSA_0.9.0rc4");
    const auto rate = alsa<Get>("snd_pcm_hw_params_get_rate", "ALSA_0.9.0rc4");
    unsigned long frames = 0;
    unsigned fragments = 0, hz = 0;
    const char* path = std::getenv("IRONSTEP_ALSA_SPY");
    if (result == 0 && path != nullptr && period_size != nullptr && periods != nullptr && rate != nullptr &&
        period_size(params, &frames, nullptr) == 0 && periods(params, &fragments, nullptr) == 0 &&
        rate(params, &hz, nullptr) == 0) {
        if (std::FILE* f = std::fopen(path, "a")) {
            std::fprintf(f, "%lu x %u at %u\n", frames, fragments, hz);
            std::fclose(f);
        }
    }
    return result;
}
