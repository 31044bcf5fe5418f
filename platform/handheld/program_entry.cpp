// Where a deliverable program starts on the handheld. The platform's loader
// calls a program's entry with WinMain's own four arguments (the command line
// wide) on the process's first thread; what the entry returns ends that
// thread, and with it the process.
#include "../handheld.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand);

extern "C" int HandheldProgramEntry(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine,
                                    int showCommand)
{
    return WinMain(instance, previous, commandLine, showCommand);
}
