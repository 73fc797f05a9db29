// What the copier screen shows that can be checked without a display: the
// boot texts, the status-line texts and scroll positions and the
// elapsed-time display (the glyphs are drawn in tests/gl/test_crt.cpp).
#include <gtest/gtest.h>

#include "app/monitor/copierscreen.h"
#include "app/monitor/splash.h"
#include "app/monitor/statusline.h"

TEST(Splash, ShowsLoadingThenTheSignOnAndHoldsBetween)
{
    // {first frame, text from there}; frames with no text keep the previous picture.
    const char *loading = "LOADING...", *signon = " KDR 2019 ", *blank = "          ";
    const struct { int from; const char *text; } spans[] = {
        {0, nullptr},     {129, loading}, {384, nullptr}, {385, blank},         {440, nullptr},
        {441, signon},    {768, nullptr}, {769, blank},   {SPLASH_FRAMES, nullptr}};
    for (size_t i = 0; i + 1 < sizeof spans / sizeof *spans; i++)
        for (int f = spans[i].from; f < spans[i + 1].from; f++) ASSERT_STREQ(spans[i].text, SplashText(f)) << f;
}

TEST(StatusLine, ScrollsAndSwingsWithTheElapsedTime)
{
    // Modes without a text draw nothing; the copy's line is its message.
    EXPECT_EQ(nullptr, StatusLineText(0));
    EXPECT_EQ(nullptr, StatusLineText(6));
    EXPECT_STREQ(CopyMessage, StatusLineText(4));

    // {mode, deltatime, x}
    const struct { int mode; uint32_t t; int x; } rows[] = {
        {1, 0, -128},  {1, 640, 0},      {1, 1920, -256},  {1, 320, -37},   {2, 0, -300},      {2, 2280, 0},
        {2, 6840, -600}, {3, 19, 0},     {3, 20, -1},      {3, 43999, -2199}, {3, 44000, 0},   {4, 123456, 8},
        {5, 19999, -999}, {5, 20000, 0}, {5, 4294967295u, -364},  // no wrap at the clock's end
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
