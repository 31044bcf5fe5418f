// Where a deliverable program starts on the desktop, in place of the C
// runtime's start-up code: the deliverables use nothing that needs it (the
// handheld has no such runtime), and leaving it out keeps them small.
#include "handheld_api.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand);

extern "C" void HandheldProgramEntry()
{
    int exitCode = wWinMain(GetModuleHandleW(NULL), NULL, GetCommandLineW(), SW_SHOWDEFAULT);
    ExitProcess(static_cast<UINT>(exitCode));
}
