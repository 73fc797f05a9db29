// GLSL programs. Compile and link problems are printed and the id handed
// out anyway (the program is then simply unusable); only a missing source
// or a full table gives -1.
#include "engine/graphics/shader.h"

#include <GL/glew.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "engine/graphics/video.h"

s_shader VXE_shader[VXE_MAXSHADERS];
int VXE_numshaders;

const char vv_defaultpostshader[] =
    "#version 120\n"
    "varying vec2 texCoord;\n"
    "void main() {\n"
    "texCoord = gl_MultiTexCoord0.xy;\n"
    "gl_Position = ftransform();\n"
    "}";

// Even rows (counted from the bottom of the image) keep their colour, odd
// rows are darkened by scanlinevalue; everything, alpha too, is faded.
const char ff_defaultpostshader[] =
    "#version 120\n"
    "uniform sampler2D fbo_texture;\n"
    "uniform sampler2D fbo_depth;\n"
    "uniform float width;\n"
    "uniform float height;\n"
    "uniform float fadevalue;\n"
    "uniform float scanlinevalue;\n"
    "varying vec2 texCoord;\n"
    "vec4 TextureColor;\n"
    "void main() {\n"
    "vec4 color;\n"
    "TextureColor = texture2D(fbo_texture, texCoord);\n"
    "vec2 output_coords = floor( texCoord * height);\n"
    "float modulo = mod(output_coords.y,2.0);\n"
    "if (modulo==0.0) {color=TextureColor;} else {color=TextureColor * (1.0-scanlinevalue);}\n"
    " gl_FragColor = color*fadevalue;\n"
    "}";

void validateShader(unsigned int shader, const char *name)
{
    char log[512];
    memset(log, 0, sizeof(log));
    GLsizei length = 0;
    glGetShaderInfoLog(shader, sizeof(log), &length, log);
    // Warnings land here too, under the same words.
    if (length > 0)
        printf("Shader %d,%s,compiler error: %s\n", (int)shader, name ? name : "", log);
}

void validateProgram(unsigned int program)
{
    char log[512];
    memset(log, 0, sizeof(log));
    GLsizei length = 0;
    glGetProgramInfoLog(program, sizeof(log), &length, log);
    if (length > 0)
        printf("Program %d,link error: %s\n", (int)program, log);
    glValidateProgram(program);
    GLint status = GL_FALSE;
    glGetProgramiv(program, GL_VALIDATE_STATUS, &status);
    if (status == GL_FALSE)
        printf("Error validating shader %d\n", (int)program);
}

// The browser's GL emulation puts its own version and declarations in
// front of the source, so a GLSL 1.20 version line is left out there.
static const char *glslbody(const char *source)
{
#ifdef __EMSCRIPTEN__
    if (strncmp(source, "#version", 8) == 0) {
        const char *end = strchr(source, '\n');
        return end ? end + 1 : "";
    }
#endif
    return source;
}

int VXE_InitShader(const char *vertexsource, const char *fragmentsource)
{
    int n = VXE_numshaders;
    if (n >= VXE_MAXSHADERS) {
        printf("[VXE] Shader table full (%d)\n", VXE_MAXSHADERS);
        return -1;
    }
    if (VXE_shaders_enabled) {
        // Checked before anything is created, so a refusal leaves no GL
        // objects behind.
        if (!vertexsource || !fragmentsource) {
            printf("Either vertex shader or fragment shader file not found.");
            return -1;
        }
        s_shader *s = &VXE_shader[n];
        s->vertexshader = glCreateShader(GL_VERTEX_SHADER);
        s->fragmentshader = glCreateShader(GL_FRAGMENT_SHADER);
        const char *vertex = glslbody(vertexsource), *fragment = glslbody(fragmentsource);
        glShaderSource(s->vertexshader, 1, &vertex, nullptr);
        glShaderSource(s->fragmentshader, 1, &fragment, nullptr);
        glCompileShader(s->vertexshader);
        validateShader(s->vertexshader, "vertexshader");
        glCompileShader(s->fragmentshader);
        validateShader(s->fragmentshader, "fragmentshader");
        s->program = glCreateProgram();
        glAttachShader(s->program, s->fragmentshader);
        glAttachShader(s->program, s->vertexshader);
        glLinkProgram(s->program);
        validateProgram(s->program);
    }
    VXE_numshaders++;
    return n;
}

