// The tables of settings and options: a file saved over the player's own
// keeps its comments and other lines and reads back as saved; the README,
// the man page and the fuzz dictionary list every row; the options write
// into the settings; and the display is chosen from them and the variable.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "app/command_line.h"
#include "app/startup.h"
#include "settings/settings_file.h"
#include "settings/settings_table.h"
#include "settings/settings_writer.h"

namespace {

namespace fs = std::filesystem;

std::string file_text(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Every setting away from its default: numbers at the other end of their
// range, choices the other way, each control on a key of its own, each
// action on a button of its own.
Settings all_changed()
{
    Settings s;
    for (const SettingRow& row : SETTINGS_TABLE)
        if (row.kind == SettingKind::number)
            s.*row.number = row.default_value == row.max ? row.min : row.max;
        else if (row.kind == SettingKind::choice)
            s.*row.choice = row.default_value == 0;
    for (int c = 0; c < CONTROL_COUNT; ++c)
        s.keys[std::size_t(c)] = {KEY_A + c, c == 0 ? KEY_F1 : 0};
    for (int a = 0; a < ACTION_COUNT; ++a)
        s.gamepad_buttons[std::size_t(a)] = a + 6;
    return s;
}

TEST(SettingsTableTest, ASavedFileKeepsThePlayersLinesAndReadsBackAsSaved)
{
    const Settings changed = all_changed();
    for (const SettingRow& row : SETTINGS_TABLE)
        EXPECT_NE(setting_value_text(row, changed), setting_value_text(row, Settings{})) << row.name;

    char pattern[] = "/tmp/ironstep-test-XXXXXX";
    const std::string folder = mkdtemp(pattern);
    const std::string path = folder + "/ironstep.conf";
    const std::string players = "# my own settings\n"
                                "[keys]\n"
                                "  forward =T   # Walk with T\r\n"
                                "leap = SPACE\n"
                                "[colours]\n"
                                "volume = 3\n"
                                "[display]\n"
                                "mode = sideways\n"
                                "\n"
                                "# the gamepad next\n";
    std::ofstream(path) << players;
    ASSERT_EQ(save_settings(path, changed), "");
    const std::string saved = file_text(path);
    for (const char* kept : {"# my own settings\n[keys]\n  forward = A F1   # Walk with T\r\n", "\nleap = SPACE\n",
                             "\n[colours]\nvolume = 3\n[display]\nmode = window\n", "\n# the gamepad next\n"})
        EXPECT_NE(saved.find(kept), std::string::npos) << kept << " in\n" << saved;
    EXPECT_LT(saved.find("\nback = B\n"), saved.find("\n[colours]")) << "under the section the file has";
    EXPECT_LT(saved.find("\n[gamepad]\n"), saved.find("\nstick = 4\n"));

    Settings read_back;
    char* said = nullptr;
    std::size_t said_size = 0;
    std::FILE* warnings = open_memstream(&said, &said_size);
    read_settings_file(path.c_str(), true, read_back, warnings);
    std::fclose(warnings);
    const std::string at = "ironstep: " + path + ":";
    EXPECT_EQ(std::string(said, said_size), at + "4: unknown name in [keys]: leap; the default is kept\n" + at +
                                                 "35: unknown section: [colours]; the default is kept\n");
    std::free(said);
    EXPECT_TRUE(read_back == changed);

    // Saved again, nothing changes; saved where no file is, the whole file.
    ASSERT_EQ(save_settings(path, changed), "");
    EXPECT_EQ(file_text(path), saved);
    fs::remove(path);
    ASSERT_EQ(save_settings(path, Settings{}), "");
    EXPECT_EQ(file_text(path), default_settings_text());
    std::ofstream(path) << std::string("\x01\x02", 2);
    EXPECT_NE(save_settings(path, changed).find("not a settings file"), std::string::npos);
    fs::remove_all(folder);
}

// The lines of text from the one starting with first to the next one that
// starts with one of ends ("" for the next line).
std::string block(const std::string& text, const std::string& first, const std::vector<std::string>& ends)
{
    const std::size_t from = text.find("\n" + first);
    if (from == std::string::npos)
        return "";
    std::size_t to = text.size();
    for (const std::string& end : ends)
        to = std::min(to, text.find("\n" + end, from + 1));
    return text.substr(from, to - from);
}

bool has_word(const std::string& text, const std::string& word)
{
    return std::regex_search(text, std::regex("(^|[^a-z_])" + word + "($|[^a-z_])"));
}

TEST(SettingsTableTest, TheReadmeTheManPageAndTheFuzzDictionaryListEveryRow)
{
    const std::string readme = file_text(SOURCE_DIR "/README.md");
    const std::string man = file_text(SOURCE_DIR "/packaging/ironstep.6.in");
    const std::string settings_page = block(man, ".SH SETTINGS", {".SH FILES"});
    const std::string dictionary = file_text(SOURCE_DIR "/fuzz/settings_file.dict");
    for (const SettingsSection& section : SETTINGS_SECTIONS) {
        const std::string name = std::string("[") + section.name + "]";
        const std::string listed = block(readme, "| `" + name + "` |", {""});
        const std::string described = block(settings_page, ".B " + name, {".TP", ".SH"});
        EXPECT_NE(dictionary.find('"' + name + '"'), std::string::npos) << name;
        for (const SettingRow& row : SETTINGS_TABLE) {
            if (row.section != std::string_view(section.name))
                continue;
            EXPECT_NE(listed.find(std::string("`") + row.name + "`"), std::string::npos) << name << row.name;
            EXPECT_TRUE(has_word(described, row.name)) << name << row.name;
            EXPECT_NE(dictionary.find(std::string("\"") + row.name + "\""), std::string::npos) << row.name;
            const std::string range = setting_range_text(row);
            if (row.kind == SettingKind::number) {
                EXPECT_NE(listed.find(range), std::string::npos) << row.name << ": " << range;
                EXPECT_NE(described.find(range), std::string::npos) << row.name << ": " << range;
            }
            for (const char* word : row.words) {
                if (word != nullptr) {
                    EXPECT_TRUE(has_word(listed, word) && has_word(described, word)) << word;
                }
            }
        }
    }
    const std::string options_page = block(man, ".SH OPTIONS", {".SH"});
    const std::string synopsis = block(readme, "    ironstep [", {"\n"});
    for (const OptionRow& row : OPTIONS) {
        const std::string name = row.name;
        EXPECT_NE(synopsis.find(name), std::string::npos) << name;
        EXPECT_NE(options_page.find(std::regex_replace(name, std::regex("-"), "\\-")), std::string::npos) << name;
        if (row.kind == OptionKind::number) {
            EXPECT_NE(options_page.find(std::to_string(row.min) + " to " + std::to_string(row.max)),
                      std::string::npos) << name;
        }
    }
}

TEST(SettingsTableTest, OptionsWriteIntoTheSettingsAndTheDisplayIsChosenFromThemAndTheVariable)
{
    Settings s;
    Options o;
    char* argv[] = {(char*)"ironstep", (char*)"--window", (char*)"--scale=3", (char*)"--nosound", (char*)"-h",
                    (char*)"--config", (char*)"my.conf"};
    ASSERT_EQ(parse_options(7, argv, s, o), "");
    EXPECT_TRUE(!s.fullscreen && s.scale == 3 && !s.sound && o.help && o.display_mode_given);
    EXPECT_EQ(std::string(o.config), "my.conf");

    const auto choice = [](const char* variable, bool fullscreen, int scale, bool given) {
        settings.fullscreen = fullscreen;
        settings.scale = scale;
        run_options.display_mode_given = given;
        if (variable != nullptr)
            setenv("IRONSTEP_WINDOW", variable, 1);
        else
            unsetenv("IRONSTEP_WINDOW");
        const DisplayChoice c = display_choice();
        return std::make_tuple(c.windowed, c.window_scale, c.window_size.w);
    };
    EXPECT_EQ(choice("3", true, 0, false), std::make_tuple(true, 3, 0)) << "the variable alone";
    EXPECT_EQ(choice("3", true, 0, true), std::make_tuple(false, 3, 0)) << "--fullscreen above it";
    EXPECT_EQ(choice("1024x768", true, 2, false), std::make_tuple(true, 2, 0)) << "--scale above it";
    EXPECT_EQ(choice("1024x768", false, 0, false), std::make_tuple(true, 0, 0)) << "mode = window above it";
    EXPECT_EQ(choice(nullptr, true, 2, false), std::make_tuple(false, 2, 0)) << "full screen, F11 to scale 2";
    settings = Settings{};
    run_options = Options{};
    unsetenv("IRONSTEP_WINDOW");
}

} // namespace
