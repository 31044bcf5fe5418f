// Reaches the handheld layer's runtime from the test host: each export makes
// the compiler call a helper of the runtime (division, new and delete), and
// the program's WinMain shows what the layer's entry handed it.
#include <handheld.h>

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

// The object's value, or -1 when new gave nothing.
int ProbeNewObject()
{
    Counted* counted = new Counted;
    int value = counted ? counted->value : -1;
    delete counted;
    return value;
}

void* ProbeNewArray(unsigned int size)
{
    return new char[size];
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
