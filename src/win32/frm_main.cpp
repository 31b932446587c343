#include "win32/frm_main.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <map>

#include "app/exit_program.h"
#include "os/win32/late_library.h"
#include "base/main_window.h"
#include "base/launch_options.h"
#include "base/stage_list.h"
#include "levels/user_files.h"
#include "win32/dialogs.h"
#include "win32/frm_about.h"
#include "win32/frm_popup.h"

namespace {

using win32::Px;

constexpr const wchar_t* kMainClass = frmMain::kWindowClass;
constexpr const wchar_t* kPanelClass = L"KestrumPanel";
using mainwindow::kClientHeight;
using mainwindow::kClientWidth;
using mainwindow::kListRows;
// Posted to itself once the window shows.
constexpr UINT kSetIcons = WM_APP + 2;

frmMain*& TheForm() {
  static frmMain* form = nullptr;
  return form;
}

// A drop-down list's height includes its open list.
int HeightOf(const mainwindow::Control& c) {
  const bool list =
      c.kind == mainwindow::Kind::kDropDownList || c.kind == mainwindow::Kind::kStageList;
  return c.height + (list ? kListRows * 240 : 0);
}

// The toolbar's pictures and the icons at the left of the option rows, at
// the sizes the artwork was drawn for.
std::vector<const mainwindow::Control*> OfKind(mainwindow::Kind kind) {
  std::vector<const mainwindow::Control*> found;
  for (const auto& c : mainwindow::Controls()) {
    if (c.kind == kind) found.push_back(&c);
  }
  return found;
}

std::map<std::string, HBITMAP>& Pictures() {
  static std::map<std::string, HBITMAP> pictures;
  return pictures;
}
// The artwork for the DPI the window now has; made once for each DPI.
HBITMAP PictureFor(const char* name, int width, int height, UINT dpi) {
  const std::string key = std::string(name) + "@" + std::to_string(dpi >= 144 ? 2 : 1);
  HBITMAP& picture = Pictures()[key];
  if (picture == nullptr) picture = win32::Artwork(name, width, height, dpi);
  return picture;
}

void PaintPanel(HWND panel, HDC dc) {
  frmMain* form = TheForm();
  const UINT dpi = form != nullptr ? form->Dpi() : 96;
  RECT client;
  ::GetClientRect(panel, &client);
  HBRUSH dark = ::CreateSolidBrush(
      RGB(mainwindow::kPanelRed, mainwindow::kPanelGreen, mainwindow::kPanelBlue));
  ::FillRect(dc, &client, dark);
  ::DeleteObject(dark);
  for (const auto* art : OfKind(mainwindow::Kind::kPanel)) {
    win32::DrawArtwork(dc, PictureFor(art->text, art->artWidth, art->artHeight, dpi), client);
  }
  for (const auto* icon : OfKind(mainwindow::Kind::kRowPicture)) {
    const RECT cell{Px(icon->left, dpi), Px(icon->top, dpi), Px(icon->left + icon->width, dpi),
                    Px(icon->top + icon->height, dpi)};
    const int w = Px(icon->artWidth * 15, dpi), h = Px(icon->artHeight * 15, dpi);
    const RECT into{(cell.left + cell.right - w) / 2, (cell.top + cell.bottom - h) / 2,
                    (cell.left + cell.right + w) / 2, (cell.top + cell.bottom + h) / 2};
    win32::DrawArtwork(dc, PictureFor(icon->text, icon->artWidth, icon->artHeight, dpi), into);
  }
}

LRESULT CALLBACK PanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
  frmMain* form = TheForm();
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(panel, &paint);
      PaintPanel(panel, dc);
      ::EndPaint(panel, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintPanel(panel, reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      // The controls on the panel are the main window's.
      if (form != nullptr) return form->Handle(form->hwnd, message, wParam, lParam);
      break;
    default:
      break;
  }
  return ::DefWindowProcW(panel, message, wParam, lParam);
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  frmMain* form = TheForm();
  if (form != nullptr && (form->hwnd == window || form->hwnd == nullptr)) {
    return form->Handle(window, message, wParam, lParam);
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

// Backspace in the stage list, and files dropped on the start button, come
// to the control itself.
LRESULT CALLBACK ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR) {
  frmMain* form = TheForm();
  const mainwindow::Control* role = mainwindow::WithId(::GetDlgCtrlID(control));
  if (form != nullptr && role != nullptr && role->kind == mainwindow::Kind::kStageList &&
      message == WM_CHAR) {
    form->cboStages_KeyPress(static_cast<int>(wParam));
    if (wParam == VK_BACK) return 0;
  }
  if (form != nullptr && role != nullptr && role->takesDrops && message == WM_DROPFILES) {
    HDROP drop = reinterpret_cast<HDROP>(wParam);
    std::vector<std::string> files;
    // The shell's library is loaded by the first drop, not at start-up.
    using platform::system::LateFunction;
    const auto query = LateFunction<decltype(::DragQueryFileW)>(L"shell32.dll", "DragQueryFileW");
    const auto finish = LateFunction<decltype(::DragFinish)>(L"shell32.dll", "DragFinish");
    if (query == nullptr || finish == nullptr) return 0;
    const UINT count = query(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
      const UINT n = query(drop, i, nullptr, 0);
      std::wstring name(n + 1, L'\0');
      query(drop, i, name.data(), n + 1);
      name.resize(n);
      files.push_back(win32::Utf8(name));
    }
    finish(drop);
    form->cmdStart_OLEDragDrop(files);
    return 0;
  }
  return ::DefSubclassProc(control, message, wParam, lParam);
}

void RegisterClasses() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW main{};
  main.cbSize = sizeof main;
  main.lpfnWndProc = MainProc;
  main.hInstance = instance;
  main.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  main.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  main.lpszClassName = kMainClass;
  ::RegisterClassExW(&main);
  WNDCLASSEXW panel = main;
  panel.lpfnWndProc = PanelProc;
  panel.hbrBackground = nullptr;
  panel.lpszClassName = kPanelClass;
  ::RegisterClassExW(&panel);
}

std::string Entry(HWND list, int index) {
  const auto n = ::SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (n < 0) return {};
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  ::SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(n));
  return win32::Utf8(text);
}

