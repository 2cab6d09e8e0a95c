#include "platform/launch.h"

#include <QDir>
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

void activate_application(qint64 processId) {
  Q_UNUSED(processId);
}
