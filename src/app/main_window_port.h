// What the core needs of the main window: its caption, the controls it sets
// and the window's place on the screen. frmMain provides it; tests may too.
#pragma once

#include <string>

class MainWindowPort {
 public:
  virtual ~MainWindowPort() = default;

  virtual std::string Caption() const = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual void ShowArtInt() = 0;

  virtual void SetTextButtonEnabled(bool enabled) = 0;
  virtual void SetTextButtonToolTip(const std::string& tip) = 0;

  // Positions and sizes in twips (15 to a pixel).
  virtual double Left() const = 0;
  virtual double Top() const = 0;
  virtual void SetLeft(double twips) = 0;
  virtual void SetTop(double twips) = 0;
  virtual double ScreenWidth() const = 0;
  virtual double ScreenHeight() const = 0;
};
