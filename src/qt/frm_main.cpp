#include "qt/frm_main.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <utility>
#include <vector>

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include "app/exit_program.h"
#include "base/launch_options.h"
#include "app/main_form.h"
#include "base/main_window.h"
#include "base/stage_list.h"
#include "levels/user_files.h"
#include "qt/dialogs.h"
#include "qt/frm_about.h"
#include "qt/frm_popup.h"

using forms::PlaceTwips;

frmMain* MainForm = nullptr;

// The artwork is compiled into the forms library; a static library has to
// register it itself.
static void InitArtwork() {
  Q_INIT_RESOURCE(kestrum);
}

namespace {

QString Qs(const std::string& s) {
  return QString::fromStdString(s);
}

QLabel* Picture(QWidget* parent, const mainwindow::Control& row) {
  auto* label = new QLabel(parent);
  label->setObjectName(row.name);
  label->setPixmap(forms::Artwork(row.text, QSize(row.artWidth, row.artHeight)));
  label->setAlignment(Qt::AlignCenter);
  return label;
}

QLabel* PanelLabel(QLabel* label, const char* name, const char* caption) {
  label->setObjectName(name);
  label->setText(caption);
  label->setFont(forms::Verdana(8.25));
  // White over the panel's picture; greyed with the control it names when
  // that cannot be used.
  QPalette white = label->palette();
  using namespace mainwindow;
  const QColor text(kTextRed, kTextGreen, kTextBlue);
  white.setColor(QPalette::Active, QPalette::WindowText, text);
  white.setColor(QPalette::Inactive, QPalette::WindowText, text);
  white.setColor(QPalette::Disabled, QPalette::WindowText,
                 QColor(kDisabledRed, kDisabledGreen, kDisabledBlue));
  label->setPalette(white);
  return label;
}

QComboBox* DropDownList(QWidget* parent, const char* name,
                        const std::vector<std::string>& entries) {
  auto* list = new QComboBox(parent);
  list->setObjectName(name);
  list->setEditable(false);
  list->setFont(forms::Verdana(8.25));
  for (const auto& entry : entries) list->addItem(Qs(entry));
  forms::BoundRows(list, mainwindow::kListRows);
  // No entry is selected until start-up copies the stored choice in.
  list->setCurrentIndex(-1);
  return list;
}

// The filter as Qt's dialog takes it: the patterns in brackets after each
// description ("*.*" is every file, with or without a dot).
QStringList NameFilters(const std::vector<OpenDialogSettings::Filter>& filter) {
  QStringList filters;
  for (const auto& [described, patternList] : filter) {
    QString description = Qs(described);
    QString patterns = Qs(patternList);
    patterns.replace(';', ' ');
    if (patterns == "*.*") patterns = "*";
    const int bracket = description.indexOf(" (");
    if (bracket >= 0) description.truncate(bracket);
    filters << description + " (" + patterns + ")";
  }
  return filters;
}

}  // namespace

frmMain::frmMain() {
  // Before any widget: Qt keeps the first accessible interface it makes.
  forms::InstallAccessibility();
  InitArtwork();
  MainForm = this;
  mainform::SetWindow(this);
  session.releaseForms = [] {
    MainForm = nullptr;
    frmPopup::Release();
  };
  setObjectName("frmMain");
  setWindowTitle(mainwindow::kCaption);
  setWindowIcon(forms::ArtworkIcon("icon", {QSize(16, 16), QSize(32, 32)}));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(forms::Px(mainwindow::kClientWidth), forms::Px(mainwindow::kClientHeight));

  BuildControls();
  // The view follows the list (with its signals blocked); a selection made in
  // the view goes back into the list.
  connect(stages_, &QComboBox::currentIndexChanged, this,
          [this](int index) { mainform::StageSelected(*this, index); });
  stages.changed = [this] { ShowStages(); };
  ShowStages();
  forms::ShowFocusMarks(this);
}

