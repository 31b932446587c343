// A main window without widgets, for core tests that need one.
#pragma once

#include <string>

#include "base/main_window_port.h"

namespace testsupport {

class FakeWindow : public MainWindowPort {
 public:
  std::string caption = "Duke Nukem ";
  bool artIntShown = false;
  bool textEnabled = false;
  std::string textToolTip;
  double left = 300, top = 200, width = 249 * 15;
  double screenWidth = 1024 * 15, screenHeight = 768 * 15;
  std::vector<Area> screens{{0, 0, 1024 * 15, 768 * 15}};
  bool knowsPosition = true;

  std::string Caption() const override { return caption; }
  void SetCaption(const std::string& c) override { caption = c; }
  void ShowArtInt() override { artIntShown = true; }
  void SetTextButtonEnabled(bool e) override { textEnabled = e; }
  void SetTextButtonToolTip(const std::string& t) override { textToolTip = t; }
  double Left() const override { return left; }
  double Top() const override { return top; }
  void SetLeft(double t) override { left = t; }
  void SetTop(double t) override { top = t; }
  double ScreenWidth() const override { return screenWidth; }
  double ScreenHeight() const override { return screenHeight; }
  double Width() const override { return width; }
  std::vector<Area> Screens() const override { return screens; }
  bool KnowsItsPosition() const override { return knowsPosition; }
};

}  // namespace testsupport
