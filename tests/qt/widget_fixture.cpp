#include "widget_fixture.h"

#include <QAbstractItemView>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "app/exit_program.h"
#include "qt/frm_popup.h"

namespace testsupport {

namespace {
WidgetTest*& Current() {
  static WidgetTest* current = nullptr;
  return current;
}
}  // namespace

TestForm::TestForm() {
  // Every window a test makes has its dialogs answered by that test.
  if (Current() != nullptr) Current()->AnswerFor(*this);
  const auto as = [this]<typename T>(T*& handle, const char* name) {
    handle = static_cast<T*>(Control(name));
    EXPECT_NE(handle, nullptr) << name;
  };
  as(cmdStart, "cmdStart");
  as(cmdOpen, "cmdOpen");
  as(cmdText, "cmdText");
  as(cmdLaunch, "cmdLaunch");
  as(cmdBuild, "cmdBuild");
  as(cmdEditArt, "cmdEditArt");
  as(cmdAbout, "cmdAbout");
  as(cmdDebug, "cmdDebug");
  as(picMain, "picMain");
  as(chkRecord, "chkRecord");
  as(chkMonsters, "chkMonsters");
  as(chkArtInt, "chkArtInt");
  as(lblRecord, "lblRecord");
  as(lblMonsters, "lblMonsters");
  as(cboSound, "cboSound");
  as(cboSkills, "cboSkills");
  as(cboRespawn, "cboRespawn");
  as(cboStages, "cboStages");
  as(txtFakePlayers, "txtFakePlayers");
  as(hsbFakePlayers, "hsbFakePlayers");
}

void WidgetTest::AnswerFor(TestForm& window) {
  // The window's dialogs are answered here, and the end of the program is
  // counted instead of ending the tests.
  window.session.endProcess = [this] { ++processEnds; };
  window.session.answerDialogs = [this](const DialogRequest& r) -> std::string {
    if (r.kind == DialogRequest::Kind::kFolder) {
      ++gameFolderQuestions;
      return gameFolderAnswer.toStdString();
    }
    ShownDialog d;
    d.kind = r.kind;
    d.text = QString::fromStdString(r.text);
    d.title = QString::fromStdString(r.title);
    d.style = r.style;
    d.directory = QString::fromStdString(r.directory);
    for (const auto& f : r.filters) {
      d.filters << QString::fromStdString(f.description + "|" + f.patterns);
    }
    d.defaultSuffix = QString::fromStdString(r.defaultExtension);
    for (const auto& item : r.items) d.items << QString::fromStdString(item);
    if (r.kind == DialogRequest::Kind::kList) {
      foundFoldersOffered = d.items;
      listsOffered.push_back(d.items);
      listGreyed.clear();
      for (const auto& why : r.greyed) listGreyed << QString::fromStdString(why);
      if (!listAnswers.empty()) {
        const int at = listAnswers.front();
        listAnswers.pop_front();
        return at >= 0 ? std::to_string(at) : std::string();
      }
      const int at =
          foundFolderPosition >= 0 ? foundFolderPosition : d.items.indexOf(foundFolderAnswer);
      return at >= 0 ? std::to_string(at) : std::string();
    }
    if (r.kind == DialogRequest::Kind::kText && !textAnswers.empty()) {
      const std::string answer = textAnswers.front();
      textAnswers.pop_front();
      return answer;
    }
    shown.push_back(d);
    if (r.kind == DialogRequest::Kind::kOpenFile && !openAnswers_.empty()) {
      const QString answer = openAnswers_.front();
      openAnswers_.pop_front();
      return answer.toStdString();
    }
    return {};
  };
}

void WidgetTest::SetUp() {
  IsolatedTest::SetUp();
  Current() = this;
}

void WidgetTest::TearDown() {
  form.reset();
  Current() = nullptr;
  frmPopup::Release();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  IsolatedTest::TearDown();
}

bool WidgetTest::Load() {
  form = std::make_unique<TestForm>();
  const bool loaded = form->Form_Load();
  if (loaded) {
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    // Keys go to the active window, as they do for the user.
    QApplication::setActiveWindow(form.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
  }
  return loaded;
}

void WidgetTest::PressAltD() {
  const std::size_t before = shown.size();
  QTest::keyClick(form.get(), Qt::Key_D, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return shown.size() > before; }, 2000));
}

bool WidgetTest::Drop(const QStringList& hostPaths) {
  QMimeData data;
  QList<QUrl> urls;
  for (const auto& p : hostPaths) urls << QUrl::fromLocalFile(p);
  data.setUrls(urls);
  const QPoint at = form->cmdStart->rect().center();
  QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
  QApplication::sendEvent(form->cmdStart, &enter);
  const bool accepted = enter.isAccepted();
  QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
  QApplication::sendEvent(form->cmdStart, &drop);
  EXPECT_EQ(drop.dropAction(), Qt::CopyAction);  // never a move of the user's file
  return accepted;
}

void PickEntry(QComboBox* list, int index) {
  list->showPopup();
  QAbstractItemView* view = list->view();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(view->window()));
  const QRect rect = view->visualRect(view->model()->index(index, 0));
  view->scrollTo(view->model()->index(index, 0));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                    view->visualRect(view->model()->index(index, 0)).center());
  (void)rect;
  QTest::qWait(20);
}

}  // namespace testsupport

int main(int argc, char** argv) {
  // Widget tests need no screen; test discovery runs this binary too.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
