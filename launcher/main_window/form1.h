#pragma once
// launcher/main_window: Form1, the main window, which owns the manual window
// and opens About. May use manual_window, about, common, icons and platform.
//
// Form1 shows the list of images, the preview picture and the manual, and
// has the buttons that start the emulator and close the launcher. Controls
// and handlers bear the names the launcher's design gives them.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "common/manual_host.h"
#include "main_window/directories.h"
#include "main_window/emulator.h"
#include "main_window/played.h"
#include "main_window/preview_cache.h"
#include "main_window/titles.h"
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
  // The design client area.
  static constexpr int CLIENT_WIDTH = 7560;
  static constexpr int CLIENT_HEIGHT = 6600;
  // The collector's preview box, in twips: pictures are fitted into it.
  static constexpr int PREVIEW_WIDTH = 4845;
  static constexpr int PREVIEW_HEIGHT = 2865;

  // Builds the window in its design state, hidden; Form_Load() starts it.
  // Without an emulator from vorbel.ini, Play starts the designed orv.
  // `collector` (a vorbel.ini was read) makes it the collector's launcher:
  // archives and group folders listed, pictures scaled, a title line, a
  // resizable window, favourites and recently played.
  explicit Form1(LauncherDirectories directories, Emulator emulator = {}, bool collector = false);

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

  // The collector's launcher: the list shows all games, the favourites or
  // the recently played (Combo1); Ctrl+D marks or unmarks a favourite.
  enum ListView { ALL_GAMES, FAVOURITES, RECENT };
  void Combo1_Click();
  void toggle_favourite();
  const PlayedLists& played() const { return played_; }

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
  QLabel* Label1;               // hidden: the path of the picture now shown
  QComboBox* Combo1 = nullptr;  // collector: which games the list shows
  QLabel* Label6 = nullptr;     // collector: title, year and publisher
  OnDemand<Form3> form3;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void build_controls();
  void build_collector_controls();
  void set_window_height(int twips);
  void lay_out();
  void mark_favourites();
  QStringList view_names(int view) const;
  void show_title_line();
  QString played_path(const QString& name);
  QString unpacked_path(const QString& name);
  QString picture_by_title(const QString& fileName);
  void place_controls();
  void place_manual_row();
  void connect_handlers();
  void read_start_position();
  void restore_position();
  void save_position();
  void update_counter();
  // The message that says why Play cannot start the emulator; empty when
  // the emulator is there.
  QString emulator_problem() const;
  void show_picture(const QString& fileName);
  QString picture_path(const QString& fileName);
  QPixmap read_preview(const QString& path);
  void read_pictures_ahead();
  QString installed_picture() const;
  QString manual_path(const QString& fileName) const;
  void load_manual(ManualBox* box, const QString& base, bool announce);
  void set_courier_tooltips(const QString& base);
  void launch(const QString& name);
  qint64 launch_configured(const QString& name);
  qint64 launch_orv(const QString& name);

  LauncherDirectories directories_;
  Emulator emulator_;
  bool collector_;
  QStringList games_;  // collector: every list name, in list order
  PlayedLists played_;
  TitleArt titleArt_;
  std::unique_ptr<PreviewCache> previews_;   // collector: fitted pictures
  QTimer readAhead_;                         // collector: reads them once idle
  int previousIndex_ = -1;                   // collector: the selection read ahead from
  std::unique_ptr<QTemporaryDir> unpacked_;  // images taken out of archives
  QHash<QString, QString> unpackedPaths_;    // list name: its unpacked image
  int designedClientHeight_ = 0;             // collector: pixels, before any widening
  int extraWidth_ = 0;                       // collector: twips beyond the design
  int extraHeight_ = 0;
  bool unloaded_ = false;
};
