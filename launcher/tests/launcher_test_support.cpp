#include "launcher_test_support.h"

#include <archive.h>
#include <archive_entry.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QTest>

#include "main_window/form1.h"
#include "platform/message_box.h"
#include "platform/twips.h"

namespace {

// The thumbnails the tests' pictures get go to a cache of their own,
// removed when the test program ends, never to the user's.
struct PrivateThumbnailCache {
  QTemporaryDir folder;
  PrivateThumbnailCache() { qputenv("XDG_CACHE_HOME", folder.path().toUtf8()); }
} private_thumbnail_cache;

}  // namespace

LauncherFolder::LauncherFolder() {
  QVERIFY(dir_.isValid());
}

QString LauncherFolder::path(const QString& relative) const {
  const QString root = QDir(dir_.path()).canonicalPath();
  return relative.isEmpty() ? root : root + QLatin1Char('/') + relative;
}

void LauncherFolder::add_file(const QString& relative, const QByteArray& bytes) const {
  QDir().mkpath(QFileInfo(path(relative)).path());
  QFile file(path(relative));
  QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  QCOMPARE(file.write(bytes), bytes.size());
}

void LauncherFolder::add_images(const QStringList& names) const {
  for (const QString& name : names) add_file(name);
}

void LauncherFolder::add_picture(const QString& relative, QSize size, QColor colour) const {
  QDir().mkpath(QFileInfo(path(relative)).path());
  QImage image(size, QImage::Format_RGB32);
  QPainter painter(&image);
  QLinearGradient gradient(0, 0, size.width(), size.height());
  gradient.setColorAt(0, colour.lighter(150));
  gradient.setColorAt(1, colour.darker(200));
  painter.fillRect(image.rect(), gradient);
  painter.end();
  QVERIFY(image.save(path(relative), "JPEG"));
}

