// The video layer on a real GL context (Mesa under Xvfb): start-up state,
// framebuffers, render-state and bind caches, primitives, shaders and
// presentation through both the framebuffer-object and the read-back path.
// Pixels are checked with glReadPixels.
#include <gtest/gtest.h>

#include <GL/glew.h>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <unistd.h>

#include "engine/draw2d.h"
#include "engine/framebuffer.h"
#include "engine/shader.h"
#include "engine/video.h"

namespace {

const int W = 128, H = 96;
std::string startupoutput;

struct VideoEnvironment : testing::Environment {
    void SetUp() override
    {
        testing::internal::CaptureStdout();
        VXE_InitVideo(W, H, 0);
        startupoutput = testing::internal::GetCapturedStdout();
    }
    void TearDown() override { VXE_CloseVideo(); }
};

const testing::Environment *const environment =
    testing::AddGlobalTestEnvironment(new VideoEnvironment);

// RGBA of pixel (x, y) of the bound read target, y counted from the top of
// the picture as the 2D projection counts it.
uint32_t pixel(int x, int y, int height)
{
    unsigned char p[4];
    glReadPixels(x, height - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return (uint32_t)p[0] << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

uint32_t rgb(uint32_t rgba)
{
    return rgba >> 8;
}

// The presented picture. Mesa keeps the back buffer across the swap (its
// front buffer is not readable under Xvfb), so it is read there.
uint32_t screenpixel(int x, int y)
{
    GLint framebuffer = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &framebuffer);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glReadBuffer(GL_BACK);
    uint32_t value = pixel(x, y, H);
    glReadBuffer(GL_BACK);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
    return value;
}

// The table has 16 slots: each size is made once and then reused.
int framebuffer(int width, int height, int flags)
{
    for (int id = 1; id < VXE_numframebuffers; id++)
        if (VXE_framebuffers[id].width == width && VXE_framebuffers[id].height == height &&
            VXE_framebuffers[id].flags == flags)
            return id;
    return VXE_CreateFrameBuffer(width, height, flags);
}

// Leaves the caches and states as a fresh frame has them.
void newframe(int id)
{
    VXE_SetFrameBuffer(id);
    VXE_DisableRenderState(VXE_STATE_DEPTHTEST | VXE_STATE_ALPHATEST | VXE_STATE_BLEND |
                           VXE_STATE_LIGHTING);
    VXE_UnbindShader();
    VXE_SetPostShader(-1);
    VXE_SetFadeValue(1.0f);
    VXE_SetScanlineValue(0.0f);
    glColor4f(1, 1, 1, 1);
    VXE_ClearFrameBuffer((int)0xFF000000);
}

TEST(Video, StartUpState)
{
    EXPECT_NE(startupoutput.find("[VXE] Init OpenGL\n"), std::string::npos) << startupoutput;
    EXPECT_NE(startupoutput.find("[VXE] Init Framebuffer\n[VXE] Init Framebuffer: 128,96\n"),
              std::string::npos)
        << startupoutput;

    const s_video expected = {W, H, W, 32, 4, 0x00FF0000, 0x0000FF00, 0x000000FF,
                              16, 8, 0, 8, 8, 8};
    EXPECT_EQ(0, memcmp(&VXE_video, &expected, sizeof expected));
    EXPECT_EQ(VXE_FrameBuffer, &VXE_framebuffers[0]);
    EXPECT_EQ(VXE_GetFrameBufferWidth(), W);
    EXPECT_EQ(VXE_GetFrameBufferHeight(), H);
    EXPECT_EQ(VXE_numframebuffers, 1);
    EXPECT_EQ(VXE_framebuffers_enabled, 1);
    EXPECT_EQ(VXE_video_updatespeed, 15u);
    EXPECT_EQ(VXE_fadevalue, 1.0f);
    EXPECT_EQ(VXE_scanlinevalue, 0.0f);
    EXPECT_EQ(VXE_postshader_id, -1);
    EXPECT_EQ(VXE_renderstate, 0);
    EXPECT_EQ(VXE_lasttextureid, -1);
    EXPECT_EQ(VXE_projectionmode, 1);
    EXPECT_EQ(VXE_shaders_enabled, 1);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsTexture(vxe_whitetexture_id));
}

TEST(Video, FramebuffersAreNumberedAfterTheWindowsOne)
{
    testing::internal::CaptureStdout();
    int id = VXE_CreateFrameBuffer(320, 200, VXE_FRAMEBUFFER_LINEAR);
    std::string output = testing::internal::GetCapturedStdout();
    ASSERT_EQ(id, 1);
    EXPECT_EQ(output, "[VXE] Init Framebuffer: 320,200\n");
    EXPECT_EQ(VXE_FrameBuffer, &VXE_framebuffers[0]);  // not made current

    GLint value;
    glBindTexture(GL_TEXTURE_2D, VXE_GetFrameBufferTexture(1));
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
    EXPECT_EQ(value, GL_MIRRORED_REPEAT);
    EXPECT_EQ(VXE_GetFrameBufferDepth(1), 0u);

    VXE_SetFrameBuffer(1);
    EXPECT_EQ(VXE_GetFrameBufferWidth(), 320);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 320);
    EXPECT_EQ(viewport[3], 200);

