// How long the launcher takes to come up with a large folder and to show a
// selection with a large picture, offscreen. Each figure is printed next to
// the same measurement on a small case, taken in the same run.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include <archive.h>
#include <archive_entry.h>

#include "main_window/form1.h"
#include "platform/launch.h"
#include "platform/message_box.h"

namespace {

constexpr int RUNS = 7;

void write_file(const QString& path, const QByteArray& bytes = {}) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    std::exit(1);
  }
}

void write_picture(const QString& path, QSize size, const char* format = "JPEG") {
  QImage image(size, QImage::Format_RGB32);
  // A gradient, so the JPEG is not trivially small.
  for (int y = 0; y < size.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < size.width(); ++x) line[x] = qRgb(x % 256, y % 256, (x * y) % 256);
  }
  QDir().mkpath(QFileInfo(path).path());
  if (!image.save(path, format, 85)) std::exit(1);
}

// A launcher folder with `images` names, each with a picture of `pictureSize`
// for the first two: a JPEG in Pics, or with `png` a PNG box art of the
// libretro set, which the look-up reaches after both Pics names miss; with
// `png` every other name is an .a26 image.
void make_folder(const QString& root, int images, QSize pictureSize, bool png = false) {
  for (int i = 0; i < images; ++i) {
    const QString extension = png && i % 2 ? QStringLiteral("a26") : QStringLiteral("bin");
    write_file(root + QStringLiteral("/game%1.%2").arg(i, 5, 10, QLatin1Char('0')).arg(extension));
  }
  write_file(root + QLatin1Char('/') + emulator_file_name());
  write_file(root + QStringLiteral("/vorbel.idx"), "0\r\n");
  write_picture(root + QStringLiteral("/Default.jpg"), {320, 200});
  for (int i = 0; i < 2; ++i) {
    const QString name = QStringLiteral("game%1").arg(i, 5, 10, QLatin1Char('0'));
    if (png)
      write_picture(root + QStringLiteral("/Named_Boxarts/") + name + ".png", pictureSize, "PNG");
    else
      write_picture(root + QStringLiteral("/Pics/") + name + ".jpg", pictureSize);
  }
}

// A ZIP or 7z archive (by the extension) holding one 4 KiB image.
void write_archive(const QString& path) {
  QDir().mkpath(QFileInfo(path).path());
  archive* writer = archive_write_new();
  if (path.endsWith(QLatin1String(".7z")))
    archive_write_set_format_7zip(writer);
  else
    archive_write_set_format_zip(writer);
  const QByteArray bytes(4096, '\xea');
  archive_entry* entry = archive_entry_new();
  archive_entry_set_pathname(entry, "game.bin");
  archive_entry_set_filetype(entry, AE_IFREG);
  archive_entry_set_perm(entry, 0644);
  archive_entry_set_size(entry, bytes.size());
  if (archive_write_open_filename(writer, QFile::encodeName(path).constData()) != ARCHIVE_OK ||
      archive_write_header(writer, entry) != ARCHIVE_OK ||
      archive_write_data(writer, bytes.constData(), bytes.size()) != bytes.size()) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    std::exit(1);
  }
  archive_entry_free(entry);
  archive_write_free(writer);
}

// A collector's folder of `entries` names in 50 group folders, every third
// an archive (ZIP and 7z in turn), and a PNG picture of `pictureSize` in
// Pics for the first `pictured` names (copies of one, as only decoding is
// measured).
void make_collection(const QString& root, int entries, QSize pictureSize, int pictured = 2) {
  for (int i = 0; i < entries; ++i) {
    const QString stem = QStringLiteral("%1/Group %2/game%3 (1982) (Maker)")
                             .arg(root)
                             .arg(i % 50, 2, 10, QLatin1Char('0'))
                             .arg(i, 5, 10, QLatin1Char('0'));
    if (i % 3 == 2)
      write_archive(stem + (i % 2 ? QStringLiteral(".7z") : QStringLiteral(".zip")));
    else
      write_file(stem + (i % 2 ? QStringLiteral(".a26") : QStringLiteral(".bin")));
  }
  write_file(root + QLatin1Char('/') + emulator_file_name());
  write_file(root + QStringLiteral("/vorbel.idx"), "0\r\n");
  const QString first = root + QStringLiteral("/Pics/first.png");
  write_picture(first, pictureSize, "PNG");
  for (int i = 0; i < pictured; ++i) {
    const QString name = QStringLiteral("game%1 (1982) (Maker)").arg(i, 5, 10, QLatin1Char('0'));
    if (!QFile::copy(first, root + QStringLiteral("/Pics/") + name + ".png")) std::exit(1);
  }
}

