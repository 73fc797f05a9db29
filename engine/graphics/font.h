// Bitmap fonts: one image holding a row of proportional glyphs, with marker
// pixels (alpha not 0) in row 0 at the left edge of every glyph after the
// space. Character code c (signed) uses glyph c - 31; glyphs 1 to 93 cover
// the space to the vertical bar.
#ifndef VXE_FONT_H
#define VXE_FONT_H

#include "engine/graphics/sprite.h"

#define VXE_FONTGLYPHS 96
#define VXE_MAXFONTS 16

struct s_font {
    s_sprite letters[VXE_FONTGLYPHS];        // glyph sprites
    unsigned char widths[VXE_FONTGLYPHS];    // advance widths in pixels
    int height;                              // glyph height: image height - 1
    int numletters;                          // glyphs found, 1 to 96
    int spacing;                             // extra pixels after each non-space
    s_bitmap *bitmap;                        // the font image, in vxe_fontbmp
};

extern s_bitmap vxe_fontbmp[VXE_MAXFONTS];
extern int vxe_numfonts;

// Loads the image into the next font-table entry and cuts its glyphs.
void VXE_LoadFont(const char *name, s_font *font);
// The marker scan: fills widths from row 0 of the image and returns the
// number of glyphs (1 to 96). Glyph i is cut from the column where the
// widths before it end, so every glyph lies inside the image.
int VXE_ScanFontMarkers(const s_bitmap &image, unsigned char widths[VXE_FONTGLYPHS]);
void VXE_LoadDarkFont(const char *name, s_font *font);
// Font images go with all bitmaps in VXE_FlushGraphics; nothing to do here.
void VXE_DeleteFont(s_font *font);
void VXE_SetFontSpacing(int spacing, s_font *font);

// printf-style text, at most 255 characters, top-left corner at (x, y).
void VXE_DrawText(int x, int y, s_font font, const char *format, ...)
    __attribute__((format(printf, 4, 5)));
// Centred on the current framebuffer's width.
void VXE_DrawCenteredText(int y, s_font font, const char *format, ...)
    __attribute__((format(printf, 3, 4)));
// Centred in the span x to x + w; every glyph advances by width + spacing.
void VXE_DrawCenteredTextXW(int x, int y, int w, s_font font, const char *format, ...)
    __attribute__((format(printf, 5, 6)));

#endif
