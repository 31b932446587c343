// The main window's sequences as every front end gets them, over a window
// without widgets: what start-up shows, what a launch does to the window,
// what a chosen file changes.
#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <functional>

#include "app/main_form.h"
#include "launch/command_line.h"
#include "base/stage_list.h"
#include "os/instance.h"
#include "support/fake_window.h"
#include "support/test_support.h"
#include "text/text.h"
#include "winapi/dos_paths.h"

namespace {

class FakeForm : public MainFormPort {
 public:
  // MainWindowPort, as the core's other tests have it.
  testsupport::FakeWindow window;
  std::string Caption() const override { return window.Caption(); }
  void SetCaption(const std::string& c) override { window.SetCaption(c); }
  void ShowArtInt() override { window.ShowArtInt(); }
  void SetTextButtonEnabled(bool e) override { window.SetTextButtonEnabled(e); }
  void SetTextButtonToolTip(const std::string& t) override { window.SetTextButtonToolTip(t); }
  double Left() const override { return window.Left(); }
  double Top() const override { return window.Top(); }
  double Width() const override { return window.Width(); }
  void SetLeft(double t) override { window.SetLeft(t); }
  void SetTop(double t) override { window.SetTop(t); }
  double ScreenWidth() const override { return window.ScreenWidth(); }
  double ScreenHeight() const override { return window.ScreenHeight(); }
  std::vector<Area> Screens() const override { return window.Screens(); }
  bool KnowsItsPosition() const override { return true; }

  std::vector<std::string> events;  // what the core asked of the window, in order
  std::vector<Message> messages;
  std::map<std::string, int> shownOptions;
  std::deque<std::string> fileAnswers;

  void ShowMessageBox(const Message& m) override {
    messages.push_back(m);
    events.push_back("message");
  }
  void TakeFocus() override { events.push_back("focus"); }
  void ShowWindow() override { events.push_back("show"); }
  void Minimize() override { events.push_back("minimize"); }
  void Restore(bool leaveActivationAlone) override {
    events.push_back(leaveActivationAlone ? "restore behind" : "restore");
  }
  std::map<std::string, std::string> disabled;  // control, and why
  void EnableOption(const mainwindow::Control& control, bool enabled,
                    const std::string& whyNot) override {
    if (enabled) {
      disabled.erase(control.name);
    } else {
      disabled[control.name] = whyNot;
    }
  }
  void ShowOption(const mainwindow::Control& control, int value) override {
    shownOptions[control.name] = value;
    events.push_back(std::string("option ") + control.name);
  }
  std::string AskForFile(const OpenDialogSettings&, const std::string&) override {
    events.push_back("open dialog");
    if (fileAnswers.empty()) return {};
    std::string answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
  }
  std::string AskForFolder(const std::string& title, const std::string&) override {
    events.push_back("folder dialog: " + title);
    return {};
  }
  int AskFromList(const std::string& title, const std::string&, const std::vector<std::string>&,
                  const std::vector<std::string>&) override {
    events.push_back("list: " + title);
    return -1;
  }
  std::string AskForText(const std::string& title, const std::string&,
                         const std::string&) override {
    events.push_back("text: " + title);
    return {};
  }
  void ShowPopupMenu(int, int) override { events.push_back("popup"); }
  void ShowAbout() override { events.push_back("about"); }
  std::vector<std::function<void()>> later;  // run by the test, as the timers would
  void After(int, std::function<void()> action) override { later.push_back(std::move(action)); }
};

class MainFormTest : public testsupport::IsolatedTest {
 protected:
  void SetUp() override {
    IsolatedTest::SetUp();
    testsupport::WriteFile(ProgramDir() + "/DUKE3D.EXE", "");
  }
  void TearDown() override {
    platform::ReleaseInstance();
    IsolatedTest::TearDown();
  }
  FakeForm form;
};

TEST_F(MainFormTest, StartUpShowsTheStoredOptionsInTheirRangesThenTheWindow) {
  testsupport::MakeDirs(ConfigHome() + "/kestrum");
  testsupport::WriteFile(RegistryFile(),
                         "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Tolvane\\Kestrum\\General]"
                         "\r\n\"Sound\"=\"9\"\r\n\"Skills\"=\"2\"\r\n\"Fakers\"=\"3\"\r\n");
  ASSERT_TRUE(mainform::StartUp(form));
  EXPECT_EQ(form.events,
            (std::vector<std::string>{"option chkRecord", "option chkMonsters", "option cboSound",
                                      "option cboSkills", "option cboRespawn",
                                      "option hsbFakePlayers", "show"}));
  EXPECT_EQ(form.shownOptions["cboSound"], 0);  // no such entry: the first one
  EXPECT_EQ(form.shownOptions["cboSkills"], 2);
  EXPECT_EQ(form.shownOptions["hsbFakePlayers"], 3);
  EXPECT_EQ(LaunchOptions.Sound, 0);
  EXPECT_EQ(form.stages.ListCount(), 30);
}

TEST_F(MainFormTest, ALaunchWaitsMinimisedUntilTheUserComesBack) {
  testsupport::WriteRecordingProgram(Bin(), "command.com");
  ASSERT_TRUE(mainform::StartUp(form));
  form.events.clear();
  mainform::LaunchGame(form);
  EXPECT_EQ(form.events, (std::vector<std::string>{"minimize"}));
  EXPECT_TRUE(mainform::WaitingForReturn(form));
  ASSERT_EQ(testsupport::WaitForCalls(Bin(), "command.com", 1).size(), 1u);
  mainform::CameBack(form, false);
  EXPECT_EQ(form.events, (std::vector<std::string>{"minimize", "restore"}));
  EXPECT_FALSE(mainform::WaitingForReturn(form));

  // Nothing to start: the window comes back at once and says why.
  ::unlink((ProgramDir() + "/DUKE3D.EXE").c_str());
  form.events.clear();
  mainform::LaunchGame(form);
  EXPECT_EQ(form.events, (std::vector<std::string>{"message"}));
  EXPECT_EQ(form.messages.back().text, "Duke3D is not in required directory");
  EXPECT_FALSE(mainform::WaitingForReturn(form));
}

TEST_F(MainFormTest, AChosenMapBecomesTheUserEntryAndReachesTheLine) {
  ASSERT_TRUE(mainform::StartUp(form));
  testsupport::MakeDirs(Root() + "/maps");
  testsupport::WriteFile(Root() + "/maps/My Map.map", "");
  form.fileAnswers.push_back(Root() + "/maps/My Map.map");
  form.events.clear();
  mainform::OpenUserFile(form);
  EXPECT_EQ(form.events, (std::vector<std::string>{"focus", "open dialog"}));
  EXPECT_EQ(form.stages.List(0), "mymap~1.map");
  mainform::ShowCommandLine(form);
  ASSERT_EQ(form.messages.size(), 1u);
  EXPECT_EQ(form.messages[0].title, "Command Line");
  EXPECT_EQ(form.messages[0].text,
            "command.com /c Duke3D /s1 -map " +
                text::ToLower(platform::HostToDos(platform::HostPath{Root() + "/maps"}).text) +
                "\\mymap~1.map");
  // A cancelled dialog changes nothing.
  mainform::OpenUserFile(form);
  EXPECT_EQ(form.stages.List(0), "mymap~1.map");
}

}  // namespace
