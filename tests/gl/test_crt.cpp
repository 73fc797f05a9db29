// The monitor on a real GL context: the CRT pass puts the frame inside the
// bezel's opening, keeps the bezel around it and darkens the thin strips
// beside the curved screen; the status line and the text draw their glyphs.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cstdlib>
#include <utility>
#include <vector>

#include "app/appstate.h"
#include "app/monitor/crt.h"
#include "app/monitor/crtgeometry.h"
#include "app/monitor/font8x8.h"
#include "app/monitor/resources.h"
#include "app/monitor/statusline.h"
#include "app/monitor/text.h"
#include "engine/corefile/corefile.h"
#include "engine/graphics/draw2d.h"
#include "engine/graphics/framebuffer.h"
#include "engine/graphics/video.h"

namespace {

struct Monitor : testing::Environment {
    void SetUp() override
    {
        VXE_InitVideo(1280, 720, 0);
        ASSERT_EQ(1, corefile_mountimage(FLOXA_DAT, COREFILE_KIND_ARCHIVE));
        framebuffer_id = VXE_CreateFrameBuffer(320, 200, 2);
        crtbuffer_id = VXE_CreateFrameBuffer(2048, 1152, 2);
        screenbuffer_id = VXE_CreateFrameBuffer(1920, 1080, 2);
        InitCRT();
        LoadResources();
    }
    void TearDown() override { VXE_CloseVideo(); }
};
const testing::Environment *const environment = testing::AddGlobalTestEnvironment(new Monitor);

struct Rgb {
    int r, g, b;
    int sum() const { return r + g + b; }
};

// Pixel (x, y) of the current framebuffer, y from the top.
Rgb at(int x, int y)
{
    unsigned char p[4];
    glReadPixels(x, VXE_GetFrameBufferHeight() - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2]};
}

void fillframe(int abgr)
{
    VXE_SetFrameBuffer(framebuffer_id);
    VXE_ClearFrameBuffer(abgr);
}

}  // namespace

TEST(Crt, FrameFillsTheOpeningAndTheBezelStaysAround)
{
    ASSERT_GE(postshader_id, 0) << "the CRT shader did not build";
    fillframe((int)0xFF0000FF);  // red
    cameraframe = 0;
    currentframe = 0;
    CRT_PostProcess();
    EXPECT_EQ(1, cameraframe);
    EXPECT_FLOAT_EQ(1.25f, camerazoom);

    // The opening's centre, through the camera of call 0 (x -316, y -111, zoom 1.25).
    const Rgb centre = at(-316 + (int)(1020 * 1.25), -111 + (int)(518 * 1.25));
    EXPECT_GT(centre.r, 100);
    EXPECT_LT(centre.g + centre.b, centre.r / 2);
    // Left of the opening the bezel's plastic shows as painted.
    const int bx = 300, by = 518;
    const int bezel = VXE_GetPixel(bx, by, bmp_crt);
    const Rgb out = at(-316 + (int)(bx * 1.25), -111 + (int)(by * 1.25));
    EXPECT_NEAR((bezel >> 16) & 0xFF, out.r, 12);
    EXPECT_NEAR((bezel >> 8) & 0xFF, out.g, 12);
    EXPECT_NEAR(bezel & 0xFF, out.b, 12);
}

TEST(Crt, StripsBesideTheCurvedScreenComeOutDark)
{
    ASSERT_GE(postshader_id, 0);
    fillframe((int)0xFFFFFFFF);  // white: any sampling there would be bright
    CRT_PostProcess();
    VXE_SetFrameBuffer(crtbuffer_id);
    // Along the middle row and column the curve leaves the frame in the
    // first 6 pixels of the opening's sides and 5 of its top and bottom.
    for (int d = 1; d <= 4; d++) {
        EXPECT_LT(at(OPENING_X + d, 518).sum(), 40) << "left strip at " << d;
        EXPECT_LT(at(OPENING_X + OPENING_WIDTH - 1 - d, 518).sum(), 40) << "right strip at " << d;
        EXPECT_LT(at(1020, OPENING_Y + d).sum(), 40) << "top strip at " << d;
        EXPECT_LT(at(1020, OPENING_Y + OPENING_HEIGHT - 1 - d).sum(), 40) << "bottom strip at " << d;
    }
    EXPECT_GT(at(OPENING_X + 40, 518).sum(), 200) << "the picture starts past the strip";
    EXPECT_GT(at(1020, 518).sum(), 400);
}

