#pragma once
// A settings file in INI format (vorbel.ini): "[Section]" lines, "Name=value"
// lines and comment lines that begin with ";". A comment starts only at the
// start of a line: a ";" inside a value is part of the value, as paths and
// argument lists may hold one.

#include <QHash>
#include <QString>

class IniFile {
 public:
  enum class Status {
    Read,        // every line was understood
    CannotOpen,  // it could not be opened for reading
    Malformed,   // a line is none of the kinds above (bad_line() names it)
  };

  // Reads the file at `path` at once; the object keeps nothing open.
  explicit IniFile(const QString& path);

  Status status() const { return status_; }
  // With Malformed: the first line that is neither blank, a ";" comment, a
  // "[section]" nor a "Name=value" line, as "line N: TEXT".
  QString bad_line() const { return badLine_; }

  // Keys are "Section/Name" ("General/Name" before any section), compared
  // with regard to case. When a key is set twice, the last line counts.
  bool contains(const QString& key) const;
  // The value with one pair of double quotes around the whole of it dropped
  // and, inside them, \" and \\ read as " and \. Empty when absent.
  QString value(const QString& key) const;
  // The value as it stands in the file, without the blanks around it;
  // quotes and backslashes are kept. Empty when the key is absent.
  QString raw_value(const QString& key) const;

 private:
  void read_lines(const QString& text);

  Status status_ = Status::CannotOpen;
  QString badLine_;
  QHash<QString, QString> values_;  // key: raw value
};
