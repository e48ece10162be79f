// The Qt side of a window model: child widgets that follow its controls, and the player's clicks,
// focus and closing reported back.
#include "controls/qt/FormWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <algorithm>


QString ToDisplayText(const std::string& caption) {
  QStringList lines = QString::fromStdString(caption).split(QStringLiteral("\r\n"));
  for (QString& line : lines)
    for (qsizetype i = line.size() - 1; i >= 0 && line[i] == u' '; --i) line[i] = QChar(0x00A0);
  return lines.join(u'\n');
}

namespace {

// A picture box: shows what was printed into it, clipped to its box.
class PrintedPicture : public QWidget {
 public:
  explicit PrintedPicture(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
  }
  std::vector<PrintedText> printed;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    for (const PrintedText& text : printed) {
      painter.setFont(ToQFont(text.font));
      painter.setPen(ToQColor(text.colour));
      painter.drawText(QRect(text.x, text.y, 4096, height()),
                       Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, QString::fromStdString(text.text));
    }
  }
};

// Rows no wider than their list box: the view makes every row as wide as the box and elides what a
// row cannot hold, instead of widening the rows to the longest text.
class BoxWideRows : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (const auto* box = qobject_cast<const QAbstractScrollArea*>(option.widget))
      size.setWidth(std::min(size.width(), box->viewport()->width()));
    return size;
  }
};

// The items of `list` as text, and the items a list widget shows now.
QStringList ItemsOf(const ListControl& list) {
  QStringList items;
  for (const std::string& item : list.Items()) items << QString::fromStdString(item);
  return items;
}

template <typename Widget, typename ItemText>
bool ShowsItems(const Widget* widget, const QStringList& items, ItemText itemText) {
  if (widget->count() != items.size()) return false;
  for (int i = 0; i < widget->count(); ++i)
    if (itemText(i) != items[i]) return false;
  return true;
}

}  // namespace

FormWindow::FormWindow(FormModel& model, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), model_(model) {
  setAttribute(Qt::WA_InputMethodEnabled, false);
}

FormWindow::~FormWindow() { Detach(); }

void FormWindow::Attach() {
  attached_ = true;
  model_.SetView(this);
  FormChanged();
}

void FormWindow::Detach() {
  if (!attached_) return;
  attached_ = false;
  if (model_.View() == this) model_.SetView(nullptr);
}

QWidget* FormWindow::WidgetOf(const Control& control) const {
  const auto found = bindings_.find(&control);
  return found == bindings_.end() ? nullptr : found->second.widget;
}

void FormWindow::BindShown(Control& control, QWidget* widget, std::function<void(QWidget*)> showKind) {
  bindings_[&control] = {widget, std::move(showKind)};
  controls_[widget] = &control;
  widget->installEventFilter(this);
  ShowControl(control, widget);
}

QLabel* FormWindow::AddLabel(LabelControl& label, QRect geometry, Qt::Alignment alignment, const QFont& font,
                             QWidget* parent) {
  auto* widget = new QLabel(parent ? parent : this);
  widget->setGeometry(geometry);
  widget->setAlignment(alignment);
  widget->setFont(font);
  widget->setTextFormat(Qt::PlainText);
  widget->setWordWrap(false);
  widget->setMargin(0);
  widget->setIndent(0);
  widget->setAutoFillBackground(true);
  widget->setFocusPolicy(Qt::NoFocus);
  Bind(label, widget);
  return widget;
}

QPushButton* FormWindow::AddButton(ButtonControl& button, QRect geometry, Handler clicked) {
  auto* widget = new QPushButton(this);
  widget->setGeometry(geometry);
  // Enter is the window's to handle: the default button, or the button that has the keyboard.
  widget->setAutoDefault(false);
  connect(widget, &QPushButton::clicked, this, [clicked = std::move(clicked)] { clicked(); });
  Bind(button, widget);
  return widget;
}

QRadioButton* FormWindow::AddOption(OptionControl& option, QRect geometry, QWidget* parent, Handler clicked) {
  auto* widget = new QRadioButton(parent ? parent : this);
  widget->setGeometry(geometry);
  connect(widget, &QRadioButton::clicked, this, [this, &option, clicked = std::move(clicked)] {
    option.SetValue(true);
    if (clicked) clicked();
  });
  Bind(option, widget);
  return widget;
}

