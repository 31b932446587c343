// Small pieces the forms are built from: twip geometry, the fonts the layout
// names, picture buttons, clickable labels and check boxes whose grayed
// state only stored settings can give.
#pragma once

#include <QCheckBox>
#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <functional>

class QComboBox;
class QPaintEvent;

namespace forms {

inline constexpr int kTwipsPerPixel = 15;
inline int Px(int twips) {
  return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}
void PlaceTwips(QWidget* widget, int left, int top, int width, int height);

// Verdana and Courier New, or the closest fonts the system has.
QFont Verdana(double points, bool bold = false, bool underline = false);
QFont CourierNew(double points);

// A picture of the compiled-in artwork ("start" for resources/start.svg) at
// one of the sizes the build drew it at, for the screen's pixel ratio.
QPixmap Artwork(const QString& name, QSize size);
QIcon ArtworkIcon(const QString& name, std::initializer_list<QSize> sizes);

// A button that shows a picture; its tool tip is also its accessible name.
QPushButton* PictureButton(QWidget* parent, const char* name, const QString& picture,
                           QSize pictureSize, const QString& toolTip);
void SetToolTip(QWidget* widget, const QString& toolTip);

// A drop-down list opens below its control and shows that many rows at most,
// scrolling for the rest, whatever the style would do by itself.
void BoundRows(QComboBox* list, int rows);

// A label that tells when it is clicked with the left button.
class ClickLabel : public QLabel {
 public:
  using QLabel::QLabel;
  std::function<void()> clicked;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool pressed_ = false;
};

// A user's click gives checked or unchecked only; the grayed state comes
// only from code.
class OptionCheckBox : public QCheckBox {
 public:
  explicit OptionCheckBox(QWidget* parent);
  int Value() const;
  void SetValue(int value);

 protected:
  void nextCheckState() override;
};

// A horizontal scroll bar with the keys of a Windows one: Right, Down and
// Page Down step up, Left, Up and Page Up step down, Home and End go to the
// ends. (Qt's own turns Left and Right round on a horizontal bar.)
class ScrollBar : public QScrollBar {
 public:
  explicit ScrollBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {}

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

// The option panel: a picture behind the option rows. Screen readers know it
// as the pane of options it is (by its accessible name), not as an image.
class Panel : public QWidget {
 public:
  Panel(QWidget* parent, const QString& picture, const QColor& fill);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap picture_;
  QColor fill_;
};

// A button the user never sees (it lies beyond the window's edge) and only
// presses by its access key: screen readers are told it is not showing.
// Its caption is set once it is made: Qt keeps the first accessible
// interface of a widget, and a caption given to QPushButton's constructor
// makes one before this class exists.
class HiddenButton : public QPushButton {
 public:
  explicit HiddenButton(QWidget* parent) : QPushButton(parent) {}
};

// A label that is a link: reached by Tab, followed by Return or Space, and
// a link with its action to screen readers.
class LinkLabel : public QLabel {
 public:
  // Its text is set once it is made, as for HiddenButton.
  explicit LinkLabel(QWidget* parent);
  std::function<void()> activated;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

// A clear mark around whichever control of the window holds the focus,
// drawn over it, the same on every kind of control (Qt's own styles draw
// none on a scroll bar and a faint line on a picture button).
void ShowFocusMarks(QWidget* window);

// Roles, states and actions that Qt cannot tell from the widgets themselves
// (the classes above). Once for the program.
void InstallAccessibility();

}  // namespace forms
