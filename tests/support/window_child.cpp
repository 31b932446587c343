// A started program with a window of its own, for the tests that bring a
// started task's window to the front: it shows a window titled "Child" and
// stays until it is ended.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle("Child");
  window.resize(320, 200);
  window.show();
  return app.exec();
}
