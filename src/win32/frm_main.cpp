#include "win32/frm_main.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <map>

#include "app/exit_program.h"
#include "base/main_window.h"
#include "base/launch_options.h"
#include "levels/stage_list.h"
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

// The form's controls by their names in the core's table of the window,
// which says where each goes, in twips, relative to its parent.
struct Named {
  HWND frmMain::*control;
  const char* name;
};
constexpr Named kControls[] = {
    {&frmMain::cmdStart, "cmdStart"},
    {&frmMain::cmdOpen, "cmdOpen"},
    {&frmMain::cmdText, "cmdText"},
    {&frmMain::cmdLaunch, "cmdLaunch"},
    {&frmMain::cmdBuild, "cmdBuild"},
    {&frmMain::cmdEditArt, "cmdEditArt"},
    {&frmMain::cmdAbout, "cmdAbout"},
    {&frmMain::cmdDebug, "cmdDebug"},
    {&frmMain::picMain, "picMain"},
    {&frmMain::chkRecord, "chkRecord"},
    {&frmMain::chkMonsters, "chkMonsters"},
    {&frmMain::chkArtInt, "chkArtInt"},
    {&frmMain::lblRecord, "lblRecord"},
    {&frmMain::lblMonsters, "lblMonsters"},
    {&frmMain::lblSound, "lblSound"},
    {&frmMain::lblSkill, "lblSkill"},
    {&frmMain::lblRespawn, "lblRespawn"},
    {&frmMain::lblFakePlayers, "lblFakePlayers"},
    {&frmMain::cboSound, "cboSound"},
    {&frmMain::cboSkills, "cboSkills"},
    {&frmMain::cboRespawn, "cboRespawn"},
    {&frmMain::txtFakePlayers, "txtFakePlayers"},
    {&frmMain::hsbFakePlayers, "hsbFakePlayers"},
    {&frmMain::cboStages, "cboStages"},
};
const mainwindow::Control& SpecOf(HWND frmMain::*control) {
  for (const Named& n : kControls) {
    if (n.control == control) return mainwindow::Find(n.name);
  }
  return mainwindow::Controls().front();
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
  const auto& art = mainwindow::Find("picMain");
  win32::DrawArtwork(dc, PictureFor(art.text, art.artWidth, art.artHeight, dpi), client);
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
  if (form != nullptr && control == form->cboStages && message == WM_CHAR) {
    form->cboStages_KeyPress(static_cast<int>(wParam));
    if (wParam == VK_BACK) return 0;
  }
  if (form != nullptr && control == form->cmdStart && message == WM_DROPFILES) {
    HDROP drop = reinterpret_cast<HDROP>(wParam);
    std::vector<std::string> files;
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
      const UINT n = ::DragQueryFileW(drop, i, nullptr, 0);
      std::wstring name(n + 1, L'\0');
      ::DragQueryFileW(drop, i, name.data(), n + 1);
      name.resize(n);
      files.push_back(win32::Utf8(name));
    }
    ::DragFinish(drop);
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
  SetFormsRelease([] {
    TheForm() = nullptr;
    frmPopup::Release();
  });
  Create();
  Stages.changed = [this] { ShowStages(); };
  ShowStages();
}

