#include "settings_sheet.h"

#include "resources/resource.h"

const DWORD kSheetFlags = PSH_PROPSHEETPAGE | PSH_USECALLBACK | PSH_HASHELP | PSH_MAXIMIZE;
C_ASSERT(kSheetFlags == 0x2308);  // the Pocket PC sheet: pages, callback, help, maximised

namespace {

void DescribePage(PROPSHEETPAGEW& page, HINSTANCE instance, HWND parent, int templateId,
                  DLGPROC procedure)
{
    page.dwSize = sizeof(page);
    page.dwFlags = 0;
    page.hInstance = instance;
    page.pszTemplate = MAKEINTRESOURCEW(templateId);
    page.pfnDlgProc = procedure;
    page.lParam = reinterpret_cast<LPARAM>(parent);
}

}  // namespace

int RunSettingsSheet(HINSTANCE instance, HWND parent)
{
    InitCommonControls();

    PROPSHEETPAGEW pages[2];
    ZeroMemory(pages, sizeof(pages));
    DescribePage(pages[0], instance, parent, IDD_SETTINGS_PAGE, SettingsPageProc);
    DescribePage(pages[1], instance, parent, IDD_INFO_PAGE, InfoPageProc);

    PROPSHEETHEADERW header;
    ZeroMemory(&header, sizeof(header));
    header.dwSize = sizeof(header);
    header.dwFlags = kSheetFlags;
    header.hwndParent = parent;
    header.hInstance = instance;
    header.pszCaption = L"Tavrin R412 Keyboard";
    header.nPages = 2;
    header.nStartPage = 0;
    header.ppsp = pages;
    header.pfnCallback = SettingsSheetCallback;
    PropertySheetW(&header);
    return 0;
}

int CALLBACK SettingsSheetCallback(HWND sheet, UINT message, LPARAM)
{
    switch (message) {
    case PSCB_INITIALIZED: {
        SHINITDLGINFO init;
        init.dwMask = SHIDIM_FLAGS;
        init.hDlg = sheet;
        init.dwFlags = SHIDIF_DONEBUTTON | SHIDIF_SIPDOWN;
        SHInitDialog(&init);
        return COMCTL32_VERSION;
    }
    case PSCB_GETVERSION:
        return COMCTL32_VERSION;  // asks for the Pocket PC sheet
    default:
        return 0;
    }
}
