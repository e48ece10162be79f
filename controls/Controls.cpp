// Window controls as data, and which window and control hold the keyboard.
#include "controls/Controls.h"

#include <algorithm>

void Control::Changed() const {
  if (FormView* view = form_.View()) view->ControlChanged(*this);
}

void Control::SetFocus() { form_.Focus(this); }

bool Control::HasFocus() const { return form_.TheDesktop().FocusedControl() == this; }

void ShapeControl::Move(int left, int top) {
  if (left == left_ && top == top_) return;
  left_ = left;
  top_ = top;
  Changed();
}

void OptionControl::SetValue(bool on) {
  if (on) {
    for (OptionControl* other : group_.Members())
      if (other != this) other->Change(other->value_, false);
  }
  Change(value_, on);
}

bool OptionControl::TakesFocus() const {
  if (!Visible() || !Enabled()) return false;
  const auto& members = group_.Members();
  return value_ || std::none_of(members.begin(), members.end(),
                                [](const OptionControl* option) { return option->Value(); });
}

std::string ListControl::Text() const {
  return listIndex_ >= 0 && listIndex_ < ListCount() ? items_[static_cast<size_t>(listIndex_)]
                                                     : std::string();
}

void ListControl::AddItem(std::string item) {
  items_.push_back(std::move(item));
  Changed();
}

void ListControl::Clear() {
  if (items_.empty() && listIndex_ == -1) return;
  items_.clear();
  listIndex_ = -1;
  Changed();
}

void ListControl::SetListIndex(int index) {
  if (index < -1 || index >= ListCount()) return;
  Change(listIndex_, index);
}

bool ListControl::SelectText(const std::string& text) {
  const auto found = std::find(items_.begin(), items_.end(), text);
  if (found == items_.end()) return false;
  SetListIndex(static_cast<int>(found - items_.begin()));
  return true;
}

void PictureControl::SetFontSize(double points) { font_.points = points; }

void PictureControl::Cls() {
  currentX_ = 0;
  currentY_ = 0;
  if (printed_.empty()) return;
  printed_.clear();
  Changed();
}

void PictureControl::Print(std::string text) {
  printed_.push_back({std::move(text), currentX_, currentY_, font_, foreColor_});
  Changed();
}

void FormModel::Load() {
  if (loaded_) return;
  loaded_ = true;
  Form_Load();
}

void FormModel::Show() {
  Load();
  if (visible_) return;
  visible_ = true;
  FormChanged();
}

void FormModel::Hide() {
  if (Active()) {
    desktop_.activeForm_ = nullptr;
    desktop_.focusedControl_ = nullptr;
  }
  if (!visible_) return;
  visible_ = false;
  FormChanged();
}

void FormModel::Unload() {
  Hide();
  loaded_ = false;
  lastFocused_ = nullptr;
  FormChanged();
}

void FormModel::SetFocus() {
  Control* target = lastFocused_ && lastFocused_->TakesFocus() ? lastFocused_ : nullptr;
  for (auto candidate = tabOrder_.begin(); !target && candidate != tabOrder_.end(); ++candidate)
    if ((*candidate)->TakesFocus()) target = *candidate;
  Focus(target);
}

void FormModel::Focus(Control* control) {
  if (control && &control->Form() != this) return;
  const bool newlyFocused = desktop_.focusedControl_ != control;
  desktop_.activeForm_ = this;
  desktop_.focusedControl_ = control;
  if (control) lastFocused_ = control;
  if (view_) view_->FocusRequested();
  if (control && newlyFocused) ControlGotFocus(*control);
}

void FormModel::FocusArrived(Control* control) {
  if (!visible_ || (control && (&control->Form() != this || !control->Visible() || !control->Enabled())))
    return;
  const bool newlyFocused = control && (desktop_.focusedControl_ != control || !Active());
  desktop_.activeForm_ = this;
  desktop_.focusedControl_ = control;
  if (control) lastFocused_ = control;
  if (newlyFocused) ControlGotFocus(*control);
}

void FormModel::FocusLeft() {
  if (!Active()) return;
  desktop_.activeForm_ = nullptr;
  desktop_.focusedControl_ = nullptr;
}
