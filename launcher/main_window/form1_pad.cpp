// Form1 from the couch: the gamepad, full screen, and the window's size,
// place and full-screen state kept between runs (the collector's launcher).

#include <QApplication>

#include "collection/played.h"
#include "main_window/form1.h"
#include "main_window/texts.h"
#include "platform/files.h"

namespace {

// A control held down acts once, then again after the delay, then at each
// interval, as a key held down does.
constexpr int REPEAT_DELAY_MS = 400;
constexpr int REPEAT_INTERVAL_MS = 80;
constexpr int SHOULDER_STEP = 10;

}  // namespace

// What each control of the pad does; true for those that repeat while held.
bool Form1::run_pad_action(PadButton button) {
  using Action = void (*)(Form1&);
  struct PadAction {
    PadButton button;
    Action action;
    bool repeats;
  };
  static const PadAction PAD_ACTIONS[] = {
      {PadButton::Up, [](Form1& f) { f.step_selection(-1); }, true},
      {PadButton::Down, [](Form1& f) { f.step_selection(1); }, true},
      {PadButton::LeftShoulder, [](Form1& f) { f.step_selection(-SHOULDER_STEP); }, false},
      {PadButton::RightShoulder, [](Form1& f) { f.step_selection(SHOULDER_STEP); }, false},
      {PadButton::LeftTrigger, [](Form1& f) { f.step_selection(-f.File1->count()); }, false},
      {PadButton::RightTrigger, [](Form1& f) { f.step_selection(f.File1->count()); }, false},
      {PadButton::A, [](Form1& f) { f.play_selected(); }, false},
      {PadButton::Start, [](Form1& f) { f.play_selected(); }, false},
      {PadButton::X, [](Form1& f) { f.random_game(); }, false},
      {PadButton::Y, [](Form1& f) { f.toggle_favourite(); }, false},
      {PadButton::Back, [](Form1& f) { f.next_view(); }, false},
      {PadButton::B, [](Form1& f) { f.close_manual_window(); }, false},
      {PadButton::Left, [](Form1& f) { f.step_picture(-1); }, false},
      {PadButton::Right, [](Form1& f) { f.step_picture(1); }, false},
  };
  for (const PadAction& entry : PAD_ACTIONS) {
    if (entry.button != button) continue;
    entry.action(*this);
    return entry.repeats;
  }
  return false;
}

void Form1::pad_pressed(PadButton button) {
  if (!pad_window_active()) return;
  if (!run_pad_action(button)) return;
  padHeld_ = button;
  padRepeat_.start(REPEAT_DELAY_MS);
}

void Form1::pad_released(PadButton button) {
  if (padHeld_ != button) return;
  padHeld_.reset();
  padRepeat_.stop();
}

void Form1::repeat_pad() {
  if (!padHeld_ || !pad_window_active()) {
    padHeld_.reset();
    return;
  }
  run_pad_action(*padHeld_);
  padRepeat_.start(REPEAT_INTERVAL_MS);
}

// The pad belongs to the program whose window is active: to vorbel only
// while its main window or its manual window is (not a box in front of
// them, nor the emulator).
bool Form1::pad_window_active() const {
  const QWidget* active = QApplication::activeWindow();
  return active && (active == this || qobject_cast<const Form3*>(active));
}

void Form1::play_selected() {
  if (Command2->isEnabled()) Command2->click();
}

// All games, the favourites, the recently played, and round again.
void Form1::next_view() {
  Combo1->setCurrentIndex((Combo1->currentIndex() + 1) % Combo1->count());
}

void Form1::close_manual_window() {
  if (form3.loaded() && form3->isVisible()) form3->Command2->click();
}

void Form1::toggle_full_screen() {
  setWindowState(windowState() ^ Qt::WindowFullScreen);
}

void Form1::restore_window() {
  const QStringList saved =
      read_name_list(join_path(directories_.position_folder(), texts::WINDOW_FILE));
  if (!saved.isEmpty()) restoreGeometry(QByteArray::fromBase64(saved.first().toLatin1()));
}

void Form1::save_window() {
  write_name_list(join_path(directories_.position_folder(), texts::WINDOW_FILE),
                  {QString::fromLatin1(saveGeometry().toBase64())});
}
