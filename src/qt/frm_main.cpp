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
#include "levels/stage_list.h"
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

QLabel* Picture(QWidget* parent, const char* name, const QString& resource) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  const auto& row = mainwindow::Find(name);
  label->setPixmap(forms::Artwork(resource, QSize(row.artWidth, row.artHeight)));
  label->setAlignment(Qt::AlignCenter);
  return label;
}

QLabel* PanelLabel(QLabel* label, const char* name, const char* caption) {
  label->setObjectName(name);
  label->setText(caption);
  label->setFont(forms::Verdana(8.25));
  QPalette white = label->palette();
  white.setColor(QPalette::WindowText, Qt::white);
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
  SetFormsRelease([] {
    MainForm = nullptr;
    frmPopup::Release();
  });
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
  connect(cboStages, &QComboBox::currentIndexChanged, this,
          [](int index) { Stages.SetListIndex(index); });
  Stages.changed = [this] { ShowStages(); };
  ShowStages();
  forms::ShowFocusMarks(this);
}

frmMain::~frmMain() {
  Stages.changed = nullptr;
  if (MainForm == this) MainForm = nullptr;
  if (mainform::Window() == this) mainform::SetWindow(nullptr);
}

void frmMain::BuildControls() {
  using mainwindow::Kind;
  std::map<std::string, QWidget*> made;
  std::vector<std::pair<int, QWidget*>> tabOrder;
  for (const mainwindow::Control& c : mainwindow::Controls()) {
    QWidget* parent = *c.parent != '\0' ? made.at(c.parent) : this;
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
        w = Picture(parent, c.name, c.text);
        break;
      case Kind::kCheckBox:
        w = new forms::OptionCheckBox(parent);
        break;
      case Kind::kClickLabel:
        w = PanelLabel(new forms::ClickLabel(parent), c.name, c.text);
        break;
      case Kind::kLabel:
        w = PanelLabel(new QLabel(parent), c.name, c.text);
        break;
      case Kind::kDropDownList:
        w = DropDownList(parent, c.name, mainwindow::EntriesOf(c));
        break;
      case Kind::kDisplay: {
        auto* display = new QLineEdit(c.text, parent);
        display->setFont(forms::Verdana(9));
        display->setAlignment(Qt::AlignCenter);
        display->setEnabled(false);
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
        w = bar;
        break;
      }
      case Kind::kStageList: {
        auto* list = new QComboBox(parent);
        list->setEditable(false);
        list->setFont(forms::CourierNew(9.75));
        forms::BoundRows(list, mainwindow::kListRows);
        w = list;
        break;
      }
    }
    w->setObjectName(c.name);
    PlaceTwips(w, c.left, c.top, c.width, c.height);
    if (*c.toolTip != '\0' && c.kind != Kind::kPictureButton) forms::SetToolTip(w, c.toolTip);
    if (*c.accessibleName != '\0') w->setAccessibleName(c.accessibleName);
    if (c.tabIndex > 0) tabOrder.emplace_back(c.tabIndex, w);
    made[c.name] = w;
  }
  const auto find = [&made]<typename T>(T*& member, const char* name) {
    member = static_cast<T*>(made.at(name));
  };
  find(cmdStart, "cmdStart");
  find(cmdOpen, "cmdOpen");
  find(cmdText, "cmdText");
  find(cmdLaunch, "cmdLaunch");
  find(cmdBuild, "cmdBuild");
  find(cmdEditArt, "cmdEditArt");
  find(cmdAbout, "cmdAbout");
  find(cmdDebug, "cmdDebug");
  find(picMain, "picMain");
  find(imgRecord, "imgRecord");
  find(imgMonsters, "imgMonsters");
  find(imgSound, "imgSound");
  find(imgSkill, "imgSkill");
  find(imgRespawn, "imgRespawn");
  find(imgFakePlayers, "imgFakePlayers");
  find(chkRecord, "chkRecord");
  find(chkMonsters, "chkMonsters");
  find(chkArtInt, "chkArtInt");
  find(lblRecord, "lblRecord");
  find(lblMonsters, "lblMonsters");
  find(lblSound, "lblSound");
  find(lblSkill, "lblSkill");
  find(lblRespawn, "lblRespawn");
  find(lblFakePlayers, "lblFakePlayers");
  find(cboSound, "cboSound");
  find(cboSkills, "cboSkills");
  find(cboRespawn, "cboRespawn");
  find(txtFakePlayers, "txtFakePlayers");
  find(hsbFakePlayers, "hsbFakePlayers");
  find(cboStages, "cboStages");
  lblStages = new QLabel("Level", this);
  lblStages->setObjectName("lblStages");
  lblStages->hide();
  made["lblStages"] = lblStages;

  // A screen reader names a control by the label it is tied to.
  for (const mainwindow::Control& c : mainwindow::Controls()) {
    if (*c.buddy != '\0') static_cast<QLabel*>(made.at(c.name))->setBuddy(made.at(c.buddy));
  }
  lblStages->setBuddy(cboStages);
  // Tab goes along the toolbar, then down the option rows as they stand.
  std::sort(tabOrder.begin(), tabOrder.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  for (std::size_t i = 1; i < tabOrder.size(); ++i) {
    setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);
  }

  cmdStart->setAcceptDrops(true);
  cmdStart->installEventFilter(this);
  cmdText->setEnabled(false);
  chkArtInt->setVisible(false);
  cboStages->installEventFilter(this);

  // Each button runs what the core's table says it does.
  for (const mainwindow::Control& c : mainwindow::Controls()) {
    if (c.command == mainwindow::Command::kNone) continue;
    connect(static_cast<QPushButton*>(made.at(c.name)), &QPushButton::clicked, this,
            [this, command = c.command] { mainform::Run(*this, command); });
  }
  // Each option control tells the core its new value.
  using mainwindow::Option;
  for (auto [list, option] :
       {std::pair{cboSound, Option::kSound}, std::pair{cboSkills, Option::kSkills},
        std::pair{cboRespawn, Option::kRespawn}}) {
    connect(list, &QComboBox::currentIndexChanged, this,
            [list, option] { mainwindow::OptionChanged(option, list->currentIndex()); });
  }
  for (auto [box, option] :
       {std::pair{chkRecord, Option::kRecord}, std::pair{chkMonsters, Option::kMonsters},
        std::pair{chkArtInt, Option::kArtInt}}) {
    connect(box, &QCheckBox::stateChanged, this,
            [box, option] { mainwindow::OptionChanged(option, box->Value()); });
  }
  lblRecord->clicked = [this] { lblRecord_Click(); };
  lblMonsters->clicked = [this] { lblMonsters_Click(); };
  connect(hsbFakePlayers, &QScrollBar::sliderMoved, this, [this] { hsbFakePlayers_Scroll(); });
  connect(hsbFakePlayers, &QScrollBar::valueChanged, this, [this] { hsbFakePlayers_Change(); });
  connect(txtFakePlayers, &QLineEdit::textChanged, this, [this] { txtFakePlayers_Change(); });
}

