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
#include "settings/settings_line.h"
#include "settings/settings_writer.h"
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

ControlKeys keys_of(const Settings& s, Control c)
{
    return s.keys[std::size_t(c)];
}

ControlKeys keys_of(const Settings& s, Action a)
{
    return keys_of(s, control_of(a));
}

TEST(SettingsFileTest, TheWrittenDefaultsReadBackAsTheDefaultsWithoutAWarning)
{
    const Reading r = read(default_settings_text());
    EXPECT_EQ(r.warnings, "");
    EXPECT_EQ(r.settings, Settings{});
    // Every setting is changed by its line: none is read as another.
    const Reading changed = read("[display]\nmode = window\nscale = 3\n[sound]\nsound = off\nvolume = 40\n"
                                 "[gamepad]\nstick=1\nwalk_axis=2\nturn_axis=1\ndead_zone=10\njump=6\nfire=7\n"
                                 "close_view=8\nview_up=9\nview_down=10\nnarrow_view=11\n");
    EXPECT_EQ(changed.warnings, "");
    const Settings& s = changed.settings;
    EXPECT_TRUE(!s.fullscreen && s.scale == 3 && !s.sound && s.volume == 40);
    EXPECT_TRUE(s.gamepad_stick == 1 && s.gamepad_walk_axis == 2 && s.gamepad_turn_axis == 1 &&
                s.gamepad_dead_zone == 10);
    EXPECT_EQ(s.gamepad_buttons, (std::array<int, ACTION_COUNT>{0, 0, 0, 0, 6, 7, 8, 9, 10, 11}));
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
                           " = 2\n"
                           "[colours]\n"
                           "sky = blue\n"
                           "[sound]\n"
                           "volume = 50\n");
    EXPECT_EQ(r.warnings,
              "ironstep: my.conf:1: a setting before any [section]: scale; the default is kept\n"
              "ironstep: my.conf:4: the key T is already bound to forward; the default is kept\n"
              "ironstep: my.conf:5: unknown name in [keys]: leap; the default is kept\n"
              "ironstep: my.conf:6: unknown key name: NOSUCHKEY; the default is kept\n"
              "ironstep: my.conf:7: ESC is kept for quitting: ESC; the default is kept\n"
              "ironstep: my.conf:8: more than two keys for turn_left; the default is kept\n"
              "ironstep: my.conf:10: not a whole number in range: 9; the default is kept\n"
              "ironstep: my.conf:11: expected name = value: mode; the default is kept\n"
              "ironstep: my.conf:12: no name before the =: = 2; the default is kept\n"
              "ironstep: my.conf:13: unknown section: [colours]; the default is kept\n");
    EXPECT_EQ(r.count, 10);
    const Settings defaults;
    EXPECT_EQ(keys_of(r.settings, Action::forward), (ControlKeys{KEY_T, 0}));
    for (const Action a : {Action::back, Action::fire, Action::jump, Action::turn_left})
        EXPECT_EQ(keys_of(r.settings, a), keys_of(defaults, a)) << ACTIONS[std::size_t(a)].name;
    EXPECT_EQ(r.settings.scale, 0) << "the largest window that fits";
    EXPECT_EQ(r.settings.volume, 50) << "the lines after the bad ones still count";
}

// A control whose key the file takes, and which the file leaves alone, is
// left with no key: said at the line that took it.
TEST(SettingsFileTest, AKeyTheFileBindsLeavesTheControlItServedByDefaultAndAControlLeftKeylessIsNamed)
{
    const Reading r = read("[keys]\nforward = W UP\npause = NONE\njump = z\nview_up = P\n");
    EXPECT_EQ(r.warnings, "ironstep: my.conf:4: jump takes Z from fire, which now has no key\n"
                          "ironstep: my.conf:2: forward takes W from viewport_width, which now has no key\n");
    EXPECT_EQ(r.count, 2);
    EXPECT_EQ(keys_of(r.settings, Action::forward), (ControlKeys{KEY_W, KEY_UP}));
    EXPECT_EQ(keys_of(r.settings, Control::viewport_width), (ControlKeys{0, 0}));
    EXPECT_EQ(keys_of(r.settings, Action::fire), (ControlKeys{0, 0}));
    EXPECT_EQ(keys_of(r.settings, Control::pause), (ControlKeys{0, 0})) << "none in any case, and nothing said";
    EXPECT_EQ(keys_of(r.settings, Action::view_up), (ControlKeys{KEY_P, 0}));
    // Fire bound again after its key was taken has a key: nothing to say.
    EXPECT_EQ(read("[keys]\njump = Z\nfire = X\nclose_view = C\n").warnings, "");
}

TEST(SettingsFileTest, AFileThatIsNotTextOrTooLongKeepsEveryDefault)
{
    const Reading binary = read("[keys]\nforward = T\n" + std::string("\x01\x02\0\x7f", 4));
    EXPECT_EQ(binary.warnings, "ironstep: my.conf: not a text file; the defaults are kept\n");
    EXPECT_EQ(binary.settings, Settings{});
    const Reading huge = read("[keys]\nforward = T\n" + std::string(SETTINGS_FILE_MAX, '#'));
    EXPECT_EQ(huge.warnings, "ironstep: my.conf: too long for a settings file; the defaults are kept\n");
    EXPECT_EQ(huge.settings, Settings{});
    const Reading long_line = read("[keys]\nforward = T" + std::string(SETTINGS_LINE_MAX, ',') + "\n");
    EXPECT_EQ(long_line.warnings, "ironstep: my.conf:2: line too long; the default is kept\n");
    // Only what comes before the comment counts.
    const Reading long_comment = read("[keys]\nforward = T   # " + std::string(SETTINGS_LINE_MAX, '-') + "\n" +
                                      std::string(SETTINGS_LINE_MAX, '#') + "\n");
    EXPECT_EQ(long_comment.warnings, "");
    EXPECT_EQ(keys_of(long_comment.settings, Action::forward), (ControlKeys{KEY_T, 0}));
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
