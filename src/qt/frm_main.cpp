#include "qt/frm_main.h"

#include <algorithm>
#include <cstdio>

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QScreen>
#include <QUrl>

#include "app/exit_program.h"
#include "base/launch_options.h"
#include "app/main_form.h"
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

// As many rows as a Windows drop-down list shows before it scrolls.
constexpr int kListRows = 8;

QString Qs(const std::string& s) {
  return QString::fromStdString(s);
}

QLabel* Picture(QWidget* parent, const char* name, const QString& resource) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setPixmap(forms::Artwork(resource, QSize(22, 24)));
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
  forms::BoundRows(list, kListRows);
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
  setWindowTitle("Duke Nukem ");
  setWindowIcon(forms::ArtworkIcon("icon", {QSize(16, 16), QSize(32, 32)}));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(forms::Px(3735), forms::Px(3135));

  BuildToolbar();
  BuildOptionPanel();

  cboStages = new QComboBox(this);
  cboStages->setObjectName("cboStages");
  cboStages->setEditable(false);
  cboStages->setFont(forms::CourierNew(9.75));
  forms::BoundRows(cboStages, kListRows);
  PlaceTwips(cboStages, 0, 2775, 3735, 360);
  cboStages->installEventFilter(this);
  lblStages = new QLabel("Level", this);
  lblStages->setObjectName("lblStages");
  lblStages->setBuddy(cboStages);
  lblStages->hide();
  // The view follows the list (with its signals blocked); a selection made in
  // the view goes back into the list.
  connect(cboStages, &QComboBox::currentIndexChanged, this,
          [](int index) { Stages.SetListIndex(index); });
  Stages.changed = [this] { ShowStages(); };
  ShowStages();

  // Tab goes along the toolbar, then down the option rows as they stand.
  QWidget* const order[] = {cmdStart,   cmdOpen,    cmdText,   cmdLaunch,      cmdBuild,
                            cmdEditArt, cmdAbout,   chkRecord, chkMonsters,    cboSound,
                            cboSkills,  cboRespawn, chkArtInt, hsbFakePlayers, cboStages};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
  forms::ShowFocusMarks(this);
}

frmMain::~frmMain() {
  Stages.changed = nullptr;
  if (MainForm == this) MainForm = nullptr;
  if (mainform::Window() == this) mainform::SetWindow(nullptr);
}

void frmMain::BuildToolbar() {
  const QSize button(20, 20);
  cmdStart = forms::PictureButton(this, "cmdStart", "start", QSize(51, 22), "Click Here to Begin");
  PlaceTwips(cmdStart, 0, 0, 825, 375);
  cmdStart->setAcceptDrops(true);
  cmdStart->installEventFilter(this);
  cmdOpen = forms::PictureButton(this, "cmdOpen", "open", button, "Open Map");
  PlaceTwips(cmdOpen, 825, 0, 375, 375);
  cmdText = forms::PictureButton(this, "cmdText", "text", button, {});
  cmdText->setAccessibleName("Read the map's text");
  PlaceTwips(cmdText, 1200, 0, 375, 375);
  cmdText->setEnabled(false);
  cmdLaunch = forms::PictureButton(this, "cmdLaunch", "launch", QSize(21, 22), "Launch Duke3D");
  PlaceTwips(cmdLaunch, 1575, 0, 375, 375);
  cmdBuild = forms::PictureButton(this, "cmdBuild", "build", button, "Launch Build");
  PlaceTwips(cmdBuild, 2295, 0, 375, 375);
  cmdEditArt = forms::PictureButton(this, "cmdEditArt", "editart", button, "Launch Editart");
  PlaceTwips(cmdEditArt, 2670, 0, 375, 375);
  cmdAbout = forms::PictureButton(this, "cmdAbout", "about", button, "About...");
  PlaceTwips(cmdAbout, 3360, 0, 375, 375);

  // Beyond the right edge of the window: never seen, but Alt+D presses it.
  cmdDebug = new forms::HiddenButton(this);
  cmdDebug->setText("&Debug");
  cmdDebug->setObjectName("cmdDebug");
  // It is never seen, so it must never hold the focus either.
  cmdDebug->setFocusPolicy(Qt::NoFocus);
  PlaceTwips(cmdDebug, 3840, 600, 735, 375);

  connect(cmdStart, &QPushButton::clicked, this, [this] { cmdStart_Click(); });
  connect(cmdOpen, &QPushButton::clicked, this, [this] { cmdOpen_Click(); });
  connect(cmdText, &QPushButton::clicked, this, [this] { cmdText_Click(); });
  connect(cmdLaunch, &QPushButton::clicked, this, [this] { cmdLaunch_Click(); });
  connect(cmdBuild, &QPushButton::clicked, this, [this] { cmdBuild_Click(); });
  connect(cmdEditArt, &QPushButton::clicked, this, [this] { cmdEditArt_Click(); });
  connect(cmdAbout, &QPushButton::clicked, this, [this] { cmdAbout_Click(); });
  connect(cmdDebug, &QPushButton::clicked, this, [this] { cmdDebug_Click(); });
}

