// Resource report and bulk release over the bitmap, sprite and font tables.
#ifndef VXE_GRAPHICS_REPORT_H
#define VXE_GRAPHICS_REPORT_H

// Prints the counts of bitmaps, sprites, fonts and framebuffers in use.
void VXE_ShowGraphicsMemory();
// Releases every registered sprite and bitmap and empties the three tables.
void VXE_FlushGraphics();

#endif
