#pragma once
// A settings file in INI format (vorbel.ini), read with QSettings.

#include <QString>
#include <QStringList>
#include <memory>

class QSettings;

class IniFile {
 public:
  enum class Status {
    Read,        // QSettings read it without complaint
    CannotOpen,  // it could not be opened for reading
    Malformed,   // QSettings found lines that are not INI
  };

  // Reads the file at `path` at once; the object keeps nothing open.
  explicit IniFile(const QString& path);
  ~IniFile();

  Status status() const { return status_; }
  // With Malformed: the first line that is neither blank, a ";" comment, a
  // "[section]" nor a "Name=value" line, as "line N: TEXT"; empty when no
  // single line is to blame.
  QString bad_line() const { return badLine_; }

  // Keys are "Section/Name", compared with regard to case, as QSettings does.
  bool contains(const QString& key) const;
  // The value as QSettings reads it (double quotes around it dropped,
  // backslash escapes resolved, a list read back joined by ", ").
  QString value(const QString& key) const;
  // The value as it stands in the file: the text after the first "=" up to
  // a ";" outside double quotes (where QSettings starts a comment), without
  // the blanks around it; quotes and backslashes are kept. The last line of
  // the key counts, as for QSettings. Empty when the key is absent.
  QString raw_value(const QString& key) const;

 private:
  Status status_ = Status::CannotOpen;
  QString badLine_;
  QStringList lines_;
  std::unique_ptr<QSettings> settings_;
};
