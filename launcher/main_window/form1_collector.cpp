// Form1 as the collector's launcher (vorbel.ini): the list's views and the
// favourites, the window that grows, the list position kept without
// messages, and images taken out of archives for the emulator.

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QResizeEvent>
#include <QSet>
#include <QShortcut>
#include <algorithm>

#include "collection/collection.h"
#include "main_window/form1.h"
#include "main_window/position_file.h"
#include "main_window/texts.h"
#include "platform/archive.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/run_folders.h"
#include "platform/twips.h"

namespace {

// The frame height assumed before the window system reports one, in twips.
constexpr int ASSUMED_FRAME_HEIGHT = 375;
// How long the window keeps its size before the picture is fitted again.
constexpr int REFIT_DELAY_MS = 50;

}  // namespace

void Form1::build_collector_controls() {
  // On the window over the list's frame, not in it: Alt+G, the frame's key,
  // would otherwise leave the focus in the box.
  Combo1 = new QComboBox(this);
  Combo1->raise();
  Combo1->addItems(texts::LIST_VIEWS);
  Combo1->setToolTip(texts::VIEW_TOOLTIP);
  Text2 = new SearchBox(File1, Frame2);
  Text2->hide();
  Text2->setToolTip(texts::SEARCH_TOOLTIP);
  Label6 = new QLabel(Frame3);
  Label6->setTextFormat(Qt::PlainText);
  Label7 = new QLabel(Frame3);
  Label7->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  connect(Combo1, &QComboBox::currentIndexChanged, this, &Form1::Combo1_Click);
  connect(Text2, &QLineEdit::textChanged, this, &Form1::Text2_Change);
  connect_collector_keys();
  designedClientHeight_ = twips_to_pixels_y(CLIENT_HEIGHT);
  previews_ = std::make_unique<PreviewCache>(
      QSize(twips_to_pixels_x(PREVIEW_WIDTH), twips_to_pixels_y(PREVIEW_HEIGHT)));
  readAhead_.setSingleShot(true);
  connect(&readAhead_, &QTimer::timeout, this, &Form1::read_pictures_ahead);
  refit_.setSingleShot(true);
  refit_.setInterval(REFIT_DELAY_MS);
  connect(&refit_, &QTimer::timeout, this, &Form1::refit_pictures);
  padRepeat_.setSingleShot(true);
  connect(&padRepeat_, &QTimer::timeout, this, &Form1::repeat_pad);
  gamepad_ = std::make_unique<Gamepad>();
  connect(gamepad_.get(), &Gamepad::pressed, this, &Form1::pad_pressed);
  connect(gamepad_.get(), &Gamepad::released, this, &Form1::pad_released);
  // A logout may end vorbel without closing its window.
  connect(qGuiApp, &QGuiApplication::commitDataRequest, this, &Form1::remove_unpacked);
  connect(qGuiApp, &QCoreApplication::aboutToQuit, this, &Form1::remove_unpacked);
  mark_favourites();
}

void Form1::connect_collector_keys() {
  const QList<std::pair<QString, void (Form1::*)()>> keys = {
      {texts::FAVOURITE_KEY, &Form1::toggle_favourite},
      {texts::SEARCH_KEYS[0], &Form1::open_search},
      {texts::SEARCH_KEYS[1], &Form1::open_search},
      {texts::RANDOM_KEY, &Form1::random_game},
      {texts::FULL_SCREEN_KEY, &Form1::toggle_full_screen},
      {QKeySequence(Qt::Key_Escape).toString(), &Form1::Escape_Press},
  };
  for (const auto& [key, action] : keys)
    connect(new QShortcut(QKeySequence(key), this), &QShortcut::activated, this, action);
  for (const int step : {-1, 1}) {
    auto* key = new QShortcut(QKeySequence(step < 0 ? Qt::Key_Left : Qt::Key_Right), this);
    connect(key, &QShortcut::activated, this, [this, step] { step_picture(step); });
  }
}

// Reads ahead the pictures of the entries next to the selection, the one
// the selection moves towards first, once the selection has been shown.
void Form1::read_pictures_ahead() {
  const int index = File1->listIndex();
  if (index < 0) return;
  const int step = index < previousIndex_ ? -1 : 1;
  previousIndex_ = index;
  QStringList paths;
  for (const int near : {index + step, index - step, index + 2 * step}) {
    if (near >= 0 && near < File1->count())
      paths.append(pictures_of(entry_file(File1->item(near)->text())).value(0).path);
  }
  // Then the selected game's other pictures, for Left and Right.
  for (qsizetype i = 1; i < pictures_.size(); ++i)
    paths.append(pictures_[(pictureIndex_ + i) % pictures_.size()].path);
  previews_->read_ahead(paths);
}

QStringList Form1::view_names(int view) const {
  if (view == FAVOURITES) {
    QStringList names;
    std::copy_if(games_.begin(), games_.end(), std::back_inserter(names),
                 [this](const QString& name) { return played_.is_favourite(name); });
    return names;
  }
  if (view == RECENT) {
    const QSet<QString> listed(games_.begin(), games_.end());
    QStringList names;
    for (const QString& name : played_.recent()) {
      if (listed.contains(name)) names.append(name);
    }
    return names;
  }
  return games_;
}

