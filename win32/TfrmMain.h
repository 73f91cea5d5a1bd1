#pragma once

#include <windows.h>

#include <shellapi.h>

#include <cstddef>
#include <memory>
#include <string>

#include "ConverterState.h"
#include "FileChoice.h"
#include "StatusLog.h"
#include "StopRequest.h"

namespace dnl::win32 {

class RunHold;
class StatusMemo;
class WindowFonts;

// The tool's one window, of class "TfrmMain", on the Win32 controls. It keeps the user's choices
// and draws what the core decides; it reports every step of a backup or a conversion in its
// status memo and shows the hourglass while a conversion runs. A backup and run hold the window:
// input made meanwhile is dropped, and the memo shows the run's progress. It lives as long as its
// window.
class TfrmMain final : public StatusLog, public BusyCursor {
public:
    // Creates the window, not yet shown; nullptr when Windows refuses.
    static HWND Create(HINSTANCE instance);

    // The window object behind `window`, or nullptr.
    static TfrmMain* FromHandle(HWND window);

    ~TfrmMain() override;
    TfrmMain(const TfrmMain&) = delete;
    TfrmMain& operator=(const TfrmMain&) = delete;

    // Applies a module choice; `index` is the module selector's index, -1 when it shows no item.
    void SelectModule(int index);

    const ConverterState& State() const { return m_state; }

    // Takes a file named from outside the window (on its command line; UTF-8) as File > Open
    // takes a chosen one.
    void OpenNamedFile(const std::string& path);

    // Whether a close request came while Execute ran; the window closes once Execute returns.
    bool CloseRequestedDuringRun() const { return m_closeRequested; }

    void AddLine(const std::string& text) override;
    void ShowBusy() override;
    void ShowNormal() override;

private:
    explicit TfrmMain(HWND window);
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void OnCreate();
    void CreateControls();
    void CreateTooltip();
    void AddTip(HWND list, std::wstring tip);
    HWND Control(std::size_t index) const;  // the design's control at `index`
    void ApplyFonts();
    void PlaceControls();
    void SizeWindowForDpi();
    void KeepInWorkArea();
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    bool OnSetCursor(HWND under, WORD hitTest);
    LRESULT OnCloseRequest(UINT message, WPARAM wParam, LPARAM lParam);
    void RequestCloseDuringRun();
    void OnCommand(int id, WORD code);
    void OnDropFiles(HDROP drop);

    void cbModuleChange();
    void cbMiscRecChange();
    void cbGBRClick();
    void mnuFileOpenClick();
    void ShowChosenFile(const ChosenFileShown& shown);
    void mnuFileExitClick();
    void btnConvertClick();

    HWND m_window;
    UINT m_dpi = 96;
    std::unique_ptr<WindowFonts> m_fonts;
    bool m_busy = false;
    ConverterState m_state;
    std::unique_ptr<StatusMemo> m_memo;
    RunHold* m_hold = nullptr;      // while a backup and run hold the window
    StopRequest* m_stop = nullptr;  // the run's, while it goes
    bool m_closeRequested = false;

    // The controls the window works with, under the names their identifiers carry (IDC_cbModule and
    // so on); the design makes them all.
    HWND mmStatus = nullptr;
    HWND cbModule = nullptr;
    HWND btnConvert = nullptr;
    HWND cbBackupDnl = nullptr;
    HWND cbMiscRec = nullptr;
    HWND cbGBR = nullptr;
    HWND m_tooltip = nullptr;
};

// Hands `message` to the window's keyboard navigation (Tab, arrow keys) or else to its window
// procedure, as the message loop does.
void Dispatch(HWND window, MSG& message);

// The message loop: runs until the window is closed, and returns the exit code.
int RunMessageLoop(HWND window);

}  // namespace dnl::win32
