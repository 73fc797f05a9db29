// Counting allocator and word-wise copy/fill helpers.
//
// The file system allocates only through the counted calls, which keep the
// bytes in use and their peak so leaks and high-water marks show up in
// wrap_showusage(). Everything else in the engine uses the plain heap.
// The "iwram" calls stand for fast internal memory on targets that have it;
// here they are the ordinary heap with the same counters.
#pragma once

#include <cstddef>
#include <cstdint>

// Bytes held through the counted calls (the heap's usable size of each
// block) and the highest value that figure has reached.
extern uint32_t g_mem_in_use;
extern uint32_t g_mem_in_use_peak;

// Plain, uncounted allocation.
void *_wrap_malloc(size_t size);
void _wrap_free(void *block);

// Counted allocation; source and line name the caller in failure messages.
void *_wrap_malloc_dbg(size_t size, const char *source, int line);
// Counted release; a null block is reported, not released.
void _wrap_free_dbg(void *block, const char *source, int line);

void *_wrap_malloc_iwram(size_t size);
void _wrap_free_iwram(void *block);
void *_wrap_malloc_iwram_dbg(size_t size, const char *source, int line);
void _wrap_free_iwram_dbg(void *block, const char *source, int line);

// Copies 4 bytes at a time while more than 3 remain, then byte by byte.
void wrap_memcpy(void *dst, const void *src, uint32_t bytes);
// Copies count 16-bit / 32-bit units.
void wrap_memcpy16(void *dst, const void *src, uint32_t count);
void wrap_memcpy32(void *dst, const void *src, uint32_t count);
// Stores value * 0x01010101 word by word, then the low byte of value into
// the remaining bytes (values 0..255 give an ordinary byte fill).
void wrap_memset(void *dst, uint32_t value, uint32_t bytes);
// Zero fill.
void wrap_memclr(void *dst, uint32_t bytes);

// Prints "memory usage: %d (peak: %d)".
void wrap_showusage();
