#include "qt/frm_about.h"

#include <QMouseEvent>

#include "qt/widgets.h"
#include "tools/about.h"
#include "tools/author_links.h"

namespace {
// Where the core puts a control, and the picture it shows.
void Place(QWidget* control) {
  const auto& p = about::PlaceOf(control->objectName().toUtf8().constData());
  forms::PlaceTwips(control, p.left, p.top, p.width, p.height);
}
QPixmap Picture(const char* name) {
  const auto& p = about::PlaceOf(name);
  return forms::Artwork(p.picture, QSize(p.pictureWidth, p.pictureHeight));
}
}  // namespace

const QColor frmAbout::kLinkColour(255, 102, 0);
const QColor frmAbout::kPressedColour(204, 102, 204);

namespace {
frmAbout*& Shown() {
  static frmAbout* current = nullptr;
  return current;
}

const QColor kDarkBlue(0, 0, 192);
const QColor kLightBlue(0, 128, 255);

QLabel* Styled(QLabel* label, const char* name, const QFont& font) {
  label->setObjectName(name);
  label->setFont(font);
  label->setMouseTracking(true);
  return label;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QFont& font) {
  return Styled(new QLabel(text, parent), name, font);
}

void Colour(QLabel* label, const QColor& text, const QColor& back) {
  QPalette p = label->palette();
  p.setColor(QPalette::WindowText, text);
  p.setColor(QPalette::Window, back);
  label->setPalette(p);
  label->setAutoFillBackground(true);
}

QCursor HandCursor() {
  return QCursor(forms::Artwork("hand", QSize(32, 32)), 9, 1);
}
}  // namespace

frmAbout* frmAbout::Current() {
  return Shown();
}

void frmAbout::ShowModal(QWidget* owner, about::Opener open) {
  if (Shown() != nullptr) return;  // already up: it is modal
  frmAbout about(owner);
  about.opener = std::move(open);
  Shown() = &about;
  about.exec();
  Shown() = nullptr;
}

static void InitAboutArtwork() {
  Q_INIT_RESOURCE(kestrum);
}

frmAbout::frmAbout(QWidget* owner) : QDialog(owner) {
  forms::InstallAccessibility();
  InitAboutArtwork();
  setObjectName("frmAbout");
  setWindowTitle(about::kCaption);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(forms::Px(about::kClientWidth), forms::Px(about::kClientHeight));
  setMouseTracking(true);
  setModal(true);

  auto* background = new QLabel(this);
  background->setObjectName("background");
  background->setGeometry(0, 0, width(), height());
  background->setPixmap(forms::Artwork("about-background", size()));
  background->setScaledContents(true);
  background->setAttribute(Qt::WA_TransparentForMouseEvents);

  txtMessage = new QPlainTextEdit(this);
  txtMessage->setObjectName("txtMessage");
  txtMessage->setPlainText(about::kMessage);
  txtMessage->setFont(forms::Verdana(8.25));
  txtMessage->setReadOnly(true);
  txtMessage->setAccessibleName("Message");
  txtMessage->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  txtMessage->setMouseTracking(true);
  txtMessage->viewport()->setMouseTracking(true);
  Place(txtMessage);

  picTolvane = new QLabel(this);
  picTolvane->setObjectName("picTolvane");
  picTolvane->setPixmap(Picture("picTolvane"));
  picTolvane->setAlignment(Qt::AlignCenter);
  picTolvane->setMouseTracking(true);
  Place(picTolvane);

  lblStatus = MakeLabel(this, "lblStatus", {}, forms::Verdana(8.25));
  Colour(lblStatus, Qt::black, QColor(192, 192, 192));
  Place(lblStatus);

  lblVersion = MakeLabel(this, "lblVersion", about::kVersion, forms::Verdana(8.25));
  Colour(lblVersion, Qt::white, kDarkBlue);
  Place(lblVersion);

  imgHomePage = MakeLabel(this, "imgHomePage", {}, font());
  imgHomePage->setPixmap(Picture("imgHomePage"));
  Place(imgHomePage);
  imgEMail = MakeLabel(this, "imgEMail", {}, font());
  imgEMail->setPixmap(Picture("imgEMail"));
  Place(imgEMail);

  auto* email = new forms::LinkLabel(this);
  email->setText(kAuthorEMail);
  lblEMail = Styled(email, "lblEMail", forms::Verdana(8.25, false, true));
  Colour(lblEMail, kLinkColour, kDarkBlue);
  Place(lblEMail);
  auto* homePage = new forms::LinkLabel(this);
  homePage->setText(kAuthorHomePage);
  lblHomePage = Styled(homePage, "lblHomePage", forms::Verdana(8.25, false, true));
  Colour(lblHomePage, kLinkColour, kDarkBlue);
  Place(lblHomePage);

  lblTitle = MakeLabel(this, "lblTitle", about::kTitle, forms::Verdana(9.75, true));
  Colour(lblTitle, Qt::white, kLightBlue);
  Place(lblTitle);

  for (QLabel* link : {imgEMail, lblEMail, imgHomePage, lblHomePage}) {
    link->setCursor(HandCursor());
    link->setAccessibleDescription(link == imgEMail || link == lblEMail ? about::kEMailStatus
                                                                        : about::kHomePageStatus);
  }
  // The links by the keyboard too: Tab reaches them, Return or Space opens.
  email->activated = [this] { links_.Click(about::Part::kEMailLabel); };
  homePage->activated = [this] { links_.Click(about::Part::kHomePageLabel); };
  setTabOrder(email, homePage);
  forms::ShowFocusMarks(this);
  for (QObject* control : std::initializer_list<QObject*>{
           imgEMail, lblEMail, imgHomePage, lblHomePage, lblStatus, lblTitle, lblVersion,
           picTolvane, txtMessage, txtMessage->viewport()}) {
    control->installEventFilter(this);
  }
}

