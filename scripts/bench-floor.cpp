// The floors for the start-up benchmark: the smallest Qt Widgets program
// that shows a window of Kestrum's size; with "--text", the same window with
// one line of text (the first text costs Qt its font database); with
// "--list", one label and one drop-down list of one entry.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QWidget>
#include <cstring>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle("Floor");
  window.setFixedSize(249, 209);
  const bool list = argc > 1 && std::strcmp(argv[1], "--list") == 0;
  if (list || (argc > 1 && std::strcmp(argv[1], "--text") == 0)) {
    auto* label = new QLabel("Record Demo", &window);
    label->move(41, 31);
  }
  if (list) {
    auto* stages = new QComboBox(&window);
    stages->addItem("1-01  Hollywood Holocaust");
    stages->setGeometry(0, 185, 249, 24);
  }
  window.show();
  return app.exec();
}