struct MonitorSearch {
  std::vector<MainWindowPort::Area> areas;
  UINT dpi;
};
BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  auto* search = reinterpret_cast<MonitorSearch*>(data);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!::GetMonitorInfoW(monitor, &info)) return TRUE;
  const RECT& r = info.rcMonitor;
  const MainWindowPort::Area area{
      win32::Twips(r.left, search->dpi), win32::Twips(r.top, search->dpi),
      win32::Twips(r.right - r.left, search->dpi), win32::Twips(r.bottom - r.top, search->dpi)};
  const bool primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
  search->areas.insert(primary ? search->areas.begin() : search->areas.end(), area);
  return TRUE;
}

}  // namespace

frmMain::frmMain() {
  TheForm() = this;
  mainform::SetWindow(this);
  session.releaseForms = [] {
    TheForm() = nullptr;
    frmPopup::Release();
  };
  Create();
  stages.changed = [this] { ShowStages(); };
  ShowStages();
}

frmMain::~frmMain() {
  stages.changed = nullptr;
  if (mainform::Window() == this) mainform::SetWindow(nullptr);
  if (hwnd != nullptr) ::DestroyWindow(hwnd);
  if (TheForm() == this) TheForm() = nullptr;
}

void frmMain::Create() {
  RegisterClasses();
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  // A fixed single frame with a minimise button and no maximise button.
  constexpr DWORD kStyle =
      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  // Born at its size and its controls in place: under Wine each move of a
  // window costs a trip to the server, and start-up would pay for them twice.
  dpi_ = win32::DpiOf(nullptr);
  RECT frame{0, 0, Px(kClientWidth, dpi_), Px(kClientHeight, dpi_)};
  ::AdjustWindowRectEx(&frame, kStyle, FALSE, WS_EX_CONTROLPARENT);
  hwnd = ::CreateWindowExW(
      WS_EX_CONTROLPARENT, kMainClass, win32::Wide(mainwindow::kCaption).c_str(), kStyle, 0, 0,
      frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
  const UINT created = dpi_;
  dpi_ = win32::DpiOf(hwnd);
  using mainwindow::Kind;
  for (const mainwindow::Control& c : mainwindow::Controls()) {
    const mainwindow::Control* parentRow = *c.parent != '\0' ? mainwindow::Find(c.parent) : nullptr;
    HWND parent = parentRow != nullptr ? Control(parentRow->name) : hwnd;
    const wchar_t* windowClass = L"BUTTON";
    std::string text;
    DWORD style = 0, exStyle = 0;
    switch (c.kind) {
      case Kind::kPictureButton:
        style = BS_OWNERDRAW | WS_TABSTOP;
        break;
      case Kind::kHiddenButton:
        // Beyond the right edge of the window: never seen, but its access key presses it.
        text = c.text;
        style = BS_PUSHBUTTON;
        break;
      case Kind::kPanel:
        windowClass = kPanelClass;
        exStyle = WS_EX_CONTROLPARENT;
        break;
      case Kind::kRowPicture:
        break;  // drawn by the panel itself
      case Kind::kCheckBox:
        style = BS_3STATE | WS_TABSTOP;
        break;
      case Kind::kClickLabel:
      case Kind::kLabel:
        windowClass = L"STATIC";
        text = c.text;
        style = SS_LEFT | (c.kind == Kind::kClickLabel ? SS_NOTIFY : 0);
        break;
      case Kind::kDropDownList:
      case Kind::kStageList:
        windowClass = L"COMBOBOX";
        style = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
        break;
      case Kind::kDisplay:
        windowClass = L"EDIT";
        text = c.text;
        style = ES_CENTER | ES_READONLY | WS_DISABLED;
        exStyle = WS_EX_CLIENTEDGE;
        break;
      case Kind::kScrollBar:
        windowClass = L"SCROLLBAR";
        style = SBS_HORZ | WS_TABSTOP;
        break;
    }
    HWND made = nullptr;
    if (c.kind != Kind::kRowPicture) {
      made = win32::Child(parent, windowClass, text, style, c.left, c.top, c.width, HeightOf(c),
                          mainwindow::IdOf(c), dpi_, exStyle);
    }
    controls_.push_back(made);
    if (c.kind == Kind::kDropDownList) {
      for (const auto& entry : mainwindow::EntriesOf(c)) {
        ::SendMessageW(made, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win32::Wide(entry).c_str()));
      }
      // No entry is selected until start-up copies the stored choice in.
      ::SendMessageW(made, CB_SETCURSEL, WPARAM(-1), 0);
    }
    if (c.kind == Kind::kScrollBar) {
      SCROLLINFO range{sizeof range, SIF_RANGE | SIF_POS | SIF_PAGE, 0, kMostFakers, 0, 0, 0};
      ::SetScrollInfo(made, SB_CTL, &range, TRUE);
      fakers_ = made;
    }
    if (c.kind == Kind::kPictureButton && firstButton_ == nullptr) firstButton_ = made;
    if (c.kind == Kind::kPanel) panel_ = made;
    if (c.kind == Kind::kDisplay) fakersShown_ = made;
    if (c.kind == Kind::kStageList) stages_ = made;
    if (c.command == mainwindow::Command::kText) textButton_ = made;
    if (c.takesDrops) dropTarget_ = made;
    // Hidden until the edition is known to have fake players with a mind.
    if (const auto* f = mainwindow::FieldOf(c.option); f != nullptr && f->hiddenAtFirst) {
      ::ShowWindow(made, SW_HIDE);
    }
  }
  ::EnableWindow(textButton_, FALSE);
  ::SetWindowSubclass(stages_, ControlProc, 1, 0);
  ::SetWindowSubclass(dropTarget_, ControlProc, 1, 0);
  // What DragAcceptFiles does, without loading the shell's library for it.
  ::SetWindowLongPtrW(dropTarget_, GWL_EXSTYLE,
                      ::GetWindowLongPtrW(dropTarget_, GWL_EXSTYLE) | WS_EX_ACCEPTFILES);

  if (dpi_ != created) Layout(dpi_);
  SetFonts();
}

