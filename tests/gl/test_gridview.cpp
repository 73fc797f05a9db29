// The block grid on a real GL context: the copier background with the grid
// drawn over it from the real archive's block sheets, read back from the
// 320x200 frame. Cells in the copy range show their block quarter texel
// for texel; the rest leave the background's empty map.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cstdint>
#include <vector>

#include "app/appstate.h"
#include "app/monitor/blockgrid.h"
#include "app/monitor/gridview.h"
#include "app/monitor/resources.h"
#include "engine/corefile/corefile.h"
#include "engine/graphics/bitmap.h"
#include "engine/graphics/framebuffer.h"
#include "engine/graphics/video.h"

namespace {

const int W = 320, H = 200;
int frame = -1;

struct ArchiveEnvironment : testing::Environment {
    void SetUp() override
    {
        VXE_InitVideo(1280, 720, 0);
        ASSERT_EQ(1, corefile_mountimage(FLOXA_DAT, COREFILE_KIND_ARCHIVE));
        testing::internal::CaptureStdout();  // the loaders talk a lot
        LoadResources();
        testing::internal::GetCapturedStdout();
        frame = VXE_CreateFrameBuffer(W, H, 0);
    }
    void TearDown() override
    {
        corefile_closeimage();
        VXE_CloseVideo();
    }
};

const testing::Environment *const environment = testing::AddGlobalTestEnvironment(new ArchiveEnvironment);

// The whole frame as 0xAARRGGBB, row 0 at the top.
std::vector<uint32_t> readframe()
{
    std::vector<unsigned char> raw(W * H * 4);
    glReadPixels(0, 0, W, H, GL_RGBA, GL_UNSIGNED_BYTE, raw.data());
    std::vector<uint32_t> out(W * H);
    for (int i = 0; i < W * H; i++) {
        const unsigned char *p = &raw[((H - 1 - i / W) * W + i % W) * 4];
        out[i] = (uint32_t)p[3] << 24 | p[0] << 16 | p[1] << 8 | p[2];
    }
    return out;
}

std::vector<uint32_t> render(e_drawGridMode mode, bool grid = true)
{
    VXE_SetFrameBuffer(frame);
    VXE_DrawBitmap(0, 0, bmp_background);
    if (grid)
        DrawGrid(mode);
    return readframe();
}

// The background as drawn, not as stored: the bitmap draw may filter a
// texel by a step or so, and hidden cells must match what it leaves.
const std::vector<uint32_t> &background()
{
    static const std::vector<uint32_t> frame = render(GRID_BOTH, false);
    return frame;
}

// Colour v at grid column c, row y: the quarter of tile v mod 16 of its
// sheet, left or right by the column, upper or lower by the row.
uint32_t blocktexel(int v, int c, int y, int dx, int dy)
{
    const s_bitmap *sheets[3] = {&bmp_blocks, &bmp_blocks2, &bmp_blocks3};
    const int k = v % 48;
    return (uint32_t)VXE_GetPixel(8 * (k % 16) + 4 * (c & 1) + dx, 4 * (y & 1) + dy, *sheets[k / 16]);
}

// The whole frame against the background with a block quarter on every
// cell GridCellShown picks: nothing may land elsewhere (the gap between the
// maps, the ninth map row beyond sectors 80-81, the frame around). Returns
// the number of cells shown.
int checkmaps(const std::vector<uint32_t> &got, e_drawGridMode mode)
{
    std::vector<uint32_t> want = background();
    int shown = 0, wrong = 0;
    for (int side = 0; side < 2; side++)
        for (int y = 0; y < GRID_HEIGHT; y++)
            for (int c = 0; c < GRID_HALF; c++) {
                if (!GridCellShown(side, c, y, mode, startSide, startSector, endSide, endSector))
                    continue;
                shown++;
                const int v = blockgrid[y][side * GRID_RIGHT + c], sx = (side ? 233 : 139) + 4 * c, sy = 109 + 4 * y;
                for (int dy = 0; dy < 4; dy++)
                    for (int dx = 0; dx < 4; dx++) {
                        const uint32_t texel = blocktexel(v, c, y, dx, dy);
                        if (texel >> 24)  // keyed texels fail the alpha test and leave the background
                            want[(sy + dy) * W + sx + dx] = texel;
                    }
            }
    for (int i = 0; i < W * H; i++)
        if (got[i] != want[i] && wrong++ < 5)
            ADD_FAILURE() << "pixel " << i % W << "," << i / W << ": " << std::hex << got[i] << " want " << want[i];
    EXPECT_EQ(0, wrong);
    return shown;
}

}  // namespace

// The range and the halves decide which cells are drawn; the count of
// shown cells is fixed independently of the decision function.
TEST(GridView, ShownCellsShowTheirBlocksAndOthersTheMap)
{
    ASSERT_TRUE(bmp_background.width == W && bmp_background.height == H && bmp_background.pixels);
    for (const s_bitmap *b : {&bmp_blocks, &bmp_blocks2, &bmp_blocks3})
        ASSERT_TRUE(b->width == 128 && b->height == 8 && b->pixels);
    // A block must differ from the empty map under it, or hidden and shown
    // cells could not be told apart.
    ASSERT_NE((uint32_t)VXE_GetPixel(141, 111, bmp_background), blocktexel(0, 0, 0, 2, 2));

    // {startSide, startSector, endSide, endSector}, the halves, the cells shown.
    const struct { int range[4]; e_drawGridMode mode; int cells; } cases[] = {
        {{0, 0, 1, 81}, GRID_BOTH, 2 * 82 * 4},
        {{0, 5, 0, 9}, GRID_BOTH, 5 * 4},
        {{0, 70, 1, 3}, GRID_LOWER, 4 * 4},
        {{1, 80, 1, 81}, GRID_BOTH, 2 * 4},  // the ninth map row
    };
    // Every value 0-255 turns up, on both sides and in both row parities.
    for (int y = 0; y < GRID_HEIGHT; y++)
        for (int x = 0; x < GRID_WIDTH; x++)
            blockgrid[y][x] = (unsigned char)(x * 37 + y * 101 + 5);
    for (const auto &t : cases) {
        startSide = t.range[0], startSector = t.range[1], endSide = t.range[2], endSector = t.range[3];
        SCOPED_TRACE(testing::Message() << "range " << startSide << "/" << startSector << "-" << endSide << "/"
                                        << endSector << " mode " << t.mode);
        EXPECT_EQ(t.cells, checkmaps(render(t.mode), t.mode));
    }
    setDefaultValues();
}
