// Form1: starting the emulator on the selected image, and Exit.

#include "main_window/form1.h"
#include "main_window/texts.h"
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
  const QString program =
      resolve_program(emulator_file_name(), directories_.program, directories_.list);
  const qint64 processId = start_program(program, name, directories_.list);
  if (processId == 0) {
    show_message(texts::cannot_start(program));
    return;
  }
  activate_application(processId);
}
