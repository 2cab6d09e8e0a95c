#pragma once
// The favourites and the recently played games, each kept in a file of its
// own beside vorbel.idx: one list name a line, written whole at every change.

#include <QString>
#include <QStringList>

// The newest games the recent list keeps.
inline constexpr int RECENT_LIMIT = 20;

// The names of the file at `path`, a line each (LF or CR LF), blank lines
// left out; empty when there is no such file.
QStringList read_name_list(const QString& path);
// Writes `names` to `path` in one piece (a new file put in the old one's
// place), each ended by CR LF; false when it cannot be written.
bool write_name_list(const QString& path, const QStringList& names);

class PlayedLists {
 public:
  // Reads both files from `folder`; empty lists where they are missing.
  explicit PlayedLists(QString folder = {});

  const QStringList& favourites() const { return favourites_; }
  // Newest first.
  const QStringList& recent() const { return recent_; }
  bool is_favourite(const QString& name) const { return favourites_.contains(name); }
  // Marks `name` a favourite or, when it is one, unmarks it, and writes the
  // file; true when it is a favourite now.
  bool toggle_favourite(const QString& name);
  // Puts `name` first in the recent list, which keeps RECENT_LIMIT names,
  // and writes the file.
  void played(const QString& name);

 private:
  QString folder_;
  QStringList favourites_;
  QStringList recent_;
};