frmMain::~frmMain() {
  stages.changed = nullptr;
  if (MainForm == this) MainForm = nullptr;
  if (mainform::Window() == this) mainform::SetWindow(nullptr);
}

void frmMain::BuildControls() {
  using mainwindow::Kind;
  std::vector<std::pair<int, QWidget*>> tabOrder;
  for (const mainwindow::Control& c : mainwindow::Controls()) {
    const mainwindow::Control* parentRow = *c.parent != '\0' ? mainwindow::Find(c.parent) : nullptr;
    QWidget* parent = parentRow != nullptr
                          ? controls_[static_cast<std::size_t>(mainwindow::IdOf(*parentRow) - 100)]
                          : this;
    QWidget* w = nullptr;
    switch (c.kind) {
      case Kind::kPictureButton:
        w = forms::PictureButton(parent, c.name, c.text, QSize(c.artWidth, c.artHeight),
                                 Qs(c.toolTip));
        break;
      case Kind::kHiddenButton: {
        auto* button = new forms::HiddenButton(parent);
        button->setText(c.text);
        // It is never seen, so it must never hold the focus either.
        button->setFocusPolicy(Qt::NoFocus);
        w = button;
        break;
      }
      case Kind::kPanel:
        w = new forms::Panel(
            parent, c.text,
            QColor(mainwindow::kPanelRed, mainwindow::kPanelGreen, mainwindow::kPanelBlue));
        break;
      case Kind::kRowPicture:
        w = Picture(parent, c);
        break;
      case Kind::kCheckBox: {
        auto* box = new forms::OptionCheckBox(parent);
        connect(box, &QCheckBox::stateChanged, this,
                [box, option = c.option] { mainwindow::OptionChanged(option, box->Value()); });
        w = box;
        break;
      }
      case Kind::kClickLabel:
        w = PanelLabel(new forms::ClickLabel(parent), c.name, c.text);
        break;
      case Kind::kLabel:
        w = PanelLabel(new QLabel(parent), c.name, c.text);
        break;
      case Kind::kDropDownList: {
        auto* list = DropDownList(parent, c.name, mainwindow::EntriesOf(c));
        connect(list, &QComboBox::currentIndexChanged, this, [list, option = c.option] {
          mainwindow::OptionChanged(option, list->currentIndex());
        });
        w = list;
        break;
      }
      case Kind::kDisplay: {
        auto* display = new QLineEdit(c.text, parent);
        display->setFont(forms::Verdana(9));
        display->setAlignment(Qt::AlignCenter);
        display->setEnabled(false);
        fakersShown_ = display;
        w = display;
        break;
      }
      case Kind::kScrollBar: {
        auto* bar = new forms::ScrollBar(parent);
        bar->setRange(0, mainwindow::kMostFakers);
        bar->setSingleStep(1);
        bar->setPageStep(1);
        // A tab stop like every other option, moved by the arrow and page keys.
        bar->setFocusPolicy(Qt::StrongFocus);
        fakers_ = bar;
        w = bar;
        break;
      }
      case Kind::kStageList: {
        auto* list = new QComboBox(parent);
        list->setEditable(false);
        list->setFont(forms::CourierNew(9.75));
        forms::BoundRows(list, mainwindow::kListRows);
        stages_ = list;
        w = list;
        break;
      }
    }
    w->setObjectName(c.name);
    PlaceTwips(w, c.left, c.top, c.width, c.height);
    if (*c.toolTip != '\0' && c.kind != Kind::kPictureButton) forms::SetToolTip(w, c.toolTip);
    if (*c.accessibleName != '\0') w->setAccessibleName(c.accessibleName);
    if (c.tabIndex > 0) tabOrder.emplace_back(c.tabIndex, w);
    // Each button runs what the core's table says it does.
    if (c.command != mainwindow::Command::kNone) {
      connect(static_cast<QPushButton*>(w), &QPushButton::clicked, this,
              [this, command = c.command] { mainform::Run(*this, command); });
    }
    if (c.command == mainwindow::Command::kText) textButton_ = static_cast<QPushButton*>(w);
    if (c.takesDrops) dropTarget_ = w;
    // What the core shows only for some editions.
    if (const auto* f = mainwindow::FieldOf(c.option); f != nullptr && f->hiddenAtFirst) {
      w->setVisible(false);
    }
    controls_.push_back(w);
  }
  auto* lblStages = new QLabel("Level", this);
  lblStages->setObjectName("lblStages");
  lblStages->hide();
  lblStages->setBuddy(stages_);

  // A screen reader names a control by the label it is tied to; a label that
  // can be clicked toggles its check box.
  for (const mainwindow::Control& c : mainwindow::Controls()) {
    if (*c.buddy == '\0') continue;
    auto* label = static_cast<QLabel*>(Control(c.name));
    QWidget* buddy = Control(c.buddy);
    label->setBuddy(buddy);
    if (c.kind == mainwindow::Kind::kClickLabel) {
      auto* box = static_cast<forms::OptionCheckBox*>(buddy);
      static_cast<forms::ClickLabel*>(label)->clicked = [box] {
        if (box->isEnabled()) box->SetValue(box->Value() == 1 ? 0 : 1);
      };
    }
  }
  // Tab goes along the toolbar, then down the option rows as they stand.
  std::sort(tabOrder.begin(), tabOrder.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  for (std::size_t i = 1; i < tabOrder.size(); ++i) {
    setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);
  }

  dropTarget_->setAcceptDrops(true);
  dropTarget_->installEventFilter(this);
  textButton_->setEnabled(false);
  stages_->installEventFilter(this);
  connect(fakers_, &QScrollBar::sliderMoved, this, [this] { hsbFakePlayers_Scroll(); });
  connect(fakers_, &QScrollBar::valueChanged, this, [this] { hsbFakePlayers_Change(); });
  connect(fakersShown_, &QLineEdit::textChanged, this, [this] { txtFakePlayers_Change(); });
}

