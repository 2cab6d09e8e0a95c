// Form1: start-up checks, activation, the list position and closing.

#include <QGuiApplication>
#include <QScreen>

#include "main_window/form1.h"
#include "main_window/position_file.h"
#include "main_window/texts.h"
#include "platform/files.h"
#include "platform/launch.h"
#include "platform/message_box.h"
#include "platform/twips.h"

namespace {

// Horizontally the window starts in the middle of the screen.
int centred_left(const QWidget* window) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const int screenWidth = screen ? pixels_to_twips_x(screen->availableGeometry().width()) : 0;
  return std::max(0, (screenWidth - outer_width(window)) / 2);
}

}  // namespace

void Form1::Form_Load() {
  for (QWidget* control : {static_cast<QWidget*>(Option1), static_cast<QWidget*>(Option2),
                           static_cast<QWidget*>(Check2), static_cast<QWidget*>(Check1),
                           static_cast<QWidget*>(Frame1), static_cast<QWidget*>(Label5)}) {
    control->setEnabled(false);
  }
  Text1->clear();
  Text1->hide();
  Picture1->hide();
  form3->Text1->hide();

  set_window_height(COLLAPSED_HEIGHT);
  move_outer(this, centred_left(this), WINDOW_TOP);
  if (collector_) restore_window();  // the designed place and size at the first start

  // All three look-ups come before any message.
  const QString directory = directories_.startup_folder();
  const bool haveImages =
      collector_ ? !games_.isEmpty() : !list_files(directory, texts::IMAGE_PATTERNS).isEmpty();
  const QString emulatorMissing = emulator_problem();
  const bool haveFallback = !first_match(directory, texts::FALLBACK_PICTURE).isEmpty();
  if (!emulatorMissing.isEmpty()) {
    show_message(emulatorMissing);
    File1->setEnabled(false);
  }
  if (!haveImages) {
    show_message(texts::NO_IMAGES);
    close();
    return;
  }
  if (!haveFallback && !collector_) {
    show_message(texts::NO_FALLBACK_PICTURE);
    close();
    return;
  }
  read_start_position();
}

QString Form1::emulator_problem() const {
  if (!emulator_.configured) {
    // The designed check; started on a folder, orv may lie there too.
    for (const QString& directory : {directories_.program, directories_.startup_folder()}) {
      if (!first_match(directory, emulator_file_name()).isEmpty()) return {};
    }
    const QString missing = texts::emulator_missing(emulator_file_name());
    return emulator_.unsetNote.isEmpty() ? missing
                                         : missing + QLatin1Char(' ') + emulator_.unsetNote;
  }
  if (!emulator_.problem.isEmpty()) return emulator_.problem;
  const ProgramLookup lookup =
      find_program(emulator_.program, directories_.program, directories_.list);
  switch (lookup.kind) {
    case ProgramLookup::Kind::Found:
      return {};
    case ProgramLookup::Kind::Folder:
      return texts::program_is_folder(lookup.path);
    case ProgramLookup::Kind::Missing:
      break;
  }
  return texts::emulator_missing(emulator_.program);
}

void Form1::read_start_position() {
  if (collector_) {
    restore_position();
    positionRead_ = true;
    return;
  }
  const QString found = first_match(directories_.position_folder(), texts::POSITION_FILE);
  if (found.isEmpty()) {
    // A launcher set up with vorbel.ini starts on its first game, so that
    // Enter plays at once; the designed start says the position is not set.
    if (emulator_.configured && File1->count() > 0) {
      File1->setListIndex(0);
      return;
    }
    show_message(texts::POSITION_NOT_SET);
    return;
  }
  const std::optional<int> index = read_position(join_path(directories_.position_folder(), found));
  if (!index || *index < -1 || *index >= File1->count()) {
    // Closing writes the index now selected, -1: that is the repair.
    show_message(texts::POSITION_INVALID);
    close();
    return;
  }
  File1->setListIndex(*index);
}

void Form1::Form_Activate() {
  if (File1->count() == 0) Command2->setEnabled(false);
  setWindowTitle(texts::title(File1->count()));
  if (File1->listIndex() < 0) Command2->setEnabled(false);
  update_counter();
}

void Form1::Form_Unload() {
  if (collector_) {
    // Closed before start-up read the position (asked to end while its
    // first box was up): the position kept is still the right one.
    if (positionRead_) save_position();
    save_window();
    form3.unload();
    remove_unpacked();
    return;
  }
  const QString found = first_match(directories_.position_folder(), texts::POSITION_FILE);
  if (found.isEmpty()) {
    show_message(texts::POSITION_NOT_SAVED);
  } else {
    // A file that cannot be rewritten keeps its old position; the window
    // closes all the same.
    write_position(join_path(directories_.position_folder(), found), File1->listIndex());
  }
  form3.unload();
}
