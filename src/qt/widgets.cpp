#include "qt/widgets.h"

#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPointer>
#include <QProxyStyle>
#include <QImage>
#include <QKeyEvent>
#include <QResource>
#include <cstring>
#include <QMouseEvent>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>

namespace forms {

void PlaceTwips(QWidget* widget, int left, int top, int width, int height) {
  widget->setGeometry(Px(left), Px(top), Px(width), Px(height));
}

namespace {
// The first of the families that is installed, looked up once: a family that
// is not installed costs a font search at every size that asks for it.
QStringList FirstInstalled(const QStringList& families) {
  for (const QString& family : families) {
    if (QFontDatabase::hasFamily(family)) return {family};
  }
  return families;
}
}  // namespace

QFont Verdana(double points, bool bold, bool underline) {
  static const QStringList families =
      FirstInstalled({"Verdana", "DejaVu Sans", "Liberation Sans", "Sans Serif"});
  QFont font;
  font.setFamilies(families);
  font.setPointSizeF(points);
  font.setBold(bold);
  font.setUnderline(underline);
  return font;
}

QFont CourierNew(double points) {
  static const QStringList families =
      FirstInstalled({"Courier New", "DejaVu Sans Mono", "Liberation Mono", "Monospace"});
  QFont font;
  font.setFamilies(families);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setPointSizeF(points);
  return font;
}

QPixmap Artwork(const QString& name, QSize size) {
  // Drawn from the SVG by the build, at this size and at twice it, so that
  // a double-density screen shows it as sharp.
  const bool dense = qApp != nullptr && qApp->devicePixelRatio() > 1.0;
  const QResource resource(QString(":/kestrum/%1-%2x%3%4.argb")
                               .arg(name)
                               .arg(size.width())
                               .arg(size.height())
                               .arg(dense ? "@2x" : ""));
  const QByteArray bytes = resource.uncompressedData();
  std::uint32_t header[2] = {};
  if (bytes.size() < qsizetype(sizeof header)) return {};
  std::memcpy(header, bytes.constData(), sizeof header);
  const qint64 pixels = qint64(header[0]) * header[1];
  if (pixels <= 0 || bytes.size() != qsizetype(sizeof header) + pixels * 4) return {};
  QImage image(static_cast<int>(header[0]), static_cast<int>(header[1]),
               QImage::Format_ARGB32_Premultiplied);
  if (image.isNull() || image.sizeInBytes() != pixels * 4) return {};
  std::memcpy(image.bits(), bytes.constData() + sizeof header, std::size_t(pixels) * 4);
  QPixmap pixmap = QPixmap::fromImage(std::move(image));
  pixmap.setDevicePixelRatio(dense ? 2.0 : 1.0);
  return pixmap;
}

QIcon ArtworkIcon(const QString& name, std::initializer_list<QSize> sizes) {
  QIcon icon;
  for (const QSize& size : sizes) icon.addPixmap(Artwork(name, size));
  return icon;
}

void SetToolTip(QWidget* widget, const QString& toolTip) {
  widget->setToolTip(toolTip);
  widget->setAccessibleName(toolTip);
}

QPushButton* PictureButton(QWidget* parent, const char* name, const QString& picture,
                           QSize pictureSize, const QString& toolTip) {
  auto* button = new QPushButton(parent);
  button->setObjectName(name);
  button->setIcon(ArtworkIcon(picture, {pictureSize}));
  button->setIconSize(pictureSize);
  button->setFocusPolicy(Qt::TabFocus);
  if (!toolTip.isEmpty()) SetToolTip(button, toolTip);
  return button;
}

void ClickLabel::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
  QLabel::mousePressEvent(event);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
  const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->pos());
  pressed_ = false;
  QLabel::mouseReleaseEvent(event);
  if (click && clicked) clicked();
}

OptionCheckBox::OptionCheckBox(QWidget* parent) : QCheckBox(parent) {
  setTristate(true);
}

int OptionCheckBox::Value() const {
  switch (checkState()) {
    case Qt::Checked:
      return 1;
    case Qt::PartiallyChecked:
      return 2;
    default:
      return 0;
  }
}

void OptionCheckBox::SetValue(int value) {
  setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

void OptionCheckBox::nextCheckState() {
  setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

namespace {
// Some styles open a drop-down list as a menu laid over its control, as tall
// as the screen: 41 levels then cover it from top to bottom.
class ListBelowStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == SH_ComboBox_Popup) return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};
}  // namespace