void frmMain::EnableOption(const mainwindow::Control& control, bool enabled,
                           const std::string& whyNot) {
  QWidget* w = Control(control.name);
  w->setEnabled(enabled);
  forms::SetToolTip(w, enabled ? QString(control.toolTip) : Qs(whyNot));
  // The label that names it goes with it.
  for (const mainwindow::Control& c : mainwindow::Controls()) {
    if (std::string_view(c.buddy) == control.name) Control(c.name)->setEnabled(enabled);
  }
}

QWidget* frmMain::Control(std::string_view name) const {
  const mainwindow::Control* c = mainwindow::Find(name);
  const auto at =
      c != nullptr ? static_cast<std::size_t>(mainwindow::IdOf(*c) - 100) : controls_.size();
  return at < controls_.size() ? controls_[at] : nullptr;
}

// ---------------------------------------------------------------- start-up, shutdown

bool frmMain::Form_Load() {
  return mainform::StartUp(*this);
}

void frmMain::ShowOption(const mainwindow::Control& control, int value) {
  QWidget* w = Control(control.name);
  switch (control.kind) {
    case mainwindow::Kind::kCheckBox:
      static_cast<forms::OptionCheckBox*>(w)->SetValue(value);
      break;
    case mainwindow::Kind::kDropDownList:
      static_cast<QComboBox*>(w)->setCurrentIndex(value);
      break;
    case mainwindow::Kind::kScrollBar:
      static_cast<QScrollBar*>(w)->setValue(value);
      break;
    default:
      break;
  }
}

void frmMain::ShowWindow() {
  show();
}

void frmMain::Form_Unload() {
  ExitProgram();
}

void frmMain::closeEvent(QCloseEvent* event) {
  event->accept();
  Form_Unload();
}

// ---------------------------------------------------------------- options

void frmMain::hsbFakePlayers_Scroll() {
  fakersShown_->setText(QString::number(fakers_->sliderPosition()));
}
void frmMain::hsbFakePlayers_Change() {
  fakersShown_->setText(QString::number(fakers_->value()));
}
void frmMain::txtFakePlayers_Change() {
  mainwindow::OptionChanged(mainwindow::Option::kFakers, fakers_->sliderPosition());
}