    // The next 2D draw takes its projection from the new size.
    VXE_BindTexture((int)vxe_whitetexture_id);
    VXE_DrawQuad(0, 0, 1, 1, 0, 0, 1, 1);
    GLdouble projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    EXPECT_FLOAT_EQ((float)projection[0], 2.0f / 320);
    EXPECT_FLOAT_EQ((float)projection[5], -2.0f / 200);
    EXPECT_EQ(VXE_projectionmode, 0);

    int depth = framebuffer(64, 64, VXE_FRAMEBUFFER_DEPTH);
    EXPECT_NE(VXE_GetFrameBufferDepth(depth), 0u);
    EXPECT_EQ(VXE_framebuffers_enabled, 1);
}

TEST(Video, BadFramebufferIdsAreRefused)
{
    newframe(0);
    testing::internal::CaptureStdout();
    VXE_SetFrameBuffer(VXE_MAXFRAMEBUFFERS);
    VXE_SetFrameBuffer(-1);
    VXE_DrawFrameBuffer(0, 0, 8, 8, 99);
    EXPECT_EQ(VXE_CreateFrameBuffer(0, 10, 0), -1);
    std::string output = testing::internal::GetCapturedStdout();
    EXPECT_NE(output.find("no framebuffer 16"), std::string::npos) << output;
    EXPECT_EQ(VXE_FrameBuffer, &VXE_framebuffers[0]);
    EXPECT_EQ(VXE_GetFrameBufferTexture(99), 0u);
}

TEST(Video, ClearColourIsRedInTheLowestByte)
{
    int id = framebuffer(32, 32, 0);
    VXE_SetFrameBuffer(id);
    VXE_ClearFrameBuffer((int)0xFF0000FF);
    EXPECT_EQ(pixel(5, 5, 32), 0xFF0000FFu);  // opaque red
    VXE_ClearFrameBuffer(0x80402010);
    EXPECT_EQ(pixel(5, 5, 32), 0x10204080u);
    VXE_ClearFrameBuffer(0);
    EXPECT_EQ(pixel(5, 5, 32), 0u);  // transparent black
}

TEST(Video, BoxIsSolidEvenUnderAlphaTest)
{
    int id = framebuffer(32, 32, 0);
    newframe(id);
    VXE_EnableRenderState(VXE_STATE_ALPHATEST);
    glColor4f(0, 0, 1, 0);  // the box must not depend on the current colour
    VXE_DrawBox(4, 2, 8, 8, 0xFF0000);
    EXPECT_EQ(pixel(4, 2, 32), 0xFF0000FFu);
    EXPECT_EQ(pixel(11, 9, 32), 0xFF0000FFu);
    EXPECT_EQ(pixel(12, 9, 32), 0x000000FFu);
    EXPECT_EQ(pixel(4, 10, 32), 0x000000FFu);
    EXPECT_EQ(pixel(3, 2, 32), 0x000000FFu);
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
    EXPECT_EQ(VXE_renderstate & VXE_STATE_ALPHATEST, 0);

    // A line on a pixel boundary may land on either neighbouring row.
    VXE_DrawLine(0, 20, 31, 20, 0x00FF00);
    uint32_t below = rgb(pixel(16, 20, 32)), above = rgb(pixel(16, 19, 32));
    EXPECT_TRUE(below == 0x00FF00u || above == 0x00FF00u) << below << " " << above;
    VXE_DrawLine(-5, -5, -1, -1, 0x0000FF);  // wholly outside: nothing at all
}

