// The copier's pop-up menus on a real GL context (Mesa under Xvfb), with
// the real font from the real archive: the frame, every row's text and the
// highlighted row, read back from the 320x200 frame.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/copier/options.h"
#include "app/copier/popup.h"
#include "app/monitor/font8x8.h"
#include "app/monitor/resources.h"
#include "engine/corefile/corefile.h"
#include "engine/graphics/framebuffer.h"
#include "engine/graphics/video.h"

namespace {

const int W = 320, H = 200;
const uint32_t WHITE = 0xFFFFFFFF, BLACK = 0xFF000000, GREY = 0xFF808080;
const uint32_t HIGHLIGHT = 0xFF006000, GLYPH = 0xFF00FF00;
int frame_id = -1;

struct CopierScreen : testing::Environment {
    void SetUp() override
    {
        VXE_InitVideo(1280, 720, 0);
        ASSERT_EQ(1, corefile_mountimage(FLOXA_DAT, COREFILE_KIND_ARCHIVE));
        testing::internal::CaptureStdout();
        LoadResources();
        testing::internal::GetCapturedStdout();
        frame_id = VXE_CreateFrameBuffer(W, H, 2);
    }
    void TearDown() override
    {
        corefile_closeimage();
        VXE_CloseVideo();
    }
};
const testing::Environment *const environment = testing::AddGlobalTestEnvironment(new CopierScreen);

// The whole frame as 0xAARRGGBB, row 0 at the top.
std::vector<uint32_t> Grab()
{
    std::vector<unsigned char> rgba(W * H * 4);
    glReadPixels(0, 0, W, H, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    std::vector<uint32_t> px(W * H);
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++) {
            const unsigned char *p = &rgba[((H - 1 - y) * W + x) * 4];
            px[y * W + x] = (uint32_t)p[3] << 24 | p[0] << 16 | p[1] << 8 | p[2];
        }
    return px;
}

struct Menu {
    int x, y, count;
    const char *const *items;
};
const Menu MODE = {8, 56, MODE_MENU_ROWS, ccOptions}, PROGRAMS = {48, 56, ROM_COUNT, ccRoms};

// The frame an open menu should leave, painted in the menu's drawing
// order: frame, inside, then row by row the highlight and the text (so a
// highlight covers the two lines under the row above it).
std::vector<uint32_t> Expected(const Menu &m, int chosen)
{
    std::vector<uint32_t> px(W * H, GREY);
    auto box = [&](int x, int y, int w, int h, uint32_t c) {
        for (int j = y; j < y + h; j++)
            for (int i = x; i < x + w; i++) px[j * W + i] = c;
    };
    box(m.x, m.y, 88, 8 * m.count + 6, WHITE);
    box(m.x + 1, m.y + 1, 86, 8 * m.count + 4, BLACK);
    for (int i = 0; i < m.count; i++) {
        const int r = m.y + 4 + 8 * i;
        if (i == chosen) box(m.x + 1, r - 2, 86, 10, HIGHLIGHT);
        for (int k = 0; m.items[i][k]; k++)
            for (int gy = 0; gy < 8; gy++)
                for (int gx = 0; gx < 8; gx++) {
                    const unsigned char bits = font8x8_basic[(unsigned char)m.items[i][k] & 0x7F][gy];
                    px[(r + gy) * W + m.x + 4 + 8 * k + gx] = (bits >> gx) & 1 ? GLYPH : BLACK;
                }
    }
    return px;
}

TEST(Popup, OpenMenuShowsItsFrameRowsAndHighlightedRow)
{
    // {menu, pointer, row under it}: the first and last rows, none, the other menu.
    const struct { Menu menu; int px, py, row; } cases[] = {
        {MODE, 9, 61, 0}, {MODE, 90, 163, 12}, {MODE, 52, 68, -1}, {PROGRAMS, 100, 99, 4}};
    for (const auto &c : cases) {
        VXE_SetFrameBuffer(frame_id);
        VXE_ClearFrameBuffer((int)GREY);
        EXPECT_EQ(HandlePopup(c.menu.x, c.menu.y, c.menu.items, c.menu.count, c.px, c.py), c.row);
        const std::vector<uint32_t> px = Grab(), expected = Expected(c.menu, c.row);
        const long at = std::mismatch(px.begin(), px.end(), expected.begin()).first - px.begin();
        EXPECT_EQ(at, W * H) << "case " << &c - cases << ": first wrong at (" << at % W << ", " << at / W << ")";
        EXPECT_GT(std::count(px.begin(), px.end(), GLYPH), 50 * c.menu.count) << "every row's text is there";
        EXPECT_EQ(std::count(px.begin(), px.end(), HIGHLIGHT) > 0, c.row >= 0) << "case " << &c - cases;
    }
}

}  // namespace
