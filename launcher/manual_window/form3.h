#pragma once
// launcher/manual_window: Form3, the manual window. It reaches the main window
// only through common's ManualHost; may use common, icons and platform.
//
// Form3 shows the game manual detached from the main window in a window of
// its own, placed under it and resizable. Its controls and handlers bear the
// names the launcher's design gives them.

#include <QCheckBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include "common/manual_host.h"
#include "platform/controls.h"

class Form3 : public QWidget {
  Q_OBJECT
 public:
  // Builds the window in its design state, hidden, owned by the main window.
  explicit Form3(ManualHost& host);

  void Form_Load();
  void Form_Activate();
  void Form_Resize();
  void Form_Unload();
  void Timer1_Timer();
  void Check1_Click();
  void Command1_Click();
  void Command2_Click();
  void Command2_LostFocus();
  void Text1_KeyDown(int keyCode);

  ManualBox* Text1;
  QCheckBox* Check1;
  QPushButton* Command1;
  QPushButton* Command2;
  PictureBox* scorp1;
  PictureBox* scorp2;
  QTimer* Timer1;

  // Which scorpion frame the icon shows next (0 or 1), and the requests
  // Attach and Close leave for the unload sequence (REQUEST_TRUE,
  // REQUEST_FALSE, or empty, which counts as REQUEST_FALSE).
  static inline const QString REQUEST_TRUE = QStringLiteral("True");
  static inline const QString REQUEST_FALSE = QStringLiteral("False");
  int iconToggle = 0;
  QString attachRequest;
  QString closeRequest;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void build_controls();
  ManualHost& host_;
  QString windowFont_;  // the window's own font name, taken at load
};
