// The ranking window's Qt window: every control at its pixel position with its font.
#include "viewer/qt/Form3Window.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTextLayout>
#include <algorithm>
#include <span>

namespace {

// The white line between the normal option and the score-attack controls.
class LineWidget : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setPen(Qt::white);
    painter.drawLine(0, 0, width() - 1, 0);
  }
};

constexpr double RowPoints = 15.75;

// `text` in lines no wider than `width` pixels, broken where the language allows (never before a
// prolonged sound mark or a small kana).
QString Wrapped(const QString& text, const QFont& font, int width) {
  QTextLayout layout(text, font);
  QStringList lines;
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(width);
    lines << text.mid(line.textStart(), line.textLength()).trimmed();
  }
  layout.endLayout();
  return lines.join(u'\n');
}

// `font` made just small enough for right-aligned `text` to show whole in `width` pixels: from the
// ink of its first character to the end of its advance, with a pixel to spare on either side for
// the smoothed edges of the emboldened face.
QFont ShrunkToFit(QFont font, const QString& text, int width) {
  if (text.isEmpty()) return font;
  auto inkWidth = [&] {
    const QFontMetrics metrics(font);
    return metrics.horizontalAdvance(text) - metrics.leftBearing(text.front());
  };
  while (font.pointSizeF() > 1 && inkWidth() > width - 2) font.setPointSizeF(font.pointSizeF() - 0.25);
  return font;
}

template <typename ControlType, size_t Count>
bool IsOneOf(const Control& control, const std::array<ControlType, Count>& controls) {
  return std::any_of(controls.begin(), controls.end(),
                     [&](const ControlType& one) { return &one == &control; });
}

}  // namespace

Form3Window::Form3Window(Form3& model) : FormWindow(model, nullptr, FixedDialogFlags), form3_(model) {
  setWindowTitle(QStringLiteral("ハイスコアランキング"));
  SetClientSize(555, 306);
  setFont(GothicFont(9));
  QPalette colours = palette();
  colours.setColor(QPalette::Window, Qt::black);
  colours.setColor(QPalette::WindowText, Qt::white);
  setPalette(colours);
  setAutoFillBackground(true);
  AddFrameControls(model);
  AddRows(model);
  SetCloseHandler([&model] { model.QueryUnload(); });
  CentreOnScreen();
  Attach();
}

void Form3Window::AddFrameControls(Form3& model) {
  auto* frame = new QGroupBox(this);
  frame->setObjectName("Frame1");
  frame->setGeometry(8, 16, 89, 241);
  // The option buttons in the frame with the view each draws, in tab order: the normal view, then
  // (after the player list) the stage views and the total.
  struct OptionLayout {
    OptionControl& option;
    const char* name;
    QRect geometry;
    void (Form3::*click)();
  };
  const OptionLayout options[] = {
      {model.Option7, "Option7", {8, 16, 73, 28}, &Form3::Option7_Click},
      {model.Option1, "Option1", {8, 104, 73, 12}, &Form3::Option1_Click},
      {model.Option2, "Option2", {8, 128, 73, 12}, &Form3::Option2_Click},
      {model.Option3, "Option3", {8, 152, 73, 12}, &Form3::Option3_Click},
      {model.Option4, "Option4", {8, 176, 73, 12}, &Form3::Option4_Click},
      {model.Option5, "Option5", {8, 200, 73, 12}, &Form3::Option5_Click},
      {model.Option6, "Option6", {8, 224, 73, 12}, &Form3::Option6_Click},
  };
  const auto addOption = [&](const OptionLayout& layout) {
    AddOption(layout.option, layout.geometry, frame, [&model, click = layout.click] {
      (model.*click)();
    })->setObjectName(layout.name);
  };
  addOption(options[0]);
  auto* line = new LineWidget(frame);
  line->setObjectName("Line1");
  line->setGeometry(8, 48, 73, 1);
  AddLabel(model.Label1, {8, 56, 73, 17}, Qt::AlignLeft | Qt::AlignTop, font(), frame)->setObjectName("Label1");
  QComboBox* players = AddDropDownList(model.Combo1, {8, 72, 73, 20}, frame, [&model] { model.Combo1_Click(); });
  players->setObjectName("Combo1");
  QPalette listColours = players->palette();
  for (QPalette::ColorRole role : {QPalette::Base, QPalette::Button, QPalette::Window})
    listColours.setColor(role, Qt::white);
  for (QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
    listColours.setColor(role, Qt::black);
  players->setPalette(listColours);
  for (const OptionLayout& layout : std::span(options).subspan(1)) addOption(layout);
  AddButton(model.Command1, {16, 272, 73, 25}, [&model] { model.Command1_Click(); })->setObjectName("Command1");
}

void Form3Window::AddRows(Form3& model) {
  AddLabel(model.Label2, {104, 8, 449, 33}, Qt::AlignHCenter | Qt::AlignTop, GothicFont(20.25, true, true))
      ->setObjectName("Label2");
  AddPicture(model.Picture2, {112, 32, 225, 23})->setObjectName("Picture2");
  AddLabel(model.Label6, {344, 40, 209, 17}, Qt::AlignLeft | Qt::AlignTop, FixedGothicFont(9))
      ->setObjectName("Label6");
  constexpr Qt::Alignment Right = Qt::AlignRight | Qt::AlignTop;
  for (int i = 0; i < 10; ++i) {
    const auto row = static_cast<size_t>(i);
    const int top = 56 + 24 * i;
    // The rank number "10" has a wider label of its own, at the foot of the window.
    const QRect rank = i == 9 ? QRect(104, 272, 25, 25) : QRect(112, top, 17, 25);
    AddLabel(model.Label7[row], rank, Right, GothicFont(RowPoints, true))->setObjectName(QStringLiteral("Label7_%1").arg(i));
    AddPicture(model.Picture1[row], {136, top, 97, 25})->setObjectName(QStringLiteral("Picture1_%1").arg(i));
    AddLabel(model.Label4[row], {240, top, 89, 25}, Right, GothicFont(RowPoints, true))
        ->setObjectName(QStringLiteral("Label4_%1").arg(i));
    AddLabel(model.Label5[row], {344, top + 8, 209, 17}, Qt::AlignLeft | Qt::AlignTop, FixedGothicFont(9))
        ->setObjectName(QStringLiteral("Label5_%1").arg(i));
  }
}

void Form3Window::ShowControl(const Control& control, QWidget* widget) {
  FormWindow::ShowControl(control, widget);
  if (auto* option = qobject_cast<QRadioButton*>(widget)) {
    const int textWidth = option->width() -
                          style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, option) -
                          style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, option);
    option->setText(Wrapped(option->text(), option->font(), textWidth));
  } else if (IsOneOf(control, form3_.Label4) || IsOneOf(control, form3_.Label7)) {
    auto* label = static_cast<QLabel*>(widget);
    QFont font = label->font();
    font.setPointSizeF(RowPoints);
    label->setFont(ShrunkToFit(font, label->text(), label->width()));
  } else if (IsOneOf(control, form3_.Label5)) {
    auto* label = static_cast<QLabel*>(widget);
    const QString elided =
        QFontMetrics(label->font()).elidedText(label->text(), Qt::ElideRight, label->width());
    if (elided != label->text()) label->setText(elided);
  }
}
