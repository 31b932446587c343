// A bare Win32 window of Kestrum's size (249 x 209 pixels of client area),
// titled "Floor", with four drop-down lists as Kestrum has (three options and
// the stage list): what such a window costs to start under Wine, to measure
// Kestrum's start-up against.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace {
LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) ::PostQuitMessage(0);
  return ::DefWindowProcW(window, message, wParam, lParam);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSW type{};
  type.lpfnWndProc = Proc;
  type.hInstance = instance;
  type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  type.lpszClassName = L"Floor";
  ::RegisterClassW(&type);
  constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT frame{0, 0, 249, 209};
  ::AdjustWindowRect(&frame, kStyle, FALSE);
  HWND window = ::CreateWindowW(L"Floor", L"Floor", kStyle, 0, 0, frame.right - frame.left,
                                frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
  for (int i = 0; i < 4; ++i) {
    HWND list = ::CreateWindowW(L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL,
                                107, 66 + 22 * i, 137, 21 * 9, window, nullptr, instance, nullptr);
    ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Let's Rock"));
    ::SendMessageW(list, CB_SETCURSEL, 0, 0);
  }
  ::ShowWindow(window, SW_SHOW);
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
  return 0;
}
