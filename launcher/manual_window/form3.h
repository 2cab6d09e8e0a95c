#pragma once
// Form3, the manual window: the game manual detached from the main window
// into a window of its own, placed under it and resizable.

#include <QCheckBox>
#include <QWidget>

#include "platform/controls.h"

class Form1;

class Form3 : public QWidget {
  Q_OBJECT
 public:
  // Builds the window in its design state, hidden, owned by the main window.
  explicit Form3(Form1& form1);

  void Form_Load();
  void Form_Unload();

  ManualBox* Text1;
  QCheckBox* Check1;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  Form1& form1_;
};