void frmMain::Layout(UINT dpi) {
  dpi_ = dpi;
  RECT frame{0, 0, Px(kClientWidth, dpi), Px(kClientHeight, dpi)};
  ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_EXSTYLE)));
  ::SetWindowPos(hwnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (const mainwindow::Control& c : mainwindow::Controls()) {
    HWND control = Control(c.name);
    if (control == nullptr) continue;
    ::MoveWindow(control, Px(c.left, dpi), Px(c.top, dpi), Px(c.width, dpi), Px(HeightOf(c), dpi),
                 FALSE);
  }
  SetFonts();
  ::InvalidateRect(hwnd, nullptr, TRUE);
}

void frmMain::SetFonts() {
  const auto font = [this](HWND control, HFONT f) {
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(f), ::IsWindowVisible(hwnd));
  };
  using mainwindow::Kind;
  for (const mainwindow::Control& c : mainwindow::Controls()) {
    switch (c.kind) {
      case Kind::kClickLabel:
      case Kind::kLabel:
      case Kind::kDropDownList:
      case Kind::kHiddenButton:
        font(Control(c.name), win32::Verdana(8.25, dpi_));
        break;
      case Kind::kDisplay:
        font(Control(c.name), win32::Verdana(9, dpi_));
        break;
      case Kind::kStageList:
        font(Control(c.name), win32::CourierNew(9.75, dpi_));
        break;
      default:
        break;
    }
  }
}

