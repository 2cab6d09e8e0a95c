#include "collection/sidecar.h"

#include "collection/collection.h"
#include "collection/manual.h"
#include "collection/names.h"

QStringList sidecar_bases(const QString& fileName) {
  const QString designed = base_name(fileName);
  const QString whole = without_extension(fileName);
  if (whole == designed) return {designed};
  return {designed, whole};
}

QString thumbnail_name(const QString& title) {
  static const QString replaced = QStringLiteral("&*/:`<>?\\|\"");
  QString name = title;
  for (QChar& c : name) {
    if (replaced.contains(c)) c = QLatin1Char('_');
  }
  return name;
}

QList<PictureCandidate> picture_candidates(const QString& base) {
  QList<PictureCandidate> candidates = {
      {texts::PICTURE_FOLDER, base + texts::PICTURE_EXTENSION},
      {texts::PICTURE_FOLDER, base + texts::PNG_EXTENSION},
  };
  for (const QString& folder : texts::THUMBNAIL_FOLDERS)
    candidates.append({folder, thumbnail_name(base) + texts::PNG_EXTENSION});
  return candidates;
}

PictureKind picture_kind(const QString& folder) {
  const qsizetype set = texts::THUMBNAIL_FOLDERS.indexOf(folder);
  return set < 0 ? PictureKind::Own : static_cast<PictureKind>(set + 1);
}
