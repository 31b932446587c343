// The About window: product, version, the author's links and a status line
// that names what the link under the mouse does.
#pragma once

#include <QColor>
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>

#include "tools/about.h"

class frmAbout : public QDialog, public about::LinkView {
 public:
  // Creates the window and shows it modally; returns when it is closed.
  // Its links opened by open (see about::OpenEMail).
  static void ShowModal(QWidget* owner, about::Opener open = {});
  // The window while it is shown, else null.
  static frmAbout* Current();

  explicit frmAbout(QWidget* owner);
  ~frmAbout() override;

  static const QColor kLinkColour;
  static const QColor kPressedColour;

  QPlainTextEdit* txtMessage;
  QLabel* picTolvane;
  QLabel* lblStatus;
  QLabel* lblVersion;
  QLabel* imgHomePage;
  QLabel* imgEMail;
  QLabel* lblEMail;
  QLabel* lblHomePage;
  QLabel* lblTitle;

  QColor LinkColour(QLabel* link) const;

  // How often the status line was written, to show that moving within one
  // control does not rewrite it.
  int StatusWrites() const { return links_.StatusWrites(); }

  // about::LinkView
  std::string StatusText() const override;
  void SetStatusText(const std::string& text) override;
  void ShowPressed(bool email, bool pressed) override;
  std::string LinkText(bool email) const override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void SetLinkColour(QLabel* link, const QColor& colour);
  about::Part PartOf(QObject* control) const;
  about::Links links_{*this};
};
