// The main window described once, for every front end: each control's name,
// kind, text, tool tip, place (in twips, in its parent), accessible name and
// place in the tab order, and which option it holds. A form draws this
// table in its toolkit and hands the options' changes to OptionChanged.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/launch_options.h"

namespace mainwindow {

enum class Kind {
  kPictureButton,  // a toolbar button showing its artwork
  kHiddenButton,   // beyond the window's edge: never seen, pressed by its access key
  kPanel,          // the option panel, with its artwork behind the rows
  kRowPicture,     // the icon at the left of an option row
  kCheckBox,
  kClickLabel,  // a label that toggles its check box
  kLabel,
  kDropDownList,
  kDisplay,  // a text box that only shows a value
  kScrollBar,
  kStageList,
};

// What a button does when it is pressed (mainform::Run).
enum class Command { kNone, kPopupMenu, kOpen, kText, kLaunch, kBuild, kEditArt, kAbout, kDebug };

struct Control {
  const char* name;  // as the form knows it: cmdStart, chkRecord, ...
  Kind kind;
  const char* parent;  // "picMain", or empty: the window itself
  const char* text;    // caption or label; the artwork's name for pictures
  const char* toolTip;
  int left, top, width, height;
  const char* accessibleName;
  int tabIndex;  // its place in the tab order from 1; 0 where Tab never stops
  Option option;
  const char* buddy;        // a label: the control it names
  int artWidth, artHeight;  // the artwork's size in pixels, where there is one
  Command command = Command::kNone;
  bool takesDrops = false;  // files dropped on it become the user's file
};

// In the order a form makes them (a parent before what it holds).
const std::vector<Control>& Controls();
// The control of that name; null for a name the table does not have.
const Control* Find(std::string_view name);
// The control that holds an option, or does a command; null for none.
const Control* ControlOf(Option option);
const Control* ControlOf(Command command);
// A control's id, as the system names child windows (Windows' control ids):
// 100 and its place in the table.
int IdOf(const Control& control);
const Control* WithId(int id);
// The largest value an option control shows: a check box 2 (grayed, from a
// stored value only), a list its last entry, the slider its range.
int MostOf(const Control& control);

// The client area, in twips.
inline constexpr int kClientWidth = 3735;
inline constexpr int kClientHeight = 3135;
// As many rows as a drop-down list shows before it scrolls.
inline constexpr int kListRows = 8;
// The option panel's background colour, and its artwork's size in pixels.
inline constexpr int kPanelRed = 40, kPanelGreen = 36, kPanelBlue = 32;
inline constexpr int kPanelArtWidth = 249, kPanelArtHeight = 158;
// The panel's texts: white, and grey while what they name cannot be used.
inline constexpr int kTextRed = 255, kTextGreen = 255, kTextBlue = 255;
inline constexpr int kDisabledRed = 128, kDisabledGreen = 128, kDisabledBlue = 128;

// The caption before the edition is known; the edition follows it.
inline constexpr const char* kCaption = "Duke Nukem ";

// The entries of the three option lists, in their order.
const std::vector<std::string>& SoundEntries();
const std::vector<std::string>& SkillEntries();
const std::vector<std::string>& RespawnEntries();
// The entries of a drop-down list of the table; none for the stage list.
const std::vector<std::string>& EntriesOf(const Control& list);
// The slider's range of fake players.
inline constexpr int kMostFakers = 8;

// Each option, declared once: the field of LaunchOptions that holds it, the
// name it is saved by (empty: for this run only), the game's switch for
// each value its control shows, and when it is said and shown; in the
// order they are read, written, shown at start-up and said on the line.
struct OptionField {
  Option option;
  std::int16_t LaunchOptionsRecord::*field;
  const char* savedAs;
  // The DOS game's switch for a value, without the switch character (""
  // says nothing; a blank parts two switches). Every engine of its family
  // takes them so; another says them in words of its own, or cannot.
  std::string (*switchFor)(int value);
  // Not said with a user map to an engine whose fake players would hold
  // the map back from starting.
  bool heldByAMap = false;
  // Hidden until the edition shows it (the fake players' minds).
  bool hiddenAtFirst = false;
};
const std::vector<OptionField>& OptionFields();
// The row of an option; null for none.
const OptionField* FieldOf(Option option);

// An option control now shows that value (a check box 0 or 1, a list its
// position, the slider its position): LaunchOptions follows. What each
// option's handler does (chkRecord_Click, cboSound_Click, ...,
// txtFakePlayers_Change for the slider's value).
void OptionChanged(Option option, int value);

}  // namespace mainwindow
