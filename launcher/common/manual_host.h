#pragma once
// launcher/common: what the windows share -- their common texts, and the main
// window as the manual window sees it. May use platform only.

#include <QString>

class QWidget;

// The main window as the manual window sees it: everything the manual window
// does to the main window goes through these calls. A tick or option set
// here runs the main window's own handler at that point, before the call
// returns, as setting the control itself would.
class ManualHost {
 public:
  // The main window itself: the manual window's owner, whose minimised
  // state the manual window follows and restores.
  virtual QWidget& host_window() = 0;

  // The base name of the selected list entry; empty when none is selected.
  virtual QString selected_base() const = 0;

  // The main window's Courier tick, read and set.
  virtual bool courier() const = 0;
  virtual void set_courier(bool ticked) = 0;

  // True when the manual box below the list is shown.
  virtual bool manual_below_shown() const = 0;
  // True when Detach is ticked and the manual is switched on.
  virtual bool manual_detached_and_on() const = 0;

  // Moves the focus to the list.
  virtual void focus_list() = 0;
  // "[" and "]" (by virtual key code) select the previous or next entry, as
  // far as there is one; other keys do nothing.
  virtual void step_through_list(int keyCode) = 0;

  // Unloads the manual window (its Form_Unload runs); does nothing when it
  // is not loaded or is already being unloaded.
  virtual void unload_manual_window() = 0;
  // Attach: unloads the manual window, then shows the manual below the list
  // again and clears Detach. The manual window that asked is gone after it.
  virtual void attach_manual() = 0;

  // The pieces of the manual window's unload sequence that fall to the main
  // window: the font of the manual box below the list; the window at its
  // height with the manual shown; at its height without it (Courier and
  // Detach disabled, the box below the list hidden); and the manual switched
  // off (the box below the list hidden, "off" selected).
  virtual void set_manual_font(const QString& name) = 0;
  virtual void expand_window() = 0;
  virtual void collapse_window() = 0;
  virtual void switch_manual_off() = 0;

 protected:
  ~ManualHost() = default;
};
