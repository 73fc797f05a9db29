// Shared by the GL tests of what the show draws: video started, the real
// archive mounted, and the framebuffers and resources as start-up makes
// them; frames read back as 0xAARRGGBB, row 0 at the top.
#pragma once

#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cstdint>
#include <vector>

#include "app/frameloop.h"
#include "app/monitor/resources.h"
#include "engine/corefile/corefile.h"
#include "engine/graphics/video.h"

struct ShowEnvironment : testing::Environment {
    void SetUp() override
    {
        VXE_InitVideo(1280, 720, 0);
        ASSERT_EQ(1, corefile_mountimage(FLOXA_DAT, COREFILE_KIND_ARCHIVE));
        testing::internal::CaptureStdout();  // the loaders talk a lot
        CreateFrameBuffers();
        LoadResources();
        testing::internal::GetCapturedStdout();
    }
    void TearDown() override
    {
        corefile_closeimage();
        VXE_CloseVideo();
    }
};

// The current target's w x h pixels.
inline std::vector<uint32_t> ReadFrame(int w, int h)
{
    std::vector<unsigned char> raw((size_t)w * h * 4);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, raw.data());
    std::vector<uint32_t> out((size_t)w * h);
    for (int i = 0; i < w * h; i++) {
        const unsigned char *p = &raw[((size_t)(h - 1 - i / w) * w + i % w) * 4];
        out[i] = (uint32_t)p[3] << 24 | p[0] << 16 | p[1] << 8 | p[2];
    }
    return out;
}
