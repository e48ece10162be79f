// The stage prompt's window: a small tool window that stands over the play screen.
#include "menus/qt/Form4Window.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>

namespace {

// From the play screen's frame to the prompt's frame, in pixels.
const QPoint OffsetFromPlayScreen(46, 174);

}  // namespace

Form4Window::Form4Window(Form4& model, QWidget* playScreen)
    : FormWindow(model, playScreen, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      playScreen_(playScreen) {
  // A single blank: the title bar shows no text.
  setWindowTitle(QStringLiteral(" "));
  SetClientSize(183, 71);
  setFont(GothicFont(9));
  // Two lines of the message fill the label: in 9 pt this face's lines are 13 pixels apart, and the
  // second line's foot would fall below the label's 25 pixels.
  AddLabel(model.Label1, {8, 8, 169, 25}, Qt::AlignLeft | Qt::AlignTop, GothicFont(8.25))->setObjectName("Label1");
  AddButton(model.Command1, {48, 40, 81, 23}, [&model] {
    model.Command1_Click();
  })->setObjectName("Command1");
  AddButton(model.Command2, {144, 40, 33, 23}, [&model] {
    model.Command2_Click();
  })->setObjectName("Command2");
  SetDefaultButton(model.Command1);
  SetCloseHandler([&model] { model.QueryUnload(); });
  playScreen_->installEventFilter(this);
  Attach();
}

QPoint Form4Window::PlaceOverPlayScreen() const {
  return playScreen_->frameGeometry().topLeft() + OffsetFromPlayScreen;
}

void Form4Window::FollowPlayScreen() {
  if (pos() != PlaceOverPlayScreen()) move(PlaceOverPlayScreen());
}

bool Form4Window::eventFilter(QObject* watched, QEvent* event) {
  // The window manager places the play screen after it is shown, and the player may move it.
  if (watched == playScreen_ && (event->type() == QEvent::Move || event->type() == QEvent::Show))
    FollowPlayScreen();
  return FormWindow::eventFilter(watched, event);
}

void Form4Window::showEvent(QShowEvent* event) {
  FollowPlayScreen();
  FormWindow::showEvent(event);
}
