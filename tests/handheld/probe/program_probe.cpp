// A program that returns what it was started with, to show that the layer's
// entry hands WinMain the platform's four arguments.
#include <handheld.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand)
{
    return static_cast<int>(reinterpret_cast<ULONG_PTR>(instance) >> 16) + (previous ? 1000 : 0) +
           (commandLine ? commandLine[0] : 0) * 10 + showCommand;
}
