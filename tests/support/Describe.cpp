// A window's controls as a player sees them, one line each.
#include "tests/support/Describe.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QStringList>
#include <QWidget>
#include <QtDebug>

#include "tests/support/Files.h"

namespace {

QString Kind(const QWidget& widget) {
  if (qobject_cast<const QLabel*>(&widget)) return "label";
  if (qobject_cast<const QGroupBox*>(&widget)) return "frame";
  if (qobject_cast<const QComboBox*>(&widget)) return "list";
  if (qobject_cast<const QListWidget*>(&widget)) return "listbox";
  if (const auto* button = qobject_cast<const QAbstractButton*>(&widget))
    return button->inherits("QRadioButton") ? "option" : button->inherits("QCheckBox") ? "check" : "button";
  return "box";
}

QString Caption(const QWidget& widget) {
  if (const auto* label = qobject_cast<const QLabel*>(&widget)) return label->text();
  if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) return button->text();
  if (const auto* frame = qobject_cast<const QGroupBox*>(&widget)) return frame->title();
  if (const auto* list = qobject_cast<const QComboBox*>(&widget)) return list->currentText();
  return {};
}

QString Font(const QFont& font) {
  QString text = QStringLiteral("%1 %2").arg(font.family()).arg(font.pointSizeF());
  if (font.bold()) text += " bold";
  if (font.italic()) text += " italic";
  return text;
}

QString Alignment(Qt::Alignment alignment) {
  const QString across = alignment & Qt::AlignRight     ? "right"
                         : alignment & Qt::AlignHCenter ? "centre"
                                                        : "left";
  return across + (alignment & Qt::AlignTop ? " top" : "");
}

QString Colour(const QColor& colour) { return colour.name(); }

QString Line(const QWidget& window, const QWidget& widget) {
  QStringList fields{widget.objectName(), Kind(widget)};
  if (const QWidget* parent = widget.parentWidget(); parent != &window)
    fields << "in " + (parent->objectName().isEmpty() ? QString("a box") : parent->objectName());
  const QRect box = widget.geometry();
  fields << QStringLiteral("%1,%2 %3x%4").arg(box.x()).arg(box.y()).arg(box.width()).arg(box.height());
  if (widget.font() != window.font()) fields << Font(widget.font());
  if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
    fields << Alignment(label->alignment()) << "on " + Colour(label->palette().color(QPalette::Window))
           << "text " + Colour(label->palette().color(QPalette::WindowText));
  }
  fields << "\"" + Caption(widget).replace(u'\n', QStringLiteral("\\n")) + "\"";
  if (const auto* button = qobject_cast<const QAbstractButton*>(&widget); button && button->isChecked()) fields << "on";
  if (!widget.toolTip().isEmpty()) fields << "tip \"" + widget.toolTip() + "\"";
  if (!widget.isVisibleTo(&window)) fields << "hidden";
  if (!widget.isEnabled()) fields << "disabled";
  return fields.join(" | ");
}

}  // namespace

QString DescribeControls(const QWidget& window) {
  QStringList lines{QStringLiteral("window | %1x%2 | %3 | \"%4\"")
                        .arg(window.width())
                        .arg(window.height())
                        .arg(Font(window.font()))
                        .arg(window.windowTitle())};
  for (const QWidget* widget : window.findChildren<QWidget*>()) {
    if (widget->objectName().isEmpty() || widget->objectName().startsWith("qt_")) continue;
    lines << Line(window, *widget);
  }
  return lines.join(u'\n');
}

bool SameAsFixture(const QString& actual, const QString& fixture) {
  QStringList expected;
  for (const QString& line : QString::fromUtf8(Fixture(fixture)).split(u'\n'))
    if (!line.trimmed().isEmpty() && !line.startsWith(u'#')) expected << line;
  const QStringList shown = actual.split(u'\n');
  bool same = expected.size() == shown.size();
  for (qsizetype i = 0; i < std::max(expected.size(), shown.size()); ++i) {
    const QString want = expected.value(i, "(no line)"), got = shown.value(i, "(no line)");
    if (want == got) continue;
    same = false;
    qWarning().noquote() << fixture << "line" << i + 1 << "\n  expected:" << want << "\n  shown:   " << got;
  }
  return same;
}
