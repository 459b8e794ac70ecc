// Where screenshots go: the desktop's pictures folder as its user-dirs.dirs
// file names it, read as the shell reads it.
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
    EXPECT_EQ(pictures("XDG_PICTURES_DIR=\"$HOME\""), "/home/a");
    // Nothing the shell would expand otherwise, nothing relative, nothing unclosed.
    for (const char* refused : {"XDG_PICTURES_DIR=\"$HOMEDIR/x\"", "XDG_PICTURES_DIR=\"$(id)\"", "XDG_PICTURES_DIR=Pictures",
                                "XDG_PICTURES_DIR=\"/x", "XDG_PICTURES_DIRS=\"/x\"", "XDG_PICTURES_DIR = \"/x\""})
        EXPECT_EQ(pictures(refused), "") << refused;
    EXPECT_EQ(user_dir_in("XDG_PICTURES_DIR=\"$HOME/P\"", "PICTURES", ""), "");
}

TEST(FoldersTest, TheUserDirsFileInTheConfigFolderDecidesThenTheVariableThenTheDefault)
{
    char pattern[] = "/tmp/ironstep-test-XXXXXX";
    const std::filesystem::path home = mkdtemp(pattern);
    std::filesystem::create_directory(home / ".config");
    const std::string own_home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
    setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    setenv("XDG_PICTURES_DIR", "/from/variable", 1);
    std::ofstream(home / ".config" / "user-dirs.dirs") << "XDG_PICTURES_DIR=\"$HOME/Pictures\"\n";
    EXPECT_EQ(screenshot_folder(), home.string() + "/Pictures/ironstep") << "the file over the variable, as the shell sources it";
    setenv("XDG_CONFIG_HOME", (home / "elsewhere").c_str(), 1);
    EXPECT_EQ(screenshot_folder(), "/from/variable/ironstep");
    unsetenv("XDG_PICTURES_DIR");
    EXPECT_EQ(screenshot_folder(), home.string() + "/.local/share/ironstep/screenshots");
    unsetenv("XDG_CONFIG_HOME");
    setenv("HOME", own_home.c_str(), 1);
    std::filesystem::remove_all(home);
}

} // namespace