// The offscreen platform warns at every size hint it cannot carry out.
QtMessageHandler default_handler = nullptr;
void quiet_offscreen_warnings(QtMsgType type, const QMessageLogContext& context,
                              const QString& message) {
  if (message.startsWith(QLatin1String("This plugin does not support"))) return;
  default_handler(type, context, message);
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Notices the first paint of the window it watches.
class PaintWatch : public QObject {
 public:
  bool painted = false;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted = true;
    return false;
  }
};

// Builds the main window, runs its start-up and shows it; stops the clock
// when its first paint has been done.
double startup_ms(const QString& folder, bool collector = false) {
  QElapsedTimer clock;
  clock.start();
  Form1 form1({folder, folder}, {}, collector);
  PaintWatch watch;
  form1.installEventFilter(&watch);
  form1.Form_Load();
  form1.show();
  while (!watch.painted) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  const double elapsed = clock.nsecsElapsed() / 1e6;
  form1.close();
  return elapsed;
}

// The median start-ups of the small and the large folder, taken in turn.
struct StartUps {
  double small;
  double large;
};

StartUps startups_ms(const QString& small, const QString& large, bool collector = false) {
  std::vector<double> smallRuns, largeRuns;
  for (int run = 0; run < RUNS; ++run) {
    smallRuns.push_back(startup_ms(small, collector));
    largeRuns.push_back(startup_ms(large, collector));
  }
  return {median(smallRuns), median(largeRuns)};
}

// Moves the selection between the first two entries; the median time of one
// selection, picture decoded and shown.
double selection_ms(const QString& folder) {
  Form1 form1({folder, folder});
  form1.Form_Load();
  form1.show();
  QCoreApplication::processEvents();
  std::vector<double> times;
  for (int run = 0; run < RUNS * 2; ++run) {
    QElapsedTimer clock;
    clock.start();
    form1.File1->setListIndex(1 - form1.File1->listIndex());
    form1.repaint();
    times.push_back(clock.nsecsElapsed() / 1e6);
  }
  form1.close();
  return median(times);
}

// The collector's launcher: selections of entries not shown before, each
// time from the selection to the picture shown. `next` steps down the list
// with a pause after each step, as someone looking at each picture does,
// in which the pictures next to the selection are read ahead; `far` jumps
// FAR_JUMP entries at a time, past what was read ahead, so that the picture
// is read at the selection.
constexpr int LOOK_MS = 300;
constexpr int FAR_JUMP = 4;
constexpr int PICTURED = 1 + 2 * RUNS + FAR_JUMP * (RUNS + 1);

struct Selections {
  double next;
  double far;
};

void pause(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

Selections collector_selection_ms(const QString& folder) {
  Form1 form1({folder, folder}, {}, true);
  form1.Form_Load();
  form1.show();
  const auto select_ms = [&form1](int index) {
    QElapsedTimer clock;
    clock.start();
    form1.File1->setListIndex(index);
    form1.repaint();
    const double elapsed = clock.nsecsElapsed() / 1e6;
    pause(LOOK_MS);
    return elapsed;
  };
  pause(LOOK_MS);
  std::vector<double> next, far;
  int index = 0;
  while (next.size() < 2 * RUNS) next.push_back(select_ms(++index));
  while (far.size() < RUNS) far.push_back(select_ms(index += FAR_JUMP));
  form1.close();
  return {median(next), median(far)};
}

// The collector's search, typed a key at a time into the search field:
// for each key, the median over the runs of the time from the key to the
// list shown; the slowest key's figure.
double search_key_ms(const QString& folder, const QString& typed) {
  Form1 form1({folder, folder}, {}, true);
  form1.Form_Load();
  form1.show();
  QCoreApplication::processEvents();
  std::vector<std::vector<double>> perKey(typed.size());
  for (int run = 0; run < RUNS; ++run) {
    form1.open_search();
    for (qsizetype i = 0; i < typed.size(); ++i) {
      QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, typed.mid(i, 1));
      QElapsedTimer clock;
      clock.start();
      QCoreApplication::sendEvent(form1.Text2, &key);
      form1.repaint();
      perKey[i].push_back(clock.nsecsElapsed() / 1e6);
    }
    if (form1.File1->count() != 1) std::exit(1);  // the search did not find the one game
    form1.close_search();
  }
  double slowest = 0;
  for (const auto& times : perKey) slowest = std::max(slowest, median(times));
  form1.close();
  return slowest;
}

