// crt: the monitor pass and the output pass of every presented frame.
#include "app/monitor/crt.h"

#include <stdio.h>

#include "app/appstate.h"
#include "app/monitor/crtgeometry.h"
#include "app/monitor/resources.h"
#include "engine/graphics/draw2d.h"
#include "engine/graphics/framebuffer.h"
#include "engine/graphics/shader.h"
#include "engine/graphics/video.h"
#include "engine/platform/controller.h"

const char vv_floxa[] =
    "#version 120\n"
    "varying vec2 texCoord;\n"
    "void main() {\n"
    "    texCoord = gl_MultiTexCoord0.xy;\n"
    "    gl_Position = ftransform();\n"
    "}\n";

// max(v, 0.0): beside the curved screen one coordinate leaves 0..1 and the
// vignette term turns negative, where pow is undefined; those fragments
// must come out dark like the rest of the glass.
const char ff_floxa[] =
    "#version 120\n"
    "uniform sampler2D fbo_texture;\n"
    "uniform sampler2D fbo_depth;\n"
    "uniform float fadevalue;\n"
    "uniform float scanlinevalue;\n"
    "uniform float time;\n"
    "varying vec2 texCoord;\n"
    "void main() {\n"
    "    vec2 uv = (texCoord - 0.5) * 2.2;\n"
    "    uv.x = uv.x * (1.0 + pow(abs(uv.y) / 5.0, 2.3));\n"
    "    uv.y = uv.y * (1.0 + pow(abs(uv.x) / 4.0, 2.3));\n"
    "    uv = uv / 2.0 + 0.5;\n"
    "    uv = uv * 0.92 + 0.04;\n"
    "    vec4 col;\n"
    "    col.r = texture2D(fbo_texture, vec2(uv.x + 0.001, uv.y + 0.001)).r + 0.05;\n"
    "    col.g = texture2D(fbo_texture, vec2(uv.x, uv.y - 0.002)).g + 0.05;\n"
    "    col.b = texture2D(fbo_texture, vec2(uv.x - 0.002, uv.y)).b + 0.05;\n"
    "    col.a = 0.5;\n"
    "    float v = 16.0 * uv.x * uv.y * (1.0 - uv.x) * (1.0 - uv.y);\n"
    "    col *= pow(max(v, 0.0), 0.3);\n"
    "    float scans = clamp(0.35 + 0.35 * sin(0.5 * time + uv.y * 720.0 * 1.5), 0.0, 1.0);\n"
    "    float s = pow(scans, 1.7);\n"
    "    col *= (0.4 + 0.7 * s) * 1.5;\n"
    "    col *= 1.0 - 0.65 * clamp((mod(uv.x, 2.0) - 1.0) * 2.0, 0.0, 1.0);\n"
    "    if (uv.x < 0.0 || uv.x > 1.0) col.a = 0.1;\n"
    "    if (uv.y < 0.0 || uv.y > 1.0) col.a = 0.1;\n"
    "    gl_FragColor = col;\n"
    "}\n";

int cameraframe;
float camerazoom, camerax, cameray;

void InitCRT()
{
    postshader_id = VXE_InitShader(vv_floxa, ff_floxa);
    if (!VXE_ShaderLinked(postshader_id)) {
        puts("CRT shader unavailable (needs GLSL 1.20): showing the picture without the CRT effect");
        postshader_id = -1;
    }
    VXE_SetPostShader(-1);
}

// The bezel is drawn into the monitor buffer once: nothing else draws
// there, and the shader pass writes every fragment of the opening it
// covers (only the alpha test's alpha 0, an exactly zero vignette, is left
// out). The output buffer needs no backdrop either: the zoomed monitor
// always covers all of it. Each saves a full-size pass per frame and
// changes no pixel.
static int g_bezelbuffer = -1;

void CRT_PostProcess()
{
    VXE_DisableRenderState(VXE_STATE_DEPTHTEST);
    VXE_SetFrameBuffer(crtbuffer_id);
    if (g_bezelbuffer != crtbuffer_id) {
        VXE_ClearFrameBuffer(0);
        VXE_DrawBitmap(0, 0, bmp_crt);
        g_bezelbuffer = crtbuffer_id;
    }

    if (postshader_id >= 0) {
        VXE_BindShader(postshader_id);
        VXE_SetShaderUniform1f(postshader_id, "time", (float)currentframe);
    }
    VXE_EnableRenderState(VXE_STATE_ALPHATEST);
    VXE_DrawFrameBuffer(OPENING_X, OPENING_Y, OPENING_WIDTH, OPENING_HEIGHT, framebuffer_id);
    VXE_DisableRenderState(VXE_STATE_ALPHATEST);
    VXE_UnbindShader();

    VXE_SetFrameBuffer(screenbuffer_id);
    VXE_BindShader(-1);
    const s_camera cam = CameraAt(cameraframe);
    camerazoom = cam.zoom;
    camerax = 48.0f;
    cameray = (float)(-20.0 - 5.0 * camerazoom);
    VXE_DrawFrameBuffer(cam.x, cam.y, cam.w, cam.h, crtbuffer_id);
    cameraframe += 1;
}

// The pointer is read before this frame's CRT pass, which will use
// cameraframe as it stands. Without the shader the frame lies flat.
static void mappointer(int *x, int *y)
{
    WindowToFrame(*x, *y, VXE_video.width, VXE_video.height, CameraAt(cameraframe), postshader_id >= 0,
                  x, y);
}

void InstallPointerMap()
{
    VXE_SetMouseMap(mappointer);
}
