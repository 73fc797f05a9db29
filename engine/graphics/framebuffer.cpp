// Framebuffers. Each has a colour texture (and optionally a depth texture)
// attached to a framebuffer object. When framebuffer objects are missing or
// the last one created was incomplete, drawing goes to the window's back
// buffer and presentation copies it into the current framebuffer's texture
// through the `pixels` buffer.
#include "engine/graphics/framebuffer.h"

#include <GL/glew.h>
#include <stdio.h>
#include <stdlib.h>

#include "engine/graphics/draw2d.h"
#include "engine/graphics/video.h"

s_framebuffer VXE_framebuffers[VXE_MAXFRAMEBUFFERS];
s_framebufferdata VXE_framebufferdata[VXE_MAXFRAMEBUFFERS];
s_framebuffer *VXE_FrameBuffer = &VXE_framebuffers[0];
int VXE_numframebuffers;
int VXE_framebuffers_enabled;

bool vxe_hasframebufferobjects()
{
    return glGenFramebuffersEXT && glBindFramebufferEXT && glFramebufferTexture2DEXT &&
           glCheckFramebufferStatusEXT;
}

static bool validid(int id)
{
    return id >= 0 && id < VXE_numframebuffers;
}

static void newtexture(GLuint *name, GLint filter, GLint wrap)
{
    glGenTextures(1, name);
    glBindTexture(GL_TEXTURE_2D, *name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
}

int VXE_CreateFrameBuffer(int width, int height, int flags)
{
    int n = VXE_numframebuffers;
    if (n >= VXE_MAXFRAMEBUFFERS) {
        printf("[VXE] Framebuffer table full (%d): %d,%d not created\n", VXE_MAXFRAMEBUFFERS,
               width, height);
        return -1;
    }
    if (width <= 0 || height <= 0) {
        printf("[VXE] Framebuffer size %d,%d refused\n", width, height);
        return -1;
    }
    s_framebufferdata *data = &VXE_framebufferdata[n];
    // A slot is reused after a second VXE_InitVideo; its old GL names died
    // with the old context, its buffer did not.
    free(data->pixels);
    data->pixels = (unsigned char *)malloc((size_t)width * (size_t)height * 4);
    if (!data->pixels)
        printf("[VXE] No memory for the read-back buffer of %d,%d\n", width, height);
    VXE_framebuffers[n] = s_framebuffer{width, height, n, flags};

    printf("[VXE] Init Framebuffer: %d,%d\n", width, height);

    if (glActiveTexture)
        glActiveTexture(GL_TEXTURE0);
    newtexture(&data->texture, (flags & VXE_FRAMEBUFFER_LINEAR) ? GL_LINEAR : GL_NEAREST,
               GL_MIRRORED_REPEAT);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    data->depthtexture = 0;
    if (flags & VXE_FRAMEBUFFER_DEPTH) {
        newtexture(&data->depthtexture, GL_NEAREST, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_NONE);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH24_STENCIL8, width, height, 0, GL_DEPTH_STENCIL,
                     GL_UNSIGNED_INT_24_8, nullptr);
    }
    vxe_forgetbind();

    data->fbo = 0;
    if (!vxe_hasframebufferobjects()) {
        printf("[VXE] No framebuffer objects: drawing goes through the back buffer\n");
        VXE_framebuffers_enabled = 0;
    } else {
        glGenFramebuffersEXT(1, &data->fbo);
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, data->fbo);
        glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D,
                                  data->texture, 0);
        if (flags & VXE_FRAMEBUFFER_DEPTH)
            glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_TEXTURE_2D,
                                      data->depthtexture, 0);
        GLenum status = glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT);
        if (status != GL_FRAMEBUFFER_COMPLETE_EXT)
            printf("glCheckFramebufferStatus: error %d", (int)status);
        // The last creation decides for all framebuffers.
        VXE_framebuffers_enabled = status == GL_FRAMEBUFFER_COMPLETE_EXT;
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    }
    VXE_numframebuffers++;
    return n;
}

void VXE_SetFrameBuffer(int id)
{
    if (!validid(id)) {
        printf("[VXE] VXE_SetFrameBuffer: no framebuffer %d\n", id);
        return;
    }
    VXE_FrameBuffer = &VXE_framebuffers[id];
    if (VXE_framebuffers_enabled)
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, VXE_framebufferdata[id].fbo);
    else if (vxe_hasframebufferobjects())
        // The back buffer is the target now, even if an object was bound.
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glBindTexture(GL_TEXTURE_2D, VXE_framebufferdata[id].texture);
    vxe_forgetbind();
    glViewport(0, 0, VXE_FrameBuffer->width, VXE_FrameBuffer->height);
    VXE_projectionmode = 1;
}

int VXE_GetFrameBufferWidth()
{
    return VXE_FrameBuffer->width;
}

int VXE_GetFrameBufferHeight()
{
    return VXE_FrameBuffer->height;
}

unsigned int VXE_GetFrameBufferTexture(int id)
{
    return validid(id) ? VXE_framebufferdata[id].texture : 0;
}

unsigned int VXE_GetFrameBufferDepth(int id)
{
    return validid(id) ? VXE_framebufferdata[id].depthtexture : 0;
}

void VXE_ClearFrameBuffer(int color)
{
    unsigned int c = (unsigned int)color;
    glClearColor((c & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, ((c >> 16) & 0xFF) / 255.0,
                 ((c >> 24) & 0xFF) / 255.0);
    if (VXE_FrameBuffer->flags & VXE_FRAMEBUFFER_DEPTH)
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    else
        glClear(GL_COLOR_BUFFER_BIT);
}

void VXE_DrawFrameBuffer(int x, int y, int w, int h, int id)
{
    if (!validid(id)) {
        printf("[VXE] VXE_DrawFrameBuffer: no framebuffer %d\n", id);
        return;
    }
    glBindTexture(GL_TEXTURE_2D, VXE_framebufferdata[id].texture);
    vxe_forgetbind();
    // t = 1 along the top edge turns the bottom-up texture upright.
    VXE_DrawQuad(x, y, w, h, 0, 1, 1, 0);
}
