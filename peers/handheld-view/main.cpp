// The demo's screen: a window that fills a 240 x 320 handheld screen and shows
// what the handheld holds and runs (handheld_state.h), four times a second,
// and, as a client of the resume notifier, the notices that it receives.
//   handheld-view DESCRIPTION
// DESCRIPTION is the cabinet's description, which names what the product
// installs. Each notice is also recorded in handheld-view.log beside the
// program: "message <number> <tick>". The window ends on WM_CLOSE.
#include <windows.h>

#include <cstdio>

#include <standin_log.h>
#include <rsn.h>

#include "package_description.h"
#include "handheld_state.h"

namespace {

const wchar_t kViewClass[] = L"Handheld view";
const wchar_t kTitle[] = L"Handheld";
const UINT_PTR kRefreshTimer = 1;
const UINT kRefreshMs = 250;
const int kMargin = 4;
const int kIndent = 10;

const COLORREF kHeadingColour = RGB(0, 51, 153);
const COLORREF kPresentColour = RGB(0, 0, 0);
const COLORREF kAbsentColour = RGB(150, 150, 150);

struct View {
    Package cabinet;
    std::vector<StateLine> state;
    unsigned notices = 0;
    UINT lastNotice = 0;
    SYSTEMTIME lastNoticeAt = {};
    HFONT font = nullptr;
    HFONT bold = nullptr;
};

View view;

std::vector<StateLine> Lines()
{
    std::vector<StateLine> lines = view.state;
    lines.push_back({StateLine::kHeading, L"Resume notices"});
    if (!view.notices) {
        lines.push_back({StateLine::kAbsent, L"none received"});
        return lines;
    }
    wchar_t text[96];
    swprintf(text, 96, L"%u %ls at %02u:%02u:%02u (%u in all)", view.lastNotice,
             view.lastNotice == RSN_MSG_RESUMED ? L"resumed" : L"powered down",
             view.lastNoticeAt.wHour, view.lastNoticeAt.wMinute, view.lastNoticeAt.wSecond,
             view.notices);
    lines.push_back({StateLine::kPresent, text});
    return lines;
}

void Paint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(dc, view.font);
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    int y = kMargin;
    for (const StateLine& line : Lines()) {
        bool heading = line.kind == StateLine::kHeading;
        SelectObject(dc, heading ? view.bold : view.font);
        SetTextColor(dc, heading                            ? kHeadingColour
                         : line.kind == StateLine::kPresent ? kPresentColour
                                                            : kAbsentColour);
        RECT area = {heading ? kMargin : kMargin + kIndent, y, client.right - kMargin,
                     y + metrics.tmHeight};
        DrawTextW(dc, line.text.c_str(), -1, &area, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        y += metrics.tmHeight;
    }
    SelectObject(dc, oldFont);
    EndPaint(window, &paint);
}

void Refresh(HWND window)
{
    std::vector<StateLine> state = HandheldState(view.cabinet);
    if (!(state == view.state)) {
        view.state = state;
        InvalidateRect(window, nullptr, FALSE);
    }
}

void Notice(HWND window, UINT message)
{
    view.notices++;
    view.lastNotice = message;
    GetLocalTime(&view.lastNoticeAt);
    StandInLog(L"message %u %llu", message, GetTickCount64());
    InvalidateRect(window, nullptr, FALSE);
}

LRESULT CALLBACK ViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        Refresh(window);
        SetTimer(window, kRefreshTimer, kRefreshMs, nullptr);
        return 0;
    case WM_TIMER:
        Refresh(window);
        return 0;
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the painting fills everything
    case RSN_MSG_RESUMED:
    case RSN_MSG_POWERDOWN:
        Notice(window, message);
        return 0;
    default:
        return StandInWindowProc(window, message, wParam, lParam);
    }
}

HFONT Font(int weight)
{
    HDC screen = GetDC(nullptr);
    int height = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, L"Tahoma");
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    std::wstring error;
    if (argc != 2 || !ReadPackageDescription(argv[1], &view.cabinet, &error)) {
        std::fwprintf(stderr, L"usage: handheld-view DESCRIPTION\n%ls\n", error.c_str());
        return 2;
    }
    view.font = Font(FW_NORMAL);
    view.bold = Font(FW_BOLD);

    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW viewClass = {};
    viewClass.lpfnWndProc = ViewProc;
    viewClass.hInstance = instance;
    viewClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    viewClass.lpszClassName = kViewClass;
    RegisterClassW(&viewClass);
    // The whole of a handheld's screen.
    if (!CreateWindowExW(0, kViewClass, kTitle, WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0, 240, 320,
                         nullptr, nullptr, instance, nullptr)) {
        return 1;
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        DispatchMessageW(&msg);
    }
    DeleteObject(view.font);
    DeleteObject(view.bold);
    return 0;
}
