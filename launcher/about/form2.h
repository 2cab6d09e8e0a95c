#pragma once
// launcher/about: Form2, the About window, opened by the main window.
// May use common, icons and platform.
//
// Form2 shows the credits and a ghost that turns into a space invader when
// clicked. Modal; every opening builds it afresh.

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "platform/controls.h"

class Form2 : public QDialog {
  Q_OBJECT
 public:
  // Builds the window in its design state and runs its Form_Load.
  explicit Form2(QWidget* owner);

  void Form_Load();
  void Timer1_Timer();
  void ghost_Click();
  void Command1_Click();

  PictureBox* ghost;
  PictureBox* ghost1;
  PictureBox* ghost2;
  PictureBox* spac1;
  PictureBox* spac2;
  QLabel* Label1;
  QLabel* Label2;
  QLabel* Label3;
  QPushButton* Command1;
  QTimer* Timer1;

  // 1 while the ghost is animated, 0 once it has become the invader; and
  // which of the two frames comes next.
  int animationMode = 1;
  int frameToggle = 0;

 private:
  void ghost_step();
  void invader_step();
  void show_next_frame(const PictureBox* first, const PictureBox* second);
};
