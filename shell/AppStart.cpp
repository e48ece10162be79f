// Start-up: the windows come up in the order players see them.
#include <QApplication>
#include <QFont>
#include <QRect>

#include "flight/Form1Window.h"
#include "menus/Form2.h"
#include "menus/Form4.h"
#include "shell/Program.h"
#include "shell/StartUp.h"

Program::Program(Platform& platform) : module1(platform), form1(module1) {}
Program::~Program() = default;

void MapJapaneseFonts() {
  QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
  QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
}

void AppStart(Program& program) {
  PrepareStart(program.module1);

  program.form1Window = std::make_unique<Form1Window>(program.form1);
  program.form1Window->show();
  program.form2 = std::make_unique<Form2>();
  program.form2->show();

  program.form1.Label2.SetCaption("Landing Softness\r\nControl Stadiness\r\nCourse Accuracy\r\n\r\nToTal");

  // Loaded hidden, and placed once, relative to where the play screen is now.
  program.form4 = std::make_unique<Form4>(program.form1Window.get());
  const QRect playScreen = program.form1Window->frameGeometry();
  program.form4->move(playScreen.left() + 46, playScreen.top() + 174);

  program.form2->activateWindow();
  program.form2->raise();
  program.form2->setFocus();
}