TEST(Video, QuadsWoundClockwiseAreCulled)
{
    int id = framebuffer(32, 32, 0);
    newframe(id);
    VXE_BindTexture((int)vxe_whitetexture_id);
    int before = VXE_stats_numtriangles;

    VXE_DrawColorQuad(20, 4, -10, 10, 1, 1, 1);   // one size negative: culled
    EXPECT_EQ(rgb(pixel(15, 8, 32)), 0u);
    VXE_DrawColorQuad(20, 30, 10, -10, 1, 1, 1);
    EXPECT_EQ(rgb(pixel(25, 25, 32)), 0u);
    VXE_DrawColorQuad(20, 30, -10, -10, 1, 1, 1);  // both: turned round, drawn
    EXPECT_EQ(rgb(pixel(15, 25, 32)), 0xFFFFFFu);
    EXPECT_EQ(VXE_stats_numtriangles, before + 6);

    // Rejected before GL: nothing drawn, nothing counted.
    VXE_DrawQuad(-10, 0, 10, 10, 0, 0, 1, 1);
    VXE_DrawQuad(32, 0, 10, 10, 0, 0, 1, 1);
    VXE_DrawColorQuad(0, -10, 10, 10, 1, 1, 1);
    EXPECT_EQ(VXE_stats_numtriangles, before + 6);
}

TEST(Video, RotatedQuadTurnsClockwiseAboutItsCentre)
{
    int id = framebuffer(32, 32, 0);
    newframe(id);
    VXE_BindTexture((int)vxe_whitetexture_id);
    // A 20x4 bar turned by 90 degrees becomes a 4x20 bar around (16, 16).
    VXE_DrawRotatedQuad(6, 14, 20, 4, 0, 0, 1, 1, 90);
    EXPECT_EQ(rgb(pixel(16, 8, 32)), 0xFFFFFFu);
    EXPECT_EQ(rgb(pixel(8, 16, 32)), 0u);
}

TEST(Video, RenderStateCacheDrivesGL)
{
    newframe(0);
    VXE_stats_numstateswitches = 0;
    VXE_EnableRenderState(VXE_STATE_BLEND);
    VXE_EnableRenderState(VXE_STATE_BLEND);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(VXE_stats_numstateswitches, 1);

    VXE_EnableRenderState(VXE_STATE_BLEND | VXE_STATE_DEPTHTEST);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));

    glEnable(GL_ALPHA_TEST);  // on behind the cache's back
    VXE_DisableRenderState(VXE_STATE_ALPHATEST | VXE_STATE_BLEND);
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(VXE_renderstate, 0);
    EXPECT_EQ(VXE_stats_numstateswitches, 2);

    // Blend factors: modes 1 and 2 set them, others leave them.
    GLint src, dst;
    VXE_SetBlendMode(2);
    VXE_SetBlendMode(3);
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(src, GL_SRC_COLOR);
    EXPECT_EQ(dst, GL_ONE);
    VXE_EnableAlphaBlend(0.5f);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(VXE_renderstate, 0);  // direct, not recorded
    VXE_DisableAlphaBlend();
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

GLint boundtexture()
{
    GLint id = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &id);
    return id;
}

TEST(Video, BindCacheSkipsOnlyWhatIsReallyBound)
{
    newframe(0);
    unsigned int texels[4] = {0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFFFFFFFF};
    int a = (int)VXE_CreateTexture(2, 2, texels);
    int b = (int)VXE_CreateTexture(2, 2, texels);
    VXE_stats_numtexturebinds = 0;

    VXE_BindTexture(a);
    EXPECT_EQ(boundtexture(), a);
    glBindTexture(GL_TEXTURE_2D, b);
    VXE_BindTexture(a);  // cached: GL is not asked
    EXPECT_EQ(boundtexture(), b);
    EXPECT_EQ(VXE_stats_numtexturebinds, 1);

    // Engine calls that bind directly empty the cache, so the next bind of
    // the same texture really happens.
    VXE_BindTexture(a);
    VXE_SetFrameBuffer(0);
    VXE_BindTexture(a);
    EXPECT_EQ(boundtexture(), a);
    VXE_UpdateTexture(b, 2, 2, texels);
    VXE_BindTexture(a);
    EXPECT_EQ(boundtexture(), a);
    VXE_DrawFrameBuffer(0, 0, 1, 1, framebuffer(32, 32, 0));
    VXE_BindTexture(a);
    EXPECT_EQ(boundtexture(), a);

    VXE_BindTextureChannel(b, 1);
    GLint unit;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    EXPECT_EQ(unit, GL_TEXTURE1);
    VXE_BindTextureChannel(a, 0);
    VXE_BindTexture(b);
    EXPECT_EQ(boundtexture(), b);

    GLint filter;
    VXE_SetTextureOptions(a, GL_NEAREST, GL_LINEAR, GL_REPEAT, GL_CLAMP_TO_EDGE);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
    EXPECT_EQ(filter, GL_LINEAR);

    VXE_BindTexture(a);
    VXE_DeleteTexture(a);  // GL may reuse the name: the cache must not claim it
    VXE_DeleteTexture(b);
    EXPECT_FALSE(glIsTexture(a));
    EXPECT_EQ(VXE_lasttextureid, -1);
}