HWND frmMain::ToolTips() {
  // Made when first needed, at the latest once the window shows: no one
  // points at a control before that, and it saves start-up a window.
  if (tips_ != nullptr) return tips_;
  tips_ = win32::MakeToolTips(hwnd);
  for (const mainwindow::Control& c : mainwindow::Controls()) {
    if (*c.toolTip != '\0' && Control(c.name) != nullptr)
      win32::SetToolTip(tips_, Control(c.name), c.toolTip);
  }
  if (!toolTipText_.empty()) win32::SetToolTip(tips_, textButton_, toolTipText_);
  for (const auto& [name, why] : whyNot_) win32::SetToolTip(tips_, Control(name), why);
  return tips_;
}

// ---------------------------------------------------------------- start-up, shutdown

bool frmMain::Form_Load() {
  return mainform::StartUp(*this);
}

void frmMain::Form_Unload() {
  ExitProgram();
}

void frmMain::ShowOption(const mainwindow::Control& control, int value) {
  // Each control that changes raises its handler, as a form's controls do.
  HWND w = Control(control.name);
  switch (control.kind) {
    case mainwindow::Kind::kCheckBox:
      ::SendMessageW(w, BM_SETCHECK, static_cast<WPARAM>(value), 0);
      Option_Change(control);
      break;
    case mainwindow::Kind::kDropDownList:
      ::SendMessageW(w, CB_SETCURSEL, static_cast<WPARAM>(value), 0);
      Option_Change(control);
      break;
    case mainwindow::Kind::kScrollBar:
      ::SetScrollPos(w, SB_CTL, value, TRUE);
      hsbFakePlayers_Change();
      break;
    default:
      break;
  }
}

void frmMain::EnableOption(const mainwindow::Control& control, bool enabled,
                           const std::string& whyNot) {
  HWND w = Control(control.name);
  ::EnableWindow(w, enabled ? TRUE : FALSE);
  // The label that names it goes with it.
  for (const mainwindow::Control& c : mainwindow::Controls()) {
    if (std::string_view(c.buddy) == control.name) {
      ::EnableWindow(Control(c.name), enabled ? TRUE : FALSE);
    }
  }
  if (enabled) {
    whyNot_.erase(control.name);
  } else {
    whyNot_[control.name] = whyNot;
  }
  if (tips_ != nullptr) win32::SetToolTip(tips_, w, enabled ? control.toolTip : whyNot);
}

