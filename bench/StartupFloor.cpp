// The floor of start-up: one empty Qt Widgets window the size of the menu, started the way the game
// is. bench/measure.sh times it beside the game; what the game takes beyond it is its own.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Startup Floor"));
  window.setFixedSize(2805 / 15, 3585 / 15);  // the menu's client area
  window.show();
  return QApplication::exec();
}
