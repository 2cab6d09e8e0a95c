#pragma once
// Control kinds the launcher's windows are built from, where Qt's own widgets
// need a little help to behave as the windows expect.

#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>

class QGroupBox;
class QKeyEvent;
class QPushButton;

// A single-selection list whose value is the selected index (-1: none).
// indexChanged() follows every real change of that value, by the user or by
// setListIndex(); the user can move the selection but not clear it.
// Typing the first letters of an entry selects the first entry that starts
// with them (letters typed within the platform's keyboard interval add up,
// and while they do, every key that types belongs to them, shortcut or
// not); arrows, Home, End, Page Up and Page Down move the selection.
class ListBox : public QListWidget {
  Q_OBJECT
 public:
  explicit ListBox(QWidget* parent);
  int listIndex() const { return index_; }
  void setListIndex(int index);
  // Replaces the entries with `names`, nothing selected; with `tooltips`
  // each entry shows its whole name as its tooltip. All entries are taken
  // to be as high as the first.
  void setEntries(const QStringList& names, bool tooltips);
  // The selected entry's text; empty when nothing is selected.
  QString selectedName() const;
  void keyboardSearch(const QString& search) override;

 signals:
  void indexChanged();
  void doubleClicked();

 protected:
  bool event(QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;

 private:
  void follow_selection();
  void set_uniform_width(const QStringList& names);
  bool searching() const;
  int index_ = -1;
  bool settingFromCode_ = false;
  bool tooltips_ = false;
  QString typed_;            // the letters of the search under way
  QElapsedTimer lastTyped_;  // when its last letter came
};

// A one-line box for a search over a list: Up, Down, Page Up and Page Down
// move the list's selection, while the typing goes on in the box.
class SearchBox : public QLineEdit {
  Q_OBJECT
 public:
  SearchBox(QAbstractItemView* list, QWidget* parent);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QAbstractItemView* list_;
};

// An image or picture box: shows a picture at its top-left corner, unscaled,
// and reports clicks. Two boxes show "the same picture" when one was given
// the other's picture(): copies of a picture keep its identity, a picture
// made again from the same source does not.
class PictureBox : public QLabel {
  Q_OBJECT
 public:
  explicit PictureBox(QWidget* parent);
  void setPicture(const QPixmap& picture);
  QPixmap picture() const { return picture_; }
  bool showsPictureOf(const PictureBox* other) const;

 signals:
  void clicked();
  void doubleClicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  QPixmap picture_;
};

// A multi-line manual box with a vertical scroll bar. It shows text but does
// not take typing; keyDown() reports each key that goes down in it, before
// the box's own handling, with the key's virtual key code.
class ManualBox : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit ManualBox(QWidget* parent);

 signals:
  void keyDown(int keyCode);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

// The virtual key code of a key event: letters and digits as their capital
// ASCII codes, "[" 219 and "]" 221 (shifted or not); 0 for other keys.
int virtual_key_code(const QKeyEvent* event);

// Enter in the button's window presses it, unless the focus is on another
// button, which is then pressed instead.
void make_default_button(QPushButton* button);
// Escape in the button's window presses it.
void make_cancel_button(QPushButton* button);

// The control's own settings, whatever its parents' are: enabled is false
// only when the control itself was disabled, shown only when it was hidden.
bool is_enabled(const QWidget* control);
bool is_shown(const QWidget* control);

// The font `name` at `points` size. Where the name is not installed, a
// metric-compatible font stands in ("MS Sans Serif" by Liberation Sans,
// "Courier New" by Liberation Mono) while the font keeps the name.
QFont named_font(const QString& name, double points);

// A frame with its caption set into its top edge, the controls placed in it
// measured from the frame's top-left corner.
QGroupBox* make_frame(const QString& caption, QWidget* parent);

QString font_name(const QWidget* control);
// Changes only the font's name; size, weight and style stay.
void set_font_name(QWidget* control, const QString& name);

// Shows a window modelessly, in front and active.
void show_window(QWidget* window);

bool is_minimized(const QWidget* window);
void set_minimized(QWidget* window, bool minimized);

// The picture in the file at `path`, recognised by its content (JPEG, and
// whatever else Qt reads); a null picture when the path is empty or the
// file does not decode.
QPixmap read_picture(const QString& path);
// The picture made to fit inside `box` keeping its aspect ratio when it is
// larger; a smaller picture keeps its own size. An image rather than a
// pixmap, so that it can be read on any thread.
QImage read_fitted_image(const QString& path, QSize box);
// `image` made to fit inside `box` in the same way.
QImage fit_image(QImage image, QSize box);
