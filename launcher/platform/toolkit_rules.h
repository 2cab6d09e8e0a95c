#pragma once
// The two rules the launcher's windows are written against, each kept in one
// place:
//
// - A handler bound with on_click() runs whenever the control's value really
//   changes, whether the user changed it or code did, and never for a value
//   set to what it already was. Code that sets a value thus runs the
//   handler at that point, before it carries on.
// - A window kept in an OnDemand handle is loaded (created hidden, its
//   Form_Load run) the first time anything touches it, runs its Form_Unload
//   when unloaded, and is loaded afresh in its design state when touched
//   again.

#include <QApplication>
#include <QCheckBox>
#include <QPointer>
#include <QRadioButton>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <memory>

#include "platform/controls.h"

// A check box's handler runs on every change of its tick.
template <class Receiver>
void on_click(QCheckBox* box, Receiver* receiver, void (Receiver::*handler)()) {
  QObject::connect(box, &QCheckBox::toggled, receiver,
                   [receiver, handler] { (receiver->*handler)(); });
}

// An option button's handler runs when it becomes the selected one.
template <class Receiver>
void on_click(QRadioButton* button, Receiver* receiver, void (Receiver::*handler)()) {
  QObject::connect(button, &QRadioButton::toggled, receiver, [receiver, handler](bool selected) {
    if (selected) (receiver->*handler)();
  });
}

// A list's handler runs when another entry becomes the selected one.
template <class Receiver>
void on_click(ListBox* list, Receiver* receiver, void (Receiver::*handler)()) {
  QObject::connect(list, &ListBox::indexChanged, receiver, [list, receiver, handler] {
    if (list->listIndex() >= 0) (receiver->*handler)();
  });
}

// Runs `handler` when `window` becomes the active window and another window
// of this program was active before it (or none yet, at the first showing);
// coming back from another application does not count.
void on_activate(QWidget* window, std::function<void()> handler);

// A window loaded on first use. `Window` is a QWidget with Form_Load() and
// Form_Unload(); the factory makes it hidden, usually as a child of its
// owner so that it goes when the owner goes.
template <class Window>
class OnDemand {
 public:
  explicit OnDemand(std::function<Window*()> make) : make_(std::move(make)) {}

  Window* operator->() { return &get(); }
  Window& get() {
    if (!window_) {
      window_ = make_();
      window_->Form_Load();
    }
    return *window_;
  }
  bool loaded() const { return !window_.isNull(); }

  // Runs Form_Unload and destroys the window; does nothing when it is not
  // loaded or is already being unloaded (its Form_Unload touching it again
  // reaches the window that is going).
  void unload() {
    if (!window_ || unloading_) return;
    unloading_ = true;
    window_->Form_Unload();
    unloading_ = false;
    Window* old = window_.data();
    window_ = nullptr;
    for (QTimer* timer : old->template findChildren<QTimer*>()) timer->stop();
    old->hide();
    old->deleteLater();
  }

 private:
  std::function<Window*()> make_;
  QPointer<Window> window_;
  bool unloading_ = false;
};
