// GLSL programs in a fixed table, uniforms set by name, and the built-in
// post shader (scanlines and fade) presentation can apply. Shader ids index
// the table; a negative id means fixed-function drawing. While shaders are
// not enabled every operation does nothing but hand out ids.
#pragma once

#define VXE_MAXSHADERS 64

struct s_shader {
    unsigned int program;
    unsigned int vertexshader;
    unsigned int fragmentshader;
};

extern s_shader VXE_shader[VXE_MAXSHADERS];
extern int VXE_numshaders;

extern const char vv_defaultpostshader[];
extern const char ff_defaultpostshader[];

// Compiles and links the two sources; returns the id, or -1 when a source
// is missing. Compile and link problems are printed, the id is handed out.
int VXE_InitShader(const char *vertexsource, const char *fragmentsource);
// The same from two text files of the local file system.
int VXE_LoadShader(const char *vertexfile, const char *fragmentfile);
// Builds the scanline-and-fade post shader; pass its id to VXE_SetPostShader.
int VXE_InitDefaultPostShader();
// 1 when shader `id` compiled and linked into a usable program.
int VXE_ShaderLinked(int id);
// Releases the GL objects; the id stays used.
void VXE_DeleteShader(int id);

void VXE_BindShader(int id);  // negative: back to fixed function
void VXE_UnbindShader();

// Each binds the shader, looks the uniform up by name and sets it; the
// program stays bound. Unknown names are ignored.
void VXE_SetShaderUniform1i(int id, const char *name, int value);
void VXE_SetShaderUniform1f(int id, const char *name, float v0);
void VXE_SetShaderUniform2f(int id, const char *name, float v0, float v1);
void VXE_SetShaderUniform3f(int id, const char *name, float v0, float v1, float v2);
void VXE_SetShaderUniform4f(int id, const char *name, float v0, float v1, float v2, float v3);
void VXE_SetShaderUniform1fv(int id, const char *name, int count, float *values);

// Prints the shader's info log, if any, under `name`.
void validateShader(unsigned int shader, const char *name);
// Prints the program's link log and whether it validates.
void validateProgram(unsigned int program);
// Whole text file, null-terminated, malloc'ed (caller frees); null when
// the name is null or the file is missing or empty.
char *textFileRead(const char *name);
