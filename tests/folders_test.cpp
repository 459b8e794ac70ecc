// Where screenshots go: the desktop's pictures folder as its user-dirs.dirs
// file names it, read as the shell reads it, else the variable, else a
// folder of the game's own.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "app/screenshot.h"
#include "platform/folders.h"

namespace {

TEST(FoldersTest, UserDirsLinesAreReadAsTheShellReadsThemHomeExpandedAndTheLastOneWins)
{
    const auto pictures = [](const char* text) { return user_dir_in(text, "PICTURES", "/home/a"); };
    EXPECT_EQ(pictures("XDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n"), "/home/a/Bilder");
    EXPECT_EQ(pictures("# XDG_PICTURES_DIR=\"/no\"\n  XDG_PICTURES_DIR=\"${HOME}/My \\\"Pics\\\"/\"  # ok"),
              "/home/a/My \"Pics\"");
    EXPECT_EQ(pictures("XDG_PICTURES_DIR=/srv/one\nXDG_PICTURES_DIR='/srv/two'"), "/srv/two");
    // Nothing the shell would expand otherwise, nothing relative, nothing unclosed.
    for (const char* refused : {"XDG_PICTURES_DIR=\"$HOMEDIR/x\"", "XDG_PICTURES_DIR=\"$(id)\"", "XDG_PICTURES_DIR=Pictures",
                                "XDG_PICTURES_DIR=\"/x", "XDG_PICTURES_DIRS=\"/x\"", "XDG_PICTURES_DIR = \"/x\""})
        EXPECT_EQ(pictures(refused), "") << refused;
}

TEST(FoldersTest, TheUserDirsFileDecidesOverTheVariableAsTheShellSourcesItThenTheVariableThenTheDefault)
{
    char pattern[] = "/tmp/ironstep-test-XXXXXX";
    const std::filesystem::path home = mkdtemp(pattern), file = home / ".config" / "user-dirs.dirs";
    const std::string own_home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
    std::filesystem::create_directory(home / ".config");
    std::ofstream(file) << "XDG_PICTURES_DIR=\"$HOME/Pictures\"\n";
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_PICTURES_DIR", "/from/variable", 1);
    EXPECT_EQ(screenshot_folder(), home.string() + "/Pictures/ironstep");
    std::filesystem::remove(file);
    EXPECT_EQ(screenshot_folder(), "/from/variable/ironstep");
    unsetenv("XDG_PICTURES_DIR");
    EXPECT_EQ(screenshot_folder(), home.string() + "/.local/share/ironstep/screenshots");
    setenv("HOME", own_home.c_str(), 1);
    std::filesystem::remove_all(home);
}

} // namespace
