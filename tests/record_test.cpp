// The recorder as a player uses it: started under the test display, driven by
// real key events held as a person holds them, and judged by the recording it
// writes, against when the keys went down and up.
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/game_process.h"
#include "tests/screen_checks.h"

namespace {

const std::string RECORDER = RECORD_BINARY;
using Clock = std::chrono::steady_clock;

// Inner parts of a key's light on the banner, as screen pixels.
struct Area {
    int x0, y0, x1, y1;
};
constexpr Area UP = {585, 106, 608, 121}, DOWN = {585, 130, 608, 145};
constexpr Area Z = {95, 108, 118, 123}, X = {130, 108, 153, 123};

// A tick's keys as bits in record byte order: up 1, left 4, z 32.
constexpr int UP_BIT = 1, LEFT_BIT = 4, Z_BIT = 32;
// The slack allowed between a key event and the tick that shows it: events
// and ticks both wait on a busy machine.
constexpr int SLACK_TICKS = 15;

// How much brighter the banner shows a key than its neighbour, which stays
// unpressed: the key's light raises it, whatever the world behind shows.
double contrast(const ScreenCapture& c, Area key, Area neighbour)
{
    return brightness(c, key.x0, key.y0, key.x1, key.y1) -
           brightness(c, neighbour.x0, neighbour.y0, neighbour.x1, neighbour.y1);
}

class RecordTest : public GameProcessTest {
protected:
    // Sends xdotool words; the interval holds the time the events went out.
    struct Sent {
        double before, after; // seconds since the test began
    };
    Sent send(const std::string& words)
    {
        const double before = seconds();
        EXPECT_EQ(run_shell("DISPLAY=" + display_ + " xdotool " + words), 0);
        return {before, seconds()};
    }
    double seconds() const { return std::chrono::duration<double>(Clock::now() - start_).count(); }

    // Presses keys and holds them until the banner lights the first of them,
    // and a fifth of a second more. Events reach the game in order, so what
    // is sent next comes after this press.
    Sent press(const std::string& keys, Area key, Area neighbour)
    {
        const double before = contrast(capture(), key, neighbour);
        const Sent down = send("keydown --delay 0 " + keys);
        const auto lit = [&](const ScreenCapture& c) { return contrast(c, key, neighbour) > before + 20; };
        EXPECT_TRUE(lit(capture_until(lit))) << keys << " never lit";
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        return down;
    }

