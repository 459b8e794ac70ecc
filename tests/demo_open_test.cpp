// Finding the demo recording: what is no recording is passed over and said
// once on the console with what the demo does instead; a named pipe is opened
// and read without waiting, and plays what arrives.
#include <filesystem>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "app/demo.h"
#include "app/game_state.h"
#include "app/resources.h"
#include "tests/test_support.h"

namespace {

namespace fs = std::filesystem;

class DemoOpenTest : public testing::Test {
protected:
    void SetUp() override
    {
        work_ = fs::path(TEST_BUILD_DIR) / "demo_open_test_work";
        fs::remove_all(work_);
        fs::create_directories(work_ / "start");
        fs::create_directories(work_ / "program");
        started_from_ = fs::current_path();
        fs::current_path(work_ / "start");
        reset_game_state();
        game.demo_mode = 1;
    }
    void TearDown() override
    {
        close_demo_file();
        fs::current_path(started_from_);
        fs::remove_all(work_);
    }

    // Opens the recording as start-up does; returns what was said on the console.
    std::string open()
    {
        close_demo_file();
        testing::internal::CaptureStdout();
        open_demo_file((work_ / "program" / "ironstep").c_str());
        return testing::internal::GetCapturedStdout();
    }
    void write(const fs::path& path, std::size_t bytes)
    {
        fs::remove_all(path);
        std::ofstream(path, std::ios::binary) << std::string(bytes, char(INPUT_PRESSED));
    }

    fs::path work_, started_from_;
};

TEST_F(DemoOpenTest, WhatIsNoRecordingIsPassedOverAndWhatIsWrongIsSaidOnce)
{
    const std::string beside = (work_ / "program" / "vesk").string();
    write(beside, 25000);
    const std::string instead = ": the demo plays \"" + beside + "\" instead.\n";
    fs::create_directory("vesk");
    EXPECT_EQ(open(), "Demo recording \"vesk\" is a folder" + instead);
    write("vesk", 0);
    EXPECT_EQ(open(), "Demo recording \"vesk\" is empty" + instead);
    write("vesk", 3);
    EXPECT_EQ(open(), "Demo recording \"vesk\" holds only 3 bytes, no record the demo plays" + instead);
    ASSERT_NE(demo_file, nullptr);

    write("vesk", 3704);
    EXPECT_EQ(open(), "Demo recording \"vesk\" holds 371 of the demo's 2500 records, the last cut short after 4 bytes "
                      "(its missing keys released): past its end the last record's keys stay held.\n");
    write("vesk", 25000);
    EXPECT_EQ(open(), "") << "a whole recording";

    // Nothing fit to play: said once, not again when the demo plays.
    fs::remove(beside);
    write("vesk", 0);
    EXPECT_EQ(open(), "Demo recording \"vesk\" is empty: the demo plays with no keys pressed.\n");
    EXPECT_EQ(demo_file, nullptr);
    testing::internal::CaptureStdout();
    read_demo_record();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(DemoOpenTest, ANamedPipeNothingWritesToIsOpenedWithoutWaitingAndPlaysWhatArrives)
{
    ASSERT_EQ(mkfifo("vesk", 0644), 0);
    EXPECT_EQ(open(), "");
    ASSERT_NE(demo_file, nullptr);
    game.demo_index = 1;
    input_record = {};
    read_demo_record();
    EXPECT_EQ(input_record, (std::array<std::uint8_t, INPUT_RECORD_SIZE>{})) << "nothing yet, and no wait";
    const int writer = ::open("vesk", O_WRONLY | O_NONBLOCK);
    ASSERT_GE(writer, 0);
    const std::string records = std::string(2 * INPUT_RECORD_SIZE, '\0') + std::string(INPUT_RECORD_SIZE, char(INPUT_PRESSED));
    ASSERT_EQ(::write(writer, records.data(), records.size()), ssize_t(records.size()));
    read_demo_record(); // record 2, the first to arrive after record 1 was asked for
    close(writer);
    EXPECT_EQ(input_record[0], INPUT_PRESSED);
}

} // namespace
