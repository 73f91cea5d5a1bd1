#pragma once

#include <array>
#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>

#include "Anchoring.h"

namespace dnl {

// The main window as designed, for every toolkit to draw: its texts, the file dialog, the menus
// and the controls. Positions and sizes are pixels of the client area at 96 DPI; texts are UTF-8.

enum class ControlKind { Label, Rule, Memo, DropDownList, PushButton, CheckBox };

// The font a control shows its text in: the window's own, a larger one of the same face, or the
// memo's Japanese one.
enum class FontRole { Window, Large, Memo };

// The side a control grows to where its caption needs more width than designed (in a toolkit's
// font, or at another DPI, where character widths go by whole pixels and do not scale as the rest
// does): away from a check box's box, which stays where designed.
enum class CaptionGrowth { None, ToRight, ToLeft };

// What sets a control apart from a plain one: enabled, unchecked, taking no focus.
enum ControlTrait : unsigned {
    kTabStop = 1U << 0U,
    kDisabled = 1U << 1U,  // at first
    kChecked = 1U << 2U,   // at first
    kAnchoredLeftRight = 1U << 3U,
    kCaptionLeft = 1U << 4U,  // a check box's caption to the left of its box
    kHandCursor = 1U << 5U,
};

struct ControlDesign {
    std::string_view name;
    ControlKind kind;
    std::string_view caption;
    Rect bounds;  // a drop-down list's height is that of its closed field
    unsigned traits = 0;
    FontRole font = FontRole::Window;
    CaptionGrowth captionGrowth = CaptionGrowth::None;
    int captionWidth = 0;  // in its font; the rest of the width (a box, a gap) is not the caption's
    std::string_view tip = {};
    // A label: the control it names, for screen readers, and the letter of its caption that, with
    // Alt, takes the focus there (none where the caption has no letter the window does not use).
    std::string_view names = {};
    char accessKey = 0;

    constexpr bool Has(ControlTrait trait) const { return (traits & trait) != 0; }
};

// The window.
inline constexpr std::string_view kWindowName = "frmMain";
inline constexpr std::string_view kWindowClass = "TfrmMain";
inline constexpr std::string_view kWindowTitle = "dnl File transfer Tool";
inline constexpr Rect kWindowPlacement{547, 263, 442, 305};  // the size is the client area's

// File > Open's dialog: its one filter's label (with an ideographic space before the parenthesis)
// and pattern, its default extension and the file name it starts with.
inline constexpr std::string_view kOpenDialogName = "OpenDialog";
inline constexpr std::string_view kFilterLabel = "DNLファイル\u3000(*.dnl)";
inline constexpr std::string_view kFilterPattern = "*.dnl";
inline constexpr std::string_view kDefaultExtension = "dnl";
inline constexpr std::string_view kInitialFileName = "*.dnl";

// The menu bar's menus, each followed by its items; a caption of "-" makes a separator.
struct MenuEntry {
    std::string_view name;
    std::string_view caption;
    bool opensMenu = false;
};

inline constexpr std::string_view kMenuBarName = "MainMenu";
// Choosing About does nothing.
// clang-format off
inline constexpr MenuEntry kMenuEntries[] = {
    {"mnuFile", "File(&F)", true}, {"mnuFileOpen", "Open(&O)..."}, {"N1", "-"},
    {"mnuFileExit", "Exit(&X)"},
    {"mnuHelp", "Help(&H)", true}, {"mnuHelpAbout", "About Varnok..."}};
// clang-format on

// The controls in tab order. Each control: name, kind, caption, bounds, traits, font, caption
// growth, caption width, tip, and for a label the control it names and its access key. The menu
// bar takes Alt+F and Alt+H.
// clang-format off
inline constexpr ControlDesign kWindowControls[] = {
    {"Label1", ControlKind::Label, "Select Module:", {8, 16, 98, 15}, 0, FontRole::Window,
     CaptionGrowth::ToRight, 98, {}, "cbModule", 'M'},
    {"Label2", ControlKind::Label, "Misc Record:", {128, 16, 84, 15}, 0, FontRole::Window,
     CaptionGrowth::ToRight, 84, {}, "cbMiscRec", 'R'},
    {"Panel1", ControlKind::Rule, "", {0, 0, 440, 2}, kAnchoredLeftRight},
    // Starts holding one empty line; the program only ever appends to it.
    {"mmStatus", ControlKind::Memo, "", {0, 93, 440, 209}, kTabStop | kAnchoredLeftRight,
     FontRole::Memo},
    {"cbModule", ControlKind::DropDownList, "", {8, 32, 113, 23}, kTabStop, FontRole::Window,
     CaptionGrowth::None, 0, "どのモジュール用のDNLファイルにするか指定します"},
    {"btnConvert", ControlKind::PushButton, "Execute", {360, 32, 75, 25},
     kTabStop | kDisabled | kHandCursor},
    {"cbBackupDnl", ControlKind::CheckBox, "backup original", {312, 8, 121, 17},
     kTabStop | kChecked | kCaptionLeft, FontRole::Window, CaptionGrowth::ToLeft, 105},
    {"cbMiscRec", ControlKind::DropDownList, "", {128, 32, 169, 23}, kTabStop},
    {"cbGBR", ControlKind::CheckBox, "GBR", {144, 64, 57, 17}, kTabStop | kDisabled,
     FontRole::Large, CaptionGrowth::ToRight, 30},
};
// clang-format on

// What screen readers call the status memo.
inline constexpr std::string_view kMemoAccessibleName = "Status";

// The font of `role`, in pixels at 96 DPI: "Courier New" at 12 and 16, "MS Gothic" at 12.
constexpr int FontPixels(FontRole role) {
    return role == FontRole::Large ? 16 : 12;
}

// Where the control named `name` comes in kWindowControls; their count when none is.
constexpr std::size_t ControlIndex(std::string_view name) {
    std::size_t index = 0;
    while (index < std::size(kWindowControls) && kWindowControls[index].name != name) {
        ++index;
    }
    return index;
}

// The order the controls are made in: the tab order, but with each label directly before the
// control it names, which is where screen readers look for a control's name.
constexpr std::array<std::size_t, std::size(kWindowControls)> CreationOrder() {
    std::array<std::size_t, std::size(kWindowControls)> order{};
    std::size_t next = 0;
    for (std::size_t index = 0; index < order.size(); ++index) {
        const ControlDesign& design = kWindowControls[index];
        if (!design.names.empty()) {
            continue;
        }
        for (std::size_t label = 0; label < order.size(); ++label) {
            if (kWindowControls[label].names == design.name) {
                order[next++] = label;
            }
        }
        order[next++] = index;
    }
    return order;
}

// A label's caption with "&" before its access key, as toolkits mark one; the caption itself when
// it has none.
inline std::string CaptionWithAccessKey(const ControlDesign& design) {
    std::string caption(design.caption);
    const std::size_t key =
        design.accessKey == 0 ? std::string::npos : caption.find(design.accessKey);
    return key == std::string::npos ? caption : caption.insert(key, "&");
}

// Logged lines go below the status memo's last line, which is normally the empty one the last
// logged line left. When the user typed text there, a line break goes before the logged lines, so
// that the text keeps a line of its own.
constexpr bool LineBreakBeforeLoggedLines(bool lastLineEmpty) {
    return !lastLineEmpty;
}

}  // namespace dnl
