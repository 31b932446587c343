#include "os/win32/late_library.h"
#include "win32/dialogs.h"

#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <utility>

namespace win32::dialogs {

void MsgBox(HWND owner, const std::string& text, const std::string& title, UINT style) {
  ::MessageBoxW(owner, Wide(text).c_str(), Wide(title).c_str(), style | MB_OK);
}

std::wstring Filter(const OpenDialogSettings& settings) {
  std::wstring filter;
  for (const auto& [description, patterns] : settings.filters) {
    filter += Wide(description) + L'\0' + Wide(patterns) + L'\0';
  }
  filter += L'\0';
  return filter;
}

std::string ChooseFileToOpen(HWND owner, const OpenDialogSettings& settings,
                             const std::string& directory) {
  const std::wstring filter = Filter(settings);
  const std::wstring title = Wide(settings.title);
  const std::wstring extension = Wide(settings.defaultExtension);
  const std::wstring folder = Wide(directory);
  wchar_t file[MAX_PATH * 4] = {};
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file;
  dialog.nMaxFile = static_cast<DWORD>(std::size(file));
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrTitle = title.c_str();
  dialog.lpstrDefExt = extension.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
  const auto open = platform::system::LateFunction<decltype(::GetOpenFileNameW)>(
      L"comdlg32.dll", "GetOpenFileNameW");
  if (open == nullptr || !open(&dialog)) return {};
  return Utf8(file);
}

}  // namespace win32::dialogs

namespace win32::dialogs {

namespace {

int CALLBACK FolderDialogStarts(HWND dialog, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED) {
    const auto* start = reinterpret_cast<const std::pair<std::wstring, std::wstring>*>(data);
    ::SetWindowTextW(dialog, start->first.c_str());
    if (!start->second.empty())
      ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE,
                     reinterpret_cast<LPARAM>(start->second.c_str()));
  }
  return 0;
}

