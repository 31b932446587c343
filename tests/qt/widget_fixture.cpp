#include "widget_fixture.h"

#include <QAbstractItemView>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "app/exit_program.h"
#include "qt/frm_popup.h"

namespace testsupport {

TestForm::TestForm() {
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

void WidgetTest::SetUp() {
  IsolatedTest::SetUp();
  ResetExitProgramForTesting();
  SetProcessEndForTesting([this] { ++processEnds; });
  dialogs::SetHookForTesting([this](const dialogs::Request& r) {
    if (r.kind == dialogs::Request::Kind::Folder) {
      ++gameFolderQuestions;
      return gameFolderAnswer;
    }
    if (r.kind == dialogs::Request::Kind::List) {
      foundFoldersOffered = r.items;
      const int at =
          foundFolderPosition >= 0 ? foundFolderPosition : r.items.indexOf(foundFolderAnswer);
      return at >= 0 ? QString::number(at) : QString();
    }
    shown.push_back(r);
    if (r.kind == dialogs::Request::Kind::OpenFile && !openAnswers_.empty()) {
      const QString answer = openAnswers_.front();
      openAnswers_.pop_front();
      return answer;
    }
    return QString();
  });
}

void WidgetTest::TearDown() {
  form.reset();
  frmPopup::Release();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  dialogs::SetHookForTesting(nullptr);
  SetProcessEndForTesting(nullptr);
  ResetExitProgramForTesting();
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
