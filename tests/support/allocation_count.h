// Counting global operator new for the allocation tests (tests only; each
// includer is a program of its own, as it replaces the global operators).
// Only allocations on the thread that sets `counting` are counted, and none
// made with the GL driver anywhere on the call stack: the driver compiles
// programs when it first meets a combination of state, which may be in the
// middle of a run, and its compiler allocates through the C++ library.
#pragma once

#include <dlfcn.h>
#include <execinfo.h>

#include <cstdlib>
#include <cstring>
#include <new>

namespace {
thread_local bool counting = false;
long allocations = 0;  // by the code under test (and the C++ library)

bool fromDriver(const void* address) {
    Dl_info info{};
    if (dladdr(address, &info) == 0 || !info.dli_fname) return false;
    const char* name = info.dli_fname;
    return std::strstr(name, "libLLVM") || std::strstr(name, "_dri.so") || std::strstr(name, "libgallium") ||
           std::strstr(name, "libGL") || std::strstr(name, "libEGL");
}

// Counts one allocation unless the driver is anywhere on the call stack
// (its compiler also allocates through the C++ library).
void count() {
    if (!counting) return;
    counting = false;  // the stack walk must not count itself
    void* stack[24];
    const int depth = backtrace(stack, 24);
    bool driver = false;
    for (int i = 1; i < depth && !driver; ++i) driver = fromDriver(stack[i]);
    allocations += !driver;
    counting = true;
}

void* allocate(std::size_t size) noexcept {
    count();
    return std::malloc(size ? size : 1);
}
// Out of line, so the compiler does not take the free() of what operator
// new handed out (with malloc) for a mismatched pair.
[[gnu::noinline]] void release(void* p) noexcept { std::free(p); }
}  // namespace

// The other forms of new and delete go through these two by default.
void* operator new(std::size_t size) {
    if (void* p = allocate(size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }
