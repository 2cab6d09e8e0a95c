#include "platform/run_folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace {

// True when `info` belongs to the user running this program.
bool owned_by_this_user(const QFileInfo& info) {
#ifdef Q_OS_WIN
  Q_UNUSED(info);
  return true;  // the temporary folder is the user's own
#else
  return info.ownerId() == static_cast<uint>(getuid());
#endif
}

}  // namespace

std::unique_ptr<QTemporaryDir> make_run_folder(const QString& prefix) {
  const QString name =
      QStringLiteral("%1-%2-XXXXXX").arg(prefix).arg(QCoreApplication::applicationPid());
  return std::make_unique<QTemporaryDir>(QDir::temp().filePath(name));
}

int remove_abandoned_run_folders(const QString& prefix, const QString& directory) {
  const QDir folder(directory.isEmpty() ? QDir::tempPath() : directory);
  const QRegularExpression pattern(
      QStringLiteral("^%1-(\\d{1,10})-[A-Za-z0-9]{6}$").arg(QRegularExpression::escape(prefix)));
  int removed = 0;
  for (const QFileInfo& entry :
       folder.entryInfoList({prefix + QStringLiteral("-*")},
                            QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
    const QRegularExpressionMatch match = pattern.match(entry.fileName());
    if (!match.hasMatch() || entry.isSymLink() || !entry.isDir() || !owned_by_this_user(entry))
      continue;
    if (process_exists(match.captured(1).toLongLong())) continue;
    if (QDir(entry.filePath()).removeRecursively()) ++removed;
  }
  return removed;
}

bool process_exists(qint64 processId) {
  if (processId <= 0) return false;
#ifdef Q_OS_WIN
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(processId));
  if (!process) return GetLastError() == ERROR_ACCESS_DENIED;
  DWORD code = 0;
  const bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
  CloseHandle(process);
  return running;
#else
  if (processId > INT32_MAX) return false;
  // EPERM: it exists, as another user's.
  return kill(static_cast<pid_t>(processId), 0) == 0 || errno == EPERM;
#endif
}
