// The play screen's window: shows Form1's picture, labels and craft, and hands it the keys.
#include "flight/Form1Window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QInputMethod>
#include <QKeyEvent>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <string>

#include "resources/Resources.h"

namespace {

QColor ToQColor(Rgb colour) { return QColor::fromRgb(static_cast<QRgb>(colour) | 0xff000000u); }

QImage ToQImage(const Bitmap& bitmap) {
  QImage image(bitmap.width, bitmap.height, QImage::Format_RGB32);
  for (int y = 0; y < bitmap.height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < bitmap.width; ++x) line[x] = bitmap.At(x, y) | 0xff000000u;
  }
  return image;
}

// The game's Japanese proportional face; start-up maps the name to an installed font.
QFont GothicFont(double points, bool bold, bool italic) {
  QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
  font.setPointSizeF(points);
  font.setBold(bold);
  font.setItalic(italic);
  return font;
}

// Captions keep the old CR LF line breaks; Qt breaks lines at LF alone. Trailing blanks push
// right-aligned text away from its neighbour, but Qt drops them from the lines of a multi-line
// text: no-break spaces of the same width keep them.
QString ToDisplayText(const std::string& caption) {
  QStringList lines = QString::fromStdString(caption).split(QStringLiteral("\r\n"));
  for (QString& line : lines)
    for (qsizetype i = line.size() - 1; i >= 0 && line[i] == u' '; --i) line[i] = QChar(0x00A0);
  return lines.join(u'\n');
}

}  // namespace

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
    QPainter painter(this);
    painter.drawImage(event->rect().topLeft(), image_, event->rect());
  }

 private:
  QImage image_;
};

// The craft: a square or a circle with a one-pixel border, drawn inside its own box.
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
    painter.setPen(border);
    painter.setBrush(fill);
    if (shape == ShapeKind::Square) {
      painter.drawRect(0, 0, width() - 1, height() - 1);
      return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    const double diameter = std::min(width(), height()) - 1;
    painter.drawEllipse(QRectF((width() - 1 - diameter) / 2.0 + 0.5, (height() - 1 - diameter) / 2.0 + 0.5,
                               diameter, diameter));
  }
};

Form1Window::Form1Window(Form1& model, QWidget* parent) : QWidget(parent), model_(model) {
  setWindowTitle(QStringLiteral("Morvane-Tesk"));
  setWindowIcon(QPixmap::fromImage(ToQImage(ProgramIcon())));
  setFixedSize(408, 256);
  setFont(GothicFont(9, false, false));
  QPalette background = palette();
  background.setColor(QPalette::Window, QColor(128, 255, 255));
  setPalette(background);
  setAutoFillBackground(true);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled, false);

  // The picture lies under every label: the status banner overlaps its lower edge.
  picture_ = new PictureBox(this);
  constexpr Qt::Alignment Right = Qt::AlignRight | Qt::AlignTop;
  constexpr Qt::Alignment Left = Qt::AlignLeft | Qt::AlignTop;
  AddLabel(model_.Label4, "Label4", {0, 120, 280, 25}, Qt::AlignHCenter | Qt::AlignTop)
      ->setFont(GothicFont(14.25, true, true));
  AddLabel(model_.Label2, "Label2", {64, 168, 105, 73}, Right);
  AddLabel(model_.Label1, "Label1", {192, 168, 81, 73}, Right);
  AddLabel(model_.Label5, "Label5", {280, 0, 129, 73}, Left)->setFont(GothicFont(15.75, true, true));
  AddLabel(model_.Label7, "Label7", {280, 72, 41, 17}, Right)->setFont(GothicFont(8.25, false, false));
  AddLabel(model_.Label6, "Label6", {320, 72, 89, 17}, Right)->setFont(GothicFont(8.25, false, false));

  struct ScoreRow {
    int top, height;
  };
  constexpr ScoreRow Rows[8] = {{88, 25}, {112, 49}, {160, 17}, {176, 17}, {192, 17}, {208, 17}, {224, 17}, {240, 17}};
  for (int row = 0; row < 8; ++row) {
    const bool lastRow = row == 7;
    const std::string headingName = "Label3_" + std::to_string(8 + row);
    const std::string valueName = "Label3_" + std::to_string(row);
    QLabel* heading = AddLabel(model_.Label3[8 + row], headingName.c_str(),
                               {280, Rows[row].top, lastRow ? 57 : 65, Rows[row].height}, Right);
    QLabel* value = AddLabel(model_.Label3[row], valueName.c_str(),
                             {lastRow ? 336 : 344, Rows[row].top, lastRow ? 73 : 65, Rows[row].height}, Right);
    // The criteria row keeps the window's own font.
    if (row != 1) {
      heading->setFont(GothicFont(12, true, false));
      value->setFont(GothicFont(12, true, false));
    }
  }

  ship_ = new ShipWidget(picture_);
  ship_->setObjectName(QStringLiteral("Ship"));
  ShipChanged();
  PictureChanged();
  model_.SetView(this);
}

Form1Window::~Form1Window() { model_.SetView(nullptr); }

QLabel* Form1Window::AddLabel(const LabelControl& label, const char* name, QRect geometry,
                              Qt::Alignment alignment) {
  auto* widget = new QLabel(this);
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(geometry);
  widget->setAlignment(alignment);
  widget->setTextFormat(Qt::PlainText);
  widget->setWordWrap(false);
  widget->setMargin(0);
  widget->setIndent(0);
  widget->setAutoFillBackground(true);
  widget->setFocusPolicy(Qt::NoFocus);
  labels_[&label] = widget;
  ShowLabel(label, widget);
  return widget;
}

void Form1Window::ShowLabel(const LabelControl& label, QLabel* widget) {
  const QString text = ToDisplayText(label.Caption());
  if (widget->text() != text) widget->setText(text);
  const QColor fore = ToQColor(label.ForeColor());
  const QColor back = ToQColor(label.BackColor());
  QPalette colours = widget->palette();
  if (colours.color(QPalette::WindowText) != fore || colours.color(QPalette::Window) != back) {
    colours.setColor(QPalette::WindowText, fore);
    colours.setColor(QPalette::Window, back);
    widget->setPalette(colours);
  }
}

void Form1Window::LabelChanged(const LabelControl& label) {
  if (auto found = labels_.find(&label); found != labels_.end()) ShowLabel(label, found->second);
}

void Form1Window::ShipChanged() {
  const ShapeControl& ship = model_.Ship;
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

void Form1Window::PictureChanged() { picture_->Show(model_.Picture()); }

void Form1Window::InputMethodOff() {
  setAttribute(Qt::WA_InputMethodEnabled, false);
  if (hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImEnabled);
}

void Form1Window::keyPressEvent(QKeyEvent* event) {
  // Every press goes to the steering, auto-repeats too: the key state tells new presses apart.
  event->accept();
  model_.Form_KeyDown();
}

void Form1Window::closeEvent(QCloseEvent* event) {
  event->accept();
  model_.Form_Unload();
}
