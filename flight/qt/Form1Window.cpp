// The play screen's window: shows Form1's picture, labels and craft, and hands it the keys.
#include "flight/qt/Form1Window.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QInputMethod>
#include <QKeyEvent>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <string>

#include "resources/Resources.h"

// The stage picture with what was drawn on it. The craft flies inside it, so that a move repaints
// only the picture under the craft and never has to look at the labels around it.
class Form1Window::PictureBox : public QWidget {
 public:
  explicit PictureBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
  }

  void Show(const Bitmap& bitmap) {
    image_ = ToQImage(bitmap);
    setGeometry(0, 0, image_.width(), image_.height());
    update();
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    // On a high-density screen each picture pixel becomes a block of device pixels of its own
    // colour: no smoothing, which would blur the chart's one- and two-pixel lines.
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(event->rect().topLeft(), image_, event->rect());
  }

 private:
  QImage image_;
};

// The craft: a square or a circle with a one-pixel border, drawn inside its own box. The square is
// filled box by box, so that on a high-density screen every pixel of it covers whole device
// pixels (a pen's line would be one device pixel thick, or fall half outside the box).
class Form1Window::ShipWidget : public QWidget {
 public:
  explicit ShipWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
  }

  ShapeKind shape = ShapeKind::Square;
  QColor fill;
  QColor border;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    if (shape == ShapeKind::Square) {
      painter.fillRect(rect(), border);
      painter.fillRect(rect().adjusted(1, 1, -1, -1), fill);
      return;
    }
    painter.setPen(border);
    painter.setBrush(fill);
    painter.setRenderHint(QPainter::Antialiasing);
    const double diameter = std::min(width(), height()) - 1;
    painter.drawEllipse(QRectF((width() - 1 - diameter) / 2.0 + 0.5, (height() - 1 - diameter) / 2.0 + 0.5,
                               diameter, diameter));
  }
};

Form1Window::Form1Window(Form1& model, QWidget* parent)
    : FormWindow(model, parent, Qt::Window), form1_(model) {
  setWindowTitle(QStringLiteral("Morvane-Tesk"));
  setWindowIcon(QPixmap::fromImage(ToQImage(ProgramIcon())));
  SetClientSize(408, 256);
  setFont(GothicFont(9));
  QPalette background = palette();
  background.setColor(QPalette::Window, QColor(128, 255, 255));
  setPalette(background);
  setAutoFillBackground(true);
  setFocusPolicy(Qt::StrongFocus);
  SetCloseHandler([this] { form1_.Form_Unload(); });
  // Not centred: the menu opens centred over it, and must leave the chart and the mode caption it
  // previews in view.
  PlaceAsFirstWindow();

  // The picture lies under every label: the status banner overlaps its lower edge.
  picture_ = new PictureBox(this);
  ship_ = new ShipWidget(picture_);
  ship_->setObjectName(QStringLiteral("Ship"));
  ship_->hide();

  constexpr Qt::Alignment Right = Qt::AlignRight | Qt::AlignTop;
  constexpr Qt::Alignment Left = Qt::AlignLeft | Qt::AlignTop;
  AddNamedLabel(form1_.Label4, "Label4", {0, 120, 280, 25}, Qt::AlignHCenter | Qt::AlignTop,
                GothicFont(14.25, true, true));
  AddNamedLabel(form1_.Label2, "Label2", {64, 168, 105, 73}, Right, font());
  AddNamedLabel(form1_.Label1, "Label1", {192, 168, 81, 73}, Right, font());
  AddNamedLabel(form1_.Label5, "Label5", {280, 0, 129, 73}, Left, GothicFont(15.75, true, true));
  AddNamedLabel(form1_.Label7, "Label7", {280, 72, 41, 17}, Right, GothicFont(8.25));
  AddNamedLabel(form1_.Label6, "Label6", {320, 72, 89, 17}, Right, GothicFont(8.25));

  struct ScoreRow {
    int top, height;
  };
  constexpr ScoreRow Rows[8] = {{88, 25},  {112, 49}, {160, 17}, {176, 17},
                                {192, 17}, {208, 17}, {224, 17}, {240, 17}};
  for (int row = 0; row < 8; ++row) {
    const bool lastRow = row == 7;
    // The criteria row keeps the window's own font.
    const QFont rowFont = row == 1 ? font() : GothicFont(12, true);
    const std::string headingName = "Label3_" + std::to_string(8 + row);
    const std::string valueName = "Label3_" + std::to_string(row);
    AddNamedLabel(form1_.Label3[8 + row], headingName.c_str(),
                  {280, Rows[row].top, lastRow ? 57 : 65, Rows[row].height}, Right, rowFont);
    AddNamedLabel(form1_.Label3[row], valueName.c_str(),
                  {lastRow ? 336 : 344, Rows[row].top, lastRow ? 73 : 65, Rows[row].height}, Right, rowFont);
  }

  Bind(form1_.Ship, ship_);
  Attach();
}

Form1Window::~Form1Window() = default;

QLabel* Form1Window::AddNamedLabel(LabelControl& label, const char* name, QRect geometry,
                                   Qt::Alignment alignment, const QFont& font) {
  QLabel* widget = AddLabel(label, geometry, alignment, font);
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

void Form1Window::ShowControl(const Control& control, QWidget* widget) {
  if (&control == &form1_.Label6) {
    FormWindow::ShowControl(control, widget);
    FitPlayerName(static_cast<QLabel*>(widget));
    return;
  }
  if (&control != &form1_.Ship) {
    FormWindow::ShowControl(control, widget);
    return;
  }
  const ShapeControl& ship = form1_.Ship;
  const QRect geometry(ship.Left(), ship.Top(), ship.Width(), ship.Height());
  const QColor fill = ToQColor(ship.FillColor());
  const QColor border = ToQColor(ship.BorderColor());
  const bool lookChanged = ship_->shape != ship.Shape() || ship_->fill != fill || ship_->border != border;
  ship_->shape = ship.Shape();
  ship_->fill = fill;
  ship_->border = border;
  if (ship_->geometry() != geometry) ship_->setGeometry(geometry);
  if (lookChanged) ship_->update();
  if (ship_->isVisibleTo(this) != ship.Visible()) ship_->setVisible(ship.Visible());
}

void Form1Window::FitPlayerName(QLabel* label) {
  // A name of 16 full-width characters is twice as wide as its label, and a right-aligned label
  // would cut off its beginning mid-character. The start of a name is what a player recognises:
  // keep the label's own size, which stays readable, and elide the end.
  const QString text = ToDisplayText(form1_.Label6.Caption());
  const QString shown = QFontMetrics(label->font()).elidedText(text, Qt::ElideRight, label->width());
  if (label->text() != shown) label->setText(shown);
}

void Form1Window::FormChanged() {
  if (pictureShown_ != form1_.PictureVersion()) {
    pictureShown_ = form1_.PictureVersion();
    picture_->Show(form1_.Picture());
  }
  FormWindow::FormChanged();
}

void Form1Window::InputMethodOff() {
  setAttribute(Qt::WA_InputMethodEnabled, false);
  if (hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImEnabled);
}

void Form1Window::keyPressEvent(QKeyEvent* event) {
  // Every press goes to the steering, auto-repeats too: the key state tells new presses apart.
  event->accept();
  form1_.Form_KeyDown();
}
