#pragma once
// Helpers for the launcher's tests: a temporary ROM folder with the files the
// launcher looks for, a stand-in emulator that records how it was started,
// and a recorder that takes the place of message boxes.

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QPair>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

class Form1;
struct Emulator;
struct LauncherDirectories;

// A fresh folder, removed with its content when the object goes.
class LauncherFolder {
 public:
  LauncherFolder();
  // The folder itself, or a path below it.
  QString path(const QString& relative = {}) const;

  // Writes `bytes` to `relative`, making the folders on the way.
  void add_file(const QString& relative, const QByteArray& bytes = {}) const;
  // Empty image files.
  void add_images(const QStringList& names) const;
  // A JPEG shaded from `colour`, written by Qt.
  void add_picture(const QString& relative, QSize size = {64, 48},
                   QColor colour = Qt::darkGreen) const;
  // The stand-in emulator "orv": it writes its working directory, its
  // argument count and its arguments, a line each, to a file of its own
  // under launches/.
  void add_emulator(const QString& name = QStringLiteral("orv")) const;
  // The records of every start of the stand-in, in no particular order.
  QStringList launches() const;
  // A recording emulator at `relative` for the tests of vorbel.ini: each
  // start writes its working directory and then its arguments, byte for
  // byte, each ended by a NUL, to a file of its own under records/.
  void add_recorder(const QString& relative) const;
  // Every start of the recorder: its working directory first, then its
  // arguments; in no particular order.
  QList<QStringList> records() const;
  // A ZIP or 7z archive (by the extension of `relative`) of `members`,
  // each a name and its bytes, written by libarchive.
  void add_archive(const QString& relative, const QList<QPair<QString, QByteArray>>& members) const;
  QByteArray read(const QString& relative) const;
  bool exists(const QString& relative) const;

  // The usual launcher folder: `images`, orv, Default.jpg and, when
  // `position` is not null, vorbel.idx holding it.
  void add_usual(const QStringList& images, const QByteArray& position = {}) const;

 private:
  QTemporaryDir dir_;
};

// Takes the place of message boxes while it lives; messages() lists what
// would have been shown, in order.
class MessageRecorder {
 public:
  MessageRecorder();
  ~MessageRecorder();
  QStringList messages() const { return *messages_; }
  void clear() { messages_->clear(); }

 private:
  std::shared_ptr<QStringList> messages_;
};

// Makes the main window on `folder` (both directories) and runs its
// start-up; when it stays open, shows it and waits until it is active.
std::unique_ptr<Form1> start_form1(const LauncherFolder& folder);
std::unique_ptr<Form1> start_form1(const QString& programDirectory, const QString& listDirectory);
std::unique_ptr<Form1> start_form1(const LauncherDirectories& directories, const Emulator& emulator,
                                   bool collector = false);

// The names the main window's list shows, in order.
QStringList listed(const Form1& form1);

// A small valid 4 KiB Atari 2600 cartridge image: it clears the machine and
// draws colour bars in an endless frame loop.
QByteArray cartridge_image();

// Mouse gestures sent the way the window system sends them (press,
// release, and for a double click press and release again), so that
// widgets see what a real mouse gives and modal windows block them.
void real_click(QWidget* widget, QPoint position = {});
void real_double_click(QWidget* widget, QPoint position = {});

// The offscreen platform warns at every size hint and raise it cannot
// carry out; this drops those warnings (call it from initTestCase).
void drop_offscreen_warnings();

// Twips compared within one pixel.
bool near_twips(int actual, int expected);
#define COMPARE_TWIPS(actual, expected)                                 \
  QVERIFY2(near_twips((actual), (expected)),                            \
           qPrintable(QStringLiteral("%1 is %2, not %3 within a pixel") \
                          .arg(QLatin1String(#actual))                  \
                          .arg(actual)                                  \
                          .arg(expected)))
