#include "manual_window/form3.h"

#include <QCloseEvent>

#include "icons/icons.h"
#include "main_window/form1.h"
#include "platform/twips.h"

namespace {

// The design client area, in twips.
constexpr int CLIENT_WIDTH = 7530;
constexpr int CLIENT_HEIGHT = 1620;

}  // namespace

Form3::Form3(Form1& form1) : QWidget(&form1, Qt::Window), form1_(form1) {
  setFont(form1.font());
  setWindowIcon(icons::scorpion());
  Text1 = new ManualBox(this);
  Check1 = new QCheckBox(QStringLiteral("Co&urier"), this);
  place(Text1, 40, 120, 7095, 975);
  place(Check1, 4080, 1300, 855, 255);
  resize(twips_to_pixels_x(CLIENT_WIDTH), twips_to_pixels_y(CLIENT_HEIGHT));
}

void Form3::Form_Load() {}

void Form3::Form_Unload() {}

void Form3::closeEvent(QCloseEvent* event) {
  // The close box unloads the window; the handle then lets it go.
  event->ignore();
  form1_.form3.unload();
}
