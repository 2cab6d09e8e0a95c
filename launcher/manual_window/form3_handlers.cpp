// Form3: the Courier box, Attach, Close, the keys of its manual box and the
// unload sequence that hands the manual back to the main window.

#include "common/texts.h"
#include "manual_window/form3.h"
#include "platform/twips.h"

void Form3::Check1_Click() {
  const QString ownFont = font_name(this);
  const QString base = host_.selected_base();
  host_.set_courier(Check1->isChecked());
  set_font_name(Text1, Check1->isChecked() ? texts::COURIER_FONT : ownFont);
  Check1->setToolTip(texts::courier_tooltip(base, Check1->isChecked()));
  if (is_shown(Text1) && !host_.manual_below_shown()) Text1->setFocus();
}

void Form3::Command1_Click() {
  attachRequest = REQUEST_TRUE;
  closeRequest = REQUEST_FALSE;
  // The main window unloads this window and carries on with a fresh one;
  // nothing may touch this one afterwards.
  host_.attach_manual();
}

void Form3::Command2_Click() {
  QWidget& main = host_.host_window();
  if (is_minimized(&main)) set_minimized(&main, false);
  closeRequest = REQUEST_TRUE;
  host_.unload_manual_window();
}

void Form3::Command2_LostFocus() {
  if (!host_.manual_below_shown()) host_.focus_list();
}

void Form3::Text1_KeyDown(int keyCode) {
  host_.step_through_list(keyCode);
}

void Form3::Form_Unload() {
  QWidget& main = host_.host_window();
  if (is_minimized(&main)) set_minimized(&main, false);
  if (attachRequest.isEmpty()) attachRequest = REQUEST_FALSE;
  if (closeRequest.isEmpty()) closeRequest = REQUEST_FALSE;
  if (attachRequest == REQUEST_TRUE) {
    host_.set_manual_font(font_name(Text1));
    host_.set_courier(Check1->isChecked());
    Text1->hide();
    host_.expand_window();
  }
  if (closeRequest == REQUEST_TRUE) {
    Text1->hide();
    host_.switch_manual_off();
    closeRequest = REQUEST_FALSE;
  }
  if (!is_minimized(&main)) {
    host_.collapse_window();
    // Closed by its close box while detached: the preview goes off.
    if (attachRequest != REQUEST_TRUE && closeRequest != REQUEST_TRUE &&
        host_.manual_detached_and_on()) {
      host_.switch_manual_off();
    }
  }
}
