// Allocation as on the handheld: the nothrow `new` returns null when memory
// runs out (and then runs no constructor), and no C++ runtime is linked in for
// it. The plain form, which would have to throw, is not given here.
#include <windows.h>

#include <cstddef>
#include <new>

// <new> declares it; with no C++ runtime linked, the layer defines it.
const std::nothrow_t std::nothrow = std::nothrow_t();

void* operator new(std::size_t size, const std::nothrow_t&) throw()
{
    return HeapAlloc(GetProcessHeap(), 0, size ? size : 1);
}

void* operator new[](std::size_t size, const std::nothrow_t&) throw()
{
    return operator new(size, std::nothrow);
}

// Never throws (in C++98 an empty exception list says so); C++98 has no sized
// forms to replace.
void operator delete(void* block) throw()
{
    if (block) {
        HeapFree(GetProcessHeap(), 0, block);
    }
}

void operator delete[](void* block) throw()
{
    operator delete(block);
}
