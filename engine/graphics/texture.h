// GL texture objects (ids are GL texture names) and the cached bind.
// Texels are 4 bytes each, red, green, blue, alpha in memory.
#pragma once

// New texture of exactly width x height; minified linear, magnified nearest.
unsigned int VXE_CreateTexture(int width, int height, void *texels);
// GL filter and wrap values, e.g. GL_NEAREST, GL_CLAMP_TO_EDGE.
void VXE_SetTextureOptions(int id, int minfilter, int magfilter, int wraps, int wrapt);
// Re-specifies the whole image.
void VXE_UpdateTexture(int id, int width, int height, void *texels);
void VXE_DeleteTexture(int id);
// Binds through the cache: binding the cached id again costs nothing.
void VXE_BindTexture(int id);
// Binds on texture unit `channel` (0..3; other values keep the active unit).
void VXE_BindTextureChannel(int id, int channel);
