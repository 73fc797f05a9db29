// The block grid on a real GL context: the copier background with the grid
// drawn over it from the real archive's block sheets, read back from the
// 320x200 frame. A sector in the copy range shows its value's block from
// the sheets whole; everything else stays the background as drawn.
#include "tests/gl/show_fixture.h"

#include "app/appstate.h"
#include "app/grid/blockgrid.h"
#include "app/grid/gridview.h"
#include "engine/graphics/bitmap.h"
#include "engine/graphics/framebuffer.h"

namespace {

const int W = 320, H = 200;
const testing::Environment *const environment = testing::AddGlobalTestEnvironment(new ShowEnvironment);

std::vector<uint32_t> render(e_drawGridMode mode, bool grid = true)
{
    VXE_SetFrameBuffer(framebuffer_id);
    VXE_DrawBitmap(0, 0, bmp_background);
    if (grid) DrawGrid(mode);
    return ReadFrame(W, H);
}

// Sector values in turn and the block each shows: 16 blocks a sheet, and
// values wrap at 48.
const struct { int value; const s_bitmap *sheet; int block; } kBlocks[] = {
    {0, &bmp_blocks, 0}, {21, &bmp_blocks2, 5}, {47, &bmp_blocks3, 15}, {57, &bmp_blocks, 9}, {255, &bmp_blocks, 15}};

// Sector s of a side (10 to a map row, 82 in all) is 2x2 grid cells and
// 8x8 pixels from the map's corner.
int sectorx(int side, int s) { return (side ? 233 : 139) + 8 * (s % 10); }
int sectory(int s) { return 109 + 8 * (s / 10); }

}  // namespace

TEST(GridView, SectorsInTheRangeShowTheirBlocksAndNothingElseChanges)
{
    ASSERT_TRUE(bmp_background.width == W && bmp_background.height == H && bmp_background.pixels);
    // A block must differ from the empty map under it, or hidden and shown
    // sectors could not be told apart.
    ASSERT_NE((uint32_t)VXE_GetPixel(141, 111, bmp_background), (uint32_t)VXE_GetPixel(2, 2, bmp_blocks));
    const std::vector<uint32_t> background = render(GRID_BOTH, false);

    // Every cell holds a block, the ninth map row's cells beyond sectors 80-81 too.
    memset(blockgrid, 21, sizeof blockgrid);
    for (int side = 0; side < 2; side++)
        for (int s = 0; s < 82; s++)
            for (int cell = 0; cell < 4; cell++)
                blockgrid[2 * (s / 10) + cell / 2][side * GRID_RIGHT + 2 * (s % 10) + cell % 2] =
                    (unsigned char)kBlocks[(side * 82 + s) % 5].value;

    // {startSide, startSector, endSide, endSector}, the halves, the first and
    // last sector shown counted over both sides (side 1's first is 82).
    const struct { int range[4]; e_drawGridMode mode; int first, last; } cases[] = {
        {{0, 0, 1, 81}, GRID_BOTH, 0, 163}, {{0, 5, 0, 9}, GRID_BOTH, 5, 9}, {{0, 70, 1, 3}, GRID_LOWER, 82, 85},
        {{1, 80, 1, 81}, GRID_BOTH, 162, 163},  // the ninth map row
        {{0, 0, 1, 81}, GRID_UPPER, 0, 81},
        {{0, 0, 1, 81}, (e_drawGridMode)3, 0, 163},  // an unknown mode (still in the enum's range) shows both
        {{1, 50, 0, 10}, GRID_BOTH, -1, -1},         // start after end: nothing
    };
    for (const auto &t : cases) {
        startSide = t.range[0], startSector = t.range[1], endSide = t.range[2], endSector = t.range[3];
        SCOPED_TRACE(testing::Message() << "range " << startSide << "/" << startSector << "-" << endSide << "/"
                                        << endSector << " mode " << t.mode);
        const std::vector<uint32_t> got = render(t.mode);
        std::vector<uint32_t> rest = got;  // what is left once the sectors are checked
        int shown = 0, first = -1, last = -1;
        for (int n = 0; n < 164; n++) {
            const int side = n / 82, s = n % 82, x0 = sectorx(side, s), y0 = sectory(s);
            const auto &b = kBlocks[n % 5];
            bool plain = true, block = true;
            for (int i = 0; i < 64; i++) {
                const int at = (y0 + i / 8) * W + x0 + i % 8;
                const uint32_t texel = (uint32_t)VXE_GetPixel(8 * b.block + i % 8, i / 8, *b.sheet);
                plain &= got[at] == background[at];
                block &= got[at] == (texel >> 24 ? texel : background[at]);  // keyed texels leave the map
                rest[at] = background[at];
            }
            EXPECT_TRUE(plain || block) << "sector " << n << " is neither the map nor its block";
            if (block && !plain) shown++, first = first < 0 ? n : first, last = n;
        }
        EXPECT_EQ((std::vector<int>{t.first, t.last, t.first < 0 ? 0 : t.last - t.first + 1}), (std::vector<int>{first, last, shown}));
        EXPECT_TRUE(rest == background) << "a block landed outside its sector";
    }
    setDefaultValues();
}
