#include "collection/collection.h"

#include "collection/names.h"
#include "platform/archive.h"
#include "platform/files.h"

namespace {

bool is_image_name(const QString& name) {
  return name.endsWith(QLatin1String(".bin"), Qt::CaseInsensitive) ||
         name.endsWith(QLatin1String(".a26"), Qt::CaseInsensitive);
}

// Adds the list names of `folder` (the path `prefix` below the list
// directory) and of its folders to `names`.
void collect(const QString& folder, const QString& prefix, QStringList& names) {
  const FolderListing listing = list_folder(folder);
  for (const QString& file : listing.files) {
    if (is_image_name(file) ||
        (!archive_kind(file).isEmpty() && !archive_image(join_path(folder, file)).isEmpty()))
      names.append(prefix + file);
  }
  for (const QString& sub : listing.folders)
    collect(join_path(folder, sub), prefix + sub + QLatin1Char('/'), names);
}

}  // namespace

QStringList list_collection(const QString& directory) {
  QStringList names;
  collect(directory, QString(), names);
  sort_names(names);
  return names;
}

QString archive_kind(const QString& name) {
  for (const QString& kind : texts::ARCHIVE_KINDS) {
    if (name.endsWith(QLatin1Char('.') + kind, Qt::CaseInsensitive)) return kind;
  }
  return {};
}

QString archive_image(const QString& path) {
  const std::optional<QStringList> members = archive_members(path);
  if (!members) return {};
  QString image;
  for (const QString& member : *members) {
    if (!is_image_name(member)) continue;
    if (!image.isEmpty()) return {};
    image = member;
  }
  return image;
}

QString entry_file(const QString& name) {
  return name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
}

QString without_extension(const QString& file) {
  const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
  return dot <= 0 ? file : file.left(dot);
}