void frmMain::BuildOptionPanel() {
  picMain = new forms::Panel(this, "panel", QColor(40, 36, 32));
  picMain->setObjectName("picMain");
  picMain->setAccessibleName("Options");
  PlaceTwips(picMain, 0, 390, 3735, 2370);

  imgRecord = Picture(picMain, "imgRecord", "row-record");
  imgMonsters = Picture(picMain, "imgMonsters", "row-monsters");
  imgSound = Picture(picMain, "imgSound", "row-sound");
  imgSkill = Picture(picMain, "imgSkill", "row-skill");
  imgRespawn = Picture(picMain, "imgRespawn", "row-respawn");
  imgFakePlayers = Picture(picMain, "imgFakePlayers", "row-fakeplayers");
  PlaceTwips(imgRecord, 0, 0, 330, 360);
  PlaceTwips(imgMonsters, 0, 330, 330, 360);
  PlaceTwips(imgSound, 0, 990, 330, 360);
  PlaceTwips(imgSkill, 0, 1320, 330, 360);
  PlaceTwips(imgRespawn, 0, 1650, 330, 360);
  PlaceTwips(imgFakePlayers, 0, 1980, 330, 360);

  chkRecord = new forms::OptionCheckBox(picMain);
  chkRecord->setObjectName("chkRecord");
  PlaceTwips(chkRecord, 375, 75, 195, 195);
  chkMonsters = new forms::OptionCheckBox(picMain);
  chkMonsters->setObjectName("chkMonsters");
  PlaceTwips(chkMonsters, 375, 405, 195, 195);
  chkArtInt = new forms::OptionCheckBox(picMain);
  chkArtInt->setObjectName("chkArtInt");
  PlaceTwips(chkArtInt, 375, 2025, 195, 195);
  forms::SetToolTip(chkArtInt, "Use Artificial Intelligence");
  chkArtInt->setVisible(false);
  chkRecord->setAccessibleName("Record Demo");
  chkMonsters->setAccessibleName("Disable Monsters");

  lblRecord = new forms::ClickLabel(picMain);
  PanelLabel(lblRecord, "lblRecord", "Record Demo");
  PlaceTwips(lblRecord, 615, 75, 1170, 195);
  lblMonsters = new forms::ClickLabel(picMain);
  PanelLabel(lblMonsters, "lblMonsters", "Disable Monsters");
  PlaceTwips(lblMonsters, 615, 405, 1455, 195);
  lblSound = PanelLabel(new QLabel(picMain), "lblSound", "Sound:");
  PlaceTwips(lblSound, 615, 1050, 615, 195);
  lblSkill = PanelLabel(new QLabel(picMain), "lblSkill", "Skill Level:");
  PlaceTwips(lblSkill, 615, 1380, 945, 195);
  lblRespawn = PanelLabel(new QLabel(picMain), "lblRespawn", "Respawn:");
  PlaceTwips(lblRespawn, 615, 1710, 840, 195);
  lblFakePlayers = PanelLabel(new QLabel(picMain), "lblFakePlayers", "Fake MultiPlayers:");
  PlaceTwips(lblFakePlayers, 615, 2025, 1560, 195);

  cboSound = DropDownList(picMain, "cboSound", SoundEntries());
  PlaceTwips(cboSound, 1605, 990, 2055, 315);
  cboSkills = DropDownList(picMain, "cboSkills", SkillEntries());
  PlaceTwips(cboSkills, 1605, 1320, 2055, 315);
  cboRespawn = DropDownList(picMain, "cboRespawn", RespawnEntries());
  PlaceTwips(cboRespawn, 1605, 1650, 2055, 315);
  // A screen reader names a control by the label it is tied to.
  lblRecord->setBuddy(chkRecord);
  lblMonsters->setBuddy(chkMonsters);
  lblSound->setBuddy(cboSound);
  lblSkill->setBuddy(cboSkills);
  lblRespawn->setBuddy(cboRespawn);
  cboSound->setAccessibleName("Sound");
  cboSkills->setAccessibleName("Skill Level");
  cboRespawn->setAccessibleName("Respawn");

  txtFakePlayers = new QLineEdit("0", picMain);
  txtFakePlayers->setObjectName("txtFakePlayers");
  txtFakePlayers->setFont(forms::Verdana(9));
  txtFakePlayers->setAlignment(Qt::AlignCenter);
  txtFakePlayers->setEnabled(false);  // a display only: the slider holds the value
  PlaceTwips(txtFakePlayers, 2205, 1995, 270, 285);

  hsbFakePlayers = new forms::ScrollBar(picMain);
  hsbFakePlayers->setObjectName("hsbFakePlayers");
  hsbFakePlayers->setRange(0, kMostFakers);
  hsbFakePlayers->setSingleStep(1);
  hsbFakePlayers->setPageStep(1);
  hsbFakePlayers->setValue(0);
  hsbFakePlayers->setAccessibleName("Fake MultiPlayers");
  lblFakePlayers->setBuddy(hsbFakePlayers);
  // A tab stop like every other option, moved by the arrow and page keys.
  hsbFakePlayers->setFocusPolicy(Qt::StrongFocus);
  PlaceTwips(hsbFakePlayers, 2535, 2025, 1095, 240);

  connect(cboSound, &QComboBox::currentIndexChanged, this, [this] { cboSound_Click(); });
  connect(cboSkills, &QComboBox::currentIndexChanged, this, [this] { cboSkills_Click(); });
  connect(cboRespawn, &QComboBox::currentIndexChanged, this, [this] { cboRespawn_Click(); });
  connect(chkRecord, &QCheckBox::stateChanged, this, [this] { chkRecord_Click(); });
  connect(chkMonsters, &QCheckBox::stateChanged, this, [this] { chkMonsters_Click(); });
  connect(chkArtInt, &QCheckBox::stateChanged, this, [this] { chkArtInt_Click(); });
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

void frmMain::cboSound_Click() {
  LaunchOptions.Sound = static_cast<std::int16_t>(cboSound->currentIndex());
}
void frmMain::cboSkills_Click() {
  LaunchOptions.Skills = static_cast<std::int16_t>(cboSkills->currentIndex());
}
void frmMain::cboRespawn_Click() {
  LaunchOptions.Respawn = static_cast<std::int16_t>(cboRespawn->currentIndex());
}
void frmMain::chkRecord_Click() {
  LaunchOptions.Record = static_cast<std::int16_t>(chkRecord->Value());
}
void frmMain::chkMonsters_Click() {
  LaunchOptions.Monsters = static_cast<std::int16_t>(chkMonsters->Value());
}
void frmMain::chkArtInt_Click() {
  LaunchOptions.ArtInt = static_cast<std::int16_t>(chkArtInt->Value());
}

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
  LaunchOptions.Fakers = static_cast<std::int16_t>(hsbFakePlayers->sliderPosition());
}

