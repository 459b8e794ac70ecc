// A test's spy on the sound device, never installed: preloaded into the game,
// it lets ALSA set the buffer Allegro's driver asks for and appends what ALSA
// granted, "FRAMES x FRAGMENTS at RATE", to the file IRONSTEP_ALSA_SPY names.
// ALSA is loaded only with the driver, so it is looked up there.
#include <cstdio>
#include <cstdlib>

#include <dlfcn.h>

struct snd_pcm_t;
struct snd_pcm_hw_params_t;

extern "C" int snd_pcm_hw_params(snd_pcm_t* pcm, snd_pcm_hw_params_t* params)
{
    using Get = int (*)(const snd_pcm_hw_params_t*, void*, int*);
    void* alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_NOLOAD); // the driver's, so it stays loaded
    if (alsa == nullptr)
        return -1;
    const auto set = reinterpret_cast<int (*)(snd_pcm_t*, snd_pcm_hw_params_t*)>(
        dlvsym(alsa, "snd_pcm_hw_params", "ALSA_0.9"));
    const int result = set == nullptr ? -1 : set(pcm, params);
    unsigned long frames = 0;
    unsigned fragments = 0, rate = 0;
    const auto get = [alsa, params](const char* name, void* value) {
        const auto f = reinterpret_cast<Get>(dlvsym(alsa, name, "ALSA_0.9.0rc4"));
        return f != nullptr && f(params, value, nullptr) == 0;
    };
    const char* path = std::getenv("IRONSTEP_ALSA_SPY");
    if (result == 0 && path != nullptr && get("snd_pcm_hw_params_get_period_size", &frames) &&
        get("snd_pcm_hw_params_get_periods", &fragments) && get("snd_pcm_hw_params_get_rate", &rate))
        if (std::FILE* out = std::fopen(path, "a")) {
            std::fprintf(out, "%lu x %u at %u\n", frames, fragments, rate);
            std::fclose(out);
        }
    dlclose(alsa);
    return result;
}
