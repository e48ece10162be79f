// Window controls as data: what every window shows and which window and control hold the
// keyboard, without a window system. A window's model owns its controls; its view (Qt, or none
// in tests and the replay tool) is told of every change through one interface and follows.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "controls/Look.h"
#include "platform/Platform.h"
#include "resources/Bitmap.h"

class Control;
class FormModel;

// Told what changed in one window, so that the view shows exactly that.
class FormView {
 public:
  // A control's caption, value, colours, items, visibility or enabled state changed.
  virtual void ControlChanged(const Control& control) = 0;
  // The window was shown or hidden, its picture changed, or it was unloaded (then the view
  // detaches itself and goes away).
  virtual void FormChanged() = 0;
  // The program moved the keyboard to this window (and to Desktop::FocusedControl when that is
  // one of its controls): activate it even if the state did not change, because the player may
  // have moved the keyboard elsewhere since.
  virtual void FocusRequested() = 0;

 protected:
  ~FormView() = default;
};

// Which window is active and which control has the keyboard. One per program.
class Desktop {
 public:
  FormModel* ActiveForm() const { return activeForm_; }
  Control* FocusedControl() const { return focusedControl_; }

 private:
  friend class FormModel;
  FormModel* activeForm_ = nullptr;
  Control* focusedControl_ = nullptr;
};

class Control {
 public:
  explicit Control(FormModel& form) : form_(form) {}
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control() = default;

  FormModel& Form() const { return form_; }
  bool Visible() const { return visible_; }
  bool Enabled() const { return enabled_; }
  void SetVisible(bool visible) { Change(visible_, visible); }
  void SetEnabled(bool enabled) { Change(enabled_, enabled); }
  // Gives the keyboard to this control and activates its window.
  void SetFocus();
  bool HasFocus() const;
  // Only controls a player can tab to take the keyboard, and only while visible and enabled.
  virtual bool TakesFocus() const { return false; }

 protected:
  template <typename T>
  void Change(T& field, T value) {
    if (field == value) return;
    field = std::move(value);
    Changed();
  }
  void Changed() const;

 private:
  FormModel& form_;
  bool visible_ = true;
  bool enabled_ = true;
};

// A label: caption (UTF-8, lines joined by CR LF) and colours.
class LabelControl : public Control {
 public:
  LabelControl(FormModel& form, Rgb fore = SystemColour::WindowText, Rgb back = SystemColour::ButtonFace)
      : Control(form), foreColor_(fore), backColor_(back) {}

  const std::string& Caption() const { return caption_; }
  Rgb ForeColor() const { return foreColor_; }
  Rgb BackColor() const { return backColor_; }
  void SetCaption(std::string caption) { Change(caption_, std::move(caption)); }
  void SetForeColor(Rgb colour) { Change(foreColor_, colour); }
  void SetBackColor(Rgb colour) { Change(backColor_, colour); }

 private:
  std::string caption_;
  Rgb foreColor_;
  Rgb backColor_;
};

enum class ShapeKind { Square, Circle };

// A shape: a square or circle with fill and border colours, position and size in pixels.
class ShapeControl : public Control {
 public:
  using Control::Control;

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  ShapeKind Shape() const { return shape_; }
  Rgb FillColor() const { return fillColor_; }
  Rgb BorderColor() const { return borderColor_; }

  void Move(int left, int top);
  void SetWidth(int width) { Change(width_, width); }
  void SetHeight(int height) { Change(height_, height); }
  void SetShape(ShapeKind shape) { Change(shape_, shape); }
  void SetFillColor(Rgb colour) { Change(fillColor_, colour); }
  void SetBorderColor(Rgb colour) { Change(borderColor_, colour); }

 private:
  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
  ShapeKind shape_ = ShapeKind::Square;
  Rgb fillColor_ = SystemColour::WindowBackground;
  Rgb borderColor_ = SystemColour::WindowText;
};

// A push button. Its click handler belongs to the window that owns it.
class ButtonControl : public Control {
 public:
  explicit ButtonControl(FormModel& form, std::string caption = {})
      : Control(form), caption_(std::move(caption)) {}

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption) { Change(caption_, std::move(caption)); }
  bool TakesFocus() const override { return Visible() && Enabled(); }

 private:
  std::string caption_;
};

class OptionControl;

// Option buttons of one frame (or of the window): at most one of them is on.
class OptionGroup {
 public:
  void Add(OptionControl& option) { members_.push_back(&option); }
  const std::vector<OptionControl*>& Members() const { return members_; }

 private:
  std::vector<OptionControl*> members_;
};

// An option button; switching one on switches the others of its group off. Switching does not
// run a click handler: the window runs it where its steps say so.
class OptionControl : public Control {
 public:
  OptionControl(FormModel& form, OptionGroup& group, std::string caption)
      : Control(form), group_(group), caption_(std::move(caption)) {
    group_.Add(*this);
  }

  const std::string& Caption() const { return caption_; }
  bool Value() const { return value_; }
  void SetValue(bool on);
  // An option button is reached with the keyboard only while it is the one that is on, or
  // while none of its group is.
  bool TakesFocus() const override;

 private:
  OptionGroup& group_;
  std::string caption_;
  bool value_ = false;
};

// A check box: 0 unticked, 1 ticked.
class CheckControl : public Control {
 public:
  CheckControl(FormModel& form, std::string caption) : Control(form), caption_(std::move(caption)) {}

