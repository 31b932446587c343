// What the main window's sequences ask of a form (Qt's, Win32's): the
// widgets of MainWindowPort, and the dialogs. Apart from the sequences, so
// that what ends the program can reach the window without them.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/launch_options.h"
#include "base/main_window.h"
#include "base/main_window_port.h"
#include "base/message.h"

// The Open dialog's fixed settings, its filter as description and pattern
// pairs ("*.map;*.grp"), in the order the dialog offers them.
struct OpenDialogSettings {
  struct Filter {
    std::string description;
    std::string patterns;
  };
  std::string title;
  std::string defaultExtension;
  std::vector<Filter> filters;
};
const OpenDialogSettings& OpenDialog();

// The option lists' entries and the slider's range, as every form shows them.
using mainwindow::kMostFakers;
using mainwindow::RespawnEntries;
using mainwindow::SkillEntries;
using mainwindow::SoundEntries;

// A modal dialog the sequences ask for, as data: what it says and offers.
struct DialogRequest {
  enum class Kind { kMessage, kOpenFile, kFolder, kList, kText } kind = Kind::kMessage;
  std::string text;  // a message's or a list's prompt
  std::string title;
  int style = 0;          // a message's (Message::kStop, ...)
  std::string directory;  // where an Open or a folder dialog starts
  std::vector<OpenDialogSettings::Filter> filters;
  std::string defaultExtension;
  std::vector<std::string> items;  // a list's; a text's one entry: the text it starts with
  // Per item of a list, why it cannot be picked (shown greyed); empty: it can.
  std::vector<std::string> greyed;
};
// An answer given in the user's place: the file or folder chosen, a list's
// place in decimal; the empty text for none.
using DialogAnswers = std::function<std::string(const DialogRequest&)>;

// What the main window's sequences keep from one event to the next, owned
// by the window they run for.
struct Session {
  // The game program the user chose, and whether the folder offers a choice
  // (it holds more than one); saved as "Engine" only then.
  GameEngine engine = GameEngine::kDos;
  bool engineChoiceOffered = false;
  // The engine the window shows (its caption, its disabled controls): a
  // launch starts that one or nothing. Unset until the window shows one.
  std::optional<GameEngine> shownEngine;
  // A started program whose window comes to the front when the user comes
  // back to Kestrum, and whether Kestrum waits minimised for that.
  std::int64_t task = 0;
  bool waitingForReturn = false;
  // The folder the Open dialog shows next: where the last file was chosen.
  std::string lastOpenFolder;
  // The preset the window shows and plays (its name), empty for none; and
  // the window's own choices, back when none is chosen again.
  std::string preset;
  LaunchOptionsRecord ownOptions{};
  std::string ownStage;
  // Set, no dialog is shown: each is answered so (a test's seam).
  DialogAnswers answerDialogs;
  // Set, documents and links go there instead of to the desktop (a test's
  // seam where no stand-in program can take the system's place).
  std::function<void(const std::string&)> openDocument;
  // The way out: once, then how the process ends (a test's seam in place of
  // ending it) after the forms let go of their windows.
  bool exiting = false;
  std::function<void()> endProcess;
  std::function<void()> releaseForms;
};

class MainFormPort : public MainWindowPort {
 public:
  Session session;

  // A modal message box with an OK button; returns when it is closed.
  void ShowMessage(const Message& message);
  // The window takes the input focus, leaving it on the control that had it.
  virtual void TakeFocus() = 0;
  virtual void ShowWindow() = 0;
  virtual void Minimize() = 0;
  // Back from minimised; without taking the activation from the window that
  // holds it, when told so.
  virtual void Restore(bool leaveActivationAlone) = 0;
  // An option control of the window's table set to a value in its range;
  // a control that changes raises its own handler.
  virtual void ShowOption(const mainwindow::Control& control, int value) = 0;
  // An option control the engine can take (enabled, with its own tool tip)
  // or cannot (disabled; the tool tip says why). Its value stays.
  virtual void EnableOption(const mainwindow::Control& control, bool enabled,
                            const std::string& whyNot) = 0;
  // Modal dialogs; each gives the host path chosen, or the empty text.
  std::string ChooseFile(const OpenDialogSettings& settings, const std::string& hostFolder);
  std::string ChooseFolder(const std::string& title, const std::string& hostFolder);
  // A modal choice of one of the entries; its position, or -1 when cancelled.
  // An entry with a reason in greyed (same positions) is shown greyed and
  // cannot be picked.
  int ChooseFromList(const std::string& title, const std::string& prompt,
                     const std::vector<std::string>& entries,
                     const std::vector<std::string>& greyed = {});
  // A line of text typed by the user (a name), starting as given; empty
  // when cancelled.
  std::string AskText(const std::string& title, const std::string& prompt, const std::string& text);
  // The popup menu at a point of the client area, in pixels; returns when it
  // has closed. A chosen item runs afterwards, as its own event.
  virtual void ShowPopupMenu(int x, int y) = 0;
  virtual void ShowAbout() = 0;
  // Runs the action once, that many milliseconds from now, as an event of
  // the window's own (never while another handler runs); not after the
  // window is gone.
  virtual void After(int milliseconds, std::function<void()> action) = 0;

 protected:
  // The form's own dialogs, shown where the session answers none.
  virtual void ShowMessageBox(const Message& message) = 0;
  virtual std::string AskForFile(const OpenDialogSettings& settings,
                                 const std::string& hostFolder) = 0;
  virtual std::string AskForFolder(const std::string& title, const std::string& hostFolder) = 0;
  virtual int AskFromList(const std::string& title, const std::string& prompt,
                          const std::vector<std::string>& entries,
                          const std::vector<std::string>& greyed) = 0;
  virtual std::string AskForText(const std::string& title, const std::string& prompt,
                                 const std::string& text) = 0;
};

namespace mainform {

// The one main window of the process while it exists (for the popup menu
// and the end of the program); null before and after.
MainFormPort* Window();
void SetWindow(MainFormPort* window);

}  // namespace mainform
