// The About window's texts and what its two links do. The form (frmAbout)
// lays them out and colours the links.
#pragma once

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

// The e-mail link opens a new mail to the address its label shows; the
// home-page link opens the address its label shows.
void OpenEMail(const std::string& labelText);
void OpenHomePage(const std::string& labelText);

}  // namespace about
