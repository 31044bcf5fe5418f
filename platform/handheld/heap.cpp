// Allocation on the handheld, with no C++ runtime: the nothrow `new` over the
// local heap returns null when memory runs out (the plain form, which would
// have to throw, is not given: a plain `new` fails the link), and a pure
// virtual call, which only a broken object can make, ends the thread's work
// at once.
#include <new>

#include "../handheld.h"

const std::nothrow_t std::nothrow = std::nothrow_t();

void* operator new(size_t size, const std::nothrow_t&) throw()
{
    return LocalAlloc(LMEM_FIXED, size ? size : 1);
}

void* operator new[](size_t size, const std::nothrow_t&) throw()
{
    return operator new(size, std::nothrow);
}

void operator delete(void* block) throw()
{
    if (block) {
        LocalFree(block);
    }
}

void operator delete[](void* block) throw()
{
    operator delete(block);
}

void operator delete(void* block, size_t) throw()
{
    operator delete(block);
}

void operator delete[](void* block, size_t) throw()
{
    operator delete(block);
}

// Called through a vtable slot whose function is pure: a fault here is the
// plainest report the platform has.
extern "C" void __cxa_pure_virtual()
{
    // cppcheck-suppress nullPointer
    *static_cast<volatile int*>(0) = 0;
}
