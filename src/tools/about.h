// The About window's texts and what its two links do. The form (frmAbout)
// lays them out and colours the links.
#pragma once

#include <functional>
#include <string>

namespace about {

inline constexpr const char* kCaption = "About...";
inline constexpr const char* kTitle = "Kestrum";
inline constexpr const char* kVersion = "v1.00.0002 (Build Date: 02/17/98 2:41p)";
inline constexpr const char* kMessage =
    "Thanks for using Tolvane products.\r\nPlease visit my homepage for more \r\nprograms.\r\n";
// The status line while the mouse is over a link (its label or icon).
inline constexpr const char* kEMailStatus = "Send me some EMail!";
inline constexpr const char* kHomePageStatus = "Go to my Homepage!";

// Where each control goes, in twips, and what picture it shows (the
// artwork's name and size in pixels), for every form.
struct Place {
  const char* name;
  int left, top, width, height;
  const char* picture;
  int pictureWidth, pictureHeight;
};
inline constexpr int kClientWidth = 3885;
inline constexpr int kClientHeight = 3120;
const Place& PlaceOf(const char* name);

// The e-mail link opens a new mail to the address its label shows; the
// home-page link opens the address its label shows. Either is opened as the
// window that showed the About window opens documents (open), else the
// desktop's way.
using Opener = std::function<void(const std::string&)>;
void OpenEMail(const std::string& labelText, const Opener& open = {});
void OpenHomePage(const std::string& labelText, const Opener& open = {});

}  // namespace about

namespace about {

// The parts of the About window the mouse can be over, for the links.
enum class Part { kEMailIcon, kEMailLabel, kHomePageIcon, kHomePageLabel, kElsewhere };

// What the window shows of its links.
class LinkView {
 public:
  virtual ~LinkView() = default;
  virtual std::string StatusText() const = 0;
  virtual void SetStatusText(const std::string& text) = 0;
  // The e-mail (or home-page) label in the pressed or the link colour.
  virtual void ShowPressed(bool email, bool pressed) = 0;
  virtual std::string LinkText(bool email) const = 0;
  // How its links are opened (see OpenEMail).
  Opener opener;
};

// How the two links behave: the status line names what the link under the
// mouse does (written only when that changes); any mouse button held on a
// link's label or icon colours the label; a left press and release on the
// same part opens the link.
class Links {
 public:
  explicit Links(LinkView& view) : view_(view) {}
  void MouseMove(Part part);
  void MouseDown(Part part, bool left);
  // inside: the button came up over the part it went down on.
  void MouseUp(Part part, bool left, bool inside);
  // Opens a part's link (a click, or the keyboard's Return on it).
  void Click(Part part);
  // How often the status line was written.
  int StatusWrites() const { return statusWrites_; }

 private:
  LinkView& view_;
  Part pressedOn_ = Part::kElsewhere;
  int statusWrites_ = 0;
};

}  // namespace about