HWND frmMain::Control(std::string_view name) const {
  const mainwindow::Control* c = mainwindow::Find(name);
  const auto at =
      c != nullptr ? static_cast<std::size_t>(mainwindow::IdOf(*c) - 100) : controls_.size();
  return at < controls_.size() ? controls_[at] : nullptr;
}

void frmMain::ShowWindow() {
  if (stagesToShow_) FillStages();
  // The icons and the tool tips come once the window is up: the icons'
  // pictures are the first the system's image codecs decode, which takes a
  // moment to load.
  ::PostMessageW(hwnd, kSetIcons, 0, 0);
  ::ShowWindow(hwnd, SW_SHOW);
  // The system's image codecs (five libraries under COM) load on a thread of
  // their own once the window is there, while its frame and controls draw;
  // its pictures follow as soon as they are decoded.
  std::vector<win32::ArtworkSize> artwork{{"icon", 32, 32}, {"icon", 16, 16}};
  for (const auto& c : mainwindow::Controls()) {
    if (c.artWidth > 0) artwork.push_back({c.text, c.artWidth, c.artHeight});
  }
  win32::PrefetchArtwork(artwork, dpi_);
  ::UpdateWindow(hwnd);
  ::SetFocus(firstButton_);
}

// ---------------------------------------------------------------- options

int frmMain::Value(HWND checkBox) {
  return static_cast<int>(::SendMessageW(checkBox, BM_GETCHECK, 0, 0));
}

void frmMain::Option_Change(const mainwindow::Control& c) {
  const bool isList = c.kind == mainwindow::Kind::kDropDownList;
  const auto value = isList ? ::SendMessageW(Control(c.name), CB_GETCURSEL, 0, 0)
                            : ::SendMessageW(Control(c.name), BM_GETCHECK, 0, 0);
  mainwindow::OptionChanged(c.option, static_cast<int>(value));
}
void frmMain::hsbFakePlayers_Scroll(int position) {
  // The number follows the thumb while it is dragged.
  ::SetWindowTextW(fakersShown_, std::to_wstring(position).c_str());
}
void frmMain::hsbFakePlayers_Change() {
  // Set as text even when it reads the same: the box's change tells the
  // record the slider's value.
  ::SetWindowTextW(fakersShown_, std::to_wstring(::GetScrollPos(fakers_, SB_CTL)).c_str());
  txtFakePlayers_Change();
}
void frmMain::txtFakePlayers_Change() {
  mainwindow::OptionChanged(mainwindow::Option::kFakers, ::GetScrollPos(fakers_, SB_CTL));
}

// ---------------------------------------------------------------- the sequences

void frmMain::cmdStart_OLEDragDrop(const std::vector<std::string>& fileNames) {
  mainform::DropFiles(*this, fileNames);
}
void frmMain::cboStages_KeyPress(int keyAscii) {
  mainform::StagesKeyTyped(*this, keyAscii);
}

void frmMain::ShowStages() {
  // Start-up appends the levels one by one before the window shows: the
  // list is filled once, when it does.
  if (!::IsWindowVisible(hwnd)) {
    stagesToShow_ = true;
    return;
  }
  FillStages();
}

void frmMain::FillStages() {
  // Only what differs is redone.
  stagesToShow_ = false;
  const int shown = static_cast<int>(::SendMessageW(stages_, CB_GETCOUNT, 0, 0));
  const int same = stages.SameFromTheFirst(shown, [this](int i) { return Entry(stages_, i); });
  for (int i = shown - 1; i >= same; --i) ::SendMessageW(stages_, CB_DELETESTRING, i, 0);
  for (int i = same; i < stages.ListCount(); ++i) {
    ::SendMessageW(stages_, CB_ADDSTRING, 0,
                   reinterpret_cast<LPARAM>(win32::Wide(stages.List(i)).c_str()));
  }
  ::SendMessageW(stages_, CB_SETCURSEL, static_cast<WPARAM>(stages.ListIndex()), 0);
}

