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
#include <optional>

#include "collection/played.h"
#include "collection/preview_cache.h"
#include "collection/sidecar.h"
#include "collection/titles.h"
#include "common/manual_host.h"
#include "main_window/directories.h"
#include "main_window/emulator.h"
#include "manual_window/form3.h"
#include "platform/controls.h"
#include "platform/gamepad.h"
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
  // The collector's preview box at the designed size, in twips: pictures
  // are fitted into it, and it grows with the window.
  static constexpr int PREVIEW_WIDTH = 4845;
  static constexpr int PREVIEW_HEIGHT = 2865;
  // The collector's search row above the list, in twips.
  static constexpr int SEARCH_ROW = 315;
  // The width of the picture mark beside the title line, in twips.
  static constexpr int MARK_WIDTH = 1500;

  // Builds the window in its design state, hidden; Form_Load() starts it.
  // Without an emulator from vorbel.ini, Play starts the designed orv.
  // `collector` (a vorbel.ini was read) makes it the collector's launcher:
  // archives and group folders listed, pictures scaled, a title line, a
  // window for a television, favourites and recently played, a search, a
  // random game, every picture of a game, and a gamepad.
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

  // The collector's search (Text2, above the list): "/" or Ctrl+F opens
  // it, the list shows the entries whose name holds what is typed, Escape
  // clears and closes it.
  void open_search();
  void close_search();
  void Text2_Change();
  // Escape: closes the search when it is open, else Exit.
  void Escape_Press();
  // F5 and the pad's X: a random entry of the list as shown, another than
  // the selected one where there is another.
  void random_game();
  // F11: full screen and back.
  void toggle_full_screen();
  // Left and Right: the selected game's previous or next picture, in turn.
  void step_picture(int step);
  // The gamepad's controls (see PAD_ACTIONS in form1_pad.cpp).
  void pad_pressed(PadButton button);
  void pad_released(PadButton button);

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
  QLabel* Label7 = nullptr;     // collector: which picture ("1/3 Box art")
  SearchBox* Text2 = nullptr;   // collector: the search, hidden until opened
  OnDemand<Form3> form3;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void build_controls();
  void build_collector_controls();
  void connect_collector_keys();
  void set_window_height(int twips);
  void lay_out();
  void mark_favourites();
  QStringList view_names(int view) const;
  QStringList shown_names();
  void fill_list(bool firstSelected);
  void show_no_selection();
  void select_row(int row);
  void step_selection(int step);
  bool pad_window_active() const;
  bool run_pad_action(PadButton button);
  void repeat_pad();
  void next_view();
  void close_manual_window();
  void play_selected();
  void restore_window();
  void save_window();
  void refit_pictures();
  void place_preview(int extraWidth, int extraHeight);
  void centre_picture();
  void show_title_line();
  QString played_path(const QString& name);
  QString unpacked_path(const QString& name);
  void remove_unpacked();
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
  void show_picture_file(const QString& own);
  void show_current_picture();
  QString picture_path(const QString& fileName);
  QString find_picture(QHash<QString, QString>& folders, const PictureCandidate& candidate);
  QList<GamePicture> pictures_of(const QString& fileName);
  QPixmap read_preview(const QString& path);
  void read_pictures_ahead();
  QString fallback_picture() const;
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
  QList<GamePicture> pictures_;              // collector: the selected game's pictures
  int pictureIndex_ = 0;                     // the one shown
  QRect previewBox_;                         // collector: where pictures fit, in Frame3
  QTimer refit_;                             // collector: fits them again after a resize
  QHash<QString, QString> searchKeys_;       // list name: what the search compares
  std::unique_ptr<Gamepad> gamepad_;         // collector
  QTimer padRepeat_;                         // repeats a pad control held down
  std::optional<PadButton> padHeld_;         // the control it repeats
  QHash<QString, QString> unpackedPaths_;    // list name: its unpacked image
  int designedClientHeight_ = 0;             // collector: pixels, before any widening
  int extraWidth_ = 0;                       // collector: twips beyond the design
  int extraHeight_ = 0;
  bool positionRead_ = false;  // collector: start-up has read vorbel.idx
  bool unloaded_ = false;
};
