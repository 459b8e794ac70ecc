// The game's command line as a player meets it: the statuses and outputs of
// its options, before any window opens.
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/game_process.h"

namespace {

class OptionsTest : public GameProcessTest {
protected:
    struct Run {
        ChildOutcome outcome;
        std::string out, err;
    };

    Run run(const std::vector<std::string>& args, std::vector<std::string> env = {})
    {
        for (const std::string& e : environment(false))
            env.push_back(e);
        ChildProcess child = start_child(GAME, folder_, env, "ironstep", args);
        Run r;
        r.outcome = wait_child(child, PATIENCE_SECONDS);
        r.out = read_file(child.out_path);
        r.err = read_file(child.err_path);
        EXPECT_TRUE(r.outcome.exited) << "signal " << r.outcome.signal;
        return r;
    }
};

TEST_F(OptionsTest, HelpVersionAndWrongOptionsAnswerWithTheirStatuses)
{
    const Run help = run({"--help"});
    EXPECT_EQ(help.outcome.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: ironstep [OPTION]...\n", 0), 0u) << help.out;
    EXPECT_NE(help.out.find("--demo RECORDING"), std::string::npos);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(run({"-h"}).out, help.out);

    const Run version = run({"--version"});
    EXPECT_EQ(version.outcome.status, 0);
    EXPECT_EQ(version.out.rfind("ironstep 1.", 0), 0u) << version.out;

    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{"--bogus"}, {"--scale", "0"}, {"--scale=9"}, {"--scale"}, {"--window=yes"},
          {"--config="}, {"-help"}}) {
        const Run r = run(wrong);
        EXPECT_EQ(r.outcome.status, 2) << wrong[0];
        EXPECT_NE(r.err.find("\nUsage: ironstep [OPTION]...\n"), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "") << wrong[0];
    }

    const Run no_recording = run({"--demo", folder_ + "/nothing"});
    EXPECT_EQ(no_recording.outcome.status, 1);
    EXPECT_EQ(no_recording.err, "ironstep: " + folder_ + "/nothing: No such file or directory\n");

    // A named pipe no one writes to is refused at once, and the game goes on
    // (to find no display here).
    const std::string pipe = folder_ + "/pipe";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const Run piped = run({"--config", pipe});
    EXPECT_EQ(piped.outcome.status, 1);
    EXPECT_EQ(piped.err.rfind("ironstep: " + pipe + ": not an ordinary file; the defaults are kept\n", 0), 0u)
        << piped.err;
}

TEST_F(OptionsTest, WriteConfigWritesTheDefaultsOnceAndNeverOverAFile)
{
    const std::string path = folder_ + "/config/ironstep/ironstep.conf";
    const Run first = run({"--write-config"}, {"XDG_CONFIG_HOME=" + folder_ + "/config"});
    EXPECT_EQ(first.outcome.status, 0) << first.err;
    EXPECT_EQ(first.out, "The default settings are written to " + path + "\n");
    const std::string written = read_file(path);
    EXPECT_NE(written.find("[keys]\n"), std::string::npos);
    EXPECT_NE(written.find("\nforward = UP\n"), std::string::npos) << written;

    run_shell("echo '[keys]' > '" + path + "'");
    const Run again = run({"--write-config"}, {"XDG_CONFIG_HOME=" + folder_ + "/config"});
    EXPECT_EQ(again.outcome.status, 1);
    EXPECT_EQ(again.err, "ironstep: " + path + " is there already; it is left as it is\n");
    EXPECT_EQ(read_file(path), "[keys]\n");

    // Without XDG_CONFIG_HOME, under the home folder.
    EXPECT_EQ(run({"--write-config"}).outcome.status, 0);
    EXPECT_EQ(read_file(folder_ + "/.config/ironstep/ironstep.conf"), written);

    // A file named makes no folders on the way.
    const Run nowhere = run({"--write-config", "--config", folder_ + "/no/such.conf"});
    EXPECT_EQ(nowhere.outcome.status, 1);
    EXPECT_EQ(nowhere.err, "ironstep: " + folder_ + "/no: no such folder; nothing was written\n");
    EXPECT_FALSE(file_exists(folder_ + "/no"));
}

} // namespace
