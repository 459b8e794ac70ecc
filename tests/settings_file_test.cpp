// The settings file as a player writes it: the defaults read back as they
// are, each bad line named with its file and line and left at its default,
// and a bound key filling the recorded action in its default key's place.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "game/game_state.h"
#include "gameplay/controls.h"
#include "gameplay/player.h"
#include "settings/settings_file.h"
#include "tests/test_support.h"

namespace {

// The warnings read_settings_text prints, and how many it counted.
struct Reading {
    Settings settings;
    std::string warnings;
    int count = 0;
};

Reading read(const std::string& text)
{
    Reading r;
    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&buffer, &size);
    r.count = read_settings_text(text, "my.conf", r.settings, out);
    std::fclose(out);
    r.warnings.assign(buffer, size);
    std::free(buffer);
    return r;
}

bool same(const Settings& a, const Settings& b)
{
    const GamepadSettings &g = a.gamepad, &h = b.gamepad;
    return a.display_mode == b.display_mode && a.scale == b.scale && a.sound == b.sound && a.volume == b.volume &&
           a.keys == b.keys && g.stick == h.stick && g.walk_axis == h.walk_axis && g.turn_axis == h.turn_axis &&
           g.dead_zone == h.dead_zone && g.jump == h.jump && g.fire == h.fire && g.close_view == h.close_view &&
           g.view_up == h.view_up && g.view_down == h.view_down && g.narrow_view == h.narrow_view;
}

std::array<int, 2> keys_of(const Settings& s, Control c)
{
    return s.keys[std::size_t(c)];
}

TEST(SettingsFileTest, TheWrittenDefaultsReadBackAsTheDefaultsWithoutAWarning)
{
    const Reading r = read(default_settings_text());
    EXPECT_EQ(r.warnings, "");
    EXPECT_TRUE(same(r.settings, Settings{}));
    // Every setting is changed by its line: none is read as another.
    const Reading changed = read("[display]\nmode = window\nscale = 3\n[sound]\nsound = off\nvolume = 40\n"
                                 "[gamepad]\nstick=1\nwalk_axis=2\nturn_axis=1\ndead_zone=10\njump=6\nfire=7\n"
                                 "close_view=8\nview_up=9\nview_down=10\nnarrow_view=11\n");
    EXPECT_EQ(changed.warnings, "");
    const Settings& s = changed.settings;
    const GamepadSettings& g = s.gamepad;
    EXPECT_TRUE(s.display_mode == DisplayMode::window && s.scale == 3 && !s.sound && s.volume == 40);
    EXPECT_TRUE(g.stick == 1 && g.walk_axis == 2 && g.turn_axis == 1 && g.dead_zone == 10 && g.jump == 6 &&
                g.fire == 7 && g.close_view == 8 && g.view_up == 9 && g.view_down == 10 && g.narrow_view == 11);
}

TEST(SettingsFileTest, EachBadLineIsNamedAndItsSettingKeepsItsDefault)
{
    const Reading r = read("scale = 2\n"
                           "[keys]\n"
                           "forward = T   # comments may follow\n"
                           "back = t\n"
                           "leap = SPACE\n"
                           "fire = NOSUCHKEY\n"
                           "jump = ESC\n"
                           "turn_left = A B C\n"
                           "[display]\n"
                           "scale = 9\n"
                           "mode\n"
                           "[colours]\n"
                           "sky = blue\n"
                           "[sound]\n"
                           "volume = 50\n");
    EXPECT_EQ(r.warnings,
              "ironstep: my.conf:1: a setting before any [section]: scale; the default is kept\n"
              "ironstep: my.conf:4: the key is already bound to forward; the default is kept\n"
              "ironstep: my.conf:5: unknown name in [keys]: leap; the default is kept\n"
              "ironstep: my.conf:6: unknown key name: NOSUCHKEY; the default is kept\n"
              "ironstep: my.conf:7: ESC is kept for quitting: ESC; the default is kept\n"
              "ironstep: my.conf:8: more than two keys for turn_left; the default is kept\n"
              "ironstep: my.conf:10: not a whole number in range: 9; the default is kept\n"
              "ironstep: my.conf:11: expected name = value: mode; the default is kept\n"
              "ironstep: my.conf:12: unknown section: [colours]; the default is kept\n");
    EXPECT_EQ(r.count, 9);
    const Settings defaults;
    EXPECT_EQ(keys_of(r.settings, Control::forward), (std::array<int, 2>{KEY_T, 0}));
    for (const Control c : {Control::back, Control::fire, Control::jump, Control::turn_left})
        EXPECT_EQ(keys_of(r.settings, c), keys_of(defaults, c)) << CONTROLS[std::size_t(c)].name;
    EXPECT_EQ(r.settings.scale, 0) << "the largest window that fits";
    EXPECT_EQ(r.settings.volume, 50) << "the lines after the bad ones still count";
}

TEST(SettingsFileTest, AKeyTheFileBindsLeavesTheControlItServedByDefault)
{
    const Reading r = read("[keys]\nforward = W UP\npause = none\n");
    EXPECT_EQ(r.warnings, "");
    EXPECT_EQ(keys_of(r.settings, Control::forward), (std::array<int, 2>{KEY_W, KEY_UP}));
    EXPECT_EQ(keys_of(r.settings, Control::viewport_width), (std::array<int, 2>{0, 0}));
    EXPECT_EQ(keys_of(r.settings, Control::pause), (std::array<int, 2>{0, 0}));
}

TEST(SettingsFileTest, AFileThatIsNotTextOrTooLongKeepsEveryDefault)
{
    const Reading binary = read("[keys]\nforward = T\n" + std::string("\x01\x02\0\x7f", 4));
    EXPECT_EQ(binary.warnings, "ironstep: my.conf: not a text file; the defaults are kept\n");
    EXPECT_TRUE(same(binary.settings, Settings{}));
    const Reading huge = read("[keys]\nforward = T\n" + std::string(SETTINGS_FILE_MAX, '#'));
    EXPECT_EQ(huge.warnings, "ironstep: my.conf: too long for a settings file; the defaults are kept\n");
    EXPECT_TRUE(same(huge.settings, Settings{}));
    const Reading long_line = read("[keys]\nforward = T" + std::string(SETTINGS_LINE_MAX, ' ') + "\n");
    EXPECT_EQ(long_line.warnings, "ironstep: my.conf:2: line too long; the default is kept\n");
}

// The bound key fills the recorded action; the default key no longer does.
TEST(SettingsFileTest, ABoundKeyWalksInItsDefaultKeysPlace)
{
    start_fresh_game();
    settings = read("[keys]\nforward = T\n").settings;
    player_step = {0.0f, -1.0f};
    player_proposed_xz = {1000.0f, 1000.0f};
    key[KEY_UP] = 1;
    apply_controls_to_keys();
    EXPECT_FLOAT_EQ(player_proposed_xz.z, 1000.0f) << "Up is free";
    key[KEY_UP] = 0;
    key[KEY_T] = 1;
    apply_controls_to_keys();
    EXPECT_FLOAT_EQ(player_proposed_xz.z, 999.0f) << "T walks";
    key[KEY_T] = 0;
    settings = Settings{};
    use_no_screen();
}

} // namespace