bool frmMain::Command(HWND control, int code) {
  using mainwindow::Kind;
  const mainwindow::Control* c = mainwindow::WithId(::GetDlgCtrlID(control));
  if (c == nullptr || Control(c->name) != control) return false;
  // Each button runs what the core's table says it does.
  if (c->command != mainwindow::Command::kNone) {
    if (code == BN_CLICKED) mainform::Run(*this, c->command);
    return true;
  }
  switch (c->kind) {
    case Kind::kCheckBox:
      if (code == BN_CLICKED) {
        // A click gives checked or unchecked; grayed comes from stored values only.
        ::SendMessageW(control, BM_SETCHECK, Value(control) == 1 ? BST_UNCHECKED : BST_CHECKED, 0);
        Option_Change(*c);
      }
      return true;
    case Kind::kClickLabel:
      // A label that names a check box toggles it.
      if (code == STN_CLICKED) {
        const mainwindow::Control* box = mainwindow::Find(c->buddy);
        HWND boxWindow = Control(box->name);
        if (!::IsWindowEnabled(boxWindow)) return true;
        ::SendMessageW(boxWindow, BM_SETCHECK, Value(boxWindow) == 1 ? BST_UNCHECKED : BST_CHECKED,
                       0);
        Option_Change(*box);
      }
      return true;
    case Kind::kDropDownList:
      if (code == CBN_SELCHANGE) Option_Change(*c);
      return true;
    case Kind::kStageList:
      if (code == CBN_SELCHANGE) {
        mainform::StageSelected(*this,
                                static_cast<int>(::SendMessageW(control, CB_GETCURSEL, 0, 0)));
      }
      return true;
    case Kind::kDisplay:
      if (code == EN_CHANGE) txtFakePlayers_Change();
      return true;
    default:
      return false;
  }
}

