#include "win32/frm_about.h"

#include <commctrl.h>
#include <windowsx.h>

#include "tools/about.h"
#include "tools/author_links.h"

namespace {

using win32::Px;

constexpr const wchar_t* kAboutClass = L"KestrumAbout";
constexpr const wchar_t* kPictureClass = L"KestrumPicture";
const COLORREF kDarkBlue = RGB(0, 0, 192);
const COLORREF kLightBlue = RGB(0, 128, 255);

frmAbout*& Shown() {
  static frmAbout* current = nullptr;
  return current;
}

// A picture child: the artwork it shows is named in its window text
// ("logo 150 48"), drawn centred.
LRESULT CALLBACK PictureProc(HWND picture, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(picture, &paint);
    char name[32] = {};
    int w = 0, h = 0;
    std::sscanf(win32::TextOf(picture).c_str(), "%31s %d %d", name, &w, &h);
    const UINT dpi = win32::DpiOf(picture);
    HBITMAP bitmap = win32::Artwork(name, w, h, dpi);
    RECT client;
    ::GetClientRect(picture, &client);
    const int pw = Px(w * 15, dpi), ph = Px(h * 15, dpi);
    const RECT into{(client.right - pw) / 2, (client.bottom - ph) / 2, (client.right + pw) / 2,
                    (client.bottom + ph) / 2};
    win32::DrawArtwork(dc, bitmap, into);
    ::DeleteObject(bitmap);
    ::EndPaint(picture, &paint);
    return 0;
  }
  if (message == WM_ERASEBKGND) return 1;
  if (message == WM_NCHITTEST) return HTCLIENT;
  return ::DefWindowProcW(picture, message, wParam, lParam);
}

LRESULT CALLBACK AboutProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  frmAbout* about = Shown();
  if (about != nullptr && (about->hwnd == window || about->hwnd == nullptr)) {
    return about->Handle(window, message, wParam, lParam);
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK ControlMouse(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR) {
  frmAbout* about = Shown();
  if (about != nullptr && about->Mouse(control, message, lParam)) return 0;
  if (about != nullptr && about->Key(control, message, wParam)) {
    if (message != WM_GETDLGCODE) return 0;
    return ::DefSubclassProc(control, message, wParam, lParam) | DLGC_WANTMESSAGE;
  }
  if (about != nullptr && control == about->txtMessage && message == WM_GETDLGCODE) {
    // The message is read-only: Tab leaves it for the links, as in a dialog.
    return ::DefSubclassProc(control, message, wParam, lParam) & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB);
  }
  if (message == WM_SETFOCUS || message == WM_KILLFOCUS) ::InvalidateRect(control, nullptr, TRUE);
  if (message == WM_PAINT && ::GetFocus() == control &&
      ::GetWindowLongPtrW(control, GWL_STYLE) & WS_TABSTOP) {
    // A link with the focus wears the system's focus mark around its text.
    const LRESULT painted = ::DefSubclassProc(control, message, wParam, lParam);
    HDC dc = ::GetDC(control);
    HGDIOBJ old =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    const std::wstring text = win32::Wide(win32::TextOf(control));
    RECT mark{};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &mark,
                DT_CALCRECT | DT_SINGLELINE);
    ::InflateRect(&mark, 1, 0);
    ::DrawFocusRect(dc, &mark);
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    return painted;
  }
  return ::DefSubclassProc(control, message, wParam, lParam);
}

void RegisterClasses() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  WNDCLASSEXW about{};
  about.cbSize = sizeof about;
  about.lpfnWndProc = AboutProc;
  about.hInstance = ::GetModuleHandleW(nullptr);
  about.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  about.lpszClassName = kAboutClass;
  ::RegisterClassExW(&about);
  WNDCLASSEXW picture = about;
  picture.lpfnWndProc = PictureProc;
  picture.lpszClassName = kPictureClass;
  ::RegisterClassExW(&picture);
}

HCURSOR HandCursor(UINT dpi) {
  static HCURSOR hand = win32::ArtworkIcon("hand", 32, 32, dpi, true, 9, 1);
  return hand != nullptr ? hand : ::LoadCursorW(nullptr, IDC_HAND);
}

}  // namespace

