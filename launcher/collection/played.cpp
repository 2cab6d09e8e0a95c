#include "collection/played.h"

#include <QFile>
#include <QSaveFile>

#include "collection/names.h"
#include "platform/files.h"

QStringList read_name_list(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  QStringList names;
  for (QByteArray line : file.readAll().split('\n')) {
    if (line.endsWith('\r')) line.chop(1);
    if (!line.isEmpty()) names.append(QString::fromUtf8(line));
  }
  return names;
}

bool write_name_list(const QString& path, const QStringList& names) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  for (const QString& name : names) file.write(name.toUtf8() + "\r\n");
  return file.commit();
}

PlayedLists::PlayedLists(QString folder) : folder_(std::move(folder)) {
  if (folder_.isEmpty()) return;
  favourites_ = read_name_list(join_path(folder_, texts::FAVOURITES_FILE));
  recent_ = read_name_list(join_path(folder_, texts::RECENT_FILE)).mid(0, RECENT_LIMIT);
}

bool PlayedLists::toggle_favourite(const QString& name) {
  const bool now = !favourites_.removeAll(name);
  if (now) favourites_.append(name);
  if (!folder_.isEmpty()) write_name_list(join_path(folder_, texts::FAVOURITES_FILE), favourites_);
  return now;
}

void PlayedLists::played(const QString& name) {
  recent_.removeAll(name);
  recent_.prepend(name);
  recent_ = recent_.mid(0, RECENT_LIMIT);
  if (!folder_.isEmpty()) write_name_list(join_path(folder_, texts::RECENT_FILE), recent_);
}
