// Counting allocator over the C heap. The usable size the heap reports for
// each block is what gets counted, so in-use and peak reflect real heap use.
#include "engine/system/memory.h"

#include "engine/system/debug.h"

#include <cstdlib>
#include <cstring>
#include <malloc.h>

uint32_t g_mem_in_use = 0;
uint32_t g_mem_in_use_peak = 0;

void *_wrap_malloc(size_t size)
{
    return malloc(size);
}

void _wrap_free(void *block)
{
    free(block);
}

void *_wrap_malloc_dbg(size_t size, const char *source, int line)
{
    void *block = malloc(size);
    if (!block) {
        _dbg_printf("%s(%d): wrap_malloc(%zu) failed!\n", source, line, size);
        return nullptr;
    }
    g_mem_in_use += (uint32_t)malloc_usable_size(block);
    if (g_mem_in_use > g_mem_in_use_peak)
        g_mem_in_use_peak = g_mem_in_use;
    return block;
}

void _wrap_free_dbg(void *block, const char *source, int line)
{
    if (!block) {
        _dbg_printf("%s(%d): wrap_free() tried to free a NULL pointer!\n", source, line);
        return;
    }
    g_mem_in_use -= (uint32_t)malloc_usable_size(block);
    free(block);
}

void *_wrap_malloc_iwram(size_t size)
{
    return _wrap_malloc(size);
}

void _wrap_free_iwram(void *block)
{
    _wrap_free(block);
}

void *_wrap_malloc_iwram_dbg(size_t size, const char *source, int line)
{
    return _wrap_malloc_dbg(size, source, line);
}

void _wrap_free_iwram_dbg(void *block, const char *source, int line)
{
    _wrap_free_dbg(block, source, line);
}

// Word moves go through memcpy so unaligned pointers stay well defined.
void wrap_memcpy(void *dst, const void *src, uint32_t bytes)
{
    uint8_t *d = (uint8_t *)dst;
    const uint8_t *s = (const uint8_t *)src;
    for (; bytes > 3; bytes -= 4, d += 4, s += 4)
        memcpy(d, s, 4);
    while (bytes--)
        *d++ = *s++;
}

void wrap_memcpy16(void *dst, const void *src, uint32_t count)
{
    memcpy(dst, src, (size_t)count * 2);
}

void wrap_memcpy32(void *dst, const void *src, uint32_t count)
{
    memcpy(dst, src, (size_t)count * 4);
}

void wrap_memset(void *dst, uint32_t value, uint32_t bytes)
{
    uint8_t *d = (uint8_t *)dst;
    uint32_t word = value * 0x01010101u;
    for (; bytes > 3; bytes -= 4, d += 4)
        memcpy(d, &word, 4);
    while (bytes--)
        *d++ = (uint8_t)value;
}

void wrap_memclr(void *dst, uint32_t bytes)
{
    wrap_memset(dst, 0, bytes);
}

void wrap_showusage()
{
    _dbg_printf("memory usage: %d (peak: %d)\n", (int)g_mem_in_use, (int)g_mem_in_use_peak);
}
