// Shared by the bitmap and font tests on a real GL context: images in a
// mounted folder, so they load through the engine's file system, a
// framebuffer to draw into, and read-back with glReadPixels; the video
// test takes only what the engine prints.
#pragma once

#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cstdio>
#include <cstdlib>

#include "engine/corefile/corefile.h"
#include "engine/graphics/framebuffer.h"
#include "engine/graphics/video.h"
#include "tests/unit/said.h"

using Px = std::vector<uint32_t>;
const int GL_W = 128, GL_H = 48;
inline int gl_target = -1;

// Starts video with a target to draw into and mounts a fresh folder holding FILES.
struct FolderEnvironment : testing::Environment {
    std::vector<std::pair<std::string, std::string>> files;
    char folder[32] = "/tmp/floxa_bitmaps_XXXXXX";
    explicit FolderEnvironment(decltype(files) f) : files(std::move(f)) {}
    void SetUp() override
    {
        VXE_InitVideo(GL_W, GL_H, 0);
        gl_target = VXE_CreateFrameBuffer(GL_W, GL_H, 0);
        ASSERT_TRUE(mkdtemp(folder));
        for (const auto &f : files) {
            FILE *out = fopen((std::string(folder) + "/" + f.first).c_str(), "wb");
            fwrite(f.second.data(), 1, f.second.size(), out);
            fclose(out);
        }
        ASSERT_TRUE(corefile_mountimage(folder, COREFILE_KIND_DIRECTORY));
    }
    void TearDown() override
    {
        VXE_CloseVideo();
        (void)system((std::string("rm -rf ") + folder).c_str());
    }
};

inline void clearto(uint32_t argb)
{
    VXE_SetFrameBuffer(gl_target);
    VXE_ClearFrameBuffer((int)argb);
}

// Pixel (x, y) of the target as 0xAARRGGBB, y from the top.
inline uint32_t at(int x, int y)
{
    unsigned char p[4];
    glReadPixels(x, GL_H - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return (uint32_t)p[3] << 24 | p[0] << 16 | p[1] << 8 | p[2];
}
