// The picture's place on screens of every shape, the window's size, and how
// the settings are read.
#include <gtest/gtest.h>

#include "display/screen_fit.h"

namespace {

void expect_rect(PictureRect r, int x, int y, int w, int h)
{
    EXPECT_EQ(r.x, x);
    EXPECT_EQ(r.y, y);
    EXPECT_EQ(r.w, w);
    EXPECT_EQ(r.h, h);
}

TEST(ScreenFit, ThePictureFillsHeightOrWidthCentredOrTakesWholeMultiples)
{
    expect_rect(fit_picture(1920, 1080, Scaling::smooth), 240, 0, 1440, 1080); // bars left and right
    expect_rect(fit_picture(1280, 1024, Scaling::smooth), 0, 32, 1280, 960);   // bars above and below
    expect_rect(fit_picture(3840, 2160, Scaling::smooth), 480, 0, 2880, 2160);
    expect_rect(fit_picture(800, 600, Scaling::smooth), 0, 0, 800, 600);
    expect_rect(fit_picture(1366, 768, Scaling::smooth), 171, 0, 1024, 768);
    expect_rect(fit_picture(1000, 1000, Scaling::smooth), 0, 125, 1000, 750);
    expect_rect(fit_picture(1920, 1080, Scaling::whole), 560, 240, 800, 600);
    expect_rect(fit_picture(3840, 2160, Scaling::whole), 720, 180, 2400, 1800);
    expect_rect(fit_picture(1600, 1200, Scaling::whole), 0, 0, 1600, 1200);
}

TEST(ScreenFit, TheWindowIsTheLargestWholeMultipleThatFitsUnlessASizeOrScaleIsGiven)
{
    std::string complaint;
    const DisplayChoice fit = read_display_choice("fit", nullptr, complaint);
    EXPECT_TRUE(fit.windowed);
    EXPECT_EQ(window_size_for(fit, 1920, 1080).w, 800);
    EXPECT_EQ(window_size_for(fit, 2560, 1440).w, 1600);
    EXPECT_EQ(window_size_for(fit, 3840, 2160).h, 1800);
    EXPECT_EQ(window_size_for(fit, 640, 480).w, 800) << "never under one picture";
    const WindowSize twice = window_size_for(read_display_choice("2", nullptr, complaint), 1920, 1080);
    EXPECT_TRUE(twice.w == 1600 && twice.h == 1200);
    const WindowSize given = window_size_for(read_display_choice("1024x768", nullptr, complaint), 1920, 1080);
    EXPECT_TRUE(given.w == 1024 && given.h == 768);
    EXPECT_EQ(complaint, "");
}

TEST(ScreenFit, SettingsAreFullScreenAndSmoothUnlessAskedAndOddValuesAreSaidOnce)
{
    std::string complaint;
    for (const char* unset : {static_cast<const char*>(nullptr), ""}) {
        const DisplayChoice d = read_display_choice(unset, unset, complaint);
        EXPECT_FALSE(d.windowed);
        EXPECT_EQ(d.scaling, Scaling::smooth);
        EXPECT_EQ(complaint, "");
    }
    EXPECT_EQ(read_display_choice(nullptr, "whole", complaint).scaling, Scaling::whole);
    EXPECT_EQ(read_display_choice(nullptr, "sharp", complaint).scaling, Scaling::smooth);
    EXPECT_NE(complaint.find("IRONSTEP_SCALING"), std::string::npos);
    for (const char* odd : {"0", "17", "2x", "x600", "799x600", "800x599", "1024x768x2", "-1", "big", "99999999999"}) {
        const DisplayChoice d = read_display_choice(odd, "whole", complaint);
        EXPECT_TRUE(d.windowed && d.window_scale == 0 && d.window_size.w == 0) << odd;
        EXPECT_NE(complaint.find("IRONSTEP_WINDOW"), std::string::npos) << odd;
        EXPECT_EQ(complaint.find('\n'), std::string::npos);
    }
}

} // namespace
