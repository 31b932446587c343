// The About window in Win32: product, version, the author's links and a
// status line that names what the link under the mouse does.
#pragma once

#include "win32/controls.h"

#include "tools/about.h"

class frmAbout : public about::LinkView {
 public:
  // Creates the window and shows it modally; returns when it is closed.
  // Its links opened by open (see about::OpenEMail).
  static void ShowModal(HWND owner, about::Opener open = {});
  // The window while it exists, else null.
  static frmAbout* Current();

  explicit frmAbout(HWND owner);
  ~frmAbout() override;
  frmAbout(const frmAbout&) = delete;
  frmAbout& operator=(const frmAbout&) = delete;

  static constexpr COLORREF kLinkColour = RGB(255, 102, 0);
  static constexpr COLORREF kPressedColour = RGB(204, 102, 204);

  HWND hwnd = nullptr;
  HWND txtMessage = nullptr, picTolvane = nullptr, lblStatus = nullptr, lblVersion = nullptr;
  HWND imgHomePage = nullptr, imgEMail = nullptr, lblEMail = nullptr, lblHomePage = nullptr;
  HWND lblTitle = nullptr;

  COLORREF LinkColour(HWND link) const;
  int StatusWrites() const { return links_.StatusWrites(); }
  // Tab among the window's controls as in a dialog.
  bool HandlesDialogMessage(MSG* message);

  // about::LinkView
  std::string StatusText() const override;
  void SetStatusText(const std::string& text) override;
  void ShowPressed(bool email, bool pressed) override;
  std::string LinkText(bool email) const override;

  // The window procedure's work, and a control's mouse and keys.
  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool Mouse(HWND control, UINT message, LPARAM lParam);
  // A link's keys: Return or Space opens it.
  bool Key(HWND control, UINT message, WPARAM wParam);

 private:
  about::Part PartOf(HWND control) const;
  about::Links links_{*this};
  COLORREF emailColour_ = kLinkColour;
  COLORREF homePageColour_ = kLinkColour;
  UINT dpi_ = 96;
};