char *textFileRead(const char *name)
{
    if (!name)
        return nullptr;
    FILE *file = fopen(name, "rt");
    if (!file)
        return nullptr;
    char *text = nullptr;
    long size = -1;
    if (fseek(file, 0, SEEK_END) == 0)
        size = ftell(file);
    rewind(file);
    if (size > 0)
        text = (char *)malloc((size_t)size + 1);
    if (text) {
        size_t count = fread(text, 1, (size_t)size, file);
        text[count] = 0;
        // Nothing readable (a directory, say) counts as an empty file.
        if (count == 0) {
            free(text);
            text = nullptr;
        }
    }
    fclose(file);
    return text;
}

int VXE_LoadShader(const char *vertexfile, const char *fragmentfile)
{
    char *vertexsource = textFileRead(vertexfile);
    char *fragmentsource = textFileRead(fragmentfile);
    int id = VXE_InitShader(vertexsource, fragmentsource);
    // GL keeps its own copy of the sources.
    free(vertexsource);
    free(fragmentsource);
    return id;
}

int VXE_InitDefaultPostShader()
{
    return VXE_InitShader(vv_defaultpostshader, ff_defaultpostshader);
}

static bool intable(int id)
{
    return id >= 0 && id < VXE_MAXSHADERS;
}

void VXE_DeleteShader(int id)
{
    if (!VXE_shaders_enabled || !intable(id))
        return;
    s_shader *s = &VXE_shader[id];
    glDetachShader(s->program, s->fragmentshader);
    glDetachShader(s->program, s->vertexshader);
    glDeleteShader(s->fragmentshader);
    glDeleteShader(s->vertexshader);
    glDeleteProgram(s->program);
    // The id stays used; a later bind falls back to fixed function.
    *s = s_shader{0, 0, 0};
}

static GLuint programof(int id)
{
    return intable(id) ? VXE_shader[id].program : 0;
}

int VXE_ShaderLinked(int id)
{
    GLuint program = programof(id);
    if (!VXE_shaders_enabled || !program) return 0;
    GLint status = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &status);
    return status == GL_TRUE;
}

void VXE_BindShader(int id)
{
    if (VXE_shaders_enabled)
        glUseProgram(programof(id));
}

void VXE_UnbindShader()
{
    if (VXE_shaders_enabled)
        glUseProgram(0);
}

// Binds the shader and finds the uniform; -1 when there is nothing to set.
// The bind comes first so that even a call with no name leaves the program
// bound, as every other call does.
static GLint uniform(int id, const char *name)
{
    if (!VXE_shaders_enabled)
        return -1;
    VXE_BindShader(id);
    GLuint program = programof(id);
    return program && name ? glGetUniformLocation(program, name) : -1;
}

void VXE_SetShaderUniform1i(int id, const char *name, int value)
{
    GLint location = uniform(id, name);
    if (location >= 0)
        glUniform1i(location, value);
}

void VXE_SetShaderUniform1f(int id, const char *name, float v0)
{
    GLint location = uniform(id, name);
    if (location >= 0)
        glUniform1f(location, v0);
}

void VXE_SetShaderUniform2f(int id, const char *name, float v0, float v1)
{
    GLint location = uniform(id, name);
    if (location >= 0)
        glUniform2f(location, v0, v1);
}

void VXE_SetShaderUniform3f(int id, const char *name, float v0, float v1, float v2)
{
    GLint location = uniform(id, name);
    if (location >= 0)
        glUniform3f(location, v0, v1, v2);
}

void VXE_SetShaderUniform4f(int id, const char *name, float v0, float v1, float v2, float v3)
{
    GLint location = uniform(id, name);
    if (location >= 0)
        glUniform4f(location, v0, v1, v2, v3);
}

void VXE_SetShaderUniform1fv(int id, const char *name, int count, float *values)
{
    GLint location = uniform(id, name);
    if (location >= 0 && count > 0 && values)
        glUniform1fv(location, count, values);
}