frmAbout* frmAbout::Current() {
  return Shown();
}

void frmAbout::ShowModal(HWND owner, about::Opener open) {
  if (Shown() != nullptr) return;  // already up: it is modal
  frmAbout about(owner);
  about.opener = std::move(open);
  ::EnableWindow(owner, FALSE);
  ::ShowWindow(about.hwnd, SW_SHOW);
  MSG message;
  while (::IsWindow(about.hwnd) && ::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (about.HandlesDialogMessage(&message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  ::EnableWindow(owner, TRUE);
  ::SetActiveWindow(owner);
}

frmAbout::frmAbout(HWND owner) {
  RegisterClasses();
  Shown() = this;
  // A fixed dialog frame without minimise and maximise buttons.
  constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  hwnd =
      ::CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, kAboutClass,
                        win32::Wide(about::kCaption).c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                        100, 100, owner, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  dpi_ = win32::DpiOf(hwnd);
  RECT frame{0, 0, Px(about::kClientWidth, dpi_), Px(about::kClientHeight, dpi_)};
  ::AdjustWindowRectEx(&frame, kStyle, FALSE, WS_EX_DLGMODALFRAME);
  ::SetWindowPos(hwnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // Where the core puts each control, and the picture it shows.
  const auto child = [this](const char* name, const wchar_t* windowClass, const std::string& text,
                            DWORD style, DWORD exStyle = 0) {
    const auto& p = about::PlaceOf(name);
    return win32::Child(hwnd, windowClass, text, style, p.left, p.top, p.width, p.height, 0, dpi_,
                        exStyle);
  };
  const auto picture = [&](const char* name) {
    const auto& p = about::PlaceOf(name);
    return child(name, kPictureClass,
                 std::string(p.picture) + " " + std::to_string(p.pictureWidth) + " " +
                     std::to_string(p.pictureHeight),
                 0);
  };
  txtMessage = child("txtMessage", L"EDIT", about::kMessage,
                     ES_MULTILINE | ES_READONLY | WS_TABSTOP, WS_EX_CLIENTEDGE);
  picTolvane = picture("picTolvane");
  lblStatus = child("lblStatus", L"STATIC", "", SS_LEFT | SS_NOTIFY);
  lblVersion = child("lblVersion", L"STATIC", about::kVersion, SS_LEFT | SS_NOTIFY);
  imgHomePage = picture("imgHomePage");
  imgEMail = picture("imgEMail");
  // The links by the keyboard too: Tab reaches them, Return or Space opens.
  lblEMail = child("lblEMail", L"STATIC", kAuthorEMail, SS_LEFT | SS_NOTIFY | WS_TABSTOP);
  lblHomePage = child("lblHomePage", L"STATIC", kAuthorHomePage, SS_LEFT | SS_NOTIFY | WS_TABSTOP);
  lblTitle = child("lblTitle", L"STATIC", about::kTitle, SS_LEFT | SS_NOTIFY);
  const auto font = [](HWND control, HFONT f) {
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(f), TRUE);
  };
  for (HWND c : {txtMessage, lblStatus, lblVersion}) font(c, win32::Verdana(8.25, dpi_));
  for (HWND c : {lblEMail, lblHomePage}) font(c, win32::Verdana(8.25, dpi_, false, true));
  font(lblTitle, win32::Verdana(9.75, dpi_, true));
  for (HWND c : {txtMessage, picTolvane, lblStatus, lblVersion, imgHomePage, imgEMail, lblEMail,
                 lblHomePage, lblTitle}) {
    ::SetWindowSubclass(c, ControlMouse, 1, 0);
  }
}

frmAbout::~frmAbout() {
  if (::IsWindow(hwnd)) ::DestroyWindow(hwnd);
  if (Shown() == this) Shown() = nullptr;
}

bool frmAbout::HandlesDialogMessage(MSG* message) {
  return ::IsWindow(hwnd) && ::IsDialogMessageW(hwnd, message);
}

COLORREF frmAbout::LinkColour(HWND link) const {
  return link == lblEMail ? emailColour_ : homePageColour_;
}

std::string frmAbout::StatusText() const {
  return win32::TextOf(lblStatus);
}
void frmAbout::SetStatusText(const std::string& text) {
  ::SetWindowTextW(lblStatus, win32::Wide(text).c_str());
}
void frmAbout::ShowPressed(bool email, bool pressed) {
  (email ? emailColour_ : homePageColour_) = pressed ? kPressedColour : kLinkColour;
  ::InvalidateRect(email ? lblEMail : lblHomePage, nullptr, TRUE);
}
std::string frmAbout::LinkText(bool email) const {
  return win32::TextOf(email ? lblEMail : lblHomePage);
}

about::Part frmAbout::PartOf(HWND control) const {
  if (control == imgEMail) return about::Part::kEMailIcon;
  if (control == lblEMail) return about::Part::kEMailLabel;
  if (control == imgHomePage) return about::Part::kHomePageIcon;
  if (control == lblHomePage) return about::Part::kHomePageLabel;
  return about::Part::kElsewhere;
}

bool frmAbout::Mouse(HWND control, UINT message, LPARAM lParam) {
  const about::Part part = PartOf(control);
  const bool link = part != about::Part::kElsewhere;
  switch (message) {
    case WM_MOUSEMOVE:
      links_.MouseMove(part);
      return false;
    case WM_SETCURSOR:
      if (!link) return false;
      ::SetCursor(HandCursor(dpi_));
      return true;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (!link) return false;
      if (message == WM_LBUTTONDOWN) ::SetCapture(control);
      links_.MouseDown(part, message == WM_LBUTTONDOWN);
      return true;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      if (!link) return false;
      if (message == WM_LBUTTONUP) ::ReleaseCapture();
      RECT inside;
      ::GetClientRect(control, &inside);
      const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      links_.MouseUp(part, message == WM_LBUTTONUP, ::PtInRect(&inside, at) != 0);
      return true;
    }
    default:
      return false;
  }
}

bool frmAbout::Key(HWND control, UINT message, WPARAM wParam) {
  if (control != lblEMail && control != lblHomePage) return false;
  const bool opens = wParam == VK_RETURN || wParam == VK_SPACE;
  switch (message) {
    case WM_GETDLGCODE:
      // Return and Space come to the link, not to the dialog's default button.
      return opens;
    case WM_KEYDOWN:
      if (!opens) return false;
      links_.Click(PartOf(control));
      return true;
    case WM_CHAR:
      return wParam == L'\r' || wParam == L' ';
    default:
      return false;
  }
}

LRESULT frmAbout::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(hwnd, &paint);
      RECT client;
      ::GetClientRect(hwnd, &client);
      HBITMAP background = win32::Artwork("about-background", 259, 208, dpi_);
      win32::DrawArtwork(dc, background, client);
      ::DeleteObject(background);
      ::EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_MOUSEMOVE:
      links_.MouseMove(about::Part::kElsewhere);
      return 0;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      HWND control = reinterpret_cast<HWND>(lParam);
      static HBRUSH dark = ::CreateSolidBrush(kDarkBlue);
      static HBRUSH light = ::CreateSolidBrush(kLightBlue);
      static HBRUSH grey = ::CreateSolidBrush(RGB(192, 192, 192));
      if (control == lblTitle) {
        ::SetTextColor(dc, RGB(255, 255, 255));
        ::SetBkColor(dc, kLightBlue);
        return reinterpret_cast<LRESULT>(light);
      }
      if (control == lblVersion || control == lblEMail || control == lblHomePage) {
        ::SetTextColor(dc, control == lblVersion ? RGB(255, 255, 255) : LinkColour(control));
        ::SetBkColor(dc, kDarkBlue);
        return reinterpret_cast<LRESULT>(dark);
      }
      if (control == lblStatus) {
        ::SetTextColor(dc, RGB(0, 0, 0));
        ::SetBkColor(dc, RGB(192, 192, 192));
        return reinterpret_cast<LRESULT>(grey);
      }
      break;
    }
    case WM_CLOSE:
      ::DestroyWindow(window);
      return 0;
    default:
      break;
  }
  // While the window is being made, its handle is not kept yet.
  return ::DefWindowProcW(window, message, wParam, lParam);
}
