// The floor of start-up: one empty Qt Widgets window the size of the menu, started the way the game
// is; with the argument `text`, the same window with one line of Japanese text in it, which costs
// the font set-up any window with text pays. bench/measure.sh times both beside the game.
#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstring>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Startup Floor"));
  window.setFixedSize(2805 / 15, 3585 / 15);  // the menu's client area
  if (argc > 1 && std::strcmp(argv[1], "text") == 0) {
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
    auto* line = new QLabel(QStringLiteral("メインメニュー"), &window);
    line->setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    line->setGeometry(8, 32, 169, 17);
  }
  window.show();
  return QApplication::exec();
}
