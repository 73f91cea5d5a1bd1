#include "TfrmMain.h"

#include <commctrl.h>
#include <shellapi.h>

#include <new>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "Accessible.h"
#include "CompletingCombo.h"
#include "Design.h"
#include "ErrorBox.h"
#include "ExecuteChoice.h"
#include "FileChoice.h"
#include "Fonts.h"
#include "MemoControl.h"
#include "OpenDialog.h"
#include "Placement.h"
#include "RunHold.h"
#include "StatusMemo.h"
#include "WideText.h"
#include "resource.h"

namespace dnl::win32 {
namespace {

constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW;
constexpr int kDroppedListHeight = 200;  // at 96 DPI, below the closed field
const Rect& kPlacement = kWindowPlacement;
const std::span<const ControlDesign> kControls = kWindowControls;

bool IsDropDownList(const ControlDesign& design) {
    return design.kind == ControlKind::DropDownList;
}

// The design of the window's control `control`, or nullptr for another window.
const ControlDesign* DesignOf(HWND control) {
    const auto index = static_cast<std::size_t>(GetDlgCtrlID(control) - ControlId(0));
    return index < kControls.size() ? &kControls[index] : nullptr;
}

// Makes a drop-down list's closed field `height` pixels high, whatever its font and frame. The
// field's height is set, not the frame's, and Wine adds to what it is given; a second round
// corrects that.
void FitClosedHeight(HWND list, int height) {
    auto field = SendMessageW(list, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    for (int round = 0; round < 3; ++round) {
        RECT frame{};
        GetWindowRect(list, &frame);
        if (frame.bottom - frame.top == height) {
            return;
        }
        field += height - (frame.bottom - frame.top);
        SendMessageW(list, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    }
}

// The width of `control`'s caption in its font.
int CaptionWidth(HWND control) {
    const FontContext context(control,
                              reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    return WidthOf(context, WindowText(control));
}

// `bounds`, scaled to `dpi`, widened where the caption needs more than its designed share.
Rect FittingCaption(HWND control, const ControlDesign& design, UINT dpi, Rect bounds) {
    if (design.captionGrowth == CaptionGrowth::None) {
        return bounds;
    }
    const int besideCaption = Scaled(design.bounds.width - design.captionWidth, dpi);
    const int missing = besideCaption + CaptionWidth(control) - bounds.width;
    if (missing > 0) {
        bounds.width += missing;
        bounds.left -= design.captionGrowth == CaptionGrowth::ToLeft ? missing : 0;
    }
    return bounds;
}

bool IsChecked(HWND box) {
    return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Gives `slot` the value `value` for as long as it lives, and then its old value back.
template <typename T>
class ScopedValue {
public:
    ScopedValue(T& slot, T value) : m_slot(slot), m_old(std::exchange(slot, value)) {}
    ~ScopedValue() { m_slot = m_old; }
    ScopedValue(const ScopedValue&) = delete;
    ScopedValue& operator=(const ScopedValue&) = delete;

private:
    T& m_slot;
    T m_old;
};

// Files dropped during a run and not yet delivered are refused, as input made then is dropped.
void RefuseQueuedDrops(HWND window) {
    MSG drop;
    while (PeekMessageW(&drop, window, WM_DROPFILES, WM_DROPFILES, PM_REMOVE) != FALSE) {
        DragFinish(reinterpret_cast<HDROP>(drop.wParam));
    }
}

}  // namespace

HWND TfrmMain::Create(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_Application));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    const std::wstring className = Wide(kWindowClass);
    windowClass.lpszClassName = className.c_str();
    if ((RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) ||
        !RegisterMemoClass(instance)) {
        return nullptr;
    }
    HMENU menu = CreateMainMenu();
    HWND window =
        CreateWindowExW(0, className.c_str(), Wide(kWindowTitle).c_str(), kWindowStyle,
                        kPlacement.left, kPlacement.top, 0, 0, nullptr, menu, instance, nullptr);
    if (window == nullptr) {
        DestroyMenu(menu);
    }
    return window;
}

HWND TfrmMain::Control(std::size_t index) const {
    return GetDlgItem(m_window, ControlId(index));
}

TfrmMain* TfrmMain::FromHandle(HWND window) {
    return reinterpret_cast<TfrmMain*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

TfrmMain::TfrmMain(HWND window) : m_window(window) {}

TfrmMain::~TfrmMain() = default;

LRESULT CALLBACK TfrmMain::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* created = new (std::nothrow) TfrmMain(window);
        if (created == nullptr) {
            return FALSE;
        }
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    TfrmMain* self = FromHandle(window);
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        delete self;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    LRESULT result = 0;
    const bool handled =
        ShowingErrors(window, [&] { result = self->HandleMessage(message, wParam, lParam); });
    return !handled && message == WM_CREATE ? -1 : result;
}

LRESULT TfrmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_SIZE:
            PlaceControls();
            return 0;
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_SETCURSOR:
            if (OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam))) {
                return TRUE;
            }
            break;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_DROPFILES:
            OnDropFiles(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_CLOSE:
        case WM_QUERYENDSESSION:
        case WM_ENDSESSION:
            return OnCloseRequest(message, wParam, lParam);
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

void TfrmMain::OnCreate() {
    DragAcceptFiles(m_window, TRUE);  // over any control: none of them takes files
    m_dpi = GetDpiForWindow(m_window);
    m_fonts = std::make_unique<WindowFonts>(m_dpi);
    CreateControls();
    CreateTooltip();
    ApplyFonts();
    for (const std::string_view item : ModuleItems()) {
        SendMessageW(cbModule, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
    }
    SendMessageW(cbModule, CB_SETCURSEL, 0, 0);
    SelectModule(0);
    SizeWindowForDpi();
    KeepInWorkArea();
}

void TfrmMain::CreateControls() {
    auto* const instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(m_window, GWLP_HINSTANCE));
    for (const std::size_t index : CreationOrder()) {
        const ControlClass drawn = ClassFor(kControls[index]);
        HWND control = CreateWindowExW(
            drawn.exStyle, drawn.windowClass, drawn.text.c_str(),
            WS_CHILD | WS_VISIBLE | drawn.style, 0, 0, 0, 0, m_window,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(index))), instance, nullptr);
        if (kControls[index].Has(kChecked)) {
            SendMessageW(control, BM_SETCHECK, BST_CHECKED, 0);
        }
    }
    mmStatus = GetDlgItem(m_window, IDC_mmStatus);
    cbModule = GetDlgItem(m_window, IDC_cbModule);
    btnConvert = GetDlgItem(m_window, IDC_btnConvert);
    cbBackupDnl = GetDlgItem(m_window, IDC_cbBackupDnl);
    cbMiscRec = GetDlgItem(m_window, IDC_cbMiscRec);
    cbGBR = GetDlgItem(m_window, IDC_cbGBR);

