// Texture objects. Every call here that binds directly also empties the
// bind cache: otherwise a later VXE_BindTexture of the cached id would be
// skipped while another texture is bound, and draw with the wrong one.
#include "engine/graphics/texture.h"

#include <GL/glew.h>

#include "engine/graphics/drawstate.h"

static void upload(int width, int height, void *texels)
{
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
}

unsigned int VXE_CreateTexture(int width, int height, void *texels)
{
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    vxe_forgetbind();
    // Magnified textures keep hard pixel edges.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    upload(width, height, texels);
    return id;
}

void VXE_SetTextureOptions(int id, int minfilter, int magfilter, int wraps, int wrapt)
{
    glBindTexture(GL_TEXTURE_2D, (GLuint)id);
    vxe_forgetbind();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minfilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magfilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wraps);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrapt);
}

void VXE_UpdateTexture(int id, int width, int height, void *texels)
{
    glBindTexture(GL_TEXTURE_2D, (GLuint)id);
    vxe_forgetbind();
    upload(width, height, texels);
}

void VXE_DeleteTexture(int id)
{
    GLuint name = (GLuint)id;
    glDeleteTextures(1, &name);
    // GL may hand the name out again; the cache must not claim it is bound.
    if (id == VXE_lasttextureid)
        vxe_forgetbind();
}

void VXE_BindTexture(int id)
{
    if (vxe_recordbind(id))
        glBindTexture(GL_TEXTURE_2D, (GLuint)id);
}

void VXE_BindTextureChannel(int id, int channel)
{
    if (channel >= 0 && channel <= 3 && glActiveTexture)
        glActiveTexture(GL_TEXTURE0 + channel);
    glBindTexture(GL_TEXTURE_2D, (GLuint)id);
    vxe_forgetbind();
}
