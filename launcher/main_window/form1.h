#pragma once
// launcher/main_window: Form1, the main window, which owns the manual window
// and opens About. May use manual_window, about, common, icons and platform.
//
// Form1 shows the list of images, the preview picture and the manual, and
// has the buttons that start the emulator and close the launcher. Controls
// and handlers bear the names the launcher's design gives them.

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include "common/manual_host.h"
#include "main_window/directories.h"
#include "main_window/emulator.h"
#include "manual_window/form3.h"
#include "platform/controls.h"
#include "platform/toolkit_rules.h"

class Form1 : public QWidget, public ManualHost {
  Q_OBJECT
 public:
  // Heights and top edge in twips.
  static constexpr int COLLAPSED_HEIGHT = 5150;
  static constexpr int EXPANDED_HEIGHT = 6975;
  static constexpr int WINDOW_TOP = 700;

  // Builds the window in its design state, hidden; Form_Load() starts it.
  // Without an emulator from vorbel.ini, Play starts the designed orv.
  explicit Form1(LauncherDirectories directories, Emulator emulator = {});

  // Start-up, activation and closing.
  void Form_Load();
  void Form_Activate();
  void Form_Unload();
  // True once the window has closed (Form_Unload has run).
  bool unloaded() const { return unloaded_; }

  // Selection and the manual preview.
  void File1_Click();
  void Option1_Click();
  void Option2_Click();

  // The Courier option, detaching the manual, the manual box's keys.
  void Check1_Click();
  void Check2_Click();
  void Picture1_Click();
  void Text1_KeyDown(int keyCode);
  // "[" and "]" (by virtual key code) select the previous or next entry,
  // as far as there is one; other keys do nothing.
  void step_through_list(int keyCode) override;

  // The About window.
  void Image1_Click();

  // Launching and exit.
  void Command2_Click();
  void File1_DblClick();
  void Open_DblClick();
  void Command1_Click();

  // The base name of the selected entry; empty when none is selected.
  QString selected_base() const override;

  // What the manual window does to this window (see ManualHost).
  QWidget& host_window() override { return *this; }
  bool courier() const override;
  void set_courier(bool ticked) override;
  bool manual_below_shown() const override;
  bool manual_detached_and_on() const override;
  void focus_list() override;
  void unload_manual_window() override;
  void attach_manual() override;
  void set_manual_font(const QString& name) override;
  void expand_window() override;
  void collapse_window() override;
  void switch_manual_off() override;

  QGroupBox* Frame2;
  ListBox* File1;
  QLabel* Label5;
  QGroupBox* Frame3;
  PictureBox* Open;
  QPushButton* Command2;
  QPushButton* Command1;
  PictureBox* Image1;
  QGroupBox* Frame1;
  QRadioButton* Option1;
  QRadioButton* Option2;
  QCheckBox* Check1;
  QCheckBox* Check2;
  ManualBox* Text1;
  PictureBox* Picture1;
  QLabel* Label1;  // hidden: the path of the picture now shown
  OnDemand<Form3> form3;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void build_controls();
  void place_controls();
  void place_manual_row();
  void connect_handlers();
  void read_start_position();
  void update_counter();
  // The message that says why Play cannot start the emulator; empty when
  // the emulator is there.
  QString emulator_problem() const;
  void show_picture(const QString& fileName);
  QString picture_path(const QString& fileName) const;
  QString manual_path(const QString& fileName) const;
  void load_manual(ManualBox* box, const QString& base, bool announce);
  void set_courier_tooltips(const QString& base);
  void launch(const QString& name);
  void launch_configured(const QString& name);

  LauncherDirectories directories_;
  Emulator emulator_;
  bool unloaded_ = false;
};