// ---------------------------------------------------------------- start-up, shutdown

bool frmMain::Form_Load() {
  return mainform::StartUp(*this);
}

void frmMain::ShowOptions(const LaunchOptionsRecord& values) {
  chkRecord->SetValue(values.Record);
  chkMonsters->SetValue(values.Monsters);
  cboSound->setCurrentIndex(values.Sound);
  cboSkills->setCurrentIndex(values.Skills);
  cboRespawn->setCurrentIndex(values.Respawn);
  hsbFakePlayers->setValue(values.Fakers);
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

void frmMain::lblRecord_Click() {
  chkRecord->SetValue(chkRecord->Value() == 1 ? 0 : 1);
}
void frmMain::lblMonsters_Click() {
  chkMonsters->SetValue(chkMonsters->Value() == 1 ? 0 : 1);
}

void frmMain::hsbFakePlayers_Scroll() {
  txtFakePlayers->setText(QString::number(hsbFakePlayers->sliderPosition()));
}
void frmMain::hsbFakePlayers_Change() {
  txtFakePlayers->setText(QString::number(hsbFakePlayers->value()));
}
void frmMain::txtFakePlayers_Change() {
  mainwindow::OptionChanged(mainwindow::Option::kFakers, hsbFakePlayers->sliderPosition());
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

void frmMain::ShowMessage(const Message& message) {
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
  if (!mainform::WaitingForReturn() && !mainform::TaskToBringForward()) return;
  // The user is back in Kestrum: from the task bar, or by switching windows.
  if (event->type() == QEvent::ActivationChange && isActiveWindow())
    mainform::CameBack(*this, true);
  if (event->type() == QEvent::WindowStateChange && !(windowState() & Qt::WindowMinimized)) {
    mainform::CameBack(*this, false);
  }
}

// ---------------------------------------------------------------- user files

std::string frmMain::ChooseFile(const OpenDialogSettings& settings, const std::string& hostFolder) {
  return dialogs::GetOpenFileName(this, Qs(settings.title), Qs(hostFolder),
                                  NameFilters(settings.filters), Qs(settings.defaultExtension))
      .toStdString();
}

std::string frmMain::ChooseFolder(const std::string& title, const std::string& hostFolder) {
  return dialogs::GetExistingDirectory(nullptr, Qs(title), Qs(hostFolder)).toStdString();
}

int frmMain::ChooseFromList(const std::string& title, const std::string& prompt,
                            const std::vector<std::string>& entries) {
  QStringList items;
  for (const auto& entry : entries) items << Qs(entry);
  return dialogs::GetItem(nullptr, Qs(title), Qs(prompt), items);
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
  StagesKeyPress(keyAscii);
}

void frmMain::ShowStages() {
  const QSignalBlocker block(cboStages);
  // Only what differs is redone: start-up appends the levels one by one.
  const int same = Stages.SameFromTheFirst(
      cboStages->count(), [this](int i) { return cboStages->itemText(i).toStdString(); });
  while (cboStages->count() > same) cboStages->removeItem(cboStages->count() - 1);
  for (int i = same; i < Stages.ListCount(); ++i) cboStages->addItem(Qs(Stages.List(i)));
  cboStages->setCurrentIndex(Stages.ListIndex());
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
  if (watched == cboStages && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Backspace) {
      cboStages_KeyPress(8);
      return true;
    }
    if (!key->text().isEmpty()) cboStages_KeyPress(key->text().at(0).unicode());
  }
  if (watched == cmdStart) {
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
  frmAbout::ShowModal(this);
}

// ---------------------------------------------------------------- MainWindowPort

std::string frmMain::Caption() const {
  return windowTitle().toStdString();
}
void frmMain::SetCaption(const std::string& caption) {
  setWindowTitle(Qs(caption));
}
void frmMain::ShowArtInt() {
  chkArtInt->setVisible(true);
}
void frmMain::SetTextButtonEnabled(bool enabled) {
  cmdText->setEnabled(enabled);
}
void frmMain::SetTextButtonToolTip(const std::string& tip) {
  forms::SetToolTip(cmdText, Qs(tip));
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
