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

void operator delete(void* block) noexcept
{
    if (block) {
        HeapFree(GetProcessHeap(), 0, block);
    }
}

void operator delete[](void* block) noexcept
{
    operator delete(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    operator delete(block);
}

void operator delete[](void* block, std::size_t) noexcept
{
    operator delete(block);
}