LRESULT frmMain::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (lParam != 0 && Command(reinterpret_cast<HWND>(lParam), HIWORD(wParam))) return 0;
      break;
    case WM_HSCROLL:
      if (reinterpret_cast<HWND>(lParam) == fakers_) {
        int position = ::GetScrollPos(fakers_, SB_CTL);
        switch (LOWORD(wParam)) {
          case SB_LINELEFT:
          case SB_PAGELEFT:
            --position;
            break;
          case SB_LINERIGHT:
          case SB_PAGERIGHT:
            ++position;
            break;
          case SB_LEFT:
            position = 0;
            break;
          case SB_RIGHT:
            position = kMostFakers;
            break;
          case SB_THUMBTRACK:
            hsbFakePlayers_Scroll(HIWORD(wParam));
            return 0;
          case SB_THUMBPOSITION:
            position = HIWORD(wParam);
            break;
          default:
            return 0;
        }
        position = std::clamp(position, 0, kMostFakers);
        if (position != ::GetScrollPos(fakers_, SB_CTL) || LOWORD(wParam) == SB_THUMBPOSITION) {
          ::SetScrollPos(fakers_, SB_CTL, position, TRUE);
          hsbFakePlayers_Change();
        }
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      // White labels and bare check boxes over the panel's picture.
      HWND control = reinterpret_cast<HWND>(lParam);
      if (::GetParent(control) == panel_ && control != fakersShown_) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetBkMode(dc, TRANSPARENT);
        using namespace mainwindow;
        ::SetTextColor(dc, ::IsWindowEnabled(control)
                               ? RGB(kTextRed, kTextGreen, kTextBlue)
                               : RGB(kDisabledRed, kDisabledGreen, kDisabledBlue));
        return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
      }
      break;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      for (const mainwindow::Control& p : mainwindow::Controls()) {
        if (p.kind != mainwindow::Kind::kPictureButton || Control(p.name) != item->hwndItem) {
          continue;
        }
        RECT r = item->rcItem;
        UINT state = DFCS_BUTTONPUSH;
        if (item->itemState & ODS_SELECTED) state |= DFCS_PUSHED;
        ::DrawFrameControl(item->hDC, &r, DFC_BUTTON, state);
        const int w = Px(p.artWidth * 15, dpi_), h = Px(p.artHeight * 15, dpi_);
        const int shift = (item->itemState & ODS_SELECTED) ? 1 : 0;
        RECT into{(r.left + r.right - w) / 2 + shift, (r.top + r.bottom - h) / 2 + shift, 0, 0};
        into.right = into.left + w;
        into.bottom = into.top + h;
        win32::DrawArtwork(item->hDC, PictureFor(p.text, p.artWidth, p.artHeight, dpi_), into);
        if (item->itemState & ODS_DISABLED) {
          // A disabled picture is seen through a veil of the button's face.
          HBRUSH veil = ::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
          BLENDFUNCTION half{AC_SRC_OVER, 0, 160, 0};
          HDC source = ::CreateCompatibleDC(item->hDC);
          HBITMAP one = ::CreateCompatibleBitmap(item->hDC, 1, 1);
          HGDIOBJ old = ::SelectObject(source, one);
          RECT pixel{0, 0, 1, 1};
          ::FillRect(source, &pixel, veil);
          ::GdiAlphaBlend(item->hDC, into.left, into.top, w, h, source, 0, 0, 1, 1, half);
          ::SelectObject(source, old);
          ::DeleteObject(one);
          ::DeleteDC(source);
          ::DeleteObject(veil);
        }
        if (item->itemState & ODS_FOCUS) {
          // A clear mark: the dotted focus rectangle, two pixels in.
          RECT focus = r;
          ::InflateRect(&focus, -3, -3);
          ::DrawFocusRect(item->hDC, &focus);
        }
        return TRUE;
      }
      break;
    }
    case WM_TIMER: {
      ::KillTimer(window, wParam);
      const auto waiting = after_.find(wParam);
      if (waiting == after_.end()) break;
      const std::function<void()> action = std::move(waiting->second);
      after_.erase(waiting);
      action();
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !::IsIconic(window) &&
          (mainform::WaitingForReturn(*this) || mainform::TaskToBringForward(*this))) {
        mainform::CameBack(*this, true);
      }
      break;
    case WM_SIZE:
      if (wParam == SIZE_RESTORED && mainform::WaitingForReturn(*this))
        mainform::CameBack(*this, false);
      break;
    case WM_DPICHANGED: {
      Layout(HIWORD(wParam));
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      ::SetWindowPos(window, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case kSetIcons: {
      ToolTips();
      HICON icon = win32::ArtworkIcon("icon", 32, 32, dpi_);
      HICON small = win32::ArtworkIcon("icon", 16, 16, dpi_);
      ::SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
      ::SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
      return 0;
    }
    case frmPopup::kItemChosen:
      frmPopup::Chosen(static_cast<int>(wParam));
      return 0;
    case WM_CLOSE:
      Form_Unload();
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

// ---------------------------------------------------------------- MainWindowPort

std::string frmMain::Caption() const {
  return win32::TextOf(hwnd);
}
void frmMain::SetCaption(const std::string& caption) {
  ::SetWindowTextW(hwnd, win32::Wide(caption).c_str());
}
void frmMain::ShowArtInt() {
  ::ShowWindow(Control(mainwindow::ControlOf(mainwindow::Option::kArtInt)->name), SW_SHOW);
}
void frmMain::SetTextButtonEnabled(bool enabled) {
  ::EnableWindow(textButton_, enabled ? TRUE : FALSE);
}
void frmMain::SetTextButtonToolTip(const std::string& tip) {
  toolTipText_ = tip;
  if (tips_ != nullptr) win32::SetToolTip(tips_, textButton_, tip);
}
std::string frmMain::ToolTipOf(HWND control) {
  wchar_t text[512] = {};
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = ::GetParent(control);
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = text;
  if (!::SendMessageW(ToolTips(), TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool))) return {};
  return win32::Utf8(text);
}

double frmMain::Left() const {
  RECT r;
  ::GetWindowRect(hwnd, &r);
  return win32::Twips(r.left, dpi_);
}
double frmMain::Top() const {
  RECT r;
  ::GetWindowRect(hwnd, &r);
  return win32::Twips(r.top, dpi_);
}
double frmMain::Width() const {
  RECT r;
  ::GetWindowRect(hwnd, &r);
  return win32::Twips(r.right - r.left, dpi_);
}
namespace {
// Any stored position is applied, however far off; only beyond what a pixel
// coordinate can hold is it cut, instead of overflowing.
int Pixels(double twips, UINT dpi) {
  constexpr double kFarthest = 1 << 24;
  return static_cast<int>(std::clamp(twips * dpi / 1440.0, -kFarthest, kFarthest));
}
}  // namespace
void frmMain::SetLeft(double twips) {
  RECT r;
  ::GetWindowRect(hwnd, &r);
  ::SetWindowPos(hwnd, nullptr, Pixels(twips, dpi_), r.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
void frmMain::SetTop(double twips) {
  RECT r;
  ::GetWindowRect(hwnd, &r);
  ::SetWindowPos(hwnd, nullptr, r.left, Pixels(twips, dpi_), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
double frmMain::ScreenWidth() const {
  return win32::Twips(::GetSystemMetrics(SM_CXSCREEN), dpi_);
}
double frmMain::ScreenHeight() const {
  return win32::Twips(::GetSystemMetrics(SM_CYSCREEN), dpi_);
}
std::vector<MainWindowPort::Area> frmMain::Screens() const {
  MonitorSearch search{{}, dpi_};
  ::EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&search));
  return search.areas;
}

// ---------------------------------------------------------------- MainFormPort

void frmMain::ShowMessageBox(const Message& message) {
  win32::dialogs::MsgBox(hwnd, message.text, message.title, static_cast<UINT>(message.style));
}

void frmMain::TakeFocus() {
  ::SetForegroundWindow(hwnd);
  HWND focus = ::GetFocus();
  if (focus == nullptr || (focus != hwnd && !::IsChild(hwnd, focus))) ::SetFocus(firstButton_);
}

void frmMain::Minimize() {
  ::ShowWindow(hwnd, SW_MINIMIZE);
}

void frmMain::Restore(bool leaveActivationAlone) {
  ::ShowWindow(hwnd, leaveActivationAlone ? SW_SHOWNOACTIVATE : SW_RESTORE);
}

std::string frmMain::AskForFile(const OpenDialogSettings& settings, const std::string& hostFolder) {
  return win32::dialogs::ChooseFileToOpen(hwnd, settings, hostFolder);
}

// First contact asks before the window is shown: a dialog owned by a hidden
// window would have no button on the task bar.
std::string frmMain::AskForFolder(const std::string& title, const std::string& hostFolder) {
  return win32::dialogs::ChooseFolder(::IsWindowVisible(hwnd) ? hwnd : nullptr, title, hostFolder);
}

int frmMain::AskFromList(const std::string& title, const std::string& prompt,
                         const std::vector<std::string>& items,
                         const std::vector<std::string>& greyed) {
  return win32::dialogs::ChooseFromList(::IsWindowVisible(hwnd) ? hwnd : nullptr, title, prompt,
                                        items, greyed);
}

std::string frmMain::AskForText(const std::string& title, const std::string& prompt,
                                const std::string& text) {
  return win32::dialogs::AskText(::IsWindowVisible(hwnd) ? hwnd : nullptr, title, prompt, text);
}

void frmMain::ShowPopupMenu(int x, int y) {
  // The point is in pixels at 96 dots per inch: just below the start button.
  frmPopup::Instance().ShowPopup(hwnd, MulDiv(x, static_cast<int>(dpi_), 96),
                                 MulDiv(y, static_cast<int>(dpi_), 96));
}

void frmMain::After(int milliseconds, std::function<void()> action) {
  const UINT_PTR id = nextTimer_++;
  after_[id] = std::move(action);
  ::SetTimer(hwnd, id, static_cast<UINT>(milliseconds), nullptr);
}

void frmMain::ShowAbout() {
  frmAbout::ShowModal(hwnd,
                      [this](const std::string& target) { mainform::OpenDocument(*this, target); });
}

int RunMessageLoop(frmMain& window) {
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (window.hwnd != nullptr && ::IsDialogMessageW(window.hwnd, &message)) continue;
    if (frmAbout::Current() != nullptr && frmAbout::Current()->HandlesDialogMessage(&message))
      continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
