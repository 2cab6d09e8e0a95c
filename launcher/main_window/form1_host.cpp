// Form1: what the manual window does to the main window (ManualHost).

#include "main_window/form1.h"
#include "platform/twips.h"

bool Form1::courier() const {
  return Check1->isChecked();
}

void Form1::set_courier(bool ticked) {
  Check1->setChecked(ticked);
}

bool Form1::manual_below_shown() const {
  return is_shown(Text1);
}

bool Form1::manual_detached_and_on() const {
  return Check2->isChecked() && Option1->isChecked();
}

void Form1::focus_list() {
  File1->setFocus();
}

void Form1::unload_manual_window() {
  form3.unload();
}

void Form1::attach_manual() {
  form3.unload();
  // Touching the handle loads a fresh manual window (the OnDemand rule).
  form3->attachRequest = Form3::REQUEST_FALSE;
  Check1->setEnabled(true);
  Text1->show();
  Text1->setFocus();
  Picture1->show();
  Check2->setChecked(false);
}

void Form1::set_manual_font(const QString& name) {
  set_font_name(Text1, name);
}

void Form1::expand_window() {
  set_window_height(EXPANDED_HEIGHT);
}

void Form1::collapse_window() {
  set_window_height(COLLAPSED_HEIGHT);
  Check1->setEnabled(false);
  Check2->setEnabled(false);
  Text1->hide();
}

void Form1::switch_manual_off() {
  Text1->hide();
  Option2->setChecked(true);
}
