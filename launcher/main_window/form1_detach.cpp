// Form1: the Courier option, detaching the manual into Form3 and the keys of
// the manual boxes.

#include "main_window/form1.h"
#include "main_window/texts.h"
#include "platform/twips.h"

namespace {

constexpr int KEY_PREVIOUS = 219;  // "["
constexpr int KEY_NEXT = 221;      // "]"
constexpr int KEY_DETACH = 68;     // "D"

}  // namespace

void Form1::Check1_Click() {
  const QString base = selected_base();
  const QString windowFont = font_name(this);
  const bool courier = Check1->isChecked();
  form3->Check1->setChecked(courier);
  if (courier) set_font_name(Text1, texts::COURIER_FONT);
  if (!courier && is_shown(Text1)) {
    Text1->setFocus();
    set_font_name(Text1, windowFont);
  }
  if (!courier && !is_shown(Text1)) {
    form3->Text1->setFocus();
    set_font_name(form3->Text1, windowFont);
  }
  set_courier_tooltips(base);
  (is_shown(Text1) ? Text1 : form3->Text1)->setFocus();
}

void Form1::Check2_Click() {
  if (Check2->isChecked()) {
    Picture1_Click();
    return;
  }
  form3.unload();
  if (!Option2->isChecked()) Option1_Click();
  Text1->show();
  Text1->setFocus();
  Picture1->show();
}

void Form1::Picture1_Click() {
  set_window_height(COLLAPSED_HEIGHT);
  // Ticking Detach runs this sequence once more from within (Check2_Click);
  // that inner run finds Detach ticked and completes, and so does this one.
  Check2->setChecked(true);
  move_outer(&form3.get(), outer_left(this), outer_top(this) + outer_height(this));
  form3->Command1->show();
  form3->Text1->show();
  Picture1->hide();
  Text1->hide();
  form3->Text1->setPlainText(Text1->toPlainText());
  const QString base = selected_base();
  Check1->setEnabled(true);
  show_window(&form3.get());
  form3->setWindowTitle(texts::manual_title(base));
  set_font_name(form3->Text1, font_name(Text1));
  form3->Text1->setFocus();
  if (Check1->isChecked()) set_font_name(form3->Text1, texts::COURIER_FONT);
  form3->Check1->setChecked(Check1->isChecked());
}

void Form1::Text1_KeyDown(int keyCode) {
  step_through_list(keyCode);
  if (keyCode == KEY_DETACH) Picture1_Click();
}

void Form1::step_through_list(int keyCode) {
  const int index = File1->listIndex();
  if (keyCode == KEY_PREVIOUS && index > 0) File1->setListIndex(index - 1);
  if (keyCode == KEY_NEXT && index + 1 < File1->count()) File1->setListIndex(index + 1);
}
