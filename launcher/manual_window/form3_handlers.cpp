// Form3: the Courier box, Attach, Close, the keys of its manual box and the
// unload sequence that hands the manual back to the main window.

#include "main_window/form1.h"
#include "main_window/texts.h"
#include "manual_window/form3.h"
#include "platform/twips.h"

namespace {

const QString TRUE_TEXT = QStringLiteral("True");
const QString FALSE_TEXT = QStringLiteral("False");

}  // namespace

void Form3::Check1_Click() {
  const QString ownFont = font_name(this);
  const QString base = form1_.selected_base();
  form1_.Check1->setChecked(Check1->isChecked());
  set_font_name(Text1, Check1->isChecked() ? texts::COURIER_FONT : ownFont);
  Check1->setToolTip(texts::courier_tooltip(base, Check1->isChecked()));
  if (is_shown(Text1) && !is_shown(form1_.Text1)) Text1->setFocus();
}

void Form3::Command1_Click() {
  // Unloading destroys this window; what follows reaches the main window,
  // and through it a fresh manual window, never this one.
  Form1& form1 = form1_;
  attachRequest = TRUE_TEXT;
  closeRequest = FALSE_TEXT;
  form1.form3.unload();
  form1.form3->attachRequest = FALSE_TEXT;
  form1.Check1->setEnabled(true);
  form1.Text1->show();
  form1.Text1->setFocus();
  form1.Picture1->show();
  form1.Check2->setChecked(false);
}

void Form3::Command2_Click() {
  if (is_minimized(&form1_)) set_minimized(&form1_, false);
  closeRequest = TRUE_TEXT;
  form1_.form3.unload();
}

void Form3::Command2_LostFocus() {
  if (!is_shown(form1_.Text1)) form1_.File1->setFocus();
}

void Form3::Text1_KeyDown(int keyCode) {
  form1_.step_through_list(keyCode);
}

void Form3::Form_Unload() {
  if (is_minimized(&form1_)) set_minimized(&form1_, false);
  if (attachRequest.isEmpty()) attachRequest = FALSE_TEXT;
  if (closeRequest.isEmpty()) closeRequest = FALSE_TEXT;
  if (attachRequest == TRUE_TEXT) {
    set_font_name(form1_.Text1, font_name(Text1));
    form1_.Check1->setChecked(Check1->isChecked());
    Text1->hide();
    set_outer_height(&form1_, Form1::EXPANDED_HEIGHT);
  }
  if (closeRequest == TRUE_TEXT) {
    Text1->hide();
    form1_.Text1->hide();
    form1_.Option2->setChecked(true);
    closeRequest = FALSE_TEXT;
  }
  if (!is_minimized(&form1_)) {
    set_outer_height(&form1_, Form1::COLLAPSED_HEIGHT);
    form1_.Check1->setEnabled(false);
    form1_.Check2->setEnabled(false);
    form1_.Text1->hide();
    // Closed by its close box while detached: the preview goes off.
    if (attachRequest != TRUE_TEXT && closeRequest != TRUE_TEXT && form1_.Check2->isChecked() &&
        form1_.Option1->isChecked()) {
      form1_.Option2->setChecked(true);
    }
  }
}
