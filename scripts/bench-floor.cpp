// The floors for the start-up benchmark: the smallest Qt Widgets program
// that shows a window of Kestrum's size and, with "--text", the same window
// with one line of text (the first text costs Qt its font database).
#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstring>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle("Floor");
  window.setFixedSize(249, 209);
  if (argc > 1 && std::strcmp(argv[1], "--text") == 0) {
    auto* label = new QLabel("Record Demo", &window);
    label->move(41, 31);
  }
  window.show();
  return app.exec();
}