// A dialog template in memory, as DialogBoxIndirectParam takes it.
class DialogTemplate {
 public:
  DialogTemplate(const std::wstring& title, short cx, short cy, WORD items) {
    Long(DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    Long(0);
    words_.push_back(items);
    for (const short n : {short(0), short(0), cx, cy}) words_.push_back(static_cast<WORD>(n));
    words_.push_back(0);  // no menu
    words_.push_back(0);  // the dialog class
    Text(title);
    words_.push_back(8);
    Text(L"MS Shell Dlg");
  }
  void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD windowClass,
            const std::wstring& text) {
    if (words_.size() % 2 != 0) words_.push_back(0);  // each item on a DWORD
    Long(style | WS_CHILD | WS_VISIBLE);
    Long(0);
    for (const short n : {x, y, cx, cy}) words_.push_back(static_cast<WORD>(n));
    words_.push_back(id);
    words_.push_back(0xFFFF);
    words_.push_back(windowClass);
    Text(text);
    words_.push_back(0);  // no creation data
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Long(DWORD value) {
    words_.push_back(LOWORD(value));
    words_.push_back(HIWORD(value));
  }
  void Text(const std::wstring& text) {
    words_.insert(words_.end(), text.begin(), text.end());
    words_.push_back(0);
  }
  std::vector<WORD> words_;
};

constexpr WORD kButton = 0x0080, kEdit = 0x0081, kStatic = 0x0082, kListBox = 0x0083;
constexpr WORD kList = 100;
constexpr WORD kText = 101;

struct TextDialog {
  std::wstring text;
};

INT_PTR CALLBACK TextDialogEvents(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      const auto* text = reinterpret_cast<const TextDialog*>(lParam);
      HWND edit = ::GetDlgItem(dialog, kText);
      ::SetWindowTextW(edit, text->text.c_str());
      ::SendMessageW(edit, EM_SETSEL, 0, -1);
      ::SetFocus(edit);
      return FALSE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        auto* text = reinterpret_cast<TextDialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
        HWND edit = ::GetDlgItem(dialog, kText);
        std::wstring typed(static_cast<std::size_t>(::GetWindowTextLengthW(edit)) + 1, L'\0');
        typed.resize(static_cast<std::size_t>(
            ::GetWindowTextW(edit, typed.data(), static_cast<int>(typed.size()))));
        if (text != nullptr) text->text = typed;
        ::EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        ::EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

struct ListDialog {
  const std::vector<std::string>* items;
  const std::vector<std::string>* greyed;
  bool Greyed(std::size_t i) const { return i < greyed->size() && !(*greyed)[i].empty(); }
};

// A list box draws its items itself only as text; a greyed one is drawn here.
void DrawListItem(const DRAWITEMSTRUCT& item, const ListDialog& list) {
  if (item.itemID == static_cast<UINT>(-1)) return;
  const bool grey = list.Greyed(item.itemID);
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  ::FillRect(item.hDC, &item.rcItem,
             ::GetSysColorBrush(selected && !grey ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  ::SetBkMode(item.hDC, TRANSPARENT);
  ::SetTextColor(item.hDC, ::GetSysColor(grey       ? COLOR_GRAYTEXT
                                         : selected ? COLOR_HIGHLIGHTTEXT
                                                    : COLOR_WINDOWTEXT));
  RECT text = item.rcItem;
  text.left += 2;
  const std::wstring caption = Wide((*list.items)[item.itemID]);
  ::DrawTextW(item.hDC, caption.c_str(), static_cast<int>(caption.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if ((item.itemState & ODS_FOCUS) != 0) ::DrawFocusRect(item.hDC, &item.rcItem);
}

INT_PTR CALLBACK ListDialogEvents(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto* list = reinterpret_cast<const ListDialog*>(lParam);
      ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      HWND box = ::GetDlgItem(dialog, kList);
      std::size_t first = list->items->size();
      for (std::size_t i = 0; i < list->items->size(); ++i) {
        ::SendMessageW(box, LB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(Wide((*list->items)[i]).c_str()));
        if (first == list->items->size() && !list->Greyed(i)) first = i;
      }
      // A row longer than the list scrolls sideways to show its reason.
      if (HDC dc = ::GetDC(box)) {
        const HGDIOBJ was =
            ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(box, WM_GETFONT, 0, 0)));
        LONG widest = 0;
        for (const auto& item : *list->items) {
          const std::wstring caption = Wide(item);
          SIZE size{};
          ::GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
          widest = std::max(widest, size.cx + 4);
        }
        ::SelectObject(dc, was);
        ::ReleaseDC(box, dc);
        ::SendMessageW(box, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest), 0);
      }
      ::SendMessageW(box, LB_SETCURSEL, first < list->items->size() ? first : 0, 0);
      ::SetFocus(box);
      return FALSE;
    }
    case WM_MEASUREITEM: {
      // Sent while the list is made, before WM_INITDIALOG: a line of the
      // dialog's own font.
      RECT line{0, 0, 0, 10};
      ::MapDialogRect(dialog, &line);
      reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = static_cast<UINT>(line.bottom);
      return TRUE;
    }
    case WM_DRAWITEM: {
      const auto* list =
          reinterpret_cast<const ListDialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
      if (list == nullptr) return FALSE;
      DrawListItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), *list);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || (LOWORD(wParam) == kList && HIWORD(wParam) == LBN_DBLCLK)) {
        const auto* list =
            reinterpret_cast<const ListDialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
        const LRESULT chosen = ::SendDlgItemMessageW(dialog, kList, LB_GETCURSEL, 0, 0);
        if (chosen != LB_ERR && list != nullptr && list->Greyed(static_cast<std::size_t>(chosen))) {
          ::MessageBeep(MB_OK);  // a greyed item is not an answer
          return TRUE;
        }
        ::EndDialog(dialog, chosen == LB_ERR ? -1 : chosen);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        ::EndDialog(dialog, -1);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

}  // namespace

std::string ChooseFolder(HWND owner, const std::string& title, const std::string& directory) {
  const auto browse = platform::system::LateFunction<decltype(::SHBrowseForFolderW)>(
      L"shell32.dll", "SHBrowseForFolderW");
  const auto pathOf = platform::system::LateFunction<decltype(::SHGetPathFromIDListW)>(
      L"shell32.dll", "SHGetPathFromIDListW");
  if (browse == nullptr || pathOf == nullptr) return {};
  // The dialog's own folder view needs COM on this thread.
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const DWORD attributes = ::GetFileAttributesW(Wide(directory).c_str());
  const bool isFolder =
      attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  const std::pair<std::wstring, std::wstring> start{Wide(title),
                                                    isFolder ? Wide(directory) : std::wstring()};
  wchar_t name[MAX_PATH] = {};
  BROWSEINFOW dialog{};
  dialog.hwndOwner = owner;
  dialog.pszDisplayName = name;
  dialog.lpszTitle = start.first.c_str();
  dialog.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  dialog.lpfn = FolderDialogStarts;
  dialog.lParam = reinterpret_cast<LPARAM>(&start);
  std::string chosen;
  if (PIDLIST_ABSOLUTE folder = browse(&dialog)) {
    wchar_t path[MAX_PATH] = {};
    if (pathOf(folder, path)) chosen = Utf8(path);
    ::CoTaskMemFree(folder);
  }
  if (SUCCEEDED(com)) ::CoUninitialize();
  return chosen;
}

int ChooseFromList(HWND owner, const std::string& title, const std::string& prompt,
                   const std::vector<std::string>& items, const std::vector<std::string>& greyed) {
  DialogTemplate form(Wide(title), 320, 150, 4);
  form.Item(SS_LEFT, 7, 7, 306, 10, 0xFFFF, kStatic, Wide(prompt));
  form.Item(LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | WS_VSCROLL |
                WS_HSCROLL | WS_BORDER | WS_TABSTOP,
            7, 20, 306, 102, kList, kListBox, L"");
  form.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 209, 129, 50, 14, IDOK, kButton, L"OK");
  form.Item(BS_PUSHBUTTON | WS_TABSTOP, 263, 129, 50, 14, IDCANCEL, kButton, L"Cancel");
  ListDialog list{&items, &greyed};
  const INT_PTR chosen =
      ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), form.Get(), owner, ListDialogEvents,
                                reinterpret_cast<LPARAM>(&list));
  return chosen < 0 || chosen >= static_cast<INT_PTR>(items.size()) ? -1 : static_cast<int>(chosen);
}

std::string AskText(HWND owner, const std::string& title, const std::string& prompt,
                    const std::string& text) {
  DialogTemplate form(Wide(title), 260, 62, 4);
  form.Item(SS_LEFT, 7, 7, 246, 10, 0xFFFF, kStatic, Wide(prompt));
  form.Item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 20, 246, 13, kText, kEdit, L"");
  form.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 149, 41, 50, 14, IDOK, kButton, L"OK");
  form.Item(BS_PUSHBUTTON | WS_TABSTOP, 203, 41, 50, 14, IDCANCEL, kButton, L"Cancel");
  TextDialog typed{Wide(text)};
  const INT_PTR answer =
      ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), form.Get(), owner, TextDialogEvents,
                                reinterpret_cast<LPARAM>(&typed));
  return answer == IDOK ? Utf8(typed.text) : std::string();
}

}  // namespace win32::dialogs
