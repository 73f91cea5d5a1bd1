#include "MemoControl.h"

#include "MemoView.h"

namespace dnl::win32 {
namespace {

MemoView* ViewOf(HWND window) {
    return reinterpret_cast<MemoView*>(GetWindowLongPtrW(window, 0));
}

LRESULT CALLBACK MemoWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        const wchar_t* text = create->lpszName != nullptr ? create->lpszName : L"";
        SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(new MemoView(window, text)));
    }
    MemoView* view = ViewOf(window);
    if (view == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, 0, 0);
        delete view;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return view->Handle(message, wParam, lParam);
}

}  // namespace

bool RegisterMemoClass(HINSTANCE instance) {
    WNDCLASSEXW memoClass{};
    memoClass.cbSize = sizeof memoClass;
    memoClass.style = CS_DBLCLKS;
    memoClass.lpfnWndProc = MemoWindowProc;
    memoClass.cbWndExtra = sizeof(LONG_PTR);  // the view
    memoClass.hInstance = instance;
    memoClass.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
    memoClass.lpszClassName = kMemoClass;
    return RegisterClassExW(&memoClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace dnl::win32