// ---------------------------------------------------------------- launching

void frmMain::TakeFocus() {
  // As a form does: the window becomes the active one and the focus stays
  // on (or goes back to) the control that had it, not on the bare window.
  activateWindow();
  QWidget* control = focusWidget();
  if (control == nullptr || control == this) focusNextChild();
}

void frmMain::Minimize() {
  setWindowState(windowState() | Qt::WindowMinimized);
}

void frmMain::Restore(bool leaveActivationAlone) {
  // Shown again without taking the activation back from the game.
  setAttribute(Qt::WA_ShowWithoutActivating, leaveActivationAlone);
  setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  setAttribute(Qt::WA_ShowWithoutActivating, false);
}

void frmMain::ShowMessageBox(const Message& message) {
  if (endingOnSignal_) {
    std::fprintf(stderr, "kestrum: %s\n", message.text.c_str());
    return;
  }
  dialogs::MsgBox(this, Qs(message.text), Qs(message.title), message.style);
}

void frmMain::EndOnSignal() {
  endingOnSignal_ = true;
  close();
}

void frmMain::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (!mainform::WaitingForReturn(*this) && !mainform::TaskToBringForward(*this)) return;
  // The user is back in Kestrum: from the task bar, or by switching windows.
  if (event->type() == QEvent::ActivationChange && isActiveWindow())
    mainform::CameBack(*this, true);
  if (event->type() == QEvent::WindowStateChange && !(windowState() & Qt::WindowMinimized)) {
    mainform::CameBack(*this, false);
  }
}

// ---------------------------------------------------------------- user files

std::string frmMain::AskForFile(const OpenDialogSettings& settings, const std::string& hostFolder) {
  return dialogs::GetOpenFileName(this, Qs(settings.title), Qs(hostFolder),
                                  NameFilters(settings.filters), Qs(settings.defaultExtension))
      .toStdString();
}

std::string frmMain::AskForFolder(const std::string& title, const std::string& hostFolder) {
  return dialogs::GetExistingDirectory(nullptr, Qs(title), Qs(hostFolder)).toStdString();
}

int frmMain::AskFromList(const std::string& title, const std::string& prompt,
                         const std::vector<std::string>& entries,
                         const std::vector<std::string>& greyed) {
  QStringList items, reasons;
  for (const auto& entry : entries) items << Qs(entry);
  for (const auto& why : greyed) reasons << Qs(why);
  return dialogs::GetItem(nullptr, Qs(title), Qs(prompt), items, reasons);
}

std::string frmMain::AskForText(const std::string& title, const std::string& prompt,
                                const std::string& text) {
  return dialogs::GetText(nullptr, Qs(title), Qs(prompt), Qs(text)).toStdString();
}

void frmMain::After(int milliseconds, std::function<void()> action) {
  QTimer::singleShot(milliseconds, this, std::move(action));
}

void frmMain::cmdStart_OLEDragDrop(const QStringList& hostFileNames) {
  std::vector<std::string> names;
  for (const QString& name : hostFileNames) names.push_back(name.toStdString());
  mainform::DropFiles(*this, names);
}

void frmMain::cboStages_KeyPress(int keyAscii) {
  mainform::StagesKeyTyped(*this, keyAscii);
}

void frmMain::ShowStages() {
  const QSignalBlocker block(stages_);
  // Only what differs is redone: start-up appends the levels one by one.
  const int same = stages.SameFromTheFirst(
      stages_->count(), [this](int i) { return stages_->itemText(i).toStdString(); });
  while (stages_->count() > same) stages_->removeItem(stages_->count() - 1);
  for (int i = same; i < stages.ListCount(); ++i) stages_->addItem(Qs(stages.List(i)));
  stages_->setCurrentIndex(stages.ListIndex());
}

