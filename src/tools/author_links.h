// The author's addresses, shown in the About window and opened by the menu.
#pragma once

inline constexpr const char* kAuthorEMail = "kestrum@example.org";
inline constexpr const char* kAuthorHomePage = "https://kestrum.example.org/";
