// 2D drawing on the fixed-function pipeline. Quads are two indexed
// triangles from client-side arrays on the stack: no buffer objects and no
// allocation per draw. Quads wholly outside the target are rejected before
// any GL call.
#include "engine/graphics/draw2d.h"

#include <GL/glew.h>
#include <stdio.h>
#include <string.h>

#include "engine/graphics/framebuffer.h"
#include "engine/graphics/geometry.h"
#include "engine/graphics/video.h"

unsigned char VXE_Palette[8][256][3];

// Counter-clockwise on screen under the 2D projection, so both triangles
// survive back-face culling. 16-bit, as WebGL's GL emulation needs.
static const GLushort quad_index[6] = {0, 3, 2, 0, 2, 1};

void VXE_Enable2D()
{
    if (VXE_projectionmode != 0) {
        GLint vp[4];
        glGetIntegerv(GL_VIEWPORT, vp);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(vp[0], vp[0] + vp[2], vp[1] + vp[3], vp[1], -1, 1);
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // Switched off directly: 2D drawing never wants them, whatever the
    // recorded state says.
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    VXE_projectionmode = 0;
}

void VXE_Disable2D()
{
    if (VXE_projectionmode != 0)
        return;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    VXE_Perspective(45, (float)VXE_FrameBuffer->width / (float)VXE_FrameBuffer->height, 0.01f,
                    1000);
    glMatrixMode(GL_MODELVIEW);
    VXE_projectionmode = 1;
}

void VXE_Perspective(float fov, float aspect, float znear, float zfar)
{
    double m[16];
    if (vxe_perspectivematrix(m, fov, aspect, znear, zfar))
        glMultMatrixd(m);
}

// The two position arguments have no meaning for a projection; the call
// sets the same frustum as VXE_Perspective.
void VXE_ViewPort(int, int, float aspect, float fov, float znear, float zfar)
{
    VXE_Perspective(fov, aspect, znear, zfar);
}

void VXE_LookAt(float eyex, float eyey, float eyez, float centerx, float centery, float centerz)
{
    double m[16];
    if (vxe_lookatmatrix(m, eyex, eyey, eyez, centerx, centery, centerz))
        glMultMatrixd(m);
}

void VXE_UpdateMatrix(float *matrix)
{
    glLoadMatrixf(matrix);
}

void VXE_UpdateVertexData(float *, int, int)
{
}

void VXE_DrawFaceList(int, int)
{
}

static void setcapabilities(int bits, bool on)
{
    static const struct {
        int bit;
        GLenum capability;
    } table[] = {
        {VXE_STATE_DEPTHTEST, GL_DEPTH_TEST},
        {VXE_STATE_ALPHATEST, GL_ALPHA_TEST},
        {VXE_STATE_BLEND, GL_BLEND},
        {VXE_STATE_LIGHTING, GL_LIGHTING},
    };
    for (const auto &entry : table)
        if (bits & entry.bit) {
            if (on)
                glEnable(entry.capability);
            else
                glDisable(entry.capability);
        }
}

void VXE_EnableRenderState(int bits)
{
    setcapabilities(vxe_recordenable(bits), true);
}

void VXE_DisableRenderState(int bits)
{
    setcapabilities(vxe_recorddisable(bits), false);
}

void VXE_SetBlendMode(int mode)
{
    if (mode == 1)
        glBlendFunc(GL_SRC_COLOR, GL_DST_COLOR);
    else if (mode == 2)
        glBlendFunc(GL_SRC_COLOR, GL_ONE);
}

void VXE_EnableAlphaBlend(float alpha)
{
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    glColor4f(1, 1, 1, alpha);
}

void VXE_DisableAlphaBlend()
{
    glDisable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
}

static bool quadvisible(float x, float y, float w, float h)
{
    return vxe_quadvisible(x, y, w, h, VXE_FrameBuffer->width, VXE_FrameBuffer->height);
}

static void drawarrays(const GLfloat vertices[12], const GLfloat texcoords[8])
{
    glVertexPointer(3, GL_FLOAT, 0, vertices);
    glTexCoordPointer(2, GL_FLOAT, 0, texcoords);
    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_SHORT, quad_index);
    VXE_stats_numtriangles += 2;
}

