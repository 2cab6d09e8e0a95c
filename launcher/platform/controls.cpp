#include "platform/controls.h"

#include <QApplication>
#include <QGroupBox>
#include <QImageReader>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QToolTip>
#include <algorithm>

ListBox::ListBox(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &ListBox::follow_selection);
  connect(this, &QListWidget::itemDoubleClicked, this, &ListBox::doubleClicked);
}

void ListBox::setListIndex(int index) {
  settingFromCode_ = true;
  if (index < 0 || index >= count()) {
    clearSelection();
  } else {
    setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
  }
  settingFromCode_ = false;
}

void ListBox::setEntries(const QStringList& names, bool tooltips) {
  settingFromCode_ = true;
  clear();
  addItems(names);
  settingFromCode_ = false;
  tooltips_ = tooltips;
  set_uniform_width(names);
  if (index_ < 0) return;
  index_ = -1;
  emit indexChanged();
}

// Entries of one height are laid out at once. Their width is that of the
// widest of the longest names, so that the list can still be scrolled to
// the end of each; measuring every name would cost more than all the rest.
void ListBox::set_uniform_width(const QStringList& names) {
  setUniformItemSizes(true);
  if (names.isEmpty()) return;
  QStringList longest = names;
  const qsizetype measured = std::min<qsizetype>(longest.size(), 64);
  std::partial_sort(longest.begin(), longest.begin() + measured, longest.end(),
                    [](const QString& a, const QString& b) { return a.size() > b.size(); });
  int widest = 0;
  for (qsizetype i = 0; i < measured; ++i)
    widest = std::max(widest, fontMetrics().horizontalAdvance(longest[i]));
  const int margin = 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 4;
  item(0)->setSizeHint(QSize(widest + margin, sizeHintForRow(0)));
}

QString ListBox::selectedName() const {
  return index_ < 0 ? QString() : item(index_)->text();
}

bool ListBox::viewportEvent(QEvent* event) {
  if (event->type() != QEvent::ToolTip || !tooltips_) return QListWidget::viewportEvent(event);
  const auto* help = static_cast<QHelpEvent*>(event);
  const QListWidgetItem* entry = itemAt(help->pos());
  if (entry)
    QToolTip::showText(help->globalPos(), entry->text(), viewport(), visualItemRect(entry));
  else
    QToolTip::hideText();
  return true;
}

bool ListBox::searching() const {
  return lastTyped_.isValid() && lastTyped_.elapsed() <= QApplication::keyboardInputInterval();
}

void ListBox::keyboardSearch(const QString& search) {
  // Qt's own search starts after the current entry and cycles through the
  // entries with the same first letter; this one always takes the first.
  if (!searching()) typed_.clear();
  lastTyped_.start();
  typed_ += search;
  if (typed_.isEmpty()) return;
  for (int row = 0; row < count(); ++row) {
    if (item(row)->text().startsWith(typed_, Qt::CaseInsensitive)) {
      setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
      return;
    }
  }
}

bool ListBox::event(QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride && searching()) {
    auto* key = static_cast<QKeyEvent*>(event);
    const bool types = !key->text().isEmpty() && key->text().at(0).isPrint() &&
                       !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (types) {
      event->accept();
      return true;
    }
  }
  return QListWidget::event(event);
}

void ListBox::keyPressEvent(QKeyEvent* event) {
  // A blank belongs to the search under way ("Space Invaders").
  if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier && searching()) {
    keyboardSearch(event->text());
    event->accept();
    return;
  }
  QListWidget::keyPressEvent(event);
}

QModelIndex ListBox::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
  // With nothing selected Qt moves every key to the first entry; End goes
  // to the last.
  if (cursorAction == MoveEnd && !currentIndex().isValid() && count() > 0)
    return model()->index(count() - 1, 0);
  return QListWidget::moveCursor(cursorAction, modifiers);
}

void ListBox::follow_selection() {
  const QModelIndexList selected = selectionModel()->selectedIndexes();
  const int now = selected.isEmpty() ? -1 : selected.first().row();
  if (now < 0 && index_ >= 0 && !settingFromCode_) {
    // A click beside the entries or a Ctrl+click cleared the selection:
    // the list keeps its entry, as a list without a "none" entry should.
    setCurrentRow(index_, QItemSelectionModel::ClearAndSelect);
    return;
  }
  if (now == index_) return;
  index_ = now;
  emit indexChanged();
}

void ListBox::focusInEvent(QFocusEvent* event) {
  QListWidget::focusInEvent(event);
  // Qt makes the first entry current on focus; with nothing selected the
  // first arrow key would then skip it.
  if (index_ < 0) selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

SearchBox::SearchBox(QAbstractItemView* list, QWidget* parent) : QLineEdit(parent), list_(list) {}

void SearchBox::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      QCoreApplication::sendEvent(list_, event);
      return;
    default:
      QLineEdit::keyPressEvent(event);
  }
}