TEST(Video, ProjectionSwitch)
{
    newframe(0);
    VXE_Enable2D();
    VXE_Disable2D();
    EXPECT_EQ(VXE_projectionmode, 1);
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    EXPECT_EQ(m[11], -1.0);  // a perspective divide
    EXPECT_NEAR(m[5] / m[0], (double)W / H, 1e-5);

    // 3D state of any kind is undone by the next 2D draw.
    glEnable(GL_DEPTH_TEST);
    glTranslatef(3, 4, 5);
    VXE_BindTexture((int)vxe_whitetexture_id);
    VXE_DrawQuad(0, 0, 1, 1, 0, 0, 1, 1);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    EXPECT_EQ(m[12], 0.0);
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    EXPECT_EQ(m[11], 0.0);
}

TEST(Video, ShaderTable)
{
    testing::internal::CaptureStdout();
    int first = VXE_InitShader(vv_defaultpostshader, nullptr);
    std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(first, -1);
    EXPECT_EQ(output, "Either vertex shader or fragment shader file not found.");

    int next = VXE_numshaders;
    EXPECT_EQ(VXE_InitDefaultPostShader(), next);
    EXPECT_EQ(VXE_numshaders, next + 1);

    // A broken source still takes an id; its log is printed.
    testing::internal::CaptureStdout();
    int broken = VXE_InitShader(vv_defaultpostshader, "#version 120\nvoid main() { nonsense }");
    output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(broken, next + 1);
    EXPECT_NE(output.find(",fragmentshader,compiler error: "), std::string::npos) << output;

    GLint program;
    while (glGetError() != GL_NO_ERROR) {
    }
    VXE_BindShader(next);
    VXE_SetShaderUniform1f(next, "no_such_uniform", 1.0f);
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ((GLuint)program, VXE_shader[next].program);
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
    VXE_BindShader(-1);
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(program, 0);

    VXE_DeleteShader(broken);
    VXE_BindShader(broken);  // a deleted id falls back to fixed function
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(program, 0);
    EXPECT_EQ(VXE_numshaders, next + 2);
}

void writefile(const char *name, const char *text)
{
    FILE *file = fopen(name, "w");
    ASSERT_NE(file, nullptr);
    fputs(text, file);
    fclose(file);
}

TEST(Video, ShadersFromFiles)
{
    writefile("video_test.vert", vv_defaultpostshader);
    writefile("video_test.frag", ff_defaultpostshader);
    writefile("video_test.empty", "");

    char *text = textFileRead("video_test.frag");
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, ff_defaultpostshader);
    free(text);
    EXPECT_EQ(textFileRead("video_test.empty"), nullptr);
    EXPECT_EQ(textFileRead("no_such_file.frag"), nullptr);
    EXPECT_EQ(textFileRead("."), nullptr);  // a directory reads as nothing
    EXPECT_EQ(textFileRead(nullptr), nullptr);

    int expected = VXE_numshaders;
    testing::internal::CaptureStdout();
    EXPECT_EQ(VXE_LoadShader("video_test.vert", "no_such_file.frag"), -1);
    EXPECT_EQ(VXE_LoadShader("video_test.vert", "video_test.frag"), expected);
    std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(output, "Either vertex shader or fragment shader file not found.");
    unlink("video_test.vert");
    unlink("video_test.frag");
    unlink("video_test.empty");
}

// The default post shader applied by hand into a framebuffer, where alpha
// can be read back (the window has no alpha channel).
TEST(Video, PostShaderDarkensOddRowsAndFades)
{
    int shader = VXE_InitDefaultPostShader();
    int source = framebuffer(16, 16, 0), target = framebuffer(16, 8, 0);
    newframe(source);
    VXE_ClearFrameBuffer((int)0xFFFFFFFF);
    newframe(target);
    VXE_ClearFrameBuffer(0x12345678);

    VXE_SetShaderUniform1i(shader, "fbo_texture", 0);
    VXE_SetShaderUniform1f(shader, "height", 8);
    VXE_SetShaderUniform1f(shader, "fadevalue", 1.0f);
    VXE_SetShaderUniform1f(shader, "scanlinevalue", 0.5f);
    VXE_DrawFrameBuffer(0, 0, 16, 8, source);
    for (int row = 0; row < 8; row++) {
        // Rows count from the bottom of the image.
        uint32_t value = pixel(3, 7 - row, 8);
        uint32_t level = (row % 2 == 0) ? 0xFF : 0x80;
        EXPECT_NEAR((int)(value >> 24), (int)level, 1) << "row " << row;
        EXPECT_NEAR((int)(value & 0xFF), (int)level, 1) << "row " << row;
    }

    VXE_SetShaderUniform1f(shader, "fadevalue", 0.0f);
    VXE_DrawFrameBuffer(0, 0, 16, 8, source);
    EXPECT_EQ(pixel(3, 3, 8), 0u);
    EXPECT_EQ(pixel(3, 4, 8), 0u);
    VXE_UnbindShader();
}

