#include "Design.h"

#include <commctrl.h>

#include "MemoControl.h"
#include "WideText.h"

namespace dnl::win32 {
namespace {

// The identifiers the tests and the resource script share follow the design.
constexpr int IdOf(std::string_view name) {
    return ControlId(ControlIndex(name));
}
static_assert(IdOf("Label1") == IDC_Label1 && IdOf("Label2") == IDC_Label2 &&
              IdOf("Panel1") == IDC_Panel1 && IdOf("mmStatus") == IDC_mmStatus &&
              IdOf("cbModule") == IDC_cbModule && IdOf("btnConvert") == IDC_btnConvert &&
              IdOf("cbBackupDnl") == IDC_cbBackupDnl && IdOf("cbMiscRec") == IDC_cbMiscRec &&
              IdOf("cbGBR") == IDC_cbGBR && std::size(kWindowControls) == 9);

// By ControlKind: Label, Rule, Memo, DropDownList, PushButton, CheckBox.
const ControlClass kClassOfKind[] = {{WC_STATICW, SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, {}},
                                     {WC_STATICW, SS_SUNKEN, 0, {}},
                                     {kMemoClass, WS_VSCROLL, WS_EX_CLIENTEDGE, {}},
                                     {WC_COMBOBOXW, WS_VSCROLL | CBS_DROPDOWN, 0, {}},
                                     {WC_BUTTONW, BS_PUSHBUTTON, 0, {}},
                                     {WC_BUTTONW, BS_AUTOCHECKBOX, 0, {}}};

}  // namespace

ControlClass ClassFor(const ControlDesign& design) {
    ControlClass drawn = kClassOfKind[static_cast<std::size_t>(design.kind)];
    drawn.style |= (design.Has(kTabStop) ? WS_TABSTOP : 0U) |
                   (design.Has(kDisabled) ? WS_DISABLED : 0U) |
                   (design.Has(kCaptionLeft) ? BS_LEFTTEXT : 0U);
    // The memo starts with one empty line.
    drawn.text = design.kind == ControlKind::Memo ? L"\r\n" : Wide(design.caption);
    return drawn;
}

HMENU CreateMainMenu() {
    HMENU bar = CreateMenu();
    HMENU menu = nullptr;
    UINT_PTR id = IDM_mnuFileOpen;
    for (const MenuEntry& entry : kMenuEntries) {
        const std::wstring caption = Wide(entry.caption);
        if (entry.opensMenu) {
            menu = CreatePopupMenu();
            AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), caption.c_str());
        } else if (entry.caption == "-") {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuW(menu, MF_STRING, id++, caption.c_str());
        }
    }
    return bar;
}

}  // namespace dnl::win32