frmAbout::~frmAbout() {
  if (Shown() == this) Shown() = nullptr;
}

QColor frmAbout::LinkColour(QLabel* link) const {
  return link->palette().color(QPalette::WindowText);
}

std::string frmAbout::StatusText() const {
  return lblStatus->text().toStdString();
}
void frmAbout::SetStatusText(const std::string& text) {
  lblStatus->setText(QString::fromStdString(text));
}
void frmAbout::ShowPressed(bool email, bool pressed) {
  SetLinkColour(email ? lblEMail : lblHomePage, pressed ? kPressedColour : kLinkColour);
}
std::string frmAbout::LinkText(bool email) const {
  return (email ? lblEMail : lblHomePage)->text().toStdString();
}

void frmAbout::SetLinkColour(QLabel* link, const QColor& colour) {
  QPalette p = link->palette();
  p.setColor(QPalette::WindowText, colour);
  link->setPalette(p);
}

about::Part frmAbout::PartOf(QObject* control) const {
  if (control == imgEMail) return about::Part::kEMailIcon;
  if (control == lblEMail) return about::Part::kEMailLabel;
  if (control == imgHomePage) return about::Part::kHomePageIcon;
  if (control == lblHomePage) return about::Part::kHomePageLabel;
  return about::Part::kElsewhere;
}

void frmAbout::mouseMoveEvent(QMouseEvent* event) {
  links_.MouseMove(about::Part::kElsewhere);
  QDialog::mouseMoveEvent(event);
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
  // Every control of the window is watched; the links' own are told apart.
  const about::Part part = PartOf(watched);
  auto* mouse = static_cast<QMouseEvent*>(event);
  switch (event->type()) {
    case QEvent::MouseMove:
      links_.MouseMove(part);
      return true;  // the window's own handler must not see it as well
    case QEvent::MouseButtonPress:
      links_.MouseDown(part, mouse->button() == Qt::LeftButton);
      break;
    case QEvent::MouseButtonRelease:
      links_.MouseUp(part, mouse->button() == Qt::LeftButton,
                     static_cast<QWidget*>(watched)->rect().contains(mouse->pos()));
      break;
    default:
      break;
  }
  return QDialog::eventFilter(watched, event);
}
