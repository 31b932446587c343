// What the core needs of the main window: its caption, the controls it sets
// and the window's place on the screen. frmMain provides it; tests may too.
#pragma once

#include <string>
#include <vector>

#include "base/stage_list.h"

class MainWindowPort {
 public:
  virtual ~MainWindowPort() = default;

  // The window's stage list: its levels, the user's entry, the selection.
  StageList stages;

  virtual std::string Caption() const = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual void ShowArtInt() = 0;

  virtual void SetTextButtonEnabled(bool enabled) = 0;
  virtual void SetTextButtonToolTip(const std::string& tip) = 0;

  // Positions and sizes in twips (15 to a pixel).
  virtual double Left() const = 0;
  virtual double Top() const = 0;
  virtual double Width() const = 0;
  virtual void SetLeft(double twips) = 0;
  virtual void SetTop(double twips) = 0;
  // The primary screen's size.
  virtual double ScreenWidth() const = 0;
  virtual double ScreenHeight() const = 0;

  // Every screen of the desktop, where it lies in it.
  struct Area {
    double left = 0, top = 0, width = 0, height = 0;
  };
  virtual std::vector<Area> Screens() const = 0;
  // False where the window system neither tells a program where its window
  // is nor lets it choose (Wayland): the window goes where it puts it.
  virtual bool KnowsItsPosition() const = 0;
};
