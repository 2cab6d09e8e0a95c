#include "platform/launch.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "platform/files.h"

QString emulator_file_name() {
#ifdef Q_OS_WIN
  return QStringLiteral("orv.exe");
#else
  return QStringLiteral("orv");
#endif
}

namespace {

// resolve_program() with "/" as the separator, as Qt gives paths.
QString locate_program(const QString& name, const QString& programDirectory,
                       const QString& workingDirectory) {
  for (const QString& directory : {programDirectory, workingDirectory}) {
    const QString found = find_file(directory, name);
    if (!found.isEmpty()) return found;
  }
  const QString onPath = QStandardPaths::findExecutable(name);
  return onPath.isEmpty() ? join_path(programDirectory, name) : onPath;
}

}  // namespace

namespace {

bool holds_separator(const QString& program) {
  if (program.contains(QLatin1Char('/'))) return true;
#ifdef Q_OS_WIN
  return program.contains(QLatin1Char('\\')) || program.contains(QLatin1Char(':'));
#else
  return false;
#endif
}

// The names a plain program name may have on disk.
QStringList file_names(const QString& program) {
#ifdef Q_OS_WIN
  if (QFileInfo(program).suffix().isEmpty()) return {program, program + QStringLiteral(".exe")};
#endif
  return {program};
}

ProgramLookup found(ProgramLookup::Kind kind, const QString& path) {
  return {kind, QDir::toNativeSeparators(QDir::cleanPath(path))};
}

ProgramLookup look_at_path(const QString& program, const QString& workingDirectory) {
  const QFileInfo info(QDir(workingDirectory).absoluteFilePath(program));
  if (info.isDir()) return found(ProgramLookup::Kind::Folder, info.absoluteFilePath());
  if (info.isFile()) return found(ProgramLookup::Kind::Found, info.absoluteFilePath());
  return {};
}

}  // namespace

ProgramLookup find_program(const QString& program, const QString& programDirectory,
                           const QString& workingDirectory) {
  if (program.isEmpty()) return {};
  if (holds_separator(program)) return look_at_path(program, workingDirectory);
  const QString onPath = QStandardPaths::findExecutable(program);
  if (!onPath.isEmpty() && QFileInfo(onPath).isFile())
    return found(ProgramLookup::Kind::Found, onPath);
  for (const QString& directory : {programDirectory, workingDirectory}) {
    for (const QString& name : file_names(program)) {
      const QString file = find_file(directory, name);
      if (!file.isEmpty()) return found(ProgramLookup::Kind::Found, file);
    }
  }
  for (const QString& directory : {programDirectory, workingDirectory}) {
    const QString folder = find_folder(directory, program);
    if (!folder.isEmpty()) return found(ProgramLookup::Kind::Folder, folder);
  }
  return {};
}

QString resolve_program(const QString& name, const QString& programDirectory,
                        const QString& workingDirectory) {
  return QDir::toNativeSeparators(locate_program(name, programDirectory, workingDirectory));
}

qint64 start_program(const QString& program, const QString& argument,
                     const QString& workingDirectory) {
  QProcess process;
  process.setProgram(program);
#ifdef Q_OS_WIN
  // The Windows command line is `orv.exe "name"`: the name quoted whatever
  // it holds (a Windows file name cannot hold a quote).
  process.setNativeArguments(QLatin1Char('"') + argument + QLatin1Char('"'));
#else
  process.setArguments({argument});
#endif
  process.setWorkingDirectory(workingDirectory);
  qint64 processId = 0;
  if (!process.startDetached(&processId)) return 0;
  return processId;
}

qint64 start_program(const QString& program, const QStringList& arguments,
                     const QString& workingDirectory) {
  QProcess process;
  process.setProgram(program);
  process.setArguments(arguments);
  process.setWorkingDirectory(workingDirectory);
  qint64 processId = 0;
  if (!process.startDetached(&processId)) return 0;
  return processId;
}

void activate_application(qint64 processId) {
  Q_UNUSED(processId);
}