    m_memo = std::make_unique<StatusMemo>(mmStatus);
    MakeCompleting(cbModule);
    MakeCompleting(cbMiscRec);
    for (const ControlDesign& design : kControls) {
        if (!design.names.empty()) {
            NameByLabel(Control(ControlIndex(design.names)), design);
        }
    }
}

void TfrmMain::CreateTooltip() {
    auto* const instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(m_window, GWLP_HINSTANCE));
    m_tooltip =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, m_window, nullptr, instance, nullptr);
    for (std::size_t index = 0; index < kControls.size(); ++index) {
        if (!kControls[index].tip.empty()) {
            AddTip(Control(index), Wide(kControls[index].tip));
        }
    }
}

// Tips go on drop-down lists. A list's edit field covers most of it, so the field carries the tip
// too.
void TfrmMain::AddTip(HWND list, std::wstring tip) {
    COMBOBOXINFO parts{};
    parts.cbSize = sizeof parts;
    GetComboBoxInfo(list, &parts);
    for (HWND tool : {list, parts.hwndItem}) {
        TTTOOLINFOW info{};
        info.cbSize = sizeof info;
        info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        info.hwnd = m_window;
        info.uId = reinterpret_cast<UINT_PTR>(tool);
        info.lpszText = tip.data();
        SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
}

void TfrmMain::ApplyFonts() {
    for (std::size_t index = 0; index < kControls.size(); ++index) {
        SendMessageW(Control(index), WM_SETFONT,
                     reinterpret_cast<WPARAM>(m_fonts->For(kControls[index].font)), TRUE);
    }
    SendMessageW(m_tooltip, WM_SETFONT, reinterpret_cast<WPARAM>(m_fonts->Tip()), TRUE);
    PlaceControls();
}

void TfrmMain::PlaceControls() {
    RECT client{};
    GetClientRect(m_window, &client);
    const Size designedClient{Scaled(kPlacement.width, m_dpi), Scaled(kPlacement.height, m_dpi)};
    for (std::size_t index = 0; index < kControls.size(); ++index) {
        const ControlDesign& design = kControls[index];
        HWND control = Control(index);
        Rect bounds = FittingCaption(control, design, m_dpi, Scaled(design.bounds, m_dpi));
        if (design.Has(kAnchoredLeftRight)) {
            bounds = AnchoredLeftRight(bounds, designedClient, {client.right, client.bottom});
        }
        const int dropped = IsDropDownList(design) ? Scaled(kDroppedListHeight, m_dpi) : 0;
        MoveWindow(control, bounds.left, bounds.top, bounds.width, bounds.height + dropped, TRUE);
        if (IsDropDownList(design)) {
            FitClosedHeight(control, bounds.height);
        }
    }
}

// Gives the window the designed client area at its DPI: the frame and the menu bar come on top,
// as tall as this system draws them.
void TfrmMain::SizeWindowForDpi() {
    RECT frame{0, 0, Scaled(kPlacement.width, m_dpi), Scaled(kPlacement.height, m_dpi)};
    AdjustWindowRectExForDpi(&frame, kWindowStyle, TRUE, 0, m_dpi);
    for (int attempt = 0; attempt < 2; ++attempt) {
        SetWindowPos(m_window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        RECT client{};
        GetClientRect(m_window, &client);
        frame.right += Scaled(kPlacement.width, m_dpi) - client.right;
        frame.bottom += Scaled(kPlacement.height, m_dpi) - client.bottom;
    }
}

// The window opens where designed, unless part of it would be off the working area of the
// monitor there (at a large scale on a small screen, say); then it is moved just enough to fit.
void TfrmMain::KeepInWorkArea() {
    RECT frame{};
    GetWindowRect(m_window, &frame);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromRect(&frame, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const Rect placed =
        FitInWorkArea({frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top},
                      {work.left, work.top, work.right - work.left, work.bottom - work.top});
    SetWindowPos(m_window, nullptr, placed.left, placed.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmMain::OnDpiChanged(UINT dpi, const RECT& suggested) {
    m_dpi = dpi;
    auto fonts = std::make_unique<WindowFonts>(dpi);
    m_fonts.swap(fonts);
    ApplyFonts();
    SetWindowPos(m_window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TfrmMain::OnSetCursor(HWND under, WORD hitTest) {
    if (m_busy) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return true;
    }
    const ControlDesign* design = DesignOf(under);
    if (design != nullptr && design->Has(kHandCursor) && hitTest == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return true;
    }
    return false;
}

// A close request while a run holds the window is kept for when Execute returns: the run still
// uses the window. Until then the session waits for the window to close.
LRESULT TfrmMain::OnCloseRequest(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_hold == nullptr) {
        return DefWindowProcW(m_window, message, wParam, lParam);
    }
    if (message != WM_ENDSESSION || wParam != FALSE) {
        RequestCloseDuringRun();
    }
    return 0;  // FALSE to WM_QUERYENDSESSION: the session waits for the window to close
}

void TfrmMain::RequestCloseDuringRun() {
    m_closeRequested = true;
    if (m_stop != nullptr) {
        m_stop->Request();
    }
}

void TfrmMain::OnCommand(int id, WORD code) {
    // Commands come from the user's input, which a run drops; one that comes another way (an
    // accessibility tool, say) while a run holds the window does nothing either.
    if (m_hold != nullptr) {
        return;
    }
    switch (id) {
        case IDC_cbModule:
            if (code == CBN_SELCHANGE) {
                cbModuleChange();
            }
            break;
        case IDC_cbMiscRec:
            if (code == CBN_SELCHANGE) {
                cbMiscRecChange();
            }
            break;
        case IDC_cbGBR:
            if (code == BN_CLICKED) {
                cbGBRClick();
            }
            break;
        case IDC_btnConvert:
            if (code == BN_CLICKED) {
                btnConvertClick();
            }
            break;
        case IDM_mnuFileOpen:
            mnuFileOpenClick();
            break;
        case IDM_mnuFileExit:
            mnuFileExitClick();
            break;
        default:
            break;  // Help > About Varnok... does nothing
    }
}

void TfrmMain::SelectModule(int index) {
    const ModuleSelection shown = dnl::SelectModule(m_state, index, IsChecked(cbGBR));
    ClearItemsKeepingText(cbMiscRec);
    for (const std::string_view item : shown.miscItems) {
        SendMessageW(cbMiscRec, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
    }
    if (!shown.miscItems.empty()) {
        SendMessageW(cbMiscRec, CB_SETCURSEL, 0, 0);
    }
    EnableWindow(cbMiscRec, shown.miscEnabled ? TRUE : FALSE);
    EnableWindow(cbGBR, shown.gbrEnabled ? TRUE : FALSE);
}

void TfrmMain::AddLine(const std::string& text) {
    m_memo->AddLine(text);
    // While a run holds the window, the hold says when the memo catches up: an edit for each line
    // would cost more than the run.
    if (m_hold != nullptr) {
        m_hold->Step();
    } else {
        m_memo->ShowAddedLines();
    }
}

// The memo catches up before the cursor changes, so that both tell the same moment of the run.
void TfrmMain::ShowBusy() {
    m_memo->ShowAddedLines();
    m_busy = true;
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
}

void TfrmMain::ShowNormal() {
    m_memo->ShowAddedLines();
    m_busy = false;
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

void TfrmMain::cbModuleChange() {
    SelectModule(static_cast<int>(SendMessageW(cbModule, CB_GETCURSEL, 0, 0)));
}

void TfrmMain::cbMiscRecChange() {
    SelectMisc(m_state, static_cast<int>(SendMessageW(cbMiscRec, CB_GETCURSEL, 0, 0)));
}

void TfrmMain::cbGBRClick() {
    m_state.gbr = IsChecked(cbGBR);
}

void TfrmMain::mnuFileOpenClick() {
    const std::optional<std::string> chosen = AskForDnlFile(m_window);
    if (!chosen) {
        return;
    }
    ShowChosenFile(AcceptChosenFile(m_state, *chosen));
}

void TfrmMain::OpenNamedFile(const std::string& path) {
    ShowChosenFile(AcceptNamedFile(m_state, path, *this));
}

// Files dropped on the window: the first is taken as File > Open takes a chosen one. A drop while
// a run holds the window is refused, as the run drops all input.
void TfrmMain::OnDropFiles(HDROP drop) {
    std::vector<std::string> files;
    const UINT count = m_hold == nullptr ? DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) : 0;
    for (UINT index = 0; index < count; ++index) {
        std::wstring name(DragQueryFileW(drop, index, nullptr, 0), L'\0');
        DragQueryFileW(drop, index, name.data(), static_cast<UINT>(name.size() + 1));
        files.push_back(Utf8FromWide(name));
    }
    DragFinish(drop);
    if (const std::optional<ChosenFileShown> shown = AcceptDroppedFiles(m_state, files, *this)) {
        ShowChosenFile(*shown);
    }
}

void TfrmMain::ShowChosenFile(const ChosenFileShown& shown) {
    EnableWindow(btnConvert, shown.executeEnabled ? TRUE : FALSE);
    SetWindowTextW(m_window, Wide(WindowTitle(m_state)).c_str());
}

void TfrmMain::mnuFileExitClick() {
    PostMessageW(m_window, WM_CLOSE, 0, 0);
}

void TfrmMain::btnConvertClick() {
    {
        StopRequest stop;
        RunHold hold(m_window, [this] { m_memo->ShowAddedLines(); });
        const ScopedValue holding(m_hold, &hold);
        const ScopedValue stopping(m_stop, &stop);
        ExecuteChoice(m_state, IsChecked(cbBackupDnl), *this, *this, &stop);
    }
    RefuseQueuedDrops(m_window);
    if (m_closeRequested) {
        PostMessageW(m_window, WM_CLOSE, 0, 0);
    }
}

void Dispatch(HWND window, MSG& message) {
    if (IsWindow(window) != FALSE && IsDialogMessageW(window, &message) != FALSE) {
        return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

int RunMessageLoop(HWND window) {
    MSG message{};
    BOOL got = FALSE;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        Dispatch(window, message);
    }
    return got == 0 ? static_cast<int>(message.wParam) : 1;
}

}  // namespace dnl::win32