void report(const char* what, double large, const char* smallCase, double small, double goal) {
  std::printf("%-31s %8.1f ms  (%s: %.1f ms; goal under %.0f ms: %s)\n", what, large, smallCase,
              small, goal, large < goal ? "met" : "MISSED");
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QElapsedTimer appClock;
  appClock.start();
  QApplication app(argc, argv);
  default_handler = qInstallMessageHandler(quiet_offscreen_warnings);
  const double appMs = appClock.nsecsElapsed() / 1e6;
  int messages = 0;
  set_message_sink([&messages](const QString&) { ++messages; });

  QTemporaryDir small;
  QTemporaryDir large;
  make_folder(small.path(), 10, {320, 200});
  make_folder(large.path(), 10000, {1600, 1200});
  QTemporaryDir smallPng;
  QTemporaryDir largePng;
  make_folder(smallPng.path(), 10, {320, 200}, true);
  make_folder(largePng.path(), 10000, {512, 720}, true);

  const StartUps start = startups_ms(small.path(), large.path());
  const double smallSelect = selection_ms(small.path());
  const double largeSelect = selection_ms(large.path());
  const StartUps pngStart = startups_ms(smallPng.path(), largePng.path());
  const double smallPngSelect = selection_ms(smallPng.path());
  const double largePngSelect = selection_ms(largePng.path());

  QTemporaryDir smallCollection;
  QTemporaryDir largeCollection;
  make_collection(smallCollection.path(), 10, {320, 200});
  make_collection(largeCollection.path(), 10000, {320, 200});
  // The fitted pictures have folders of their own, so that start-up is
  // measured without them.
  QTemporaryDir smallFit;
  QTemporaryDir largeFit;
  make_collection(smallFit.path(), PICTURED, {320, 200}, PICTURED);
  make_collection(largeFit.path(), PICTURED, {2000, 2800}, PICTURED);
  const StartUps collectionStart =
      startups_ms(smallCollection.path(), largeCollection.path(), true);
  const QString typed = QStringLiteral("game00004");
  const double smallSearch = search_key_ms(smallCollection.path(), typed);
  const double largeSearch = search_key_ms(largeCollection.path(), typed);
  // A thumbnail cache of the bench's own: empty for the first selections,
  // holding what they made for the second, as at a later start.
  QTemporaryDir thumbnails;
  qputenv("XDG_CACHE_HOME", thumbnails.path().toUtf8());
  const Selections smallFitted = collector_selection_ms(smallFit.path());
  const Selections largeFitted = collector_selection_ms(largeFit.path());
  const Selections smallWarm = collector_selection_ms(smallFit.path());
  const Selections largeWarm = collector_selection_ms(largeFit.path());

  std::printf("vorbel, offscreen, median of %d runs (application object: %.1f ms once)\n", RUNS,
              appMs);
  report("start-up, 10000 names", start.large, "10 names", start.small, 500);
  report("selection, 1600x1200 JPEG", largeSelect, "320x200 JPEG", smallSelect, 50);
  report("start-up, 10000 .bin+.a26", pngStart.large, "10 names", pngStart.small, 500);
  report("selection, 512x720 PNG box art", largePngSelect, "320x200 PNG", smallPngSelect, 50);
  report("vorbel.ini: 10000 in 50 folders", collectionStart.large, "10 names",
         collectionStart.small, 300);
  report("vorbel.ini: 2000x2800 PNG, next", largeFitted.next, "320x200 PNG", smallFitted.next, 50);
  std::printf("%-31s %8.1f ms  (320x200 PNG: %.1f ms; read at the selection)\n",
              "vorbel.ini: 2000x2800 PNG, jump", largeFitted.far, smallFitted.far);
  report("  the same, thumbnails kept", largeWarm.far, "320x200 PNG", smallWarm.far, 50);
  report("  stepping, thumbnails kept", largeWarm.next, "320x200 PNG", smallWarm.next, 50);
  report("vorbel.ini: search, slowest key", largeSearch, "10 names", smallSearch, 30);
  if (messages != 0) {
    std::fprintf(stderr, "unexpected messages: %d\n", messages);
    return 1;
  }
  return 0;
}
