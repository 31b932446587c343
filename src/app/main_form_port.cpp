#include "app/main_form_port.h"

#include <cstdlib>
#include <string>
#include <vector>

const OpenDialogSettings& OpenDialog() {
  static const OpenDialogSettings settings = [] {
    OpenDialogSettings s;
    s.title = "Gimme Some Sugar, Baby...";
    s.defaultExtension = "map";
    // As the game's own tools write a filter: description|pattern pairs.
    const std::string filter =
        "All Duke Nukem Files|*.map;*.grp|Duke Nukem Maps (*.map)|*.map|"
        "Duke Nukem Group Files (*.grp)|*.grp|All Files (*.*)|*.*";
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t bar = filter.find('|'); start <= filter.size();
         bar = filter.find('|', start)) {
      if (bar == std::string::npos) bar = filter.size();
      parts.push_back(filter.substr(start, bar - start));
      start = bar + 1;
    }
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2)
      s.filters.push_back({parts[i], parts[i + 1]});
    return s;
  }();
  return settings;
}

void MainFormPort::ShowMessage(const Message& message) {
  if (!session.answerDialogs) return ShowMessageBox(message);
  DialogRequest request;
  request.text = message.text;
  request.title = message.title;
  request.style = message.style;
  session.answerDialogs(request);
}

std::string MainFormPort::ChooseFile(const OpenDialogSettings& settings,
                                     const std::string& hostFolder) {
  if (!session.answerDialogs) return AskForFile(settings, hostFolder);
  DialogRequest request;
  request.kind = DialogRequest::Kind::kOpenFile;
  request.title = settings.title;
  request.directory = hostFolder;
  request.filters = settings.filters;
  request.defaultExtension = settings.defaultExtension;
  return session.answerDialogs(request);
}

std::string MainFormPort::ChooseFolder(const std::string& title, const std::string& hostFolder) {
  if (!session.answerDialogs) return AskForFolder(title, hostFolder);
  DialogRequest request;
  request.kind = DialogRequest::Kind::kFolder;
  request.title = title;
  request.directory = hostFolder;
  return session.answerDialogs(request);
}

int MainFormPort::ChooseFromList(const std::string& title, const std::string& prompt,
                                 const std::vector<std::string>& entries,
                                 const std::vector<std::string>& greyed) {
  std::vector<std::string> reasons = greyed;
  reasons.resize(entries.size());
  int picked = -1;
  if (!session.answerDialogs) {
    picked = AskFromList(title, prompt, entries, reasons);
  } else {
    DialogRequest request;
    request.kind = DialogRequest::Kind::kList;
    request.title = title;
    request.text = prompt;
    request.items = entries;
    request.greyed = reasons;
    const std::string answer = session.answerDialogs(request);
    picked = answer.empty() ? -1 : std::atoi(answer.c_str());
  }
  // A greyed entry is never an answer, whatever the dialog let through.
  if (picked < 0 || picked >= static_cast<int>(entries.size())) return -1;
  return reasons[static_cast<std::size_t>(picked)].empty() ? picked : -1;
}

std::string MainFormPort::AskText(const std::string& title, const std::string& prompt,
                                  const std::string& text) {
  if (!session.answerDialogs) return AskForText(title, prompt, text);
  DialogRequest request;
  request.kind = DialogRequest::Kind::kText;
  request.title = title;
  request.text = prompt;
  request.items = {text};
  return session.answerDialogs(request);
}
