// What the copier screen shows that can be checked without a display: the
// boot texts, the status-line texts and scroll positions, the elapsed-time
// display and the font's bit order.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/monitor/copierscreen.h"
#include "app/monitor/resources.h"
#include "app/monitor/splash.h"
#include "app/monitor/statusline.h"

TEST(Splash, ShowsLoadingThenTheSignOnAndHoldsBetween)
{
    // Frames with no text keep the previous picture: the hold frames too.
    int loading = 0, signon = 0, blank = 0, none = 0;
    for (int f = 0; f < SPLASH_FRAMES; f++) {
        const char *t = SplashText(f);
        if (!t) none++;
        else if (!strcmp(t, "LOADING...")) loading++;
        else if (!strcmp(t, " KDR 2019 ")) signon++;
        else if (!strcmp(t, "          ")) blank++;
        else ADD_FAILURE() << "frame " << f << ": " << t;
    }
    EXPECT_EQ(255, loading);
    EXPECT_EQ(327, signon);
    EXPECT_EQ(55 + 111, blank);
    EXPECT_EQ(129 + 3, none);
    for (int f : {0, 128, 384, 440, 768}) EXPECT_EQ(nullptr, SplashText(f)) << f;
    EXPECT_STREQ("LOADING...", SplashText(129));
    EXPECT_STREQ(" KDR 2019 ", SplashText(767));
    EXPECT_STREQ("          ", SplashText(879));
}

TEST(StatusLine, TextsKeepTheirFramingSpaces)
{
    const std::string credits = StatusLineText(2), greetings = StatusLineText(3), hint = StatusLineText(5);
    EXPECT_EQ(110u, credits.size());
    EXPECT_EQ(credits.find_first_not_of(' '), 6u);
    EXPECT_EQ('*', credits[6]);
    EXPECT_EQ('*', credits.back());
    EXPECT_EQ(268u, greetings.size());
    EXPECT_EQ(greetings.find_first_not_of(' '), 42u);
    EXPECT_EQ(greetings.size() - 1 - greetings.find_last_not_of(' '), 14u);
    EXPECT_EQ(159u, hint.size());
    EXPECT_EQ(hint.find_first_not_of(' '), 41u);
    EXPECT_EQ(hint.size() - 1 - hint.find_last_not_of(' '), 38u);
    EXPECT_EQ(nullptr, StatusLineText(0));
    EXPECT_EQ(nullptr, StatusLineText(6));
    EXPECT_STREQ(CopyMessage, StatusLineText(4));
}

TEST(StatusLine, ScrollsAndSwingsWithTheElapsedTime)
{
    // {mode, deltatime, x}
    const struct { int mode; uint32_t t; int x; } rows[] = {
        {1, 0, -128}, {1, 640, 0}, {1, 1920, -256}, {1, 2560, -128}, {1, 320, -37},
        {2, 0, -300}, {2, 2280, 0}, {2, 6840, -600}, {2, 1000, -109},
        {3, 0, 0}, {3, 19, 0}, {3, 20, -1}, {3, 43999, -2199}, {3, 44000, 0},
        {4, 123456, 8},
        {5, 19999, -999}, {5, 20000, 0}, {5, 4294967295u, -(int)((4294967295u / 20) % 1000)},
    };
    for (const auto &r : rows) EXPECT_EQ(r.x, StatusLineX(r.mode, r.t)) << r.mode << " at " << r.t;
}

TEST(CopierScreen, ElapsedTimeInMinutesAndSeconds)
{
    const struct { uint32_t t; const char *m, *s; } rows[] = {
        {0, "00", "00"}, {61000, "01", "01"}, {59999, "00", "59"}, {6000000, "100", "00"},
    };
    for (const auto &r : rows) {
        char m[12], s[12];
        FormatElapsed(r.t, m, s);
        EXPECT_STREQ(r.m, m) << r.t;
        EXPECT_STREQ(r.s, s) << r.t;
    }
}

TEST(Font, GlyphsAreLeastSignificantBitLeftmostGreenOnBlack)
{
    // No display: the bitmap's pixel memory is all that is needed.
    ASSERT_EQ(1, VXE_CreateBitmap(8, 1024, &bmp_font));
    InitFont();
    // "A" row 0 is 0x0C: columns 2 and 3 lit.
    for (int x = 0; x < 8; x++)
        EXPECT_EQ(x == 2 || x == 3 ? (int)0xFF00FF00 : (int)0xFF000000, VXE_GetPixel(x, 8 * 'A', bmp_font)) << x;
    // A space paints its whole cell black, so text erases what it covers.
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 8; x++) EXPECT_EQ((int)0xFF000000, VXE_GetPixel(x, 8 * ' ' + y, bmp_font));
    VXE_DeleteBitmap(&bmp_font);
}
