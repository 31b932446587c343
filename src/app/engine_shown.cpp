#include "app/engine_shown.h"

#include <string>

#include "base/main_window.h"
#include "launch/command_line.h"
#include "levels/ini_files.h"

namespace mainform {

void ShowWhatTheEngineTakes(MainFormPort& window, const launch::GameFolder& folder) {
  const GameEngine engine = launch::EngineToRun(folder, window.session.engine);
  const launch::EngineRow& row = launch::RowOf(engine);
  window.session.shownEngine = engine;
  const CommandDialect dialect = row.dialect({}, {});
  for (const mainwindow::OptionField& option : mainwindow::OptionFields()) {
    const mainwindow::Control* control = mainwindow::ControlOf(option.option);
    if (control == nullptr) continue;
    const bool takes = TakesWith(dialect, static_cast<int>(option.option), window.stages.Text());
    window.EnableOption(*control, takes, takes ? std::string() : dialect.whyNot);
  }
  // Which engine plays, wherever it is not the DOS game alone.
  const bool dosGameAlone =
      row.start == launch::StartedBy::kCommandInterpreter && !window.session.engineChoiceOffered;
  window.SetCaption(
      mainwindow::kCaption + SetupVersion +
      (dosGameAlone ? std::string() : std::string(" (") + row.menuText + ")") +
      (window.session.preset.empty() ? std::string() : " - " + window.session.preset));
}

void ShowWhatTheEngineTakes(MainFormPort& window) {
  ShowWhatTheEngineTakes(window, launch::LookAtGameFolder());
}

}  // namespace mainform
