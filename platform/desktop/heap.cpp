// Allocation as on the handheld: `new` returns null when memory runs out (the
// deliverables are built with -fcheck-new, so no constructor runs on null),
// and no C++ runtime is linked in for it.
#include <windows.h>

#include <cstddef>

void* operator new(std::size_t size)
{
    return HeapAlloc(GetProcessHeap(), 0, size ? size : 1);
}

void* operator new[](std::size_t size)
{
    return operator new(size);
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
