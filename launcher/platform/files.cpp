#include "platform/files.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <algorithm>

namespace {

bool sorted_before(const QString& a, const QString& b) {
  const int order = QString::compare(a, b, Qt::CaseInsensitive);
  return order != 0 ? order < 0 : a < b;
}

// Names of `directory` that are directories (wantDirectories) or normal
// files, unsorted; hidden ones too when `withHidden`.
QStringList entries(const QString& directory, bool wantDirectories, bool withHidden = true) {
  QDir::Filters filters = QDir::NoDotAndDotDot;
  if (withHidden) filters |= QDir::Hidden;
  filters |= wantDirectories ? QDir::Dirs : QDir::Files;
  return QDir(directory).entryList(filters, QDir::Unsorted);
}

// The entry of `directory` called `name` without regard to case, exact case
// first; empty when none.
QString match_name(const QString& directory, const QString& name, bool wantDirectory) {
  const QFileInfo exact(join_path(directory, name));
  if (exact.exists() && (wantDirectory ? exact.isDir() : exact.isFile())) return name;
  QStringList candidates;
  for (const QString& entry : entries(directory, wantDirectory)) {
    if (entry.compare(name, Qt::CaseInsensitive) == 0) candidates.append(entry);
  }
  if (candidates.isEmpty()) return {};
  return *std::min_element(candidates.begin(), candidates.end(), sorted_before);
}

}  // namespace

QString program_directory() {
  return QCoreApplication::applicationDirPath();
}

QString working_directory() {
  return QDir::currentPath();
}

QString join_path(const QString& directory, const QString& name) {
  return directory + QLatin1Char('/') + name;
}

QStringList list_files(const QString& directory, const QString& pattern) {
  return list_files(directory, QStringList{pattern});
}

QStringList list_files(const QString& directory, const QStringList& patterns) {
  QList<QRegularExpression> matchers;
  for (const QString& pattern : patterns) {
    matchers.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern),
                                       QRegularExpression::CaseInsensitiveOption));
  }
  const auto matches = [&matchers](const QString& name) {
    return std::any_of(matchers.begin(), matchers.end(),
                       [&name](const QRegularExpression& m) { return m.match(name).hasMatch(); });
  };
  QStringList names;
  // Qt leaves out what the system calls hidden (a leading "." on Linux, the
  // hidden attribute on Windows); a leading "." is left out everywhere.
  for (const QString& name : entries(directory, false, false)) {
    if (!name.startsWith(QLatin1Char('.')) && matches(name)) names.append(name);
  }
  sort_names(names);
  return names;
}

void sort_names(QStringList& names) {
  std::sort(names.begin(), names.end(), sorted_before);
}

FolderListing list_folder(const QString& directory) {
  FolderListing listing;
  QDirIterator entry(directory, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
  while (entry.hasNext()) {
    entry.next();
    const QFileInfo info = entry.fileInfo();
    if (info.fileName().startsWith(QLatin1Char('.'))) continue;
    if (!info.isDir())
      listing.files.append(info.fileName());
    else if (!info.isSymLink())
      listing.folders.append(info.fileName());
  }
  return listing;
}

QString first_match(const QString& directory, const QString& pattern) {
  if (!pattern.contains(QLatin1Char('*'))) return match_name(directory, pattern, false);
  return list_files(directory, pattern).value(0);
}

QString find_folder(const QString& directory, const QString& name) {
  const QString found = match_name(directory, name, true);
  return found.isEmpty() ? QString() : join_path(directory, found);
}

QString find_file(const QString& directory, const QString& relative) {
  const QStringList parts = relative.split(QLatin1Char('/'), Qt::SkipEmptyParts);
  QString path = directory;
  for (qsizetype i = 0; i < parts.size(); ++i) {
    const bool last = i + 1 == parts.size();
    const QString name = match_name(path, parts[i], !last);
    if (name.isEmpty()) return {};
    path = join_path(path, name);
  }
  return parts.isEmpty() ? QString() : path;
}

bool is_folder(const QString& path) {
  return !path.isEmpty() && QFileInfo(path).isDir();
}

bool is_writable_folder(const QString& directory) {
  const QFileInfo info(directory);
  return info.isDir() && info.isWritable();
}

bool change_directory(const QString& directory) {
  return !directory.isEmpty() && QDir::setCurrent(directory);
}

QString config_directory() {
  return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

QString expand_home(const QString& path) {
  if (path == QLatin1String("~")) return QDir::homePath();
  if (path.startsWith(QLatin1String("~/"))) return QDir::homePath() + path.mid(1);
  return path;
}
