// Demo playback: records read by number from the demo file, short and missing
// files, and the script compiler that writes the file.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "app/main_loop.h"
#include "game/game_state.h"
#include "game/resources.h"
#include "game/startup_tables.h"
#include "game/timers.h"
#include "gameplay/player.h"
#include "gameplay/projectiles.h"
#include "input/demo.h"
#include "input/tick_actions.h"
#include "models/meshes.h"
#include "models/model_data.h"
#include "recording/demo_script_compiler.h"
#include "recording/demo_script_decompiler.h"
#include "tests/test_support.h"

namespace {

using Record = ActionBytes;
constexpr Record RELEASED = {};
constexpr std::uint8_t P = INPUT_PRESSED;
constexpr Record ALL_PRESSED = {P, P, P, P, P, P, P, P, P, P};
// The demo on the driven clock, no frame shown.
const LoopPlan DRIVEN_DEMO = {
    .clock = LoopClock::driven, .frame_end = FrameEnd::compose, .input = {.source = TickSource::recording}};

// Records 0..count-1: record 0 all pressed, record k holds k + 1 in every byte.
std::vector<std::uint8_t> numbered_records(int count)
{
    std::vector<std::uint8_t> bytes(ALL_PRESSED.begin(), ALL_PRESSED.end());
    for (int k = 1; k < count; ++k)
        bytes.insert(bytes.end(), INPUT_RECORD_SIZE, std::uint8_t(k + 1));
    return bytes;
}

Record filled(std::uint8_t value)
{
    Record r;
    r.fill(value);
    return r;
}

class DemoTest : public testing::Test {
protected:
    void SetUp() override
    {
        reset_game_state();
        release_all_keys();
        input_record = {};
        game.demo_mode = 1;
        game.demo_index = 1;
    }
    void TearDown() override
    {
        close_demo_file();
        input_record = {};
    }
    FakeGameData data;
    // Flat ground, the Carrier parked out of the way and no Walker: only the
    // recorded keys act.
    void set_up_flat_world()
    {
        use_fake_screen(800, 600);
        set_flat_terrain(20.0f);
        init_carrier_model();
        init_box_faces();
        init_sphere_proxy_faces();
        init_cylinder_proxy_faces();
        park_carrier();
        game.walker_alive = 0;
    }
    // Record game.demo_index, then the next number, as a demo tick moves on.
    Record read_next()
    {
        const Record read = read_demo_record();
        game.demo_index += 1;
        return read;
    }
};

TEST_F(DemoTest, RecordsAreReadByNumberFromOneAndTheLastKeepsActingPastTheEnd)
{
    use_demo_bytes(numbered_records(5)); // records 0..4
    EXPECT_EQ(read_next(), filled(2)) << "record 1 first; record 0 never plays";
    game.demo_index = 4; // the seek follows the number, not the last read
    EXPECT_EQ(read_next(), filled(5));
    game.demo_index = 2;
    EXPECT_EQ(read_next(), filled(3));
    game.demo_index = 4;
    read_next();
    for (int past = 5; past < 8; ++past)
        EXPECT_EQ(read_next(), filled(5)) << "record " << past << " lies past the end";

    // Through the tick: each demo tick plays one record, moving the number on;
    // play mode reads none.
    set_up_flat_world();
    std::vector<std::uint8_t> walk(3 * INPUT_RECORD_SIZE, 0);
    walk[2 * INPUT_RECORD_SIZE] = P; // Up in record 2 only
    use_demo_bytes(walk);
    game.demo_index = 1;
    play_tick();
    EXPECT_EQ(game.walk_anim_active, 0) << "record 1 holds no key";
    play_tick();
    EXPECT_EQ(game.demo_index, 3);
    EXPECT_EQ(input_record, (Record{P, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(game.walk_anim_active, 1) << "record 2 walks";
    game.demo_mode = 0;
    play_tick();
    EXPECT_EQ(game.demo_index, 3);
    init_carrier_waypoints();
}

TEST_F(DemoTest, TheDemoEndsAfterTheFrameThatFollowsItsLastRecord)
{
    set_up_flat_world();
    // Page Up in the last record only, Page Down in the one after it.
    std::vector<std::uint8_t> bytes((DEMO_LAST_RECORD + 2) * INPUT_RECORD_SIZE, 0);
    bytes[DEMO_LAST_RECORD * INPUT_RECORD_SIZE + 7] = P;
    bytes[(DEMO_LAST_RECORD + 1) * INPUT_RECORD_SIZE + 8] = P;
    use_demo_bytes(bytes);
    const float pitch = game.look_pitch;
    // The loop's round after every tick, as on a machine that keeps up.
    struct Headless : LoopHooks {
        bool frame_wanted() override { return false; }
        void after_tick() override { ++ticks; }
        bool after_round() override { return ticks >= DEMO_LAST_RECORD + 10; }
        int ticks = 0;
    } counted;
    run_loop(DRIVEN_DEMO, counted);
    EXPECT_EQ(counted.ticks, DEMO_LAST_RECORD) << "records 1 to the last, one a tick";
    EXPECT_EQ(game.look_pitch, float(double(pitch) + 0.25)) << "the last record played, the one after it not";
    init_carrier_waypoints();
}

// What a tick leaves behind that the recorded actions and the clock decide,
// and the clock the tick ran at.
std::vector<float> tick_state(float clock_in_tick)
{
    return {clock_in_tick, player_position.x, player_position.y,        player_position.z,       game.player_heading,
            game.look_pitch,   float(game.fov_degrees),  game.jump_phase,         game.game_clock.load(),
            float(game.view_mode), projectiles[0].charge, projectiles[0].position.x, float(game.demo_index)};
}

TEST_F(DemoTest, TheLoopOnTheDrivenClockPlaysARecordingTickForTickAsTheDemoDoes)
{
    set_up_flat_world();
    // Every action pressed and released in its own rhythm.
    std::vector<std::uint8_t> bytes((DEMO_LAST_RECORD + 1) * INPUT_RECORD_SIZE, 0);
    for (std::size_t i = INPUT_RECORD_SIZE; i < bytes.size(); ++i)
        bytes[i] = (i / INPUT_RECORD_SIZE) % (7 + i % INPUT_RECORD_SIZE) < 3 ? P : 0;
    const auto start = [&] {
        SetUp();
        set_up_flat_world();
        player_position = {1000.0f, 20.0f, 1000.0f};
        player_proposed_xz = {1000.0f, 1000.0f};
        clock_ms_elapsed = 0;
        game.game_clock = 0.0f;
        use_demo_bytes(bytes);
    };

    // The demo as the game's logic step plays it, the clock moved 16, 17, 17 ms a tick.
    start();
    std::vector<std::vector<float>> by_hand;
    for (int tick = 1; game.demo_index <= DEMO_LAST_RECORD; ++tick) {
        for (int ms = tick % 3 == 0 ? 16 : 17; ms > 0; --ms)
            clock_callback();
        const float clock = game.game_clock.load();
        play_tick();
        by_hand.push_back(tick_state(clock));
    }

    start();
    struct Kept : LoopHooks {
        bool frame_wanted() override { return false; }
        bool before_tick() override
        {
            clock = game.game_clock.load();
            return true;
        }
        void after_tick() override { states.push_back(tick_state(clock)); }
        std::vector<std::vector<float>> states;
        float clock = 0.0f;
    } looped;
    drive_the_clock_by_hand();
    run_loop(DRIVEN_DEMO, looped);
    ASSERT_EQ(looped.states.size(), by_hand.size());
    for (std::size_t t = 0; t < by_hand.size(); ++t)
        ASSERT_EQ(looped.states[t], by_hand[t]) << "tick " << t + 1;
    init_carrier_waypoints();
}

TEST_F(DemoTest, ShortOrMissingFilesReleaseWhatWasNotRecorded)
{
    // No file at all: no key is pressed for the whole demo.
    input_record = ALL_PRESSED;
    for (int t = 1; t <= 3; ++t)
        EXPECT_EQ(read_next(), RELEASED) << "tick " << t;

    // Only record 0 (all pressed): the demo plays released keys throughout.
    use_demo_bytes(std::vector<std::uint8_t>(ALL_PRESSED.begin(), ALL_PRESSED.end()));
    game.demo_index = 1;
    for (int t = 1; t <= 3; ++t)
        EXPECT_EQ(read_next(), RELEASED) << "tick " << t;

    // A file ending inside record 1: the four bytes present play, the rest
    // are released even though the record before held every key.
    std::vector<std::uint8_t> inside_first(ALL_PRESSED.begin(), ALL_PRESSED.end());
    inside_first.insert(inside_first.end(), {P, 0, P, P});
    use_demo_bytes(inside_first);
    game.demo_index = 1;
    input_record = ALL_PRESSED;
    for (int t = 1; t <= 3; ++t)
        EXPECT_EQ(read_next(), (Record{P, 0, P, P, 0, 0, 0, 0, 0, 0})) << "tick " << t;

    // A file ending inside record 7, after six records of every key held: the
    // tail of record 6 does not leak into record 7, which keeps acting.
    std::vector<std::uint8_t> inside_seventh(7 * INPUT_RECORD_SIZE, P);
    inside_seventh.insert(inside_seventh.end(), {0, P, 0});
    use_demo_bytes(inside_seventh);
    game.demo_index = 1;
    for (int t = 1; t <= 6; ++t)
        EXPECT_EQ(read_next(), ALL_PRESSED) << "record " << t;
    for (int t = 7; t <= 9; ++t)
        EXPECT_EQ(read_next(), (Record{0, P, 0, 0, 0, 0, 0, 0, 0, 0})) << "record " << t;
}

TEST_F(DemoTest, ARecordingFromAPipePlaysTheSameRecordsAsTheFile)
{
    std::vector<std::uint8_t> bytes = numbered_records(6);
    bytes.insert(bytes.end(), {P, 0, P}); // record 6 cut short
    auto play = [](int ticks) {
        std::vector<Record> played;
        game.demo_index = 1;
        for (int t = 0; t < ticks; ++t, ++game.demo_index)
            played.push_back(read_demo_record());
        return played;
    };
    use_demo_bytes(bytes);
    const std::vector<Record> from_file = play(9);
    close_demo_file();

    const std::string path = std::string(TEST_BUILD_DIR) + "/demo_pipe_test.bin";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
    demo_file = popen(("cat '" + path + "'").c_str(), "r");
    ASSERT_NE(demo_file, nullptr);
    demo_stream_offset = 0;
    EXPECT_NE(std::fseek(demo_file, 10, SEEK_SET), 0) << "a pipe cannot seek";
    input_record = {};
    const std::vector<Record> from_pipe = play(9);
    pclose(demo_file);
    demo_file = nullptr;
    EXPECT_EQ(from_file[0], filled(2)) << "record 1 first";
    EXPECT_EQ(from_file[8], (Record{P, 0, P, 0, 0, 0, 0, 0, 0, 0})) << "the record cut short keeps acting";
    EXPECT_EQ(from_pipe, from_file);
}

TEST_F(DemoTest, TheRecordingInTheCurrentFolderComesFirstThenTheOneBesideTheProgramPassingOverWhatIsNone)
{
    namespace fs = std::filesystem;
    const fs::path work = fs::path(TEST_BUILD_DIR) / "demo_open_work";
    fs::remove_all(work);
    fs::create_directories(work / "start");
    fs::create_directories(work / "program");
    const auto write = [](const fs::path& path, std::uint8_t value, std::size_t bytes = 25000) {
        fs::remove_all(path);
        std::ofstream(path, std::ios::binary) << std::string(bytes, char(value));
    };
    const fs::path started_from = fs::current_path();
    fs::current_path(work / "start");
    const std::string program = (work / "program" / "ironstep").string();

    open_demo_file(program.c_str());
    EXPECT_EQ(demo_file, nullptr) << "no recording anywhere";
    write(work / "program" / "vesk", 7);
    open_demo_file(program.c_str());
    EXPECT_EQ(read_next(), filled(7)) << "the recording beside the program";
    close_demo_file();
    write(work / "start" / "vesk", 9);
    game.demo_index = 1;
    open_demo_file(program.c_str());
    EXPECT_EQ(read_next(), filled(9)) << "the current folder's recording first";

    // What is no recording is passed over; what is wrong is said once.
    const auto said = [&] {
        close_demo_file();
        testing::internal::CaptureStdout();
        open_demo_file(program.c_str());
        return testing::internal::GetCapturedStdout();
    };
    const std::string instead = ": the demo plays \"" + (work / "program" / "vesk").string() + "\" instead.\n";
    fs::remove(work / "start" / "vesk");
    fs::create_directory(work / "start" / "vesk");
    EXPECT_EQ(said(), "Demo recording \"vesk\" is a folder" + instead);
    write("vesk", 9, 3);
    EXPECT_EQ(said(), "Demo recording \"vesk\" holds only 3 bytes, no record the demo plays" + instead);
    write("vesk", 9, 3704);
    EXPECT_EQ(said(), "Demo recording \"vesk\" holds 371 of the demo's 2500 records, the last cut short after 4 "
                      "bytes (its missing keys released): past its end the last record's keys stay held.\n");
    fs::remove(work / "program" / "vesk");
    write("vesk", 9, 0);
    EXPECT_EQ(said(), "Demo recording \"vesk\" is empty: the demo plays with no keys pressed.\n");
    testing::internal::CaptureStdout();
    read_demo_record();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "not said again as the demo plays";

    // A named pipe nothing writes to: opened and read without waiting; plays what arrives.
    fs::remove("vesk");
    ASSERT_EQ(mkfifo("vesk", 0644), 0);
    EXPECT_EQ(said(), "");
    game.demo_index = 1;
    EXPECT_EQ(read_next(), RELEASED);
    const int pipe = open("vesk", O_WRONLY | O_NONBLOCK);
    const std::string records = std::string(2 * INPUT_RECORD_SIZE, '\0') + std::string(INPUT_RECORD_SIZE, char(P));
    EXPECT_EQ(::write(pipe, records.data(), records.size()), ssize_t(records.size()));
    EXPECT_EQ(read_next(), ALL_PRESSED) << "record 2, the first asked for since it arrived";
    close(pipe);

    fs::current_path(started_from);
    close_demo_file();
    fs::remove_all(work);
}

// ---- The script compiler ----

const std::filesystem::path WORK = std::filesystem::path(TEST_BUILD_DIR) / "demo_test_work";

struct ToolRun {
    int status;
    std::string errors;
};

ToolRun compile_script(const std::string& script, const std::filesystem::path& output)
{
    std::filesystem::create_directories(WORK);
    const auto script_path = WORK / "script.txt";
    const auto errors_path = WORK / "errors.txt";
    std::ofstream(script_path) << script;
    const std::string command = std::string("'") + DEMO_SCRIPT_TOOL + "' '" + script_path.string() + "' '" +
                                output.string() + "' 2> '" + errors_path.string() + "'";
    const int status = std::system(command.c_str());
    std::ifstream errors(errors_path);
    return {status, std::string(std::istreambuf_iterator<char>(errors), {})};
}

std::vector<std::uint8_t> file_bytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The recorder's loop: each tick's actions read from the keys and kept after
// the tick, exactly as the tick read them. The showcase's keys pressed tick
// by tick, as a player would, record the showcase again.
TEST_F(DemoTest, TheRecordersLoopKeepsEachTicksActionsAsTheTickReadThem)
{
    set_up_flat_world();
    const std::vector<std::uint8_t> showcase = file_bytes(std::string(TEST_BUILD_DIR) + "/vesk");
    ASSERT_EQ(showcase.size(), std::size_t((DEMO_LAST_RECORD + 1) * INPUT_RECORD_SIZE));
    constexpr int TICKS = 900;
    // After each tick the keys of the next tick's record go down.
    struct Player : LoopHooks {
        explicit Player(const std::vector<std::uint8_t>& recording) : recording_(recording) { press(1); }
        void press(std::size_t record)
        {
            for (const ActionEntry& entry : ACTIONS)
                key[entry.default_key] = recording_[record * INPUT_RECORD_SIZE + std::size_t(entry.action)];
        }
        void after_tick() override
        {
            read.push_back(tick_actions);
            press(read.size() + 1);
        }
        bool frame_wanted() override { return false; }
        bool after_round() override { return read.size() == TICKS; }
        std::vector<ActionBytes> read;
        const std::vector<std::uint8_t>& recording_;
    } player(showcase);
    std::vector<ActionBytes> kept(TICKS);
    ActionLog log = {kept.data(), TICKS};
    run_loop({.clock = LoopClock::driven, .frame_end = FrameEnd::compose,
              .input = {.source = TickSource::devices, .kept = &log}},
             player);
    ASSERT_EQ(log.count, TICKS);
    EXPECT_EQ(kept, player.read);
    for (int tick = 1; tick <= TICKS; ++tick)
        ASSERT_TRUE(std::equal(kept[std::size_t(tick - 1)].begin(), kept[std::size_t(tick - 1)].end(),
                               showcase.begin() + tick * INPUT_RECORD_SIZE))
            << "tick " << tick;
    release_all_keys();
    init_carrier_waypoints();
}

TEST(DemoScriptTest, ScriptCompilesToOneRecordATickPaddedToTheWholeDemo)
{
    const auto output = WORK / "vesk";
    const ToolRun run = compile_script("# a comment line\n"
                                       "2 up            # forward\n"
                                       "\n"
                                       "   \t\n"
                                       "1 -\n"
                                       "3 left lshift z x\n"
                                       "1\n"
                                       "1 down right pgup pgdn f\n",
                                       output);
    ASSERT_EQ(run.status, 0) << run.errors;
    const std::vector<std::uint8_t> bytes = file_bytes(output);
    ASSERT_EQ(bytes.size(), std::size_t((DEMO_LAST_RECORD + 1) * INPUT_RECORD_SIZE));
    const std::vector<Record> expected = {
        RELEASED,                          // record 0
        {P, 0, 0, 0, 0, 0, 0, 0, 0, 0},    // 2 up
        {P, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        RELEASED,                          // 1 -
        {0, 0, P, 0, P, P, P, 0, 0, 0},    // 3 left lshift z x
        {0, 0, P, 0, P, P, P, 0, 0, 0},
        {0, 0, P, 0, P, P, P, 0, 0, 0},
        RELEASED,                          // 1 with no key
        {0, P, 0, P, 0, 0, 0, P, P, P},    // down right pgup pgdn f
    };
    std::vector<std::uint8_t> want(bytes.size(), 0);
    for (std::size_t r = 0; r < expected.size(); ++r)
        std::copy(expected[r].begin(), expected[r].end(), want.begin() + long(r * INPUT_RECORD_SIZE));
    EXPECT_EQ(bytes, want);

    // The longest script: every record up to the last one played is scripted.
    ASSERT_EQ(compile_script("2498 up\n1 z\n", output).status, 0);
    const std::vector<std::uint8_t> longest = file_bytes(output);
    ASSERT_EQ(longest.size(), std::size_t((DEMO_LAST_RECORD + 1) * INPUT_RECORD_SIZE));
    EXPECT_EQ(longest[10 * 1], P);
    EXPECT_EQ(longest[10 * (DEMO_LAST_RECORD - 1)], P);
    EXPECT_EQ(longest[10 * DEMO_LAST_RECORD + 5], P) << "the last record played";
    EXPECT_EQ(longest[10 * DEMO_LAST_RECORD], 0);
}

TEST(DemoScriptTest, MalformedScriptsAreRefusedWithTheirLineAndWriteNothing)
{
    const struct {
        const char* script;
        int line;
        const char* reason;
    } cases[] = {
        {"10 up\n5 jump\n", 2, "unknown key"},
        {"10 up\n\n# fine\n5 up Z\n", 4, "unknown key"},
        {"up down\n", 1, "bad tick count"},
        {"1 up\n0 up\n", 2, "bad tick count"},
        {"-3 up\n", 1, "bad tick count"},
        {"12x up\n", 1, "bad tick count"},
        {"99999999999 up\n", 1, "bad tick count"},
        {"1 - up\n", 1, "mixed"},
        {"2000 up\n499 down\n1 -\n", 3, "more than 2499"},
    };
    const auto output = WORK / "refused";
    // Nothing named after the output, temporary files included.
    const auto nothing_written = [] {
        for (const auto& entry : std::filesystem::directory_iterator(WORK))
            if (entry.path().filename().string().rfind("refused", 0) == 0)
                return false;
        return true;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        std::filesystem::remove(output);
        const ToolRun run = compile_script(c.script, output);
        EXPECT_NE(run.status, 0);
        const std::string where = "demo_script: " + (WORK / "script.txt").string() + ":" + std::to_string(c.line) + ": ";
        EXPECT_EQ(run.errors.rfind(where, 0), 0u) << run.errors;
        EXPECT_NE(run.errors.find(c.reason), std::string::npos) << run.errors;
        EXPECT_TRUE(nothing_written());
    }
}

// ---- Reading a recording back ----

std::string read_file(const std::filesystem::path& path)
{
    const std::vector<std::uint8_t> bytes = file_bytes(path);
    return {bytes.begin(), bytes.end()};
}

ToolRun decompile(const std::vector<std::uint8_t>& bytes, const std::filesystem::path& script)
{
    const auto recording = WORK / "recording";
    const auto errors_path = WORK / "decompile_errors.txt";
    std::ofstream(recording, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
    const std::string command = std::string("'") + DEMO_SCRIPT_TOOL + "' --decompile '" + recording.string() +
                                "' > '" + script.string() + "' 2> '" + errors_path.string() + "'";
    const int status = std::system(command.c_str());
    std::ifstream errors(errors_path);
    return {status, std::string(std::istreambuf_iterator<char>(errors), {})};
}

TEST(DemoScriptTest, TheShowcaseDecompiledCompilesBackByteForByteAndOddFilesAreReported)
{
    std::filesystem::create_directories(WORK);
    const std::vector<std::uint8_t> showcase = file_bytes(std::string(TEST_BUILD_DIR) + "/vesk");
    ASSERT_EQ(showcase.size(), std::size_t((DEMO_LAST_RECORD + 1) * INPUT_RECORD_SIZE));
    const auto script = WORK / "showcase.txt";
    const ToolRun read_back = decompile(showcase, script);
    ASSERT_EQ(read_back.status, 0) << read_back.errors;
    EXPECT_EQ(read_back.errors, "");
    const std::string text = read_file(script);
    EXPECT_EQ(text.rfind("# 2499 ticks", 0), 0u) << "the length first: " << text.substr(0, 80);
    // One line per run: no line holds the same keys as the one before it.
    std::istringstream lines(text.substr(text.find('\n') + 1));
    std::string line, keys, previous_keys;
    while (std::getline(lines, line)) {
        keys = line.substr(std::min(line.find_first_not_of("0123456789 "), line.size()));
        EXPECT_NE(keys, previous_keys) << "two lines for one run, at: " << line;
        previous_keys = keys;
    }
    std::ifstream script_in(script);
    std::vector<Record> records;
    ASSERT_EQ(compile_demo_script(script_in, records), "");
    std::vector<std::uint8_t> compiled;
    for (const Record& r : records)
        compiled.insert(compiled.end(), r.begin(), r.end());
    EXPECT_EQ(compiled, showcase);

    // Cut short in the middle of record 370; longer than the demo; an odd key byte.
    std::vector<std::uint8_t> odd(showcase.begin(), showcase.begin() + 3704);
    odd[10 * 40 + 2] = 0x01;
    const ToolRun cut = decompile(odd, WORK / "cut.txt");
    EXPECT_NE(cut.status, 0);
    EXPECT_NE(cut.errors.find("record 370 (byte 3700): the file ends 4 bytes into it"), std::string::npos) << cut.errors;
    EXPECT_NE(cut.errors.find("371 of the demo's 2500 records"), std::string::npos) << cut.errors;
    EXPECT_NE(cut.errors.find("record 40 (byte 402): left is 0x01"), std::string::npos) << cut.errors;
    EXPECT_EQ(read_file(WORK / "cut.txt").rfind("# 370 ticks", 0), 0u) << "what can be read is printed";
    std::vector<std::uint8_t> overlong = showcase;
    overlong.insert(overlong.end(), 100, 0);
    const ToolRun too_long = decompile(overlong, WORK / "long.txt");
    EXPECT_NE(too_long.status, 0);
    EXPECT_NE(too_long.errors.find("record 2500 (byte 25000): the recording holds 2510 records"), std::string::npos)
        << too_long.errors;
    EXPECT_EQ(read_file(WORK / "long.txt"), text);
}

// Decompiles bytes and compiles the script back into bytes; faults counts what was reported.
std::vector<std::uint8_t> round_trip(const std::vector<std::uint8_t>& bytes, std::size_t& faults)
{
    std::stringstream script;
    std::vector<std::string> reported;
    std::vector<Record> records;
    decompile_demo(bytes, (long long)bytes.size(), script, reported);
    EXPECT_EQ(compile_demo_script(script, records), "") << script.str();
    faults = reported.size();
    const std::string compiled = demo_file_bytes(records);
    return {compiled.begin(), compiled.end()};
}

TEST(DemoScriptTest, OneRecordShortOrLongIsReportedOddKeyBytesPlayPressedAndHeldLastKeysComeBack)
{
    const std::size_t whole = std::size_t(DEMO_LAST_RECORD + 1) * INPUT_RECORD_SIZE;
    std::size_t faults = 0;
    for (std::size_t size : {whole - INPUT_RECORD_SIZE, whole, whole + INPUT_RECORD_SIZE}) {
        round_trip(std::vector<std::uint8_t>(size, 0), faults);
        EXPECT_EQ(faults, size == whole ? 0u : 1u) << size << " bytes";
    }
    // Up as 0x01, 0xFE and 0xFF in records 1 to 3: the game plays all three pressed.
    std::vector<std::uint8_t> odd(whole, 0);
    odd[10] = 0x01, odd[20] = 0xFE, odd[30] = P;
    const std::vector<std::uint8_t> compiled = round_trip(odd, faults);
    EXPECT_EQ(faults, 2u) << "0x01 and 0xFE reported";
    odd[10] = odd[20] = P;
    EXPECT_EQ(compiled, odd);
    // Z held in the last two records, in the last alone, and released at the last.
    for (auto [first, last] : {std::pair{DEMO_LAST_RECORD - 1, DEMO_LAST_RECORD}, {DEMO_LAST_RECORD, DEMO_LAST_RECORD},
                               {DEMO_LAST_RECORD - 1, DEMO_LAST_RECORD - 1}}) {
        std::vector<std::uint8_t> held(whole, 0);
        for (int r = first; r <= last; ++r)
            held[std::size_t(r * INPUT_RECORD_SIZE + 5)] = P;
        EXPECT_EQ(round_trip(held, faults), held) << "Z held in records " << first << " to " << last;
        EXPECT_EQ(faults, 0u);
    }
}

TEST(DemoScriptTest, DecompilingReadsNoMoreThanARecordingCanHoldAndRefusesAFolder)
{
    std::filesystem::create_directories(WORK);
    const auto script = WORK / "bounded.txt", errors = WORK / "bounded_errors.txt";
    // A reader that kept on reading /dev/zero would run out of memory or time.
#ifdef __SANITIZE_ADDRESS__
    const std::string limits = "timeout 60 "; // the sanitizer reserves more address space than any limit
#else
    const std::string limits = "ulimit -v 1000000; timeout 60 ";
#endif
    const auto run = [&](const std::string& recording) {
        const std::string command = limits + "'" + DEMO_SCRIPT_TOOL + "' --decompile '" + recording + "' > '" +
                                    script.string() + "' 2> '" + errors.string() + "'";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(run("/dev/zero"), 1);
    EXPECT_EQ(read_file(errors), "demo_script: /dev/zero: record 2500 (byte 25000): the recording goes on past the "
                                 "demo's 2500 records; the script leaves out this record and those after it\n");
    EXPECT_EQ(read_file(script), "# 2499 ticks, 41.65 seconds at 60 a second: the count of ticks first, then the keys "
                                 "held\n2499 -\n");
    EXPECT_EQ(run(WORK.string()), 1);
    EXPECT_EQ(read_file(errors), "demo_script: " + WORK.string() + ": is a folder, not a recording\n");
}

} // namespace