// The geometry the pointer is mapped with is the one the GL draws: a small
// square of the frame shows in the output where FrameToWindow puts it.
TEST(Crt, FramePointsShowWhereThePointerMapPutsThem)
{
    // The output of one CRT pass, as 1920x1080 brightness values, y from the top.
    auto pass = [](int frame, int x, int y) {
        fillframe((int)0xFF000000);
        if (x >= 0) VXE_DrawBox(x - 2, y - 2, 4, 4, 0xFFFFFF);
        cameraframe = frame;
        CRT_PostProcess();
        std::vector<unsigned char> rgba(1920 * 1080 * 4);
        glReadPixels(0, 0, 1920, 1080, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        std::vector<int> sum(1920 * 1080);
        for (int row = 0; row < 1080; row++)
            for (int col = 0; col < 1920; col++) {
                const unsigned char *q = &rgba[((size_t)(1079 - row) * 1920 + col) * 4];
                sum[(size_t)row * 1920 + col] = q[0] + q[1] + q[2];
            }
        return sum;
    };
    for (int frame : {0, 1200, 3600}) {
        const std::vector<int> empty = pass(frame, -1, -1);
        for (const auto &p : {std::pair<int, int>{53, 67}, {300, 20}, {20, 180}}) {
            const std::vector<int> marked = pass(frame, p.first, p.second);
            double sx = 0, sy = 0, n = 0;
            for (int i = 0; i < 1920 * 1080; i++)
                if (marked[i] - empty[i] > 100) sx += i % 1920, sy += i / 1920, n++;
            ASSERT_GT(n, 20) << "square not found";
            double wx, wy;
            FrameToWindow(p.first, p.second, 1920, 1080, CameraAt(frame), &wx, &wy);
            EXPECT_NEAR(wx, sx / n, 3) << "call " << frame << " point " << p.first << "," << p.second;
            EXPECT_NEAR(wy, sy / n, 3) << "call " << frame << " point " << p.first << "," << p.second;
        }
    }
}

TEST(Crt, WithoutTheShaderTheFrameStillShows)
{
    const int shader = postshader_id;
    postshader_id = -1;
    fillframe((int)0xFF00FF00);  // green
    CRT_PostProcess();
    const Rgb centre = at(-316 + 1020 * 5 / 4, 536);
    postshader_id = shader;
    EXPECT_GT(centre.g, 200);
    EXPECT_LT(centre.r + centre.b, 40);
}

// The 8x8 cell at (x, y) of the frame shows glyph k: green where its bit is
// set (bit 0 leftmost), black elsewhere.
static void expectglyph(int x, int y, int k)
{
    for (int r = 0; r < 8; r++)
        for (int b = 0; b < 8; b++) {
            const Rgb p = at(x + b, y + r);
            const bool lit = (font8x8_basic[k][r] >> b) & 1;
            ASSERT_EQ(lit ? 255 : 0, p.g) << "glyph " << k << " row " << r << " column " << b;
            ASSERT_EQ(0, p.r + p.b);
        }
}

TEST(Text, StatusLineAndHighCodesDrawTheirGlyphs)
{
    fillframe((int)0xFF808080);
    deltatime = 640;  // the banner swings to x 0
    DrawStatusLine(1);
    const char *banner = StatusLineText(1);
    for (int i = 0; i < 40; i++) expectglyph(8 * i, 188, banner[i]);
    // Above the line the frame is untouched.
    EXPECT_EQ(128, at(100, 187).r);

    // Mode 0 draws nothing; a code above 127 draws its low seven bits.
    fillframe((int)0xFF808080);
    DrawStatusLine(0);
    EXPECT_EQ(128, at(4, 190).r);
    DrawText(16, 16, "\xC1", 8);
    expectglyph(16, 16, 'A');
}
