#include "transcript.h"

#include <cstdarg>
#include <cstdio>

#include <standin_log.h>

namespace {

LARGE_INTEGER StartCount()
{
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return count;
}

const LARGE_INTEGER start = StartCount();

}  // namespace

double Now()
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart - start.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

void Say(const wchar_t* format, ...)
{
    wchar_t text[400];
    va_list arguments;
    va_start(arguments, format);
    int length = vswprintf(text, 400, format, arguments);
    va_end(arguments);
    if (length < 0) {
        return;
    }
    wchar_t line[440];
    swprintf(line, 440, L"%9.1f ms  %ls", Now(), text);
    StandInLog(L"%ls", line);

    char utf8[1024];
    int bytes = WideCharToMultiByte(CP_UTF8, 0, line, -1, utf8, sizeof(utf8), nullptr, nullptr);
    if (bytes > 0) {
        std::fputs(utf8, stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }
}
