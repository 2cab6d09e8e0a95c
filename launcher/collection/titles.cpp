#include "collection/titles.h"

#include <QRegularExpression>

#include "collection/collection.h"
#include "collection/names.h"
#include "platform/files.h"

namespace {

QString title_of(const QString& stem) {
  const qsizetype group = stem.indexOf(QLatin1String(" ("));
  return group < 0 ? stem : stem.left(group);
}

// Lower is better: "(USA)", "(World)", anything else.
int region_rank(const QString& stem) {
  if (stem.contains(QLatin1String("(USA)"))) return 0;
  if (stem.contains(QLatin1String("(World)"))) return 1;
  return 2;
}

// Each title of the pictures in `folder` with its preferred picture.
QHash<QString, QString> best_by_title(const QString& folder) {
  QHash<QString, QString> best;
  // list_files() gives name order, so the first of a rank is kept.
  for (const QString& file : list_files(folder, QLatin1Char('*') + texts::PNG_EXTENSION)) {
    const QString stem = without_extension(file);
    auto found = best.find(title_of(stem));
    if (found == best.end())
      best.insert(title_of(stem), file);
    else if (region_rank(stem) < region_rank(without_extension(*found)))
      *found = file;
  }
  return best;
}

}  // namespace

QString game_title(const QString& name) {
  return title_of(without_extension(entry_file(name)));
}

QString title_line(const QString& name) {
  static const QRegularExpression groups(
      QStringLiteral(R"(^(.+?) \((\d\d[\dx?]{2})\) \(([^()]+)\))"));
  const QRegularExpressionMatch match = groups.match(without_extension(entry_file(name)));
  if (!match.hasMatch()) return {};
  return QStringList{match.captured(1), match.captured(2), match.captured(3)}.join(
      QStringLiteral(" \u00b7 "));
}

QString TitleArt::find(const QString& folder, const QString& title) {
  auto titles = folders_.find(folder);
  if (titles == folders_.end()) titles = folders_.insert(folder, best_by_title(folder));
  const QString file = titles->value(title);
  return file.isEmpty() ? QString() : join_path(folder, file);
}
