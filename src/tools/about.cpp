#include "tools/about.h"

#include "launch/shell_paths.h"

namespace about {

void OpenEMail(const std::string& labelText) {
  ShellOpen("mailto:" + labelText);
}

void OpenHomePage(const std::string& labelText) {
  ShellOpen(labelText);
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
    OpenEMail(view_.LinkText(true));
  } else {
    OpenHomePage(view_.LinkText(false));
  }
}

}  // namespace about
