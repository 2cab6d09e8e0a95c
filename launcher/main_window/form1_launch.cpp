// Form1: starting the emulator on the selected image, and Exit.

#include <QDir>
#include <QFileInfo>

#include "main_window/form1.h"
#include "main_window/texts.h"
#include "platform/files.h"
#include "platform/launch.h"
#include "platform/message_box.h"

void Form1::Command2_Click() {
  launch(File1->selectedName());
}

void Form1::File1_DblClick() {
  launch(File1->selectedName());
}

void Form1::Open_DblClick() {
  // Before any selection there is nothing to play.
  if (File1->listIndex() < 0) return;
  launch(File1->selectedName());
}

void Form1::Command1_Click() {
  close();
}

void Form1::launch(const QString& name) {
  const QString played = collector_ && !name.isEmpty() ? played_path(name) : name;
  if (played.isEmpty() && !name.isEmpty()) return;
  const qint64 processId = emulator_.configured ? launch_configured(played) : launch_orv(played);
  if (processId == 0) return;
  activate_application(processId);
  if (collector_) played_.played(name);
}

qint64 Form1::launch_orv(const QString& name) {
  const QString program =
      resolve_program(emulator_file_name(), directories_.program, directories_.list);
  const qint64 processId = start_program(program, name, directories_.list);
  if (processId == 0) show_message(texts::cannot_start(program));
  return processId;
}

// The emulator of vorbel.ini, looked for afresh at every launch, with its
// argument template filled in; each word reaches it as one argument. A
// name that begins with "-" is given as "./-name", so that it cannot be
// taken for an option.
qint64 Form1::launch_configured(const QString& name) {
  if (!emulator_.problem.isEmpty()) {
    show_message(emulator_.problem);
    return 0;
  }
  const ProgramLookup lookup =
      find_program(emulator_.program, directories_.program, directories_.list);
  if (lookup.kind == ProgramLookup::Kind::Folder) {
    show_message(texts::program_is_folder(lookup.path));
    return 0;
  }
  const QString program =
      lookup.kind == ProgramLookup::Kind::Found ? lookup.path : emulator_.program;
  const QString full = QFileInfo(name).isAbsolute() ? name : join_path(directories_.list, name);
  const QString path = name.isEmpty() ? QString() : QDir::toNativeSeparators(full);
  const QString safeName = name.startsWith(QLatin1Char('-')) ? QStringLiteral("./") + name : name;
  const qint64 processId =
      start_program(program, fill_template(emulator_.arguments, safeName, path), directories_.list);
  if (processId == 0) show_message(texts::cannot_start(program));
  return processId;
}
