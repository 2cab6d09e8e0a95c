// vorbel: lists the cartridge images of its folder and starts the emulator
// on the chosen one.

#include <QApplication>

#include "main_window/form1.h"
#include "platform/files.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("vorbel"));
  Form1 form1({program_directory(), working_directory()});
  form1.Form_Load();
  if (form1.unloaded()) return 0;  // start-up refused to go on
  form1.show();
  return app.exec();
}
