// Reaches the handheld layer's runtime from the test host: each export makes
// the compiler call a helper of the runtime (division, new and delete), and
// the program's WinMain shows what the layer's entry handed it.
#include <handheld.h>

#include <new>

namespace {

struct Counted {
    Counted() : value(7) {}
    int value;
};

}  // namespace

extern "C" {

unsigned int ProbeUnsignedDivide(unsigned int dividend, unsigned int divisor)
{
    return dividend / divisor;
}

unsigned int ProbeUnsignedRemainder(unsigned int dividend, unsigned int divisor)
{
    return dividend % divisor;
}

int ProbeDivide(int dividend, int divisor)
{
    return dividend / divisor;
}

int ProbeRemainder(int dividend, int divisor)
{
    return dividend % divisor;
}

// Handed out, so that the compiler can't leave the allocation out; null when
// new gave nothing (a constructor run on null would fault instead).
Counted* ProbeNewObject()
{
    return new (std::nothrow) Counted;
}

void ProbeDeleteObject(Counted* counted)
{
    delete counted;
}

void* ProbeNewArray(unsigned int size)
{
    return new (std::nothrow) char[size];
}

void ProbeDeleteArray(void* block)
{
    delete[] static_cast<char*>(block);
}

void __cxa_pure_virtual();

void ProbePureVirtual()
{
    __cxa_pure_virtual();
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}

}  // extern "C"