// Favourites show in bold.
void Form1::mark_favourites() {
  for (int row = 0; row < File1->count(); ++row) {
    QListWidgetItem* entry = File1->item(row);
    if (!played_.is_favourite(entry->text()) && !entry->font().bold()) continue;
    QFont font = entry->font();
    font.setBold(played_.is_favourite(entry->text()));
    entry->setFont(font);
  }
}

void Form1::toggle_favourite() {
  const QString name = File1->selectedName();
  if (name.isEmpty()) return;
  played_.toggle_favourite(name);
  mark_favourites();
}

void Form1::set_window_height(int twips) {
  if (!collector_) {
    set_outer_height(this, twips);
    return;
  }
  const int frame = frameGeometry().height() - geometry().height();
  designedClientHeight_ =
      twips_to_pixels_y(twips) - (frame > 0 ? frame : twips_to_pixels_y(ASSUMED_FRAME_HEIGHT));
  setMinimumHeight(designedClientHeight_);
  if (!isMaximized() && !isFullScreen())
    resize(width(), designedClientHeight_ + twips_to_pixels_y(extraHeight_));
  lay_out();
}

void Form1::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (collector_) lay_out();
}

// The width and height beyond the design are shared out (place_controls).
void Form1::lay_out() {
  extraWidth_ = std::max(0, pixels_to_twips_x(width() - minimumWidth()));
  extraHeight_ = std::max(0, pixels_to_twips_y(height() - designedClientHeight_));
  place_controls();
}

// The preview box takes the room the frame has beyond the design; the
// picture is fitted to it again once the window stops changing size.
void Form1::place_preview(int extraWidth, int extraHeight) {
  place(Open, 120, 240, PREVIEW_WIDTH + extraWidth, PREVIEW_HEIGHT + extraHeight);
  previewBox_ = Open->geometry();
  const int lineWidth = PREVIEW_WIDTH + extraWidth - (Label7->text().isEmpty() ? 0 : MARK_WIDTH);
  place(Label6, 120, 3135 + extraHeight, lineWidth, 255);
  place(Label7, 120 + lineWidth, 3135 + extraHeight, MARK_WIDTH, 255);
  centre_picture();
  if (previews_ && previewBox_.size() != previews_->box()) refit_.start();
}

void Form1::centre_picture() {
  const QSize size = Open->picture().size();
  Open->setGeometry(QRect(previewBox_.topLeft(), size)
                        .translated((previewBox_.width() - size.width()) / 2,
                                    (previewBox_.height() - size.height()) / 2));
}

void Form1::refit_pictures() {
  previews_->set_box(previewBox_.size());
  if (!pictures_.isEmpty() || !Label1->text().isEmpty()) show_current_picture();
}

// Without a usable vorbel.idx the first game is selected, and the file is
// written at once: created where it was missing, mended where it was not.
void Form1::restore_position() {
  const QString folder = directories_.position_folder();
  const QString found = first_match(folder, texts::POSITION_FILE);
  const std::optional<int> index =
      found.isEmpty() ? std::nullopt : read_position(join_path(folder, found));
  const bool usable = index && *index >= -1 && *index < File1->count();
  File1->setListIndex(usable ? *index : 0);
  if (!usable) save_position();
}

// The position is the selected game's place among all games.
void Form1::save_position() {
  const QString folder = directories_.position_folder();
  const QString found = first_match(folder, texts::POSITION_FILE);
  const QString name = File1->selectedName();
  const int index = name.isEmpty() ? -1 : static_cast<int>(games_.indexOf(name));
  write_position(join_path(folder, found.isEmpty() ? texts::POSITION_FILE : found), index);
}

// What the emulator is given for the list name `name`: the name itself, or
// for an archive of a kind it does not take, the image unpacked from it
// (empty, after a message, when that fails).
QString Form1::played_path(const QString& name) {
  const QString kind = archive_kind(name);
  if (kind.isEmpty() || emulator_.archives.contains(kind)) return name;
  return unpacked_path(name);
}

// The images unpacked for the emulator go; an archive played later is
// unpacked again, into a new folder.
void Form1::remove_unpacked() {
  unpacked_.reset();
  unpackedPaths_.clear();
}

// Each archive is unpacked once, into a folder of its own in a private
// temporary folder that goes when vorbel closes; an image larger than any
// cartridge image is not unpacked.
QString Form1::unpacked_path(const QString& name) {
  const QString known = unpackedPaths_.value(name);
  if (!known.isEmpty() && QFileInfo::exists(known)) return known;
  if (!unpacked_) unpacked_ = make_run_folder(texts::UNPACK_PREFIX);
  const QString archive = join_path(directories_.list, name);
  const QString image = archive_image(archive);
  const QString folder = unpacked_->filePath(QString::number(unpackedPaths_.size()));
  const QString target = join_path(folder, entry_file(image));
  const Extraction done = !unpacked_->isValid() || image.isEmpty() || !QDir().mkpath(folder)
                              ? Extraction::Failed
                              : extract_member(archive, image, target, LARGEST_IMAGE);
  if (done != Extraction::Done) {
    const QString shown = QDir::toNativeSeparators(archive);
    show_message(done == Extraction::TooLarge ? texts::image_too_large(shown)
                                              : texts::cannot_unpack(shown));
    return {};
  }
  unpackedPaths_.insert(name, target);
  return target;
}
