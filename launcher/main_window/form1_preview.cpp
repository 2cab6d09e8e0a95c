// Form1: what a selection shows, and the manual preview switched on and off.

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include "collection/collection.h"
#include "collection/manual.h"
#include "collection/sidecar.h"
#include "collection/titles.h"
#include "main_window/form1.h"
#include "main_window/texts.h"
#include "platform/files.h"
#include "platform/message_box.h"

// The picture at `path` as the preview shows it: as it is, or, for the
// collector's launcher, made to fit the preview box.
QPixmap Form1::read_preview(const QString& path) {
  return collector_ ? previews_->picture(path) : read_picture(path);
}

// The folder's Default.jpg; for the collector's launcher, where the folder
// has none, the picture built into vorbel.
QString Form1::fallback_picture() const {
  const QString found = find_file(directories_.list, texts::FALLBACK_PICTURE);
  return found.isEmpty() && collector_ ? texts::BUILT_IN_PICTURE : found;
}

void Form1::show_title_line() {
  Label6->setText(title_line(File1->selectedName()));
}

void Form1::File1_Click() {
  for (QWidget* control : {static_cast<QWidget*>(Command2), static_cast<QWidget*>(Option1),
                           static_cast<QWidget*>(Option2), static_cast<QWidget*>(Frame1),
                           static_cast<QWidget*>(Label5)}) {
    control->setEnabled(true);
  }
  const QString base = selected_base();
  update_counter();
  form3->setWindowTitle(texts::manual_title(base));
  show_picture(entry_file(File1->selectedName()));
  if (Label6) show_title_line();
  if (is_shown(Text1)) load_manual(Text1, base, true);
  Command2->setToolTip(texts::play_tooltip(base));
  Option1->setToolTip(texts::on_tooltip(base));
  Option2->setToolTip(texts::OFF_TOOLTIP);
  set_courier_tooltips(base);
  if (form3->isVisible()) load_manual(form3->Text1, base, false);
}

// The picture file `candidate` names, its folder looked up once in
// `folders` (folder name: its path, empty when absent); empty when none.
QString Form1::find_picture(QHash<QString, QString>& folders, const PictureCandidate& candidate) {
  auto folder = folders.find(candidate.folder);
  if (folder == folders.end())
    folder = folders.insert(candidate.folder, find_folder(directories_.list, candidate.folder));
  return folder->isEmpty() ? QString() : find_file(*folder, candidate.file);
}

// The designed launcher's picture of the list name `fileName`: the first
// picture file the look-up finds (sidecar.h); empty when there is none.
QString Form1::picture_path(const QString& fileName) {
  QHash<QString, QString> folders;
  for (const QString& base : sidecar_bases(fileName)) {
    for (const PictureCandidate& candidate : picture_candidates(base)) {
      const QString file = find_picture(folders, candidate);
      if (!file.isEmpty()) return file;
    }
  }
  return {};
}

// The collector's pictures of the list name `fileName`: the first found of
// each kind, by its base names and then, for the libretro sets, by title.
QList<GamePicture> Form1::pictures_of(const QString& fileName) {
  QHash<QString, QString> folders;
  QStringList found(texts::PICTURE_KINDS.size());
  for (const QString& base : sidecar_bases(fileName)) {
    for (const PictureCandidate& candidate : picture_candidates(base)) {
      QString& kind = found[static_cast<int>(picture_kind(candidate.folder))];
      if (kind.isEmpty()) kind = find_picture(folders, candidate);
    }
  }
  const QString title = thumbnail_name(game_title(fileName));
  QList<GamePicture> pictures;
  for (qsizetype kind = 0; kind < found.size(); ++kind) {
    if (found[kind].isEmpty() && kind > 0) {
      const QString folder = folders.value(texts::THUMBNAIL_FOLDERS[kind - 1]);
      if (!folder.isEmpty()) found[kind] = titleArt_.find(folder, title);
    }
    if (!found[kind].isEmpty()) pictures.append({static_cast<PictureKind>(kind), found[kind]});
  }
  return pictures;
}

// The game's picture, else the fallback picture; a picture file that does
// not decode counts as missing (the fallback is shown), and with no usable
// picture at all the preview is empty. The collector's launcher shows the
// first of the game's pictures.
void Form1::show_picture(const QString& fileName) {
  if (!collector_) {
    show_picture_file(picture_path(fileName));
    return;
  }
  pictures_ = pictures_of(fileName);
  pictureIndex_ = 0;
  show_current_picture();
}

void Form1::show_picture_file(const QString& own) {
  QString shown = own;
  QPixmap picture = read_preview(own);
  if (picture.isNull()) {
    shown = fallback_picture();
    picture = read_preview(shown);
  }
  Label1->setText(picture.isNull() ? QString() : shown);
  Open->setPicture(picture);
  Open->resize(picture.size());
}

// The collector's picture now chosen, centred in the box, with its mark
// when the game has more than one.
void Form1::show_current_picture() {
  show_picture_file(pictures_.value(pictureIndex_).path);
  const int count = static_cast<int>(pictures_.size());
  Label7->setText(count < 2 ? QString()
                            : texts::picture_mark(pictureIndex_, count,
                                                  static_cast<int>(pictures_[pictureIndex_].kind)));
  place_controls();
  readAhead_.start(0);
}

void Form1::step_picture(int step) {
  const int count = static_cast<int>(pictures_.size());
  if (count < 2) return;
  pictureIndex_ = (pictureIndex_ + step + count) % count;
  show_current_picture();
}

// The manual of the list name `fileName`, by each of its base names in turn.
QString Form1::manual_path(const QString& fileName) const {
  for (const QString& base : sidecar_bases(fileName)) {
    const QString found = find_file(directories_.list, texts::MANUAL_FOLDER + QLatin1Char('/') +
                                                           base + texts::MANUAL_EXTENSION);
    if (!found.isEmpty()) return found;
  }
  return {};
}

void Form1::load_manual(ManualBox* box, const QString& base, bool announce) {
  box->clear();
  const Manual manual = read_manual(manual_path(entry_file(File1->selectedName())));
  if (manual.outcome == Manual::Outcome::Shown) {
    box->setPlainText(manual.text);
    return;
  }
  if (manual.outcome == Manual::Outcome::TooLarge && announce) {
    show_message(texts::MANUAL_TOO_LARGE);
  }
  box->setPlainText(texts::manual_not_available(base));
}

void Form1::set_courier_tooltips(const QString& base) {
  const QString tooltip = texts::courier_tooltip(base, Check1->isChecked());
  Check1->setToolTip(tooltip);
  form3->Check1->setToolTip(tooltip);
}

void Form1::Option1_Click() {
  if (Check2->isChecked()) {
    Picture1_Click();
    Check2->setEnabled(true);
    return;
  }
  set_window_height(EXPANDED_HEIGHT);
  Check1->show();
  Check2->show();
  Check1->setEnabled(true);
  Check2->setEnabled(true);
  Text1->show();
  Picture1->show();
  Text1->setFocus();
  place_manual_row();
  const QString base = selected_base();
  load_manual(Text1, base, true);
  Check1->setToolTip(texts::courier_tooltip(base, Check1->isChecked()));
  if (Check1->isChecked()) set_font_name(Text1, texts::COURIER_FONT);
}

void Form1::Option2_Click() {
  if (!is_minimized(this)) collapse_window();
  form3.unload();
}