// ---------------------------------------------------------------- launching

void frmMain::cmdLaunch_Click() {
  mainform::LaunchGame(*this);
}

void frmMain::cmdDebug_Click() {
  mainform::ShowCommandLine(*this);
}

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

void frmMain::cmdOpen_Click() {
  mainform::OpenUserFile(*this);
}

std::string frmMain::ChooseFile(const OpenDialogSettings& settings, const std::string& hostFolder) {
  return dialogs::GetOpenFileName(this, Qs(settings.title), Qs(hostFolder),
                                  NameFilters(settings.filters), Qs(settings.defaultExtension))
      .toStdString();
}

std::string frmMain::ChooseFolder(const std::string& title, const std::string& hostFolder) {
  return dialogs::GetExistingDirectory(nullptr, Qs(title), Qs(hostFolder)).toStdString();
}

void frmMain::cmdText_Click() {
  mainform::OpenCompanionText(*this);
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
  const int count = Stages.ListCount();
  int same = 0;
  while (same < count && same < cboStages->count() &&
         cboStages->itemText(same) == Qs(Stages.List(same))) {
    ++same;
  }
  while (cboStages->count() > same) cboStages->removeItem(cboStages->count() - 1);
  for (int i = same; i < count; ++i) cboStages->addItem(Qs(Stages.List(i)));
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

void frmMain::cmdBuild_Click() {
  mainform::RunCompanionTool(*this, CompanionToolId::kBuild);
}
void frmMain::cmdEditArt_Click() {
  mainform::RunCompanionTool(*this, CompanionToolId::kEditArt);
}

void frmMain::cmdStart_Click() {
  mainform::ShowPopupMenu(*this);
}

void frmMain::cmdAbout_Click() {
  mainform::ShowAbout(*this);
}

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