QCheckBox* FormWindow::AddCheck(CheckControl& check, QRect geometry, QWidget* parent, Handler clicked) {
  auto* widget = new QCheckBox(parent ? parent : this);
  widget->setGeometry(geometry);
  connect(widget, &QCheckBox::clicked, this, [&check, clicked = std::move(clicked)](bool ticked) {
    check.SetValue(ticked ? 1 : 0);
    if (clicked) clicked();
  });
  Bind(check, widget);
  return widget;
}

QComboBox* FormWindow::AddDropDownList(ListControl& list, QRect geometry, QWidget* parent, Handler clicked) {
  auto* widget = new QComboBox(parent ? parent : this);
  widget->setGeometry(geometry);
  widget->setEditable(false);
  connect(widget, &QComboBox::activated, this, [&list, clicked = std::move(clicked)](int index) {
    list.SetListIndex(index);
    if (clicked) clicked();
  });
  Bind(list, widget);
  return widget;
}

QListWidget* FormWindow::AddListBox(ListControl& list, QRect geometry, Handler doubleClicked) {
  auto* widget = new QListWidget(this);
  widget->setGeometry(geometry);
  widget->setSelectionMode(QAbstractItemView::SingleSelection);
  // The old list boxes never scrolled sideways: a row too long for the box ends in an ellipsis,
  // and no scroll bar takes the height the eight rows need.
  widget->setItemDelegate(new BoxWideRows(widget));
  // Rows one em high, as the old list boxes drew them: eight players fit without scrolling.
  widget->setStyleSheet(QStringLiteral("QListWidget::item { height: %1px; padding: 0px; margin: 0px; }")
                            .arg(qRound(font().pointSizeF() * 4 / 3)));
  connect(widget, &QListWidget::currentRowChanged, this, [this, &list](int row) {
    if (!updating_) list.SetListIndex(row);
  });
  connect(widget, &QListWidget::itemDoubleClicked, this,
          [widget, &list, doubleClicked = std::move(doubleClicked)](QListWidgetItem* item) {
            list.SetListIndex(widget->row(item));
            doubleClicked();
          });
  Bind(list, widget);
  return widget;
}

void FormWindow::SetClientSize(int width, int height) { setFixedSize(width, height); }

