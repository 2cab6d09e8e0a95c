#include "platform/launch.h"

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

QString resolve_program(const QString& name, const QString& programDirectory,
                        const QString& workingDirectory) {
  for (const QString& directory : {programDirectory, workingDirectory}) {
    const QString found = find_file(directory, name);
    if (!found.isEmpty()) return found;
  }
  const QString onPath = QStandardPaths::findExecutable(name);
  return onPath.isEmpty() ? join_path(programDirectory, name) : onPath;
}

qint64 start_program(const QString& program, const QString& argument,
                     const QString& workingDirectory) {
  QProcess process;
  process.setProgram(program);
  process.setArguments({argument});
  process.setWorkingDirectory(workingDirectory);
  qint64 processId = 0;
  if (!process.startDetached(&processId)) return 0;
  return processId;
}

void activate_application(qint64 processId) {
  Q_UNUSED(processId);
}
