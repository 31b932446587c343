#include "tools/about.h"

#include <string_view>

#include "launch/shell_paths.h"

namespace about {

const Place& PlaceOf(const char* name) {
  static constexpr Place kPlaces[] = {
      {"txtMessage", 0, 1965, 3885, 885, "", 0, 0},
      {"picTolvane", 795, 600, 2250, 705, "logo", 150, 48},
      {"lblStatus", 0, 2865, 3885, 255, "", 0, 0},
      {"lblVersion", 30, 300, 3825, 225, "", 0, 0},
      {"imgHomePage", 60, 1680, 240, 270, "homepage", 16, 18},
      {"imgEMail", 60, 1395, 240, 270, "email", 16, 18},
      {"lblEMail", 360, 1395, 3480, 240, "", 0, 0},
      {"lblHomePage", 360, 1680, 3480, 240, "", 0, 0},
      {"lblTitle", 30, 30, 3825, 225, "", 0, 0},
  };
  for (const Place& p : kPlaces) {
    if (std::string_view(p.name) == name) return p;
  }
  return kPlaces[0];
}

void OpenEMail(const std::string& labelText, const Opener& open) {
  open ? open("mailto:" + labelText) : ShellOpen("mailto:" + labelText);
}

void OpenHomePage(const std::string& labelText, const Opener& open) {
  open ? open(labelText) : ShellOpen(labelText);
}

}  // namespace about

namespace about {

namespace {
bool IsLink(Part part) {
  return part != Part::kElsewhere;
}
bool IsEMail(Part part) {
  return part == Part::kEMailIcon || part == Part::kEMailLabel;
}
}  // namespace

void Links::MouseMove(Part part) {
  const std::string status = !IsLink(part) ? "" : IsEMail(part) ? kEMailStatus : kHomePageStatus;
  // Moving within one part must not rewrite the line.
  if (view_.StatusText() == status) return;
  view_.SetStatusText(status);
  ++statusWrites_;
}

void Links::MouseDown(Part part, bool left) {
  if (!IsLink(part)) return;
  if (left) pressedOn_ = part;
  view_.ShowPressed(IsEMail(part), true);
}

void Links::MouseUp(Part part, bool left, bool inside) {
  if (!IsLink(part)) return;
  view_.ShowPressed(IsEMail(part), false);
  if (!left) return;
  const bool click = pressedOn_ == part && inside;
  pressedOn_ = Part::kElsewhere;
  if (click) Click(part);
}

void Links::Click(Part part) {
  if (!IsLink(part)) return;
  if (IsEMail(part)) {
    OpenEMail(view_.LinkText(true), view_.opener);
  } else {
    OpenHomePage(view_.LinkText(false), view_.opener);
  }
}

}  // namespace about