void LauncherFolder::add_emulator(const QString& name) const {
  QDir().mkpath(path(QStringLiteral("launches")));
  add_file(name,
           "#!/bin/sh\n"
           "# Stand-in for the emulator: records how it was started.\n"
           "log=\"$(dirname \"$0\")/launches/$$\"\n"
           "{ pwd -P; echo \"$#\"; for arg in \"$@\"; do echo \"$arg\"; done; } > \"$log.part\"\n"
           "mv \"$log.part\" \"$log\"\n");
  QFile::setPermissions(path(name), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QStringList LauncherFolder::launches() const {
  QStringList records;
  const QDir launches(path(QStringLiteral("launches")));
  for (const QString& name : launches.entryList({QStringLiteral("*[0-9]")}, QDir::Files)) {
    records.append(QString::fromUtf8(read(QStringLiteral("launches/") + name)));
  }
  return records;
}

void LauncherFolder::add_recorder(const QString& relative) const {
  QDir().mkpath(path(QStringLiteral("records")));
  add_file(relative,
           "#!/bin/sh\n"
           "# Records how it was started: working directory and arguments, NUL after each.\n"
           "log=\"" +
               path(QStringLiteral("records")).toUtf8() +
               "/$$\"\n"
               "{ pwd -P; printf '\\0'; for arg in \"$@\"; do printf '%s\\0' \"$arg\"; done; }"
               " > \"$log.part\"\n"
               "mv \"$log.part\" \"$log\"\n");
  QFile::setPermissions(path(relative), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QList<QStringList> LauncherFolder::records() const {
  QList<QStringList> records;
  const QDir folder(path(QStringLiteral("records")));
  for (const QString& name : folder.entryList({QStringLiteral("*[0-9]")}, QDir::Files)) {
    QByteArray bytes = read(QStringLiteral("records/") + name);
    QStringList fields;
    for (const QByteArray& field : bytes.split('\0')) fields.append(QString::fromUtf8(field));
    fields.removeLast();  // after the last NUL
    // pwd ends its line before the first NUL
    if (!fields.isEmpty() && fields.first().endsWith(QLatin1Char('\n'))) fields.first().chop(1);
    records.append(fields);
  }
  return records;
}

void LauncherFolder::add_archive(const QString& relative,
                                 const QList<QPair<QString, QByteArray>>& members) const {
  QDir().mkpath(QFileInfo(path(relative)).path());
  archive* writer = archive_write_new();
  (relative.endsWith(QLatin1String(".7z")) ? archive_write_set_format_7zip
                                           : archive_write_set_format_zip)(writer);
  archive_write_open_filename(writer, QFile::encodeName(path(relative)).constData());
  for (const auto& [name, bytes] : members) {
    archive_entry* entry = archive_entry_new();
    archive_entry_set_pathname(entry, name.toUtf8().constData());
    archive_entry_set_filetype(entry, AE_IFREG);
    archive_entry_set_perm(entry, 0644);
    archive_entry_set_size(entry, bytes.size());
    archive_write_header(writer, entry);
    archive_write_data(writer, bytes.constData(), bytes.size());
    archive_entry_free(entry);
  }
  archive_write_free(writer);  // closes it
}

QByteArray LauncherFolder::read(const QString& relative) const {
  QFile file(path(relative));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool LauncherFolder::exists(const QString& relative) const {
  return QFileInfo::exists(path(relative));
}

void LauncherFolder::add_usual(const QStringList& images, const QByteArray& position) const {
  add_images(images);
  add_emulator();
  add_picture(QStringLiteral("Default.jpg"), {32, 32}, Qt::gray);
  if (!position.isNull()) add_file(QStringLiteral("vorbel.idx"), position);
}

MessageRecorder::MessageRecorder() : messages_(std::make_shared<QStringList>()) {
  set_message_sink([messages = messages_](const QString& text) { messages->append(text); });
}

MessageRecorder::~MessageRecorder() {
  set_message_sink({});
}

std::unique_ptr<Form1> start_form1(const QString& programDirectory, const QString& listDirectory) {
  auto form1 = std::make_unique<Form1>(LauncherDirectories{programDirectory, listDirectory});
  form1->Form_Load();
  if (!form1->unloaded()) {
    form1->show();
    form1->activateWindow();
    if (!QTest::qWaitForWindowActive(form1.get()))
      qWarning("the main window did not become active");
  }
  return form1;
}

std::unique_ptr<Form1> start_form1(const LauncherDirectories& directories, const Emulator& emulator,
                                   bool collector) {
  auto form1 = std::make_unique<Form1>(directories, emulator, collector);
  form1->Form_Load();
  if (!form1->unloaded()) {
    form1->show();
    form1->activateWindow();
    if (!QTest::qWaitForWindowActive(form1.get()))
      qWarning("the main window did not become active");
  }
  return form1;
}

std::unique_ptr<Form1> start_form1(const LauncherFolder& folder) {
  return start_form1(folder.path(), folder.path());
}

QStringList listed(const Form1& form1) {
  QStringList names;
  for (int row = 0; row < form1.File1->count(); ++row) names.append(form1.File1->item(row)->text());
  return names;
}

bool near_twips(int actual, int expected) {
  return std::abs(actual - expected) < std::max(pixels_to_twips_x(1), pixels_to_twips_y(1));
}

namespace {

QtMessageHandler previous_handler = nullptr;

void without_offscreen_warnings(QtMsgType type, const QMessageLogContext& context,
                                const QString& message) {
  if (message.startsWith(QLatin1String("This plugin does not support"))) return;
  previous_handler(type, context, message);
}

}  // namespace

void drop_offscreen_warnings() {
  previous_handler = qInstallMessageHandler(without_offscreen_warnings);
}

namespace {

QPoint in_window(QWidget* widget, QPoint position) {
  if (position.isNull()) position = widget->rect().center();
  return widget->window()->mapFromGlobal(widget->mapToGlobal(position));
}

}  // namespace

void real_click(QWidget* widget, QPoint position) {
  QTest::mouseClick(widget->window()->windowHandle(), Qt::LeftButton, {},
                    in_window(widget, position));
}

void real_double_click(QWidget* widget, QPoint position) {
  QTest::mouseDClick(widget->window()->windowHandle(), Qt::LeftButton, {},
                     in_window(widget, position));
}

QByteArray cartridge_image() {
  // 6502 code at $F000: SEI, CLD, stack and zero page cleared, then frames
  // of 3 VSYNC, 37 VBLANK, 192 visible lines (COLUBK from the line counter)
  // and 30 overscan lines.
  static const unsigned char code[] = {
      0x78, 0xD8, 0xA2, 0xFF, 0x9A, 0xA9, 0x00, 0x95, 0x00, 0xCA, 0xD0, 0xFB,        // reset
      0xA9, 0x02, 0x85, 0x01, 0x85, 0x00, 0x85, 0x02, 0x85, 0x02, 0x85, 0x02,        // VSYNC
      0xA9, 0x00, 0x85, 0x00, 0xA2, 0x25, 0x85, 0x02, 0xCA, 0xD0, 0xFB,              // VBLANK
      0xA9, 0x00, 0x85, 0x01, 0xA2, 0xC0, 0x86, 0x09, 0x85, 0x02, 0xCA, 0xD0, 0xF9,  // picture
      0xA9, 0x02, 0x85, 0x01, 0xA2, 0x1E, 0x85, 0x02, 0xCA, 0xD0, 0xFB,              // overscan
      0x4C, 0x0C, 0xF0};                                                             // next frame
  QByteArray image(4096, '\xEA');                                                    // NOP
  const auto size = qsizetype(sizeof code);
  image.replace(0, size, QByteArray(reinterpret_cast<const char*>(code), size));
  image.replace(0xFFC, 4, QByteArray("\x00\xF0\x00\xF0", 4));  // reset, IRQ: $F000
  return image;
}
