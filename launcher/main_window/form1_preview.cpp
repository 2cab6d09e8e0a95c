// Form1: what a selection shows, and the manual preview switched on and off.

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include "main_window/collection.h"
#include "main_window/form1.h"
#include "main_window/manual.h"
#include "main_window/sidecar.h"
#include "main_window/texts.h"
#include "platform/files.h"
#include "platform/message_box.h"

// The picture at `path` as the preview shows it: as it is, or, for the
// collector's launcher, made to fit the preview box.
QPixmap Form1::read_preview(const QString& path) {
  return collector_ ? previews_->picture(path) : read_picture(path);
}

// The default picture installed with vorbel, used by the collector's
// launcher where the folder has no Default.jpg; empty when not installed.
QString Form1::installed_picture() const {
  const QString path =
      QDir(directories_.program)
          .absoluteFilePath(QStringLiteral(VORBEL_SHARE_FROM_BIN "/") + texts::FALLBACK_PICTURE);
  return QFileInfo(path).isFile() ? path : QString();
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

// The first picture file the look-up finds for the list name `fileName`
// (sidecar.h), each folder found once; empty when there is none.
QString Form1::picture_path(const QString& fileName) {
  QHash<QString, QString> folders;  // folder name: its path, empty when absent
  for (const QString& base : sidecar_bases(fileName)) {
    for (const PictureCandidate& candidate : picture_candidates(base)) {
      auto folder = folders.find(candidate.folder);
      if (folder == folders.end())
        folder = folders.insert(candidate.folder, find_folder(directories_.list, candidate.folder));
      if (folder->isEmpty()) continue;
      const QString file = find_file(*folder, candidate.file);
      if (!file.isEmpty()) return file;
    }
  }
  return collector_ ? picture_by_title(fileName) : QString();
}

// The libretro picture of the name's title, folder by folder.
QString Form1::picture_by_title(const QString& fileName) {
  const QString title = thumbnail_name(game_title(fileName));
  for (const QString& name : texts::THUMBNAIL_FOLDERS) {
    const QString folder = find_folder(directories_.list, name);
    const QString found = folder.isEmpty() ? QString() : titleArt_.find(folder, title);
    if (!found.isEmpty()) return found;
  }
  return {};
}

// The game's picture, else the fallback picture; a picture file that does
// not decode counts as missing (the fallback is shown), and with no usable
// picture at all the preview is empty.
void Form1::show_picture(const QString& fileName) {
  const QString& directory = directories_.list;
  const QString own = picture_path(fileName);
  QString shown = own;
  QPixmap picture = read_preview(own);
  if (picture.isNull()) {
    shown = find_file(directory, texts::FALLBACK_PICTURE);
    if (shown.isEmpty() && collector_) shown = installed_picture();
    picture = read_preview(shown);
  }
  Label1->setText(picture.isNull() ? QString() : shown);
  Open->setPicture(picture);
  Open->resize(picture.size());
  if (collector_) readAhead_.start(0);
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
