// The Qt side of a window model: a top-level widget whose child widgets follow the model's
// controls, that reports clicks, focus and closing back to the model, and presses the default
// button on Enter as the old windows did.
#pragma once

#include <QWidget>
#include <functional>
#include <map>

#include "controls/Controls.h"
#include "controls/qt/QtLook.h"

class QLabel;
class QPushButton;
class QRadioButton;
class QCheckBox;
class QComboBox;
class QListWidget;

// A caption as Qt shows it: CR LF line breaks become LF, and trailing blanks (which push
// right-aligned text away from its neighbour, but which Qt drops from the lines of a multi-line
// text) become no-break spaces of the same width.
QString ToDisplayText(const std::string& caption);

class FormWindow : public QWidget, protected FormView {
  Q_OBJECT

 public:
  using Handler = std::function<void()>;

  // Follows `model` (which must outlive the window, or unload first) from now on.
  FormWindow(FormModel& model, QWidget* parent, Qt::WindowFlags flags);
  ~FormWindow() override;

  // The widget that shows `control`, or nullptr.
  QWidget* WidgetOf(const Control& control) const;

 protected:
  QLabel* AddLabel(LabelControl& label, QRect geometry, Qt::Alignment alignment, const QFont& font,
                   QWidget* parent = nullptr);
  QPushButton* AddButton(ButtonControl& button, QRect geometry, Handler clicked);
  QRadioButton* AddOption(OptionControl& option, QRect geometry, QWidget* parent, Handler clicked = {});
  QCheckBox* AddCheck(CheckControl& check, QRect geometry, QWidget* parent, Handler clicked);
  // A drop-down list that only takes its items; `clicked` runs when the player picks an item.
  QComboBox* AddDropDownList(ListControl& list, QRect geometry, QWidget* parent, Handler clicked);
  QListWidget* AddListBox(ListControl& list, QRect geometry, Handler doubleClicked);
  // A picture box that shows what was printed into it, on black.
  QWidget* AddPicture(PictureControl& picture, QRect geometry);
  void SetDefaultButton(ButtonControl& button) { defaultButton_ = &button; }
  // What closing the window from its title bar does (the model's QueryUnload).
  void SetCloseHandler(Handler handler) { closeHandler_ = std::move(handler); }
  // A client area of this many pixels, which the player cannot resize.
  void SetClientSize(int width, int height);
  void CentreOnScreen();
  // Where a desktop puts a program's first window: a small step in from the top-left corner of the
  // screen's work area (frame included), leaving the middle to the windows that centre themselves.
  void PlaceAsFirstWindow();

  // Shows `control` in `widget` from now on, and reports the keyboard arriving there.
  template <typename ControlType>
  void Bind(ControlType& control, QWidget* widget) {
    BindShown(control, widget, [this, &control](QWidget* shown) { Show(control, shown); });
  }
  // Starts following the model: call last in the window's constructor, when every control is bound.
  void Attach();

  // Shows one control as its model has it: its kind's own look, then its visibility and enabled
  // state. A subclass that shows some controls its own way overrides this and calls it for the rest.
  virtual void ShowControl(const Control& control, QWidget* widget);

  void ControlChanged(const Control& control) override;
  void FormChanged() override;
  void FocusRequested() override;

  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

  FormModel& model_;

 private:
  void Detach();
  void BindShown(Control& control, QWidget* widget, std::function<void(QWidget*)> showKind);
  // Each kind of control in the widget it was bound to; a kind the window shows itself (the
  // craft) has nothing of its own here.
  void Show(const Control&, QWidget*) {}
  void Show(const LabelControl& label, QWidget* widget);
  void Show(const ButtonControl& button, QWidget* widget);
  void Show(const OptionControl& option, QWidget* widget);
  void Show(const CheckControl& check, QWidget* widget);
  void Show(const ListControl& list, QWidget* widget);
  void Show(const PictureControl& picture, QWidget* widget);

  struct Binding {
    QWidget* widget;
    std::function<void(QWidget*)> showKind;
  };
  std::map<const Control*, Binding> bindings_;
  std::map<const QWidget*, Control*> controls_;
  ButtonControl* defaultButton_ = nullptr;
  Handler closeHandler_;
  bool attached_ = false;
  bool seenLoaded_ = false;
  bool updating_ = false;
};
