// The floor for the start-up benchmark: the smallest Qt Widgets program that
// shows a window of Kestrum's size.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle("Floor");
  window.setFixedSize(249, 209);
  window.show();
  return app.exec();
}