frmMain::~frmMain() {
  Stages.changed = nullptr;
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
  std::vector<win32::ArtworkSize> artwork{{"icon", 32, 32}, {"icon", 16, 16}};
  for (const auto& c : mainwindow::Controls()) {
    if (c.artWidth > 0) artwork.push_back({c.text, c.artWidth, c.artHeight});
  }
  win32::PrefetchArtwork(artwork, dpi_);
  RECT frame{0, 0, Px(kClientWidth, dpi_), Px(kClientHeight, dpi_)};
  ::AdjustWindowRectEx(&frame, kStyle, FALSE, WS_EX_CONTROLPARENT);
  hwnd = ::CreateWindowExW(
      WS_EX_CONTROLPARENT, kMainClass, win32::Wide(mainwindow::kCaption).c_str(), kStyle, 0, 0,
      frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
  const UINT created = dpi_;
  dpi_ = win32::DpiOf(hwnd);
  const auto make = [this](HWND frmMain::*control, HWND parent, const wchar_t* windowClass,
                           const char* text, DWORD style, int id, DWORD exStyle = 0) {
    const auto& c = SpecOf(control);
    this->*control = win32::Child(parent, windowClass, text, style, c.left, c.top, c.width,
                                  HeightOf(c), id, dpi_, exStyle);
  };
  const auto button = [&](HWND frmMain::*control, int id) {
    make(control, hwnd, L"BUTTON", "", BS_OWNERDRAW | WS_TABSTOP, id);
  };
  button(&frmMain::cmdStart, kStart);
  button(&frmMain::cmdOpen, kOpen);
  button(&frmMain::cmdText, kText);
  button(&frmMain::cmdLaunch, kLaunch);
  button(&frmMain::cmdBuild, kBuild);
  button(&frmMain::cmdEditArt, kEditArt);
  button(&frmMain::cmdAbout, kAbout);
  ::EnableWindow(cmdText, FALSE);
  // Beyond the right edge of the window: never seen, but Alt+D presses it.
  make(&frmMain::cmdDebug, hwnd, L"BUTTON", SpecOf(&frmMain::cmdDebug).text, BS_PUSHBUTTON, kDebug);

  make(&frmMain::picMain, hwnd, kPanelClass, "", 0, 0, WS_EX_CONTROLPARENT);
  const auto check = [&](HWND frmMain::*control, int id) {
    make(control, picMain, L"BUTTON", "", BS_3STATE | WS_TABSTOP, id);
  };
  const auto label = [&](HWND frmMain::*control, int id, DWORD notify) {
    make(control, picMain, L"STATIC", SpecOf(control).text, SS_LEFT | notify, id);
  };
  const auto list = [&](HWND frmMain::*control, int id) {
    make(control, picMain, L"COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, id);
    for (const auto& entry : mainwindow::EntriesOf(SpecOf(control))) {
      ::SendMessageW(this->*control, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(win32::Wide(entry).c_str()));
    }
  };
  check(&frmMain::chkRecord, kRecord);
  check(&frmMain::chkMonsters, kMonsters);
  label(&frmMain::lblRecord, kLabelRecord, SS_NOTIFY);
  label(&frmMain::lblMonsters, kLabelMonsters, SS_NOTIFY);
  label(&frmMain::lblSound, kLabels, 0);
  list(&frmMain::cboSound, kSound);
  label(&frmMain::lblSkill, kLabels, 0);
  list(&frmMain::cboSkills, kSkills);
  label(&frmMain::lblRespawn, kLabels, 0);
  list(&frmMain::cboRespawn, kRespawn);
  // Hidden until the edition is known to have fake players with a mind.
  check(&frmMain::chkArtInt, kArtInt);
  ::ShowWindow(chkArtInt, SW_HIDE);
  label(&frmMain::lblFakePlayers, kLabels, 0);
  make(&frmMain::txtFakePlayers, picMain, L"EDIT", SpecOf(&frmMain::txtFakePlayers).text,
       ES_CENTER | ES_READONLY | WS_DISABLED, kFakersText, WS_EX_CLIENTEDGE);
  make(&frmMain::hsbFakePlayers, picMain, L"SCROLLBAR", "", SBS_HORZ | WS_TABSTOP, kFakers);
  SCROLLINFO range{sizeof range, SIF_RANGE | SIF_POS | SIF_PAGE, 0, kMostFakers, 0, 0, 0};
  ::SetScrollInfo(hsbFakePlayers, SB_CTL, &range, TRUE);
  make(&frmMain::cboStages, hwnd, L"COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
       kStages);
  // No entry is selected until start-up copies the stored choice in.
  for (HWND combo : {cboSound, cboSkills, cboRespawn})
    ::SendMessageW(combo, CB_SETCURSEL, WPARAM(-1), 0);

  ::SetWindowSubclass(cboStages, ControlProc, 1, 0);
  ::SetWindowSubclass(cmdStart, ControlProc, 1, 0);
  ::DragAcceptFiles(cmdStart, TRUE);

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
  for (const Named& n : kControls) {
    const auto& c = mainwindow::Find(n.name);
    ::MoveWindow(this->*n.control, Px(c.left, dpi), Px(c.top, dpi), Px(c.width, dpi),
                 Px(HeightOf(c), dpi), FALSE);
  }
  SetFonts();
  ::InvalidateRect(hwnd, nullptr, TRUE);
}

void frmMain::SetFonts() {
  const auto font = [this](HWND control, HFONT f) {
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(f), ::IsWindowVisible(hwnd));
  };
  for (HWND label : {lblRecord, lblMonsters, lblSound, lblSkill, lblRespawn, lblFakePlayers,
                     cboSound, cboSkills, cboRespawn, cmdDebug}) {
    font(label, win32::Verdana(8.25, dpi_));
  }
  font(txtFakePlayers, win32::Verdana(9, dpi_));
  font(cboStages, win32::CourierNew(9.75, dpi_));
}

HWND frmMain::ToolTips() {
  // Made when first needed, at the latest once the window shows: no one
  // points at a control before that, and it saves start-up a window.
  if (tips_ != nullptr) return tips_;
  tips_ = win32::MakeToolTips(hwnd);
  for (const Named& n : kControls) {
    const char* tip = mainwindow::Find(n.name).toolTip;
    if (*tip != '\0') win32::SetToolTip(tips_, this->*n.control, tip);
  }
  if (!toolTipText_.empty()) win32::SetToolTip(tips_, cmdText, toolTipText_);
  return tips_;
}

// ---------------------------------------------------------------- start-up, shutdown

bool frmMain::Form_Load() {
  return mainform::StartUp(*this);
}

void frmMain::Form_Unload() {
  ExitProgram();
}

void frmMain::ShowOptions(const LaunchOptionsRecord& values) {
  // Each control that changes raises its handler, as a form's controls do.
  ::SendMessageW(chkRecord, BM_SETCHECK, static_cast<WPARAM>(values.Record), 0);
  Option_Change(&frmMain::chkRecord);
  ::SendMessageW(chkMonsters, BM_SETCHECK, static_cast<WPARAM>(values.Monsters), 0);
  Option_Change(&frmMain::chkMonsters);
  ::SendMessageW(cboSound, CB_SETCURSEL, static_cast<WPARAM>(values.Sound), 0);
  Option_Change(&frmMain::cboSound);
  ::SendMessageW(cboSkills, CB_SETCURSEL, static_cast<WPARAM>(values.Skills), 0);
  Option_Change(&frmMain::cboSkills);
  ::SendMessageW(cboRespawn, CB_SETCURSEL, static_cast<WPARAM>(values.Respawn), 0);
  Option_Change(&frmMain::cboRespawn);
  ::SetScrollPos(hsbFakePlayers, SB_CTL, values.Fakers, TRUE);
  hsbFakePlayers_Change();
}

void frmMain::ShowWindow() {
  if (stagesToShow_) FillStages();
  // The icons and the tool tips come once the window is up: the icons'
  // pictures are the first the system's image codecs decode, which takes a
  // moment to load.
  ::PostMessageW(hwnd, kSetIcons, 0, 0);
  ::ShowWindow(hwnd, SW_SHOW);
  ::UpdateWindow(hwnd);
  ::SetFocus(cmdStart);
}

// ---------------------------------------------------------------- options

int frmMain::Value(HWND checkBox) {
  return static_cast<int>(::SendMessageW(checkBox, BM_GETCHECK, 0, 0));
}

void frmMain::Option_Change(HWND frmMain::*control) {
  const auto& c = SpecOf(control);
  const bool isList = c.kind == mainwindow::Kind::kDropDownList;
  const auto value = isList ? ::SendMessageW(this->*control, CB_GETCURSEL, 0, 0)
                            : ::SendMessageW(this->*control, BM_GETCHECK, 0, 0);
  mainwindow::OptionChanged(c.option, static_cast<int>(value));
}
void frmMain::lblRecord_Click() {
  ::SendMessageW(chkRecord, BM_SETCHECK, Value(chkRecord) == 1 ? BST_UNCHECKED : BST_CHECKED, 0);
  Option_Change(&frmMain::chkRecord);
}
void frmMain::lblMonsters_Click() {
  ::SendMessageW(chkMonsters, BM_SETCHECK, Value(chkMonsters) == 1 ? BST_UNCHECKED : BST_CHECKED,
                 0);
  Option_Change(&frmMain::chkMonsters);
}
void frmMain::hsbFakePlayers_Scroll(int position) {
  // The number follows the thumb while it is dragged.
  ::SetWindowTextW(txtFakePlayers, std::to_wstring(position).c_str());
}
void frmMain::hsbFakePlayers_Change() {
  // Set as text even when it reads the same: the box's change tells the
  // record the slider's value.
  ::SetWindowTextW(txtFakePlayers, std::to_wstring(::GetScrollPos(hsbFakePlayers, SB_CTL)).c_str());
  txtFakePlayers_Change();
}
void frmMain::txtFakePlayers_Change() {
  mainwindow::OptionChanged(mainwindow::Option::kFakers, ::GetScrollPos(hsbFakePlayers, SB_CTL));
}

// ---------------------------------------------------------------- the sequences

void frmMain::cmdStart_OLEDragDrop(const std::vector<std::string>& fileNames) {
  mainform::DropFiles(*this, fileNames);
}
void frmMain::cboStages_KeyPress(int keyAscii) {
  StagesKeyPress(keyAscii);
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
  const int shown = static_cast<int>(::SendMessageW(cboStages, CB_GETCOUNT, 0, 0));
  const int same = Stages.SameFromTheFirst(shown, [this](int i) { return Entry(cboStages, i); });
  for (int i = shown - 1; i >= same; --i) ::SendMessageW(cboStages, CB_DELETESTRING, i, 0);
  for (int i = same; i < Stages.ListCount(); ++i) {
    ::SendMessageW(cboStages, CB_ADDSTRING, 0,
                   reinterpret_cast<LPARAM>(win32::Wide(Stages.List(i)).c_str()));
  }
  ::SendMessageW(cboStages, CB_SETCURSEL, static_cast<WPARAM>(Stages.ListIndex()), 0);
}

bool frmMain::Command(HWND control, int code) {
  const int id = ::GetDlgCtrlID(control);
  switch (id) {
    case kStart:
    case kOpen:
    case kText:
    case kLaunch:
    case kBuild:
    case kEditArt:
    case kAbout:
    case kDebug:
      // Each button runs what the core's table says it does.
      for (const Named& n : kControls) {
        if (code == BN_CLICKED && this->*n.control == control) {
          mainform::Run(*this, mainwindow::Find(n.name).command);
        }
      }
      return true;
    case kRecord:
    case kMonsters:
    case kArtInt:
      if (code == BN_CLICKED) {
        // A click gives checked or unchecked; grayed comes from stored values only.
        ::SendMessageW(control, BM_SETCHECK, Value(control) == 1 ? BST_UNCHECKED : BST_CHECKED, 0);
        if (id == kRecord) Option_Change(&frmMain::chkRecord);
        if (id == kMonsters) Option_Change(&frmMain::chkMonsters);
        if (id == kArtInt) Option_Change(&frmMain::chkArtInt);
      }
      return true;
    case kLabelRecord:
      if (code == STN_CLICKED) lblRecord_Click();
      return true;
    case kLabelMonsters:
      if (code == STN_CLICKED) lblMonsters_Click();
      return true;
    case kSound:
      if (code == CBN_SELCHANGE) Option_Change(&frmMain::cboSound);
      return true;
    case kSkills:
      if (code == CBN_SELCHANGE) Option_Change(&frmMain::cboSkills);
      return true;
    case kRespawn:
      if (code == CBN_SELCHANGE) Option_Change(&frmMain::cboRespawn);
      return true;
    case kStages:
      if (code == CBN_SELCHANGE) {
        Stages.SetListIndex(static_cast<int>(::SendMessageW(cboStages, CB_GETCURSEL, 0, 0)));
      }
      return true;
    case kFakersText:
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
      if (reinterpret_cast<HWND>(lParam) == hsbFakePlayers) {
        int position = ::GetScrollPos(hsbFakePlayers, SB_CTL);
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
        if (position != ::GetScrollPos(hsbFakePlayers, SB_CTL) ||
            LOWORD(wParam) == SB_THUMBPOSITION) {
          ::SetScrollPos(hsbFakePlayers, SB_CTL, position, TRUE);
          hsbFakePlayers_Change();
        }
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      // White labels and bare check boxes over the panel's picture.
      HWND control = reinterpret_cast<HWND>(lParam);
      if (::GetParent(control) == picMain && control != txtFakePlayers) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
      }
      break;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      for (const Named& n : kControls) {
        const auto& p = mainwindow::Find(n.name);
        if (p.kind != mainwindow::Kind::kPictureButton || this->*n.control != item->hwndItem) {
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
          ::AlphaBlend(item->hDC, into.left, into.top, w, h, source, 0, 0, 1, 1, half);
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
          (mainform::WaitingForReturn() || mainform::TaskToBringForward())) {
        mainform::CameBack(*this, true);
      }
      break;
    case WM_SIZE:
      if (wParam == SIZE_RESTORED && mainform::WaitingForReturn()) mainform::CameBack(*this, false);
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
  ::ShowWindow(chkArtInt, SW_SHOW);
}
void frmMain::SetTextButtonEnabled(bool enabled) {
  ::EnableWindow(cmdText, enabled ? TRUE : FALSE);
}
void frmMain::SetTextButtonToolTip(const std::string& tip) {
  toolTipText_ = tip;
  if (tips_ != nullptr) win32::SetToolTip(tips_, cmdText, tip);
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

void frmMain::ShowMessage(const Message& message) {
  win32::dialogs::MsgBox(hwnd, message.text, message.title, static_cast<UINT>(message.style));
}

void frmMain::TakeFocus() {
  ::SetForegroundWindow(hwnd);
  HWND focus = ::GetFocus();
  if (focus == nullptr || (focus != hwnd && !::IsChild(hwnd, focus))) ::SetFocus(cmdStart);
}

void frmMain::Minimize() {
  ::ShowWindow(hwnd, SW_MINIMIZE);
}

void frmMain::Restore(bool leaveActivationAlone) {
  ::ShowWindow(hwnd, leaveActivationAlone ? SW_SHOWNOACTIVATE : SW_RESTORE);
}

std::string frmMain::ChooseFile(const OpenDialogSettings& settings, const std::string& hostFolder) {
  return win32::dialogs::ChooseFileToOpen(hwnd, settings, hostFolder);
}

std::string frmMain::ChooseFolder(const std::string&, const std::string&) {
  return {};  // Kestrum lives in the game's folder on Windows: never asked
}

int frmMain::ChooseFromList(const std::string&, const std::string&,
                            const std::vector<std::string>&) {
  return -1;  // only the question where the game is makes a list: never asked
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
  frmAbout::ShowModal(hwnd);
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
