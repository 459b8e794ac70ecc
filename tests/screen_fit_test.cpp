// The picture's place on screens of every shape, the window's size, and how
// the two settings are read.
#include <string>
#include <tuple>
#include <utility>

#include <gtest/gtest.h>

#include "display/screen_fit.h"

namespace {

using Rect = std::tuple<int, int, int, int>;

Rect fit(int w, int h, Scaling scaling = Scaling::smooth)
{
    const PictureRect r = fit_picture(w, h, scaling);
    return {r.x, r.y, r.w, r.h};
}

TEST(ScreenFit, ThePictureFillsHeightOrWidthCentredOrTakesWholeMultiples)
{
    EXPECT_EQ(fit(1920, 1080), Rect(240, 0, 1440, 1080)); // bars left and right
    EXPECT_EQ(fit(1280, 1024), Rect(0, 32, 1280, 960));   // bars above and below
    EXPECT_EQ(fit(3840, 2160), Rect(480, 0, 2880, 2160));
    EXPECT_EQ(fit(800, 600), Rect(0, 0, 800, 600));
    EXPECT_EQ(fit(1920, 1080, Scaling::whole), Rect(560, 240, 800, 600));
    EXPECT_EQ(fit(3840, 2160, Scaling::whole), Rect(720, 180, 2400, 1800));
}

TEST(ScreenFit, WindowsAreWholeMultiplesThatFitOrWhatIsAskedAndOddValuesAreSaid)
{
    std::string complaint;
    const auto window = [&complaint](const char* asked, int desktop_w, int desktop_h) {
        const WindowSize s = window_size_for(read_display_choice(asked, nullptr, complaint), desktop_w, desktop_h);
        return std::make_pair(s.w, s.h);
    };
    EXPECT_EQ(window("fit", 1920, 1080), std::make_pair(800, 600));
    EXPECT_EQ(window("fit", 2560, 1440), std::make_pair(1600, 1200));
    EXPECT_EQ(window("fit", 640, 480), std::make_pair(800, 600)) << "never under one picture";
    EXPECT_EQ(window("2", 2560, 1440), std::make_pair(1600, 1200));
    EXPECT_EQ(window("8", 6400, 4800), std::make_pair(6400, 4800)) << "the largest scale";
    EXPECT_EQ(window("2", 1920, 1080), std::make_pair(800, 600)) << "cut to the largest that fits";
    EXPECT_EQ(window("1024x768", 1920, 1080), std::make_pair(1024, 768));
    EXPECT_EQ(complaint, "");
    const DisplayChoice unset = read_display_choice("", nullptr, complaint);
    EXPECT_TRUE(!unset.windowed && unset.scaling == Scaling::smooth && complaint.empty()) << "full screen, smooth";
    EXPECT_EQ(read_display_choice(nullptr, "whole", complaint).scaling, Scaling::whole);
    EXPECT_EQ(read_display_choice(nullptr, "sharp", complaint).scaling, Scaling::smooth);
    EXPECT_NE(complaint.find("IRONSTEP_SCALING"), std::string::npos);
    for (const char* odd : {"0", "9", "2x", "x600", "799x600", "800x599", "1024x768x2", "-1", "99999999999"}) {
        EXPECT_EQ(window(odd, 2560, 1440), std::make_pair(1600, 1200)) << odd << ": the largest that fits";
        EXPECT_NE(complaint.find("IRONSTEP_WINDOW"), std::string::npos) << odd;
    }
}

} // namespace