namespace {
// The local files a drag carries, in their order; empty for anything else.
QStringList DroppedFiles(const QMimeData* data) {
  QStringList files;
  if (data == nullptr || !data->hasUrls()) return files;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) files << url.toLocalFile();
  }
  return files;
}
}  // namespace

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == stages_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Backspace) {
      cboStages_KeyPress(8);
      return true;
    }
    if (!key->text().isEmpty()) cboStages_KeyPress(key->text().at(0).unicode());
  }
  if (watched == dropTarget_) {
    switch (event->type()) {
      case QEvent::DragEnter:
      case QEvent::DragMove: {
        // The cursor tells whether the drop will be taken.
        auto* drag = static_cast<QDropEvent*>(event);
        const QStringList files = DroppedFiles(drag->mimeData());
        if (!files.isEmpty() && CheckValidFile(files.first().toStdString()) == 1) {
          drag->setDropAction(Qt::CopyAction);
          drag->accept();
        } else {
          drag->ignore();
        }
        return true;
      }
      case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList files = DroppedFiles(drop->mimeData());
        // Copy, never move: the file manager must leave the user's file alone.
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        if (!files.isEmpty()) cmdStart_OLEDragDrop(files);
        return true;
      }
      default:
        break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------- tools and menus

void frmMain::ShowPopupMenu(int x, int y) {
  frmPopup::Instance().ShowPopup(this, QPoint(x, y));
}

void frmMain::ShowAbout() {
  frmAbout::ShowModal(this,
                      [this](const std::string& target) { mainform::OpenDocument(*this, target); });
}

// ---------------------------------------------------------------- MainWindowPort

std::string frmMain::Caption() const {
  return windowTitle().toStdString();
}
void frmMain::SetCaption(const std::string& caption) {
  setWindowTitle(Qs(caption));
}
void frmMain::ShowArtInt() {
  Control(mainwindow::ControlOf(mainwindow::Option::kArtInt)->name)->setVisible(true);
}
void frmMain::SetTextButtonEnabled(bool enabled) {
  textButton_->setEnabled(enabled);
}
void frmMain::SetTextButtonToolTip(const std::string& tip) {
  forms::SetToolTip(textButton_, Qs(tip));
}

double frmMain::Left() const {
  return frameGeometry().x() * forms::kTwipsPerPixel;
}
double frmMain::Top() const {
  return frameGeometry().y() * forms::kTwipsPerPixel;
}
namespace {
// Any stored position is applied, however far off; only beyond what a pixel
// coordinate can hold is it cut, instead of overflowing.
int Pixels(double twips) {
  constexpr double kFarthest = 1 << 24;
  return static_cast<int>(std::clamp(twips / forms::kTwipsPerPixel, -kFarthest, kFarthest));
}
}  // namespace

void frmMain::SetLeft(double twips) {
  move(Pixels(twips), frameGeometry().y());
}
void frmMain::SetTop(double twips) {
  move(frameGeometry().x(), Pixels(twips));
}

double frmMain::ScreenWidth() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen == nullptr ? 0 : screen->geometry().width() * forms::kTwipsPerPixel;
}
double frmMain::ScreenHeight() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen == nullptr ? 0 : screen->geometry().height() * forms::kTwipsPerPixel;
}

double frmMain::Width() const {
  return frameGeometry().width() * forms::kTwipsPerPixel;
}

std::vector<MainWindowPort::Area> frmMain::Screens() const {
  std::vector<Area> areas;
  const QScreen* primary = QGuiApplication::primaryScreen();
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect r = screen->geometry();
    const Area area{double(r.x()) * forms::kTwipsPerPixel, double(r.y()) * forms::kTwipsPerPixel,
                    double(r.width()) * forms::kTwipsPerPixel,
                    double(r.height()) * forms::kTwipsPerPixel};
    areas.insert(screen == primary ? areas.begin() : areas.end(), area);
  }
  return areas;
}

bool frmMain::KnowsItsPosition() const {
  return !QGuiApplication::platformName().startsWith("wayland");
}
