// Shared by the benchmark programs: counting the program's allocations and OpenGL's draw calls.
// Include it in exactly one source file of a program: it replaces the global allocator.
#pragma once

#include <cstdlib>
#include <new>

#include "framework/graphics/gl.h"

inline bool g_countAllocations = false;
inline long long g_allocations = 0;

// Leaves the driver's own allocations out of the count while it runs.
class DriverCall {
public:
    DriverCall() : m_counting(g_countAllocations) { g_countAllocations = false; }
    ~DriverCall() { g_countAllocations = m_counting; }

private:
    bool m_counting;
};

// Passes every call to the driver and counts the draw calls.
class CountingGl : public VoGl {
public:
    long long draws = 0;
    void DrawArrays(unsigned mode, int first, int count) override {
        ++draws;
        DriverCall call;
        VoGl::DrawArrays(mode, first, count);
    }
    void DrawElements(unsigned mode, int count, unsigned type, const void* indices) override {
        ++draws;
        DriverCall call;
        VoGl::DrawElements(mode, count, type, indices);
    }
    void Enable(unsigned cap) override {
        DriverCall call;
        VoGl::Enable(cap);
    }
    void Disable(unsigned cap) override {
        DriverCall call;
        VoGl::Disable(cap);
    }
    void BindTexture(unsigned target, unsigned texture) override {
        DriverCall call;
        VoGl::BindTexture(target, texture);
    }
};

// Kept out of line so that the compiler does not pair the malloc and free inside callers and
// warn about the replacement.
[[gnu::noinline]] void* operator new(std::size_t size) {
    if (g_countAllocations) ++g_allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept { std::free(p); }