    Clock::time_point start_ = Clock::now();
};

// The ticks keys were held: the first and the last, or {0, -1}.
struct KeyStretch {
    int first = 0, last = -1;
};

// Ticks between two key events, at 60 a second, give or take the slack.
void expect_ticks_between(int ticks, double earliest_gap, double latest_gap, const char* what)
{
    EXPECT_GE(ticks, int(60.0 * earliest_gap) - SLACK_TICKS) << what;
    EXPECT_LE(ticks, int(60.0 * latest_gap) + SLACK_TICKS) << what;
}

TEST_F(RecordTest, KeysHeldWhileRecordingAreInTheirTicksAndEverythingElseIsReleased)
{
    const std::string out = folder_ + "/mine";
    ChildProcess child = start_child(RECORDER, folder_, environment(), "", {out});
    // Recording has begun when the screen shows the mark's red dot.
    const auto marked = [](const ScreenCapture& c) { return near(c.at(268, 572), {230, 13, 13}, 50); };
    ASSERT_TRUE(marked(capture_until(marked))) << "no recording mark; stderr: " << read_file(child.err_path);

    // Up, then Left with Z held through Escape: the recording must release
    // them after its last tick rather than hold them to the demo's end.
    const Sent up_down = press("Up", UP, DOWN);
    const Sent up_up = send("keyup --delay 0 Up");
    const Sent turn_down = press("Left z", Z, X);
    const Sent escape = send("keydown Escape sleep 0.3 keyup Escape");
    const ChildOutcome outcome = wait_child(child, 60.0);
    send("keyup --delay 0 Left z");
    ASSERT_TRUE(outcome.ended && outcome.exited) << "signal " << outcome.signal;
    ASSERT_EQ(outcome.status, 0) << read_file(child.err_path);
    const std::string printed = read_file(child.out_path);
    const std::string starting = "ironstep-record: recording " + out + ": Escape stops the recording and keeps what was played\n";
    ASSERT_EQ(printed.rfind(starting, 0), 0u) << printed;
    int recorded = 0;
    ASSERT_EQ(std::sscanf(printed.c_str() + starting.size(), ("ironstep-record: wrote " + out + ": %d ticks").c_str(),
                          &recorded),
              1)
        << printed;

    const std::string bytes = read_file(out);
    ASSERT_EQ(bytes.size(), 25000u) << "the demo's whole length";
    KeyStretch up, turn;
    for (int tick = 0; tick <= 2499; ++tick) {
        int keys = 0;
        for (int k = 0; k < 10; ++k) {
            const auto b = std::uint8_t(bytes[std::size_t(tick * 10 + k)]);
            EXPECT_TRUE(b == 0 || b == 0xFF) << "tick " << tick << " byte " << k;
            keys |= b != 0 ? 1 << k : 0;
        }
        EXPECT_EQ(keys & ~(UP_BIT | LEFT_BIT | Z_BIT), 0) << "tick " << tick << ": only the keys held";
        EXPECT_TRUE(keys == 0 || (tick >= 1 && tick <= recorded)) << "tick " << tick << " of " << recorded;
        for (auto [bits, run] : {std::pair{UP_BIT, &up}, std::pair{LEFT_BIT | Z_BIT, &turn}})
            if ((keys & bits) != 0) {
                EXPECT_TRUE(run->last < 0 || run->last == tick - 1) << "one stretch each; tick " << tick;
                run->first = run->last < 0 ? tick : run->first;
                run->last = tick;
            }
        // Left and Z go down and up together, give or take the tick between two events.
        if ((keys & (LEFT_BIT | Z_BIT)) != 0 && (keys & (LEFT_BIT | Z_BIT)) != (LEFT_BIT | Z_BIT)) {
            EXPECT_TRUE(tick - turn.first < 2 || tick == turn.last)
                << "Left without Z or Z without Left, tick " << tick;
        }
    }
    ASSERT_GT(up.last, 0) << "Up recorded";
    ASSERT_GT(turn.last, up.last) << "Left and Z recorded after Up";
    // Each stretch as long as the key was held, and as far from the end as its events were from Escape.
    expect_ticks_between(up.last - up.first + 1, up_up.before - up_down.after, up_up.after - up_down.before, "Up held");
    EXPECT_EQ(turn.last, recorded) << "Left with Z held to the last tick";
    expect_ticks_between(recorded - up.first, escape.before - up_down.after, escape.after - up_down.before,
                         "from Up to Escape");
    expect_ticks_between(recorded - turn.first, escape.before - turn_down.after, escape.after - turn_down.before,
                         "from Left with Z to Escape");
    EXPECT_EQ(xmessage_log(), "");
}

} // namespace

namespace {

TEST_F(GameProcessTest, ThePlayersToolsRefuseWhatTheyCannotWriteOrPlayBeforeTheGameStarts)
{
    // Without a display the game could not start: each is refused first.
    const std::string timedemo = TIMEDEMO_BINARY, out = folder_ + "/no_such_folder/mine", empty = folder_ + "/empty";
    ASSERT_EQ(run_shell("mkfifo '" + folder_ + "/pipe' && : > '" + empty + "'"), 0);
    const std::vector<std::string> refusals[] = {
        {RECORDER, out, out + ": No such file or directory"},
        {timedemo, "--csv", out, out + ": No such file or directory"},
        {RECORDER, folder_, folder_ + ": is a folder"},
        {timedemo, "--csv", folder_, folder_ + ": is a folder"},
        {RECORDER, folder_ + "/pipe", folder_ + "/pipe: is a named pipe, not an ordinary file; nothing was written"},
        {timedemo, folder_, folder_ + ": is a folder, not a recording"},
        {timedemo, empty, empty + ": is empty, not a recording"},
    };
    for (const std::vector<std::string>& r : refusals) {
        ChildProcess child = start_child(r[0], folder_, environment(false), "", {r.begin() + 1, r.end() - 1});
        const ChildOutcome outcome = wait_child(child, PATIENCE_SECONDS);
        ASSERT_TRUE(outcome.ended && outcome.exited) << r.back();
        EXPECT_EQ(outcome.status, 1) << r.back();
        EXPECT_NE(read_file(child.err_path).find(r.back()), std::string::npos) << read_file(child.err_path);
        EXPECT_EQ(read_file(child.out_path), "") << r.back();
    }
    EXPECT_EQ(run_shell("ls -A '" + folder_ + "' | grep -q mine"), 1) << "nothing left behind";
}

} // namespace
