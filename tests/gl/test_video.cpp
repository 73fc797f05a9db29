// The video layer on a real GL context (Mesa under Xvfb), read back with
// glReadPixels: framebuffers, primitives, caches, shaders, presentation.
#include <gtest/gtest.h>

#include <GL/glew.h>
#include <fstream>
#include <string>
#include <unistd.h>

#include "engine/graphics/draw2d.h"
#include "engine/graphics/framebuffer.h"
#include "engine/graphics/shader.h"
#include "engine/graphics/video.h"
#include "tests/gl/test_bitmap_support.h"

namespace {

const int W = 128, H = 96;
int small;  // 32x32, the first framebuffer made after start-up

struct VideoEnvironment : testing::Environment {
    void SetUp() override
    {
        VXE_InitVideo(W, H, 0);
        small = VXE_CreateFrameBuffer(32, 32, 0);
    }
    void TearDown() override { VXE_CloseVideo(); }
};

const testing::Environment *const environment = testing::AddGlobalTestEnvironment(new VideoEnvironment);

// RGBA of pixel (x, y) of the read target, y counted from the top.
uint32_t pixel(int x, int y, int height = 32)
{
    unsigned char p[4];
    glReadPixels(x, height - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return (uint32_t)p[0] << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

// RGB of the presented picture: Mesa keeps the back buffer across the swap.
uint32_t screenrgb(int x, int y)
{
    GLint bound;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &bound);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    uint32_t value = pixel(x, y, H) >> 8;
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, bound);
    return value;
}

// Leaves the states as a fresh frame has them, cleared to opaque black.
void newframe(int id)
{
    VXE_SetFrameBuffer(id);
    VXE_DisableRenderState(~0);
    VXE_ClearFrameBuffer((int)0xFF000000);
    VXE_BindTexture((int)vxe_whitetexture_id);
}

TEST(Video, FramebufferIdsAndTheirRefusals)
{
    EXPECT_EQ(small, 1);
    EXPECT_EQ(VXE_FrameBuffer, &VXE_framebuffers[0]);  // a new one does not become current

    // The next 2D draw undoes 3D state and projects for the new target's size.
    VXE_Enable2D();
    VXE_SetFrameBuffer(small);
    glEnable(GL_DEPTH_TEST);
    glTranslatef(3, 4, 5);
    VXE_BindTexture((int)vxe_whitetexture_id);
    VXE_DrawQuad(0, 0, 1, 1, 0, 0, 1, 1);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    EXPECT_FLOAT_EQ((float)m[0], 2.0f / 32);
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    EXPECT_EQ(m[12], 0.0);

    // Bad ids and sizes are refused with a word and leave the screen current.
    VXE_SetFrameBuffer(0);
    std::string out = said([] {
        VXE_SetFrameBuffer(VXE_numframebuffers);  // in the table but never made
        VXE_DrawFrameBuffer(0, 0, 8, 8, -1);
        EXPECT_EQ(VXE_CreateFrameBuffer(0, 10, 0), -1);
    });
    EXPECT_NE(out.find("no framebuffer -1\n[VXE] Framebuffer size 0,10 refused"), std::string::npos) << out;
    EXPECT_EQ(VXE_FrameBuffer, &VXE_framebuffers[0]);
}

TEST(Video, ClearColourIsRedInTheLowestByteAndBoxIsSolid)
{
    newframe(small);
    VXE_ClearFrameBuffer((int)0x80402010u);
    EXPECT_EQ(pixel(5, 5), 0x10204080u);
    VXE_ClearFrameBuffer((int)0xFF000000u);
    VXE_EnableRenderState(VXE_STATE_ALPHATEST);
    glColor4f(0, 0, 1, 0);  // must not leak into the box
    VXE_DrawBox(4, 2, 8, 8, 0xFF0000);
    EXPECT_EQ(pixel(4, 2), 0xFF0000FFu);
    EXPECT_EQ(pixel(11, 9), 0xFF0000FFu);
    EXPECT_EQ(pixel(12, 10), 0x000000FFu);
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
}

unsigned int texels[4] = {0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFFFFFFFF};

TEST(Video, EveryDirectBindEmptiesTheBindCache)
{
    int a = (int)VXE_CreateTexture(2, 2, texels), b = (int)VXE_CreateTexture(2, 2, texels);
    GLint bound;
    void (*const directbinds[])(int) = {
        [](int) { VXE_SetFrameBuffer(0); },
        [](int other) { VXE_UpdateTexture(other, 2, 2, texels); },
        [](int) { VXE_DrawFrameBuffer(0, 0, 1, 1, small); },
        [](int other) { VXE_BindTextureChannel(other, 0); },
        [](int other) { VXE_SetTextureOptions(other, GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT); },
        [](int) { VXE_CreateTexture(2, 2, texels); },
    };
    for (size_t i = 0; i < sizeof directbinds / sizeof directbinds[0]; i++) {
        VXE_BindTexture(a);
        directbinds[i](b);
        VXE_BindTexture(a);  // a stale cache would skip this
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(bound, a) << "direct bind " << i;
    }
    VXE_DeleteTexture(a);  // GL may reuse the name: the cache must not claim it
    EXPECT_EQ(VXE_lasttextureid, -1);
}

TEST(Video, ShaderRefusalsAndUniforms)
{
    // Refusals take no id: an empty, missing, unreadable or unnamed source.
    std::ofstream("video_test.vert") << vv_defaultpostshader;
    int next = VXE_numshaders;
    for (const char *name : {"/dev/null", "no_such_file", ".", (const char *)nullptr})
        EXPECT_EQ(said([&] { EXPECT_EQ(VXE_LoadShader("video_test.vert", name), -1); }),
                  "Either vertex shader or fragment shader file not found.") << (name ? name : "null");
    // A source that does not compile still takes an id; its log is printed.
    std::ofstream("video_test.frag") << "#version 120\nvoid main() { gl_FragColor = undeclared; }";
    EXPECT_NE(said([&] { EXPECT_EQ(VXE_LoadShader("video_test.vert", "video_test.frag"), next); })
                  .find("compiler error"), std::string::npos);
    unlink("video_test.vert");
    unlink("video_test.frag");

    // Setting a uniform binds the program, even one the program lacks.
    GLint program, shader = VXE_InitDefaultPostShader();
    for (const char *name : {"nosuch", (const char *)nullptr}) {
        VXE_BindShader(-1);
        VXE_SetShaderUniform1f(shader, name, 1.0f);
        glGetIntegerv(GL_CURRENT_PROGRAM, &program);
        EXPECT_EQ((GLuint)program, VXE_shader[shader].program) << (name ? name : "null");
    }
    VXE_DeleteShader(shader);
    VXE_BindShader(shader);  // a deleted id falls back to fixed function
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(program, 0);
}

// Presents a red box top-left on blue and checks that it arrives upright.
void presentmarker()
{
    VXE_ClearFrameBuffer((int)0xFFFF0000);
    VXE_DrawBox(0, 0, 16, 16, 0xFF0000);
    VXE_SwapBuffers();
    EXPECT_EQ(screenrgb(2, 2), 0xFF0000u);
    EXPECT_EQ(screenrgb(W - 3, H - 3), 0x0000FFu);
}

TEST(Video, PresentationThroughFramebufferObjectsOrTheBackBuffer)
{
    // Without framebuffer objects drawing goes to the back buffer, which is
    // copied into the texture.
    VXE_framebuffers_enabled = 0;
    newframe(0);
    GLint bound;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &bound);
    EXPECT_EQ(bound, 0);
    presentmarker();
    VXE_framebuffers_enabled = 1;
    newframe(0);
    presentmarker();

    // The post shader fades the whole picture.
    VXE_SetPostShader(VXE_InitDefaultPostShader());
    VXE_SetFadeValue(0.0f);
    VXE_ClearFrameBuffer((int)0xFFFFFFFF);
    VXE_SwapBuffers();
    EXPECT_EQ(screenrgb(5, H - 1), 0u);
    VXE_SetPostShader(-1);
}

}  // namespace
