#include "Design.h"

#include <commctrl.h>

#include "resource.h"

namespace dnl::win32 {
namespace {

constexpr DWORD kLabel = SS_LEFTNOWORDWRAP | SS_NOPREFIX;
constexpr DWORD kMemo = WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
constexpr DWORD kList = WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN;
constexpr DWORD kCheckBox = WS_TABSTOP | BS_AUTOCHECKBOX;

}  // namespace

// The memo starts with one empty line; the program only ever appends to it.
const ControlDesign kControls[9] = {
    {IDC_Label1,
     WC_STATICW,
     L"Select Module:",
     kLabel,
     0,
     {8, 16, 98, 15},
     false,
     CaptionGrowth::ToRight,
     98},
    {IDC_Label2,
     WC_STATICW,
     L"Misc Record:",
     kLabel,
     0,
     {128, 16, 84, 15},
     false,
     CaptionGrowth::ToRight,
     84},
    {IDC_Panel1, WC_STATICW, L"", SS_SUNKEN, 0, {0, 0, 440, 2}, true},
    {IDC_mmStatus, WC_EDITW, L"\r\n", kMemo, WS_EX_CLIENTEDGE, {0, 93, 440, 209}, true},
    {IDC_cbModule, WC_COMBOBOXW, L"", kList, 0, {8, 32, 113, 23}, false},
    {IDC_btnConvert,
     WC_BUTTONW,
     L"Execute",
     WS_TABSTOP | WS_DISABLED | BS_PUSHBUTTON,
     0,
     {360, 32, 75, 25},
     false},
    {IDC_cbBackupDnl,
     WC_BUTTONW,
     L"backup original",
     kCheckBox | BS_LEFTTEXT,
     0,
     {312, 8, 121, 17},
     false,
     CaptionGrowth::ToLeft,
     105},
    {IDC_cbMiscRec, WC_COMBOBOXW, L"", kList, 0, {128, 32, 169, 23}, false},
    {IDC_cbGBR,
     WC_BUTTONW,
     L"GBR",
     kCheckBox | WS_DISABLED,
     0,
     {144, 64, 57, 17},
     false,
     CaptionGrowth::ToRight,
     30},
};

}  // namespace dnl::win32