void FormWindow::CentreOnScreen() {
  if (QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

void FormWindow::PlaceAsFirstWindow() {
  constexpr int Step = 22;  // the cascade step of a title bar and a frame
  if (QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().topLeft() + QPoint(Step, Step));
}

void FormWindow::ShowControl(const Control& control, QWidget* widget) {
  updating_ = true;
  const QSignalBlocker quiet(widget);
  if (const auto found = bindings_.find(&control); found != bindings_.end()) found->second.showKind(widget);
  if (widget->isVisibleTo(widget->parentWidget()) != control.Visible()) widget->setVisible(control.Visible());
  if (widget->isEnabled() != control.Enabled()) widget->setEnabled(control.Enabled());
  updating_ = false;
}

void FormWindow::Show(const LabelControl& label, QWidget* widget) {
  auto* shown = static_cast<QLabel*>(widget);
  const QString text = ToDisplayText(label.Caption());
  if (shown->text() != text) shown->setText(text);
  QPalette colours = shown->palette();
  const QColor fore = ToQColor(label.ForeColor());
  const QColor back = ToQColor(label.BackColor());
  if (colours.color(QPalette::WindowText) != fore || colours.color(QPalette::Window) != back) {
    colours.setColor(QPalette::WindowText, fore);
    colours.setColor(QPalette::Window, back);
    shown->setPalette(colours);
  }
}

void FormWindow::Show(const ButtonControl& button, QWidget* widget) {
  static_cast<QPushButton*>(widget)->setText(QString::fromStdString(button.Caption()));
}

void FormWindow::Show(const OptionControl& option, QWidget* widget) {
  auto* shown = static_cast<QRadioButton*>(widget);
  shown->setText(QString::fromStdString(option.Caption()));
  // Qt keeps one of an exclusive group checked; the model may switch all of them off.
  shown->setAutoExclusive(false);
  shown->setChecked(option.Value());
  shown->setAutoExclusive(true);
}

void FormWindow::Show(const CheckControl& check, QWidget* widget) {
  auto* shown = static_cast<QCheckBox*>(widget);
  shown->setText(QString::fromStdString(check.Caption()));
  shown->setChecked(check.Value() == 1);
}

void FormWindow::Show(const ListControl& list, QWidget* widget) {
  const QStringList items = ItemsOf(list);
  if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    if (!ShowsItems(combo, items, [combo](int i) { return combo->itemText(i); })) {
      combo->clear();
      combo->addItems(items);
    }
    combo->setCurrentIndex(list.ListIndex());
  } else if (auto* box = qobject_cast<QListWidget*>(widget)) {
    if (!ShowsItems(box, items, [box](int i) { return box->item(i)->text(); })) {
      box->clear();
      box->addItems(items);
    }
    box->setCurrentRow(list.ListIndex());
    if (list.ListIndex() < 0) box->clearSelection();
  }
}

void FormWindow::Show(const PictureControl& picture, QWidget* widget) {
  if (auto* box = dynamic_cast<PrintedPicture*>(widget); box && box->printed != picture.Printed()) {
    box->printed = picture.Printed();
    box->update();
  }
}

QWidget* FormWindow::AddPicture(PictureControl& picture, QRect geometry) {
  auto* widget = new PrintedPicture(this);
  widget->setGeometry(geometry);
  Bind(picture, widget);
  return widget;
}

void FormWindow::ControlChanged(const Control& control) {
  if (QWidget* widget = WidgetOf(control)) ShowControl(control, widget);
}

void FormWindow::FormChanged() {
  if (!model_.Loaded()) {
    hide();
    // A window loaded on demand gets its view before its load handler runs; only an unload after
    // that ends the view.
    if (seenLoaded_) {
      Detach();
      deleteLater();
    }
    return;
  }
  seenLoaded_ = true;
  if (model_.Visible() != isVisible()) setVisible(model_.Visible());
}

void FormWindow::FocusRequested() {
  if (!model_.Visible()) return;
  if (!isVisible()) show();
  raise();
  activateWindow();
  Control* focused = model_.TheDesktop().FocusedControl();
  QWidget* target = focused ? WidgetOf(*focused) : nullptr;
  updating_ = true;
  if (target)
    target->setFocus(Qt::OtherFocusReason);
  else
    setFocus(Qt::OtherFocusReason);
  updating_ = false;
}

bool FormWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn && attached_ && !updating_) {
    const auto found = controls_.find(static_cast<QWidget*>(watched));
    if (found != controls_.end() && isVisible()) model_.FocusArrived(found->second);
  }
  return QWidget::eventFilter(watched, event);
}

void FormWindow::changeEvent(QEvent* event) {
  // The desktop's scheme changed: its colours reach the controls that show them.
  if (event->type() == QEvent::PaletteChange)
    for (const auto& [control, binding] : bindings_) ShowControl(*control, binding.widget);
  if (event->type() == QEvent::ActivationChange && attached_) {
    if (!isActiveWindow()) {
      model_.FocusLeft();
    } else if (!focusWidget() || !controls_.contains(focusWidget())) {
      model_.FocusArrived(nullptr);
    }
  }
  QWidget::changeEvent(event);
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
      // A button with the keyboard is pressed by Enter; anywhere else Enter presses the default
      // button.
      auto* focused = qobject_cast<QPushButton*>(focusWidget());
      if (!focused || !controls_.contains(focused)) {
        QWidget* fallback = defaultButton_ ? WidgetOf(*defaultButton_) : nullptr;
        focused = qobject_cast<QPushButton*>(fallback);
      }
      if (focused && focused->isVisible() && focused->isEnabled()) focused->click();
      event->accept();
      return;
    }
    case Qt::Key_Escape:
      // No window of the game has a cancel button.
      event->accept();
      return;
    default: QWidget::keyPressEvent(event);
  }
}

void FormWindow::closeEvent(QCloseEvent* event) {
  // The model decides: it hides or unloads its window itself, or ends the program.
  event->ignore();
  if (closeHandler_) closeHandler_();
}
