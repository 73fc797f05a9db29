// The monitor on a real GL context: the CRT pass puts the frame inside the
// bezel's opening, keeps the bezel around it and darkens the thin strips
// beside the curved screen (that the pointer map's curve is the drawn one
// shows in the capture tour, whose crops go through it); the status line
// and the text draw their glyphs.
#include "tests/gl/show_fixture.h"

#include "app/appstate.h"
#include "app/monitor/crt.h"
#include "app/monitor/crtgeometry.h"
#include "app/monitor/font8x8.h"
#include "app/monitor/statusline.h"
#include "app/monitor/text.h"
#include "engine/graphics/draw2d.h"
#include "engine/graphics/framebuffer.h"

namespace {

const testing::Environment *const environment = testing::AddGlobalTestEnvironment(new ShowEnvironment);

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

// Every test starts from the first CRT pass's camera with the shader in use.
struct Crt : testing::Test {
    int shader = postshader_id;
    void SetUp() override { cameraframe = 0; }
    void TearDown() override { postshader_id = shader; }
};
using Text = Crt;

}  // namespace

// In the monitor buffer: the red frame fills the opening, the bezel's
// plastic stays as painted around it, and the thin strips beside the curved
// screen come out dark (along the middle row and column the curve leaves
// the frame in the first 6 pixels of the sides and 5 of top and bottom).
TEST_F(Crt, CurvedFrameFillsTheOpeningInsideTheBezel)
{
    ASSERT_GE(postshader_id, 0) << "the CRT shader did not build";
    fillframe((int)0xFF0000FF);
    CRT_PostProcess();
    EXPECT_EQ(1, cameraframe) << "the camera moves on once a pass";
    VXE_SetFrameBuffer(crtbuffer_id);
    for (int d = 1; d <= 4; d++) {
        EXPECT_LT(at(OPENING_X + d, 518).sum(), 40) << "left strip at " << d;
        EXPECT_LT(at(OPENING_X + OPENING_WIDTH - 1 - d, 518).sum(), 40) << "right strip at " << d;
        EXPECT_LT(at(1020, OPENING_Y + d).sum(), 40) << "top strip at " << d;
        EXPECT_LT(at(1020, OPENING_Y + OPENING_HEIGHT - 1 - d).sum(), 40) << "bottom strip at " << d;
    }
    EXPECT_GT(at(OPENING_X + 40, 518).r, 60) << "the picture starts past the strip";
    const Rgb centre = at(1020, 518);
    EXPECT_TRUE(centre.r > 100 && centre.g + centre.b < centre.r / 2) << centre.r << " " << centre.g << " " << centre.b;
    const int bezel = VXE_GetPixel(300, 518, bmp_crt);
    const Rgb plastic = at(300, 518);
    EXPECT_NEAR((bezel >> 16) & 0xFF, plastic.r, 12);
    EXPECT_NEAR((bezel >> 8) & 0xFF, plastic.g, 12);
    EXPECT_NEAR(bezel & 0xFF, plastic.b, 12);
}

// Flat in the opening: its middle at the first pass's camera (x -316, y
// -111, zoom 1.25) is green.
TEST_F(Crt, WithoutTheShaderTheFrameStillShows)
{
    postshader_id = -1;
    fillframe((int)0xFF00FF00);
    CRT_PostProcess();
    const Rgb centre = at(-316 + 1020 * 5 / 4, -111 + 518 * 5 / 4);
    EXPECT_TRUE(centre.g > 200 && centre.r + centre.b < 40) << centre.r << " " << centre.g << " " << centre.b;
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

TEST_F(Text, StatusLineAndHighCodesDrawTheirGlyphs)
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
