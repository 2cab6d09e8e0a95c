// vorbel: lists the cartridge images of its folder and starts the emulator
// on the chosen one.
//
//     vorbel [FOLDER]
//
// Without FOLDER it lists the folder it was started in (or the one that
// vorbel.ini's [List] Folder= names); vorbel.ini is read from the program's
// folder, else from the user's configuration folder.

#include <QApplication>

#include "main_window/form1.h"
#include "main_window/start.h"
#include "main_window/texts.h"
#include "platform/controls.h"
#include "platform/files.h"
#include "platform/run_folders.h"
#include "platform/termination.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("vorbel"));
  const LauncherStart start =
      prepare_start(program_directory(), config_directory(), QApplication::arguments().mid(1));
  if (!start.goOn) return 0;
  Form1 form1(start.directories, start.emulator, start.collector);
  if (start.collector) {
    // What an earlier run could not remove (it was killed), and what this
    // one unpacks, goes: asked to end, vorbel closes as with Exit.
    remove_abandoned_run_folders(texts::UNPACK_PREFIX);
    on_termination_request(&form1, [&form1] {
      form1.close();
      QCoreApplication::exit(0);
    });
  }
  form1.Form_Load();
  if (form1.unloaded()) return 0;  // start-up refused to go on
  show_window(&form1);
  return app.exec();
}
