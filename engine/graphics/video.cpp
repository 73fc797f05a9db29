// Video start-up and presentation. Each frame the application draws into
// an off-screen framebuffer; VXE_SwapBuffers draws that framebuffer's
// texture over the window (through the post shader when one is set),
// presents, and makes the framebuffer the drawing target again.
#include "engine/graphics/video.h"

#include <GL/glew.h>
#include <stdio.h>

#include "engine/graphics/bitmap.h"
#include "engine/graphics/draw2d.h"
#include "engine/graphics/framebuffer.h"
#include "engine/graphics/shader.h"
#include "engine/graphics/sprite.h"
#include "engine/platform/backend.h"
#include "engine/platform/clock.h"
#include "engine/platform/inputscript.h"

s_video VXE_video;
float VXE_fadevalue = 1.0f;
float VXE_scanlinevalue;
int VXE_postshader_id = -1;
unsigned int vxe_whitetexture_id;

static void (*g_presenthook)(int width, int height) = nullptr;
static int g_forcedwidth, g_forcedheight;

void vxe_setpresenthook(void (*hook)(int width, int height))
{
    g_presenthook = hook;
}

void vxe_forcewindowsize(int width, int height)
{
    g_forcedwidth = width;
    g_forcedheight = height;
}

// The frame's bookkeeping lives here, above the backend, so that every
// platform presents the same way.
static void presentframe()
{
    if (g_presenthook) {
        int w = 0, h = 0;
        vxe_driver_drawablesize(&w, &h);
        g_presenthook(w, h);
    }
    vxe_driver_present();
    vxe_clockpresented();
    vxe_countframe();
}

void VXE_InitVideo(int width, int height, int flags)
{
    if (g_forcedwidth > 0 && g_forcedheight > 0) {
        width = g_forcedwidth;
        height = g_forcedheight;
    }
    // Ends the process with a message when there is no display, no context
    // or no OpenGL 2.0, so everything below has a working GL.
    vxe_initwindow(width, height, flags);
    puts("[VXE] Init OpenGL");

    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    // Texturing stays on for the whole run: untextured primitives bind the
    // white texture.
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glClearColor(0, 0, 0, 1);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glAlphaFunc(GL_GREATER, 0.0f);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);

    unsigned int white[64];
    for (unsigned int &texel : white)
        texel = 0xFFFFFFFFu;
    vxe_whitetexture_id = VXE_CreateTexture(8, 8, white);

    VXE_numframebuffers = 0;
    puts("[VXE] Init Framebuffer");
    VXE_CreateFrameBuffer(width, height, 0);
    VXE_SetFrameBuffer(0);

    VXE_SetPostShader(-1);
    VXE_SetFadeValue(1.0f);
    VXE_SetScanlineValue(0.0f);

    VXE_video = s_video{width, height, width, 32, 4, 0x00FF0000, 0x0000FF00, 0x000000FF,
                        16, 8, 0, 8, 8, 8};

    VXE_renderstate = 0;
    VXE_lasttextureid = -1;
    vxe_numbitmaps = 0;
    vxe_numsprites = 0;
    VXE_SetRefreshRate(60);
}

// Only the window closes: textures, framebuffer objects and programs go
// with the context, and the read-back buffers are reused by the next
// creation in their slot.
void VXE_CloseVideo()
{
    vxe_closewindow();
}

void VXE_SwapBuffers()
{
    const s_framebufferdata *data = &VXE_framebufferdata[VXE_FrameBuffer->id];
    const int fbwidth = VXE_FrameBuffer->width, fbheight = VXE_FrameBuffer->height;

    if (VXE_framebuffers_enabled)
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glBindTexture(GL_TEXTURE_2D, data->texture);
    if (!VXE_framebuffers_enabled && data->pixels) {
        // The frame was drawn into the back buffer: copy it into the texture.
        glReadPixels(0, 0, fbwidth, fbheight, GL_RGBA, GL_UNSIGNED_BYTE, data->pixels);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, fbwidth, fbheight, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     data->pixels);
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    glViewport(0, 0, VXE_video.width, VXE_video.height);
    VXE_projectionmode = 1;
    VXE_Enable2D();

    const int shader = VXE_postshader_id;
    if (shader >= 0) {
        VXE_BindShader(shader);
        VXE_SetShaderUniform1i(shader, "fbo_texture", 0);
        VXE_SetShaderUniform1i(shader, "fbo_depth", 1);
        VXE_SetShaderUniform1f(shader, "width", (float)VXE_video.width);
        VXE_SetShaderUniform1f(shader, "height", (float)VXE_video.height);
        VXE_SetShaderUniform1f(shader, "fadevalue", VXE_fadevalue);
        VXE_SetShaderUniform1f(shader, "scanlinevalue", VXE_scanlinevalue);
    }
    // t = 1 along the top edge turns the bottom-up image upright.
    VXE_DrawQuad(0, 0, (float)VXE_video.width, (float)VXE_video.height, 0, 1, 1, 0);
    if (shader >= 0)
        VXE_UnbindShader();

    glFinish();
    presentframe();

    if (VXE_framebuffers_enabled)
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, data->fbo);
    glViewport(0, 0, fbwidth, fbheight);
    VXE_projectionmode = 1;
    vxe_resetframestate();
}

void VXE_SwapBuffersBasic()
{
    presentframe();
    glViewport(0, 0, VXE_FrameBuffer->width, VXE_FrameBuffer->height);
    if (vxe_hasframebufferobjects())
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
}

void VXE_GetRenderStatus(int *triangles, int *texturebinds, int *stateswitches)
{
    *triangles = VXE_stats_numtriangles;
    *texturebinds = VXE_stats_numtexturebinds;
    *stateswitches = VXE_stats_numstateswitches;
}

void VXE_SetPostShader(int id)
{
    VXE_postshader_id = id;
}

void VXE_SetFadeValue(float value)
{
    VXE_fadevalue = value;
}

void VXE_SetScanlineValue(float value)
{
    VXE_scanlinevalue = value;
}

int PowerOfTwo(int n)
{
    return n;
}

void VXE_PushGraphics()
{
}

void VXE_PopGraphics()
{
}