PictureBox::PictureBox(QWidget* parent) : QLabel(parent) {
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void PictureBox::setPicture(const QPixmap& picture) {
  picture_ = picture;
  if (picture.isNull())
    clear();
  else
    setPixmap(picture);
}

bool PictureBox::showsPictureOf(const PictureBox* other) const {
  return !picture_.isNull() && picture_.cacheKey() == other->picture_.cacheKey();
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    emit clicked();
  }
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent* event) {
  QLabel::mouseDoubleClickEvent(event);
  if (event->button() == Qt::LeftButton) emit doubleClicked();
}

ManualBox::ManualBox(QWidget* parent) : QPlainTextEdit(parent) {
  setReadOnly(true);
  setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setTabChangesFocus(true);
}

void ManualBox::keyPressEvent(QKeyEvent* event) {
  // The handler may change what the box shows; the key still gets the box's
  // own handling afterwards (it is not consumed).
  const QPointer<ManualBox> self(this);
  emit keyDown(virtual_key_code(event));
  if (self) QPlainTextEdit::keyPressEvent(event);
}

int virtual_key_code(const QKeyEvent* event) {
  const int key = event->key();
  if (key == Qt::Key_BracketLeft || key == Qt::Key_BraceLeft) return 219;
  if (key == Qt::Key_BracketRight || key == Qt::Key_BraceRight) return 221;
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) return key;
  return 0;
}

void make_default_button(QPushButton* button) {
  for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
    auto* shortcut = new QShortcut(QKeySequence(key), button->window());
    QObject::connect(shortcut, &QShortcut::activated, button, [button] {
      auto* focused = qobject_cast<QPushButton*>(button->window()->focusWidget());
      (focused ? focused : button)->click();
    });
  }
}

void make_cancel_button(QPushButton* button) {
  auto* shortcut = new QShortcut(QKeySequence(Qt::Key_Escape), button->window());
  QObject::connect(shortcut, &QShortcut::activated, button, &QPushButton::click);
}

bool is_enabled(const QWidget* control) {
  return !control->testAttribute(Qt::WA_ForceDisabled);
}

bool is_shown(const QWidget* control) {
  return !control->isHidden();
}

QFont named_font(const QString& name, double points) {
  static const bool substitutes = [] {
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    QFont::insertSubstitutions(QStringLiteral("Courier New"),
                               {QStringLiteral("Liberation Mono"), QStringLiteral("Courier")});
    return true;
  }();
  Q_UNUSED(substitutes);
  QFont font(name);
  font.setPointSizeF(points);
  return font;
}

QGroupBox* make_frame(const QString& caption, QWidget* parent) {
  auto* frame = new QGroupBox(caption, parent);
  frame->setStyleSheet(QStringLiteral(
      "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 0.5em; }"
      "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }"));
  return frame;
}

QString font_name(const QWidget* control) {
  return control->font().family();
}

void set_font_name(QWidget* control, const QString& name) {
  QFont font = control->font();
  font.setFamily(name);
  control->setFont(font);
}

void show_window(QWidget* window) {
  window->show();
  window->raise();
  window->activateWindow();
}

bool is_minimized(const QWidget* window) {
  return window->windowState() & Qt::WindowMinimized;
}

void set_minimized(QWidget* window, bool minimized) {
  const Qt::WindowStates state = window->windowState();
  window->setWindowState(minimized ? state | Qt::WindowMinimized : state & ~Qt::WindowMinimized);
}

QPixmap read_picture(const QString& path) {
  if (path.isEmpty()) return {};
  QImageReader reader(path);
  reader.setDecideFormatFromContent(true);
  return QPixmap::fromImage(reader.read());
}

QImage read_fitted_image(const QString& path, QSize box) {
  if (path.isEmpty()) return {};
  QImageReader reader(path);
  reader.setDecideFormatFromContent(true);
  const QSize size = reader.size();
  const QSize fitted = size.scaled(box, Qt::KeepAspectRatio).expandedTo({1, 1});
  const bool larger = size.width() > box.width() || size.height() > box.height();
  // The JPEG decoder scales while it decodes, which costs least.
  if (larger && reader.format() == "jpeg") reader.setScaledSize(fitted);
  return fit_image(reader.read(), box);
}

QImage fit_image(QImage image, QSize box) {
  if (image.width() <= box.width() && image.height() <= box.height()) return image;
  const QSize fitted = image.size().scaled(box, Qt::KeepAspectRatio).expandedTo({1, 1});
  // A quick step down to twice the size, then a smooth one: much faster
  // than smoothing the whole picture, and alike to the eye.
  const QSize twice = fitted * 2;
  if (image.width() > twice.width() && image.height() > twice.height())
    image = image.scaled(twice, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  return image.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}