// Draws a picture whose orientation can be told: red top-left, green
// bottom-right, on blue.
void drawmarker()
{
    VXE_ClearFrameBuffer((int)0xFFFF0000);
    VXE_DrawBox(0, 0, 16, 16, 0xFF0000);
    VXE_DrawBox(W - 16, H - 16, 16, 16, 0x00FF00);
}

TEST(Video, PresentationThroughFramebufferObjects)
{
    newframe(0);
    drawmarker();
    VXE_SwapBuffers();
    EXPECT_EQ(rgb(screenpixel(2, 2)), 0xFF0000u);
    EXPECT_EQ(rgb(screenpixel(W - 3, H - 3)), 0x00FF00u);
    EXPECT_EQ(rgb(screenpixel(W / 2, H / 2)), 0x0000FFu);

    // A frame starts again: counters at 0, cache empty, framebuffer bound.
    int triangles, binds, switches;
    VXE_GetRenderStatus(&triangles, &binds, &switches);
    EXPECT_EQ(triangles + binds + switches, 0);
    EXPECT_EQ(VXE_lasttextureid, -1);
    EXPECT_EQ(VXE_projectionmode, 1);
    GLint bound, viewport[4];
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &bound);
    EXPECT_EQ((GLuint)bound, VXE_framebufferdata[0].fbo);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], W);

    // Without a post shader, fade and scanlines change nothing.
    VXE_SetFadeValue(0.0f);
    VXE_SetScanlineValue(1.0f);
    drawmarker();
    VXE_SwapBuffers();
    EXPECT_EQ(rgb(screenpixel(2, 2)), 0xFF0000u);
    EXPECT_EQ(rgb(screenpixel(2, 3)), 0xFF0000u);

    // With it: every second row of the window darkened, counted from the
    // bottom, then faded.
    VXE_SetPostShader(VXE_InitDefaultPostShader());
    VXE_SetScanlineValue(0.5f);
    VXE_SetFadeValue(1.0f);
    VXE_ClearFrameBuffer((int)0xFFFFFFFF);
    VXE_SwapBuffers();
    EXPECT_NEAR((int)(screenpixel(5, H - 1) >> 24), 0xFF, 1);  // bottom row is even
    EXPECT_NEAR((int)(screenpixel(5, H - 2) >> 24), 0x80, 1);
    EXPECT_NEAR((int)(screenpixel(5, H - 3) >> 24), 0xFF, 1);
    VXE_SetFadeValue(0.0f);
    VXE_SwapBuffers();
    EXPECT_EQ(rgb(screenpixel(5, H - 1)), 0u);
    VXE_SetPostShader(-1);
}

TEST(Video, PresentationThroughTheBackBuffer)
{
    // The fallback as an incomplete framebuffer object leaves it: drawing
    // goes to the window's back buffer and is copied into the texture.
    VXE_framebuffers_enabled = 0;
    newframe(0);
    GLint bound;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &bound);
    EXPECT_EQ(bound, 0);
    drawmarker();
    VXE_SwapBuffers();
    EXPECT_EQ(rgb(screenpixel(2, 2)), 0xFF0000u);
    EXPECT_EQ(rgb(screenpixel(W - 3, H - 3)), 0x00FF00u);
    EXPECT_EQ(rgb(screenpixel(W / 2, H / 2)), 0x0000FFu);

    // The texture now holds the frame, bottom row first.
    const unsigned char *pixels = VXE_framebufferdata[0].pixels;
    EXPECT_EQ(pixels[((H - 1) * W + 2) * 4 + 0], 0xFF);
    EXPECT_EQ(pixels[((H - 1) * W + 2) * 4 + 2], 0x00);
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &bound);
    EXPECT_EQ(bound, 0);

    VXE_framebuffers_enabled = 1;
    VXE_SetFrameBuffer(0);
}

}  // namespace
