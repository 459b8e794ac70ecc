// ALSA's library prints a line to standard error for every step of its search
// that fails (eight on a machine with no sound card), so standard error is
// pointed at /dev/null while the driver opens and closes, and restored after.
// The settings are handed to Allegro from memory, so no configuration file is
// read or written.
#include "platform/sound_device.h"

#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

#include <allegro.h>

namespace {

bool device_open = false;

// Points standard error at /dev/null until restored.
class QuietStandardError {
public:
    QuietStandardError()
    {
        std::fflush(stderr);
        saved_ = dup(STDERR_FILENO);
        const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && null >= 0)
            dup2(null, STDERR_FILENO);
        if (null >= 0)
            close(null);
    }
    ~QuietStandardError()
    {
        std::fflush(stderr);
        if (saved_ >= 0) {
            dup2(saved_, STDERR_FILENO);
            close(saved_);
        }
    }
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

private:
    int saved_ = -1;
};

} // namespace

bool open_sound_device(int voices, int rate)
{
    if (device_open)
        return true;
    // Stereo 16-bit output at the caller's rate, so the mixer copies sounds
    // made at that rate sample for sample; quality 2 interpolates when a
    // voice's pitch is changed. The driver's buffer is MIXER_FRAGMENTS of
    // MIXER_FRAGMENT_FRAMES (see sound_device.h).
    char sound_config[192];
    std::snprintf(sound_config, sizeof sound_config,
                  "[sound]\nsound_bits = 16\nsound_stereo = 1\nquality = 2\nsound_freq = %d\n"
                  "alsa_fragsize = %d\nalsa_numfrags = %d\n",
                  rate, MIXER_FRAGMENT_FRAMES, MIXER_FRAGMENTS);
    const QuietStandardError quiet;
    push_config_state();
    set_config_data(sound_config, int(std::strlen(sound_config)));
    reserve_voices(voices, 0);
    const bool installed = install_sound(DIGI_ALSA, MIDI_NONE, nullptr) == 0;
    pop_config_state();
    device_open = installed && get_mixer_voices() >= voices;
    if (installed && !device_open) {
        ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE, "too few mixer voices");
        remove_sound();
    }
    return device_open;
}

void close_sound_device()
{
    if (!device_open)
        return;
    const QuietStandardError quiet;
    remove_sound();
    device_open = false;
}