// An axis-aligned quad in the 2D projection; visibility already checked.
static void drawrect(float x, float y, float w, float h, const GLfloat texcoords[8])
{
    const GLfloat vertices[12] = {x, y, 0, x + w, y, 0, x + w, y + h, 0, x, y + h, 0};
    VXE_Enable2D();
    drawarrays(vertices, texcoords);
}

void VXE_DrawQuad(float x, float y, float w, float h, float s0, float t0, float s1, float t1)
{
    if (!quadvisible(x, y, w, h))
        return;
    const GLfloat texcoords[8] = {s0, t0, s1, t0, s1, t1, s0, t1};
    drawrect(x, y, w, h, texcoords);
}

void VXE_DrawRotatedQuad(float x, float y, float w, float h, float s0, float t0, float s1,
                         float t1, float angle)
{
    if (!quadvisible(x, y, w, h))
        return;
    float hw = w / 2, hh = h / 2;
    const GLfloat vertices[12] = {-hw, -hh, 0, hw, -hh, 0, hw, hh, 0, -hw, hh, 0};
    const GLfloat texcoords[8] = {s0, t0, s1, t0, s1, t1, s0, t1};
    VXE_Enable2D();
    glLoadIdentity();
    glTranslatef(x + hw, y + hh, 0);
    glRotatef(angle, 0, 0, 1);
    drawarrays(vertices, texcoords);
}

void VXE_DrawColorQuad(float x, float y, float w, float h, float r, float g, float b)
{
    if (!quadvisible(x, y, w, h))
        return;
    static const GLfloat texcoords[8] = {0, 0, 1, 0, 1, 1, 0, 1};
    glColor4f(r, g, b, 1);
    drawrect(x, y, w, h, texcoords);
    glColor4f(1, 1, 1, 1);
}

void VXE_DrawLineRGB(float x1, float y1, float x2, float y2, float r, float g, float b)
{
    if (!vxe_linevisible(x1, y1, x2, y2, VXE_FrameBuffer->width, VXE_FrameBuffer->height))
        return;
    VXE_Enable2D();
    glColor3f(r, g, b);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glBegin(GL_LINES);
    glVertex2f(x1, y1);
    glVertex2f(x2, y2);
    glEnd();
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glColor3f(1, 1, 1);
}

// Solid colours: alpha test off (the white texture is opaque anyway, but a
// caller's alpha state must not eat the box) and the white texture bound.
static void solidcolour(int color, float *r, float *g, float *b)
{
    VXE_DisableRenderState(VXE_STATE_ALPHATEST);
    VXE_BindTexture((int)vxe_whitetexture_id);
    *r = (float)(((color >> 16) & 0xFF) / 255.0);
    *g = (float)(((color >> 8) & 0xFF) / 255.0);
    *b = (float)((color & 0xFF) / 255.0);
}

void VXE_DrawBox(int x, int y, int w, int h, int color)
{
    float r, g, b;
    solidcolour(color, &r, &g, &b);
    VXE_DrawColorQuad(x, y, w, h, r, g, b);
}

void VXE_DrawLine(int x1, int y1, int x2, int y2, int color)
{
    float r, g, b;
    solidcolour(color, &r, &g, &b);
    VXE_DrawLineRGB(x1, y1, x2, y2, r, g, b);
}

void VXE_SetPallete(int palette, int count, unsigned char *rgb)
{
    if (palette < 0 || palette >= 8 || count < 0 || count > 256 || (count > 0 && !rgb)) {
        printf("VXE_SetPallete: palette %d with %d colours refused\n", palette, count);
        return;
    }
    if (count > 0)
        memcpy(VXE_Palette[palette], rgb, (size_t)count * 3);
}
