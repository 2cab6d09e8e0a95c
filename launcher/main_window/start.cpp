#include "main_window/start.h"

#include <QDir>
#include <QFileInfo>

#include "collection/settings_file.h"
#include "main_window/texts.h"
#include "platform/files.h"
#include "platform/message_box.h"

namespace {

// The settings file read, or none when there is none or it cannot be used
// (a message says so).
std::unique_ptr<IniFile> read_settings(const QString& path) {
  if (path.isEmpty()) return nullptr;
  auto settings = std::make_unique<IniFile>(path);
  const QString shown = QDir::toNativeSeparators(path);
  switch (settings->status()) {
    case IniFile::Status::Read:
      return settings;
    case IniFile::Status::CannotOpen:
      show_message(texts::settings_unreadable(shown));
      return nullptr;
    case IniFile::Status::Malformed:
      show_message(texts::settings_malformed(shown, settings->bad_line()));
      return nullptr;
  }
  return nullptr;
}

// The folder to list: the argument, else the one vorbel.ini names; empty
// for the designed start in the current directory.
QString folder_to_list(const QStringList& arguments, const IniFile* settings,
                       const QString& settingsFolder) {
  if (!arguments.isEmpty()) return arguments.first();
  if (!settings) return {};
  const QString named = expand_home(settings->value(texts::SETTINGS_FOLDER).trimmed());
  if (named.isEmpty()) return {};
  return QDir(settingsFolder).absoluteFilePath(named);
}

// The vorbel.ini of the folder vorbel is started on, unless it is the one
// already found; empty when there is none.
QString folder_settings(const QStringList& arguments, const QString& trustedPath) {
  if (arguments.isEmpty() || !is_folder(arguments.first())) return {};
  const QString name = first_match(arguments.first(), texts::SETTINGS_FILE);
  if (name.isEmpty()) return {};
  const QString path = QFileInfo(join_path(arguments.first(), name)).absoluteFilePath();
  const bool same = !trustedPath.isEmpty() && QFileInfo(path).canonicalFilePath() ==
                                                  QFileInfo(trustedPath).canonicalFilePath();
  return same ? QString() : path;
}

// Why no emulator is set: the vorbel.ini files read, and where one that
// names the emulator is heeded.
QString unset_note(const QStringList& read, const QString& trustedPath,
                   const QString& programDirectory, const QString& configDirectory) {
  QStringList shown;
  for (const QString& path : read) shown.append(QDir::toNativeSeparators(path));
  const QString place =
      !trustedPath.isEmpty()
          ? QDir::toNativeSeparators(trustedPath)
          : texts::either(
                QDir::toNativeSeparators(join_path(configDirectory, texts::SETTINGS_FILE)),
                QDir::toNativeSeparators(join_path(programDirectory, texts::SETTINGS_FILE)));
  return texts::no_emulator_set(shown, place);
}

}  // namespace

QString find_settings(const QString& programDirectory, const QString& configDirectory) {
  for (const QString& directory : {programDirectory, configDirectory}) {
    if (directory.isEmpty()) continue;
    const QString name = first_match(directory, texts::SETTINGS_FILE);
    if (!name.isEmpty()) return join_path(directory, name);
  }
  return {};
}

Emulator emulator_from(const IniFile& settings) {
  Emulator emulator;
  emulator.archives = archive_kinds(settings.value(texts::SETTINGS_ARCHIVES));
  if (!settings.contains(texts::SETTINGS_PROGRAM)) return emulator;
  emulator.configured = true;
  emulator.program = expand_home(settings.value(texts::SETTINGS_PROGRAM).trimmed());
  const QString arguments = settings.contains(texts::SETTINGS_ARGUMENTS)
                                ? settings.raw_value(texts::SETTINGS_ARGUMENTS)
                                : DEFAULT_ARGUMENTS;
  const std::optional<QStringList> words = split_template(arguments);
  if (emulator.program.isEmpty()) {
    emulator.problem = texts::PROGRAM_EMPTY;
  } else if (!words) {
    emulator.problem = texts::arguments_unbalanced(arguments);
  } else {
    emulator.arguments = *words;
  }
  return emulator;
}

QString position_folder(const QString& programDirectory, const QString& settingsFolder,
                        bool programWritable) {
  return programWritable || settingsFolder.isEmpty() ? programDirectory : settingsFolder;
}

LauncherStart prepare_start(const QString& programDirectory, const QString& configDirectory,
                            const QStringList& arguments) {
  LauncherStart start;
  if (arguments.size() > 1) {
    show_message(texts::ONE_FOLDER);
    start.goOn = false;
    return start;
  }
  const QString settingsPath = find_settings(programDirectory, configDirectory);
  const std::unique_ptr<IniFile> settings = read_settings(settingsPath);
  // A folder's own vorbel.ini may come with the folder from anywhere: it is
  // read for everything but the emulator and its arguments.
  const QString folderPath = folder_settings(arguments, settingsPath);
  const std::unique_ptr<IniFile> folderSettings = read_settings(folderPath);
  if (settings) start.emulator = emulator_from(*settings);
  if (folderSettings && !(settings && settings->contains(texts::SETTINGS_ARCHIVES)))
    start.emulator.archives = archive_kinds(folderSettings->value(texts::SETTINGS_ARCHIVES));
  start.collector = settings || folderSettings;
  QStringList read;
  if (settings) read.append(settingsPath);
  if (folderSettings) read.append(folderPath);
  if (start.collector && !start.emulator.configured)
    start.emulator.unsetNote =
        unset_note(read, settings ? settingsPath : QString(), programDirectory, configDirectory);
  // vorbel.idx may go beside the vorbel.ini read.
  const QString settingsFolder = QFileInfo(read.value(0)).path();

  const QString folder = folder_to_list(arguments, settings.get(), settingsFolder);
  if (!folder.isEmpty() && (!is_folder(folder) || !change_directory(folder))) {
    show_message(texts::folder_unusable(QDir::toNativeSeparators(folder)));
    start.goOn = false;
    return start;
  }
  LauncherDirectories& directories = start.directories;
  directories.program = programDirectory;
  directories.list = working_directory();
  if (!folder.isEmpty()) directories.startup = directories.list;
  directories.position =
      position_folder(programDirectory, read.isEmpty() ? QString() : settingsFolder,
                      is_writable_folder(programDirectory));
  return start;
}
