#include "collection/search.h"

QString search_key(const QString& text) {
  QString key;
  key.reserve(text.size());
  for (const QChar c : text) {
    if (c.isLetterOrNumber()) key += c;
  }
  return key.toCaseFolded();
}

QStringList matching_names(const QStringList& names, const QString& typed,
                           QHash<QString, QString>& keys) {
  const QString wanted = search_key(typed);
  if (wanted.isEmpty()) return names;
  QStringList found;
  for (const QString& name : names) {
    auto key = keys.find(name);
    if (key == keys.end()) key = keys.insert(name, search_key(name));
    if (key->contains(wanted)) found.append(name);
  }
  return found;
}