  const std::string& Caption() const { return caption_; }
  int Value() const { return value_; }
  void SetValue(int value) { Change(value_, value); }
  bool TakesFocus() const override { return Visible() && Enabled(); }

 private:
  std::string caption_;
  int value_ = 0;
};

// A list of text items with one selected position (-1 for none): the drop-down list (a combo
// box that only takes its items) and the list box share it.
class ListControl : public Control {
 public:
  using Control::Control;

  const std::vector<std::string>& Items() const { return items_; }
  int ListCount() const { return static_cast<int>(items_.size()); }
  int ListIndex() const { return listIndex_; }
  // The selected item's text, or "" when none is selected.
  std::string Text() const;
  void AddItem(std::string item);
  void Clear();
  // Selects position `index` (-1 for none; other positions outside the list are refused).
  void SetListIndex(int index);
  // Selects the first item with exactly this text; false (and no change) when there is none.
  bool SelectText(const std::string& text);
  bool TakesFocus() const override { return Visible() && Enabled(); }

 private:
  std::vector<std::string> items_;
  int listIndex_ = -1;
};

// Text printed into a picture box, in pixels of the box from its top-left corner.
struct PrintedText {
  std::string text;
  int x = 0;
  int y = 0;
  FontSpec font;
  Rgb colour = 0;
  bool operator==(const PrintedText&) const = default;
};

// A picture box that keeps what was printed into it until it is cleared.
class PictureControl : public Control {
 public:
  PictureControl(FormModel& form, FontSpec font, Rgb fore)
      : Control(form), font_(std::move(font)), foreColor_(fore) {}

  const FontSpec& Font() const { return font_; }
  Rgb ForeColor() const { return foreColor_; }
  const std::vector<PrintedText>& Printed() const { return printed_; }

  void SetFontSize(double points);
  void SetForeColor(Rgb colour) { foreColor_ = colour; }  // shows with the next print only
  void SetCurrentX(int x) { currentX_ = x; }
  void SetCurrentY(int y) { currentY_ = y; }
  // Removes everything printed; the print position goes back to the top-left corner.
  void Cls();
  // Prints one line at the print position in the current font and colour. Every print of the
  // game's windows follows a clear or a new position, so the position does not move on.
  void Print(std::string text);

 private:
  FontSpec font_;
  Rgb foreColor_;
  int currentX_ = 0;
  int currentY_ = 0;
  std::vector<PrintedText> printed_;
};

namespace detail {
template <typename ControlType, size_t, typename... Args>
ControlType MakeControl(FormModel& form, const Args&... args) {
  return ControlType(form, args...);
}
template <typename ControlType, typename... Args, size_t... Index>
std::array<ControlType, sizeof...(Index)> MakeControls(FormModel& form, std::index_sequence<Index...>,
                                                       const Args&... args) {
  return {MakeControl<ControlType, Index>(form, args...)...};
}
}  // namespace detail

// A control array: `Count` controls of one kind made alike, addressed by index as the old
// windows addressed Label3(i).
template <typename ControlType, size_t Count, typename... Args>
std::array<ControlType, Count> ControlArray(FormModel& form, const Args&... args) {
  return detail::MakeControls<ControlType>(form, std::make_index_sequence<Count>(), args...);
}

// A window: shown or hidden, loaded or unloaded, with its controls in tab order.
class FormModel {
 public:
  explicit FormModel(Desktop& desktop) : desktop_(desktop) {}
  FormModel(const FormModel&) = delete;
  FormModel& operator=(const FormModel&) = delete;
  virtual ~FormModel() = default;

  // At most one view; nullptr for none. The view reads the whole state when it attaches.
  void SetView(FormView* view) { view_ = view; }
  FormView* View() const { return view_; }
  Desktop& TheDesktop() const { return desktop_; }

  bool Loaded() const { return loaded_; }
  bool Visible() const { return visible_; }
  // Runs the load handler the first time; later calls do nothing until the window is unloaded.
  void Load();
  // Loads the window if needed and makes it visible (it does not take the keyboard by itself).
  void Show();
  void Hide();
  // Hides the window for good: its view goes away, and the program loads it afresh on next use.
  void Unload();
  // Activates the window and gives the keyboard to the control that last had it, or else to the
  // first control in tab order that can take it.
  void SetFocus();
  bool Active() const { return desktop_.activeForm_ == this; }

  // The view reports where the player moved the keyboard (nullptr: to the window, not to one of
  // its controls). A control that newly receives it runs its GotFocus handler.
  void FocusArrived(Control* control);
  // The view reports that the keyboard left the program's windows (to a message box, another
  // program).
  void FocusLeft();

  // The controls that can take the keyboard, in tab order.
  const std::vector<Control*>& TabOrder() const { return tabOrder_; }

 protected:
  void SetTabOrder(std::vector<Control*> controls) { tabOrder_ = std::move(controls); }
  virtual void Form_Load() {}
  // GotFocus of one of this window's controls.
  virtual void ControlGotFocus(Control&) {}
  void FormChanged() const {
    if (view_) view_->FormChanged();
  }

 private:
  friend class Control;
  void Focus(Control* control);

  Desktop& desktop_;
  FormView* view_ = nullptr;
  bool loaded_ = false;
  bool visible_ = false;
  Control* lastFocused_ = nullptr;
  std::vector<Control*> tabOrder_;
};