void BoundRows(QComboBox* list, int rows) {
  static QPointer<ListBelowStyle> style;
  if (style.isNull()) {
    style = new ListBelowStyle;
    style->setParent(qApp);
  }
  list->setStyle(style);
  list->setMaxVisibleItems(rows);
}

void ScrollBar::keyPressEvent(QKeyEvent* event) {
  SliderAction action = SliderNoAction;
  switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Down:
      action = SliderSingleStepAdd;
      break;
    case Qt::Key_Left:
    case Qt::Key_Up:
      action = SliderSingleStepSub;
      break;
    case Qt::Key_PageDown:
      action = SliderPageStepAdd;
      break;
    case Qt::Key_PageUp:
      action = SliderPageStepSub;
      break;
    case Qt::Key_Home:
      action = SliderToMinimum;
      break;
    case Qt::Key_End:
      action = SliderToMaximum;
      break;
    default:
      QScrollBar::keyPressEvent(event);
      return;
  }
  triggerAction(action);
  event->accept();
}

Panel::Panel(QWidget* parent, const QString& picture, const QColor& fill)
    : QWidget(parent), picture_(Artwork(picture, QSize(249, 158))), fill_(fill) {}

void Panel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), fill_);
  painter.drawPixmap(rect(), picture_);
}

LinkLabel::LinkLabel(QWidget* parent) : QLabel(parent) {
  setFocusPolicy(Qt::StrongFocus);
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) &&
      event->modifiers() == Qt::NoModifier) {
    if (activated) activated();
    event->accept();
    return;
  }
  QLabel::keyPressEvent(event);
}

namespace {

class FocusMark : public QWidget {
 public:
  explicit FocusMark(QWidget* window) : QWidget(window) {
    setObjectName("focusMark");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
    QObject::connect(qApp, &QApplication::focusChanged, this,
                     [this](QWidget*, QWidget* now) { Follow(now); });
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    // A light ring outside a dark one: seen on the light toolbar and on the
    // dark option panel alike.
    QPainter painter(this);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawRect(rect().adjusted(2, 2, -2, -2));
  }

 private:
  void Follow(QWidget* now) {
    QWidget* window = parentWidget();
    if (now == nullptr || now->window() != window || now == this) {
      hide();
      return;
    }
    // Around the control, but inside the window: the toolbar and the stage
    // list touch its edges.
    constexpr int kOutside = 3;
    setGeometry(QRect(now->mapTo(window, QPoint(0, 0)), now->size())
                    .adjusted(-kOutside, -kOutside, kOutside, kOutside)
                    .intersected(window->rect()));
    raise();
    show();
  }
};

class PanelAccessible : public QAccessibleWidget {
 public:
  explicit PanelAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::Pane) {}
};

class HiddenButtonAccessible : public QAccessibleWidget {
 public:
  explicit HiddenButtonAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::Button) {}
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.invisible = true;
    s.offscreen = true;
    s.focusable = false;
    return s;
  }
};

class LinkAccessible : public QAccessibleWidget {
 public:
  explicit LinkAccessible(LinkLabel* w) : QAccessibleWidget(w, QAccessible::Link) {}
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return static_cast<LinkLabel*>(widget())->text();
    return QAccessibleWidget::text(t);
  }
  QStringList actionNames() const override { return {QAccessibleActionInterface::pressAction()}; }
  void doAction(const QString& action) override {
    auto* link = static_cast<LinkLabel*>(widget());
    if (action == QAccessibleActionInterface::pressAction() && link->activated) {
      link->activated();
    }
  }
};

QAccessibleInterface* Accessible(const QString&, QObject* object) {
  if (auto* panel = dynamic_cast<Panel*>(object)) return new PanelAccessible(panel);
  if (auto* button = dynamic_cast<HiddenButton*>(object)) return new HiddenButtonAccessible(button);
  if (auto* link = dynamic_cast<LinkLabel*>(object)) return new LinkAccessible(link);
  return nullptr;
}

}  // namespace

void ShowFocusMarks(QWidget* window) {
  new FocusMark(window);
}

void InstallAccessibility() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(Accessible);
}

}  // namespace forms
