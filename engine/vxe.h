// The VXE engine in one include: every public header, grouped by room.
#ifndef VXE_H
#define VXE_H

// Platform: window and GL context, raw input, controllers, clock.
#include "engine/platform/backend.h"      // the platform backend: window, GL context, events, devices
#include "engine/platform/input.h"       // key, mouse and joystick globals and reads
#include "engine/platform/controller.h"  // VXE_GetKeys, controllers and merging
#include "engine/platform/clock.h"       // VXE_GetMillis and its replaceable source
#include "engine/platform/cmdline.h"     // CommandLineToArgvA

// Video: start-up, presentation, pacing, 2D drawing, framebuffers, shaders.
#include "engine/graphics/video.h"                // VXE_InitVideo, VXE_SwapBuffers, post settings
#include "engine/graphics/refresh.h"              // VXE_WaitRefresh, frame rate
#include "engine/graphics/drawstate.h"            // render-state mask, bind cache, counters
#include "engine/graphics/draw2d.h"               // projection, blending, quads, lines, boxes
#include "engine/graphics/geometry.h"             // visibility tests and view matrices
#include "engine/graphics/texture.h"              // GL textures and the cached bind
#include "engine/graphics/framebuffer.h"          // off-screen drawing targets
#include "engine/graphics/shader.h"               // GLSL programs, uniforms, the post shader

// 2D resources: bitmaps, TGA, sprites, fonts.
#include "engine/graphics/tga.h"                  // TGA decoding, no GL
#include "engine/graphics/bitmap.h"               // images with their textures
#include "engine/graphics/sprite.h"               // sprites and collision
#include "engine/graphics/font.h"                 // bitmap fonts and text
#include "engine/graphics/graphics_report.h"      // resource report and bulk release

// Sound: sound records, WAV, mixer and the audio device.
#include "engine/sound/soundsystem.h"    // Soundsystem_ calls
#include "engine/sound/wav.h"            // WAV parsing
#include "engine/sound/audiodriver.h"    // the software mixer
#include "engine/sound/audiodriver_sdl.h" // the SDL audio device

// Files, memory and diagnostics.
#include "engine/corefile/corefile.h"    // resource archive and virtual file system
#include "engine/corefile/dirlist.h"     // directory listing
#include "engine/system/memory.h"        // counting allocator
#include "engine/system/debug.h"         // diagnostic lines and fatal errors

#endif
