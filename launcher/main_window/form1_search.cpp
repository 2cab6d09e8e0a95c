// Form1 as the collector's launcher: the list as shown (its view and the
// search), moving and picking at random through it, and an empty view.

#include <QRandomGenerator>
#include <algorithm>

#include "collection/search.h"
#include "main_window/form1.h"
#include "main_window/texts.h"

namespace {

bool lists(const ListBox* list, const QStringList& names) {
  if (list->count() != names.size()) return false;
  for (int row = 0; row < list->count(); ++row) {
    if (list->item(row)->text() != names[row]) return false;
  }
  return true;
}

}  // namespace

QStringList Form1::shown_names() {
  const QStringList names = view_names(Combo1->currentIndex());
  return is_shown(Text2) ? matching_names(names, Text2->text(), searchKeys_) : names;
}

// The game selected stays selected while it is shown, unless
// `firstSelected`; otherwise the first game shown is selected.
void Form1::fill_list(bool firstSelected) {
  const QString selected = File1->selectedName();
  const QStringList names = shown_names();
  if (!lists(File1, names)) {
    File1->setEntries(names, true);
    mark_favourites();
  }
  const int row = firstSelected ? -1 : static_cast<int>(names.indexOf(selected));
  select_row(row >= 0 ? row : (names.isEmpty() ? -1 : 0));
  if (File1->listIndex() < 0) show_no_selection();
  update_counter();
}

// Nothing selected: nothing to play, and no picture or line of a game that
// is no longer shown.
void Form1::show_no_selection() {
  Command2->setEnabled(false);
  pictures_.clear();
  Open->setPicture({});
  Label1->clear();
  Label6->clear();
  Label7->clear();
}

void Form1::Combo1_Click() {
  fill_list(false);
}

// A list locked at start-up (no emulator) is not searched, stepped
// through or picked from either.
void Form1::open_search() {
  if (!File1->isEnabled()) return;
  if (!is_shown(Text2)) {
    Text2->show();
    place_controls();
  }
  Text2->setFocus();
  Text2->selectAll();
}

void Form1::close_search() {
  Text2->hide();
  const QSignalBlocker quiet(Text2);
  Text2->clear();
  place_controls();
  fill_list(false);
  File1->setFocus();
}

void Form1::Text2_Change() {
  fill_list(!search_key(Text2->text()).isEmpty());
}

void Form1::Escape_Press() {
  if (is_shown(Text2))
    close_search();
  else
    Command1->click();
}

void Form1::select_row(int row) {
  File1->setListIndex(row);
}

// From the selection `step` entries on, as far as the list goes; with
// nothing selected, from before the first entry or after the last.
void Form1::step_selection(int step) {
  const int count = File1->count();
  if (count == 0 || !File1->isEnabled()) return;
  const int index = File1->listIndex();
  const int from = index >= 0 ? index : (step > 0 ? -1 : count);
  select_row(std::clamp(from + step, 0, count - 1));
}

void Form1::random_game() {
  const int count = File1->count();
  const int index = File1->listIndex();
  if (count == 0 || !File1->isEnabled()) return;
  if (count == 1 || index < 0) {
    select_row(QRandomGenerator::global()->bounded(count));
    return;
  }
  const int other = QRandomGenerator::global()->bounded(count - 1);
  select_row(other >= index ? other + 1 : other);
}
