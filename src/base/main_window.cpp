#include "base/main_window.h"

#include <cstdint>

namespace mainwindow {

const std::vector<Control>& Controls() {
  using K = Kind;
  using O = Option;
  static const std::vector<Control> controls = {
      // The toolbar.
      {"cmdStart", K::kPictureButton, "", "start", "Click Here to Begin", 0, 0, 825, 375,
       "Click Here to Begin", 1, O::kNone, "", 51, 22, Command::kPopupMenu, true},
      {"cmdOpen", K::kPictureButton, "", "open", "Open Map", 825, 0, 375, 375, "Open Map", 2,
       O::kNone, "", 20, 20, Command::kOpen},
      {"cmdText", K::kPictureButton, "", "text", "", 1200, 0, 375, 375, "Read the map's text", 3,
       O::kNone, "", 20, 20, Command::kText},
      {"cmdLaunch", K::kPictureButton, "", "launch", "Launch Duke3D", 1575, 0, 375, 375,
       "Launch Duke3D", 4, O::kNone, "", 21, 22, Command::kLaunch},
      {"cmdBuild", K::kPictureButton, "", "build", "Launch Build", 2295, 0, 375, 375,
       "Launch Build", 5, O::kNone, "", 20, 20, Command::kBuild},
      {"cmdEditArt", K::kPictureButton, "", "editart", "Launch Editart", 2670, 0, 375, 375,
       "Launch Editart", 6, O::kNone, "", 20, 20, Command::kEditArt},
      {"cmdAbout", K::kPictureButton, "", "about", "About...", 3360, 0, 375, 375, "About...", 7,
       O::kNone, "", 20, 20, Command::kAbout},
      {"cmdDebug", K::kHiddenButton, "", "&Debug", "", 3840, 600, 735, 375, "Debug", 0, O::kNone,
       "", 0, 0, Command::kDebug},
      // The option panel and its rows.
      {"picMain", K::kPanel, "", "panel", "", 0, 390, 3735, 2370, "Options", 0, O::kNone, "",
       kPanelArtWidth, kPanelArtHeight},
      {"imgRecord", K::kRowPicture, "picMain", "row-record", "", 0, 0, 330, 360, "", 0, O::kNone,
       "", 22, 24},
      {"imgMonsters", K::kRowPicture, "picMain", "row-monsters", "", 0, 330, 330, 360, "", 0,
       O::kNone, "", 22, 24},
      {"imgSound", K::kRowPicture, "picMain", "row-sound", "", 0, 990, 330, 360, "", 0, O::kNone,
       "", 22, 24},
      {"imgSkill", K::kRowPicture, "picMain", "row-skill", "", 0, 1320, 330, 360, "", 0, O::kNone,
       "", 22, 24},
      {"imgRespawn", K::kRowPicture, "picMain", "row-respawn", "", 0, 1650, 330, 360, "", 0,
       O::kNone, "", 22, 24},
      {"imgFakePlayers", K::kRowPicture, "picMain", "row-fakeplayers", "", 0, 1980, 330, 360, "", 0,
       O::kNone, "", 22, 24},
      {"chkRecord", K::kCheckBox, "picMain", "", "", 375, 75, 195, 195, "Record Demo", 8,
       O::kRecord, "", 0, 0},
      {"lblRecord", K::kClickLabel, "picMain", "Record Demo", "", 615, 75, 1170, 195, "", 0,
       O::kNone, "chkRecord", 0, 0},
      {"chkMonsters", K::kCheckBox, "picMain", "", "", 375, 405, 195, 195, "Disable Monsters", 9,
       O::kMonsters, "", 0, 0},
      {"lblMonsters", K::kClickLabel, "picMain", "Disable Monsters", "", 615, 405, 1455, 195, "", 0,
       O::kNone, "chkMonsters", 0, 0},
      {"lblSound", K::kLabel, "picMain", "Sound:", "", 615, 1050, 615, 195, "", 0, O::kNone,
       "cboSound", 0, 0},
      {"cboSound", K::kDropDownList, "picMain", "", "", 1605, 990, 2055, 315, "Sound", 10,
       O::kSound, "", 0, 0},
      {"lblSkill", K::kLabel, "picMain", "Skill Level:", "", 615, 1380, 945, 195, "", 0, O::kNone,
       "cboSkills", 0, 0},
      {"cboSkills", K::kDropDownList, "picMain", "", "", 1605, 1320, 2055, 315, "Skill Level", 11,
       O::kSkills, "", 0, 0},
      {"lblRespawn", K::kLabel, "picMain", "Respawn:", "", 615, 1710, 840, 195, "", 0, O::kNone,
       "cboRespawn", 0, 0},
      {"cboRespawn", K::kDropDownList, "picMain", "", "", 1605, 1650, 2055, 315, "Respawn", 12,
       O::kRespawn, "", 0, 0},
      // Hidden until the edition is known to have fake players with a mind.
      {"chkArtInt", K::kCheckBox, "picMain", "", "Use Artificial Intelligence", 375, 2025, 195, 195,
       "Use Artificial Intelligence", 13, O::kArtInt, "", 0, 0},
      {"lblFakePlayers", K::kLabel, "picMain", "Fake MultiPlayers:", "", 615, 2025, 1560, 195, "",
       0, O::kNone, "hsbFakePlayers", 0, 0},
      // A display only: the slider holds the value.
      {"txtFakePlayers", K::kDisplay, "picMain", "0", "", 2205, 1995, 270, 285, "", 0, O::kNone, "",
       0, 0},
      {"hsbFakePlayers", K::kScrollBar, "picMain", "", "", 2535, 2025, 1095, 240,
       "Fake MultiPlayers", 14, O::kFakers, "", 0, 0},
      // The stage list, below the panel; a hidden label names it.
      {"cboStages", K::kStageList, "", "", "", 0, 2775, 3735, 360, "Level", 15, O::kNone, "", 0, 0},
  };
  return controls;
}

const Control* Find(std::string_view name) {
  for (const Control& c : Controls()) {
    if (name == c.name) return &c;
  }
  return nullptr;
}

const Control* ControlOf(Option option) {
  for (const Control& c : Controls()) {
    if (option != Option::kNone && c.option == option) return &c;
  }
  return nullptr;
}

const Control* ControlOf(Command command) {
  for (const Control& c : Controls()) {
    if (command != Command::kNone && c.command == command) return &c;
  }
  return nullptr;
}

int IdOf(const Control& control) {
  return 100 + static_cast<int>(&control - Controls().data());
}

const Control* WithId(int id) {
  const int at = id - 100;
  return at >= 0 && at < static_cast<int>(Controls().size())
             ? &Controls()[static_cast<std::size_t>(at)]
             : nullptr;
}

int MostOf(const Control& control) {
  switch (control.kind) {
    case Kind::kCheckBox:
      return 2;
    case Kind::kDropDownList:
      return static_cast<int>(EntriesOf(control).size()) - 1;
    case Kind::kScrollBar:
      return kMostFakers;
    default:
      return 0;
  }
}

namespace {

// A check box's switch: said when it is checked (a stored 2 is not).
std::string Flag(int value, const char* letter) {
  return value == 1 ? letter : "";
}

}  // namespace

const std::vector<OptionField>& OptionFields() {
  using R = LaunchOptionsRecord;
  static const std::vector<OptionField> fields = {
      {Option::kRecord, &R::Record, "Record", [](int v) { return Flag(v, "r"); }},
      {Option::kMonsters, &R::Monsters, "Monsters", [](int v) { return Flag(v, "m"); }},
      {Option::kSound, &R::Sound, "Sound",
       [](int v) -> std::string {
         return v == 1 ? "nm" : v == 2 ? "ns" : v == 3 ? "nm ns" : "";
       }},
      {Option::kSkills, &R::Skills, "Skills", [](int v) { return "s" + std::to_string(v + 1); }},
      // The game reads t1 as monsters, t2 items and t3 inventory, the list's
      // own positions; anything else after t is all three.
      {Option::kRespawn, &R::Respawn, "Respawn",
       [](int v) -> std::string { return v == 4   ? "tx"
                                         : v != 0 ? "t" + std::to_string(v)
                                                  : ""; }},
      {Option::kFakers, &R::Fakers, "Fakers",
       [](int v) -> std::string { return v != 0 ? "q" + std::to_string(v) : ""; }, true},
      {Option::kArtInt, &R::ArtInt, "", [](int v) { return Flag(v, "a"); }, true, true},
  };
  return fields;
}

const OptionField* FieldOf(Option option) {
  for (const OptionField& f : OptionFields()) {
    if (f.option == option) return &f;
  }
  return nullptr;
}

const std::vector<std::string>& SoundEntries() {
  static const std::vector<std::string> entries = {"Use Defaults", "Music Disabled",
                                                   "Sound Disabled", "Sound & Music Off"};
  return entries;
}
const std::vector<std::string>& SkillEntries() {
  static const std::vector<std::string> entries = {"Piece of Cake", "Let's Rock", "Come Get Some",
                                                   "Damn I'm Good"};
  return entries;
}
const std::vector<std::string>& RespawnEntries() {
  static const std::vector<std::string> entries = {"No Respawn", "Monsters Only", "Items Only",
                                                   "Inventory Only", "Everything!"};
  return entries;
}

const std::vector<std::string>& EntriesOf(const Control& list) {
  static const std::vector<std::string> none;
  switch (list.option) {
    case Option::kSound:
      return SoundEntries();
    case Option::kSkills:
      return SkillEntries();
    case Option::kRespawn:
      return RespawnEntries();
    default:
      return none;
  }
}

void OptionChanged(Option option, int value) {
  for (const OptionField& f : OptionFields()) {
    if (f.option == option) LaunchOptions.*f.field = static_cast<std::int16_t>(value);
  }
}

}  // namespace mainwindow
