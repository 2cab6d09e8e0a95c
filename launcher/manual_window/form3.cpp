// Form3: its controls, loading, layout and icon animation.

#include "manual_window/form3.h"

#include <QCloseEvent>

#include "common/texts.h"
#include "icons/icons.h"
#include "platform/toolkit_rules.h"
#include "platform/twips.h"

namespace {

// The design client area, in twips.
constexpr int CLIENT_WIDTH = 7530;
constexpr int CLIENT_HEIGHT = 1620;
constexpr int ICON_INTERVAL_MS = 200;

// The layout rule: sizes at or below these leave that direction alone.
constexpr int SMALLEST_HEIGHT = 1200;
constexpr int SMALLEST_WIDTH = 1680;

}  // namespace

Form3::Form3(ManualHost& host) : QWidget(&host.host_window(), Qt::Window), host_(host) {
  setFont(named_font(texts::WINDOW_FONT, texts::WINDOW_FONT_SIZE));
  setWindowIcon(icons::scorpion());
  build_controls();
  resize(twips_to_pixels_x(CLIENT_WIDTH), twips_to_pixels_y(CLIENT_HEIGHT));

  on_click(Check1, this, &Form3::Check1_Click);
  connect(Command1, &QPushButton::clicked, this, &Form3::Command1_Click);
  connect(Command2, &QPushButton::clicked, this, &Form3::Command2_Click);
  connect(Text1, &ManualBox::keyDown, this, &Form3::Text1_KeyDown);
  connect(Timer1, &QTimer::timeout, this, &Form3::Timer1_Timer);
  Command2->installEventFilter(this);
  on_activate(this, [this] { Form_Activate(); });
  Timer1->start();
}

void Form3::build_controls() {
  Text1 = new ManualBox(this);  // first, so it comes first in the tab order
  place(Text1, 40, 120, 7095, 975);
  Check1 = new QCheckBox(QStringLiteral("Co&urier"), this);
  place(Check1, 4080, 1300, 855, 255);
  Command1 = new QPushButton(QStringLiteral("&Attach"), this);
  Command1->setToolTip(QStringLiteral("Click this to attach the game manual window to vorbel"));
  place(Command1, 5040, 1260, 975, 315);
  Command2 = new QPushButton(QStringLiteral("Clo&se"), this);
  Command2->setToolTip(QStringLiteral("Click this to close the game manual window"));
  place(Command2, 6120, 1260, 975, 315);
  make_cancel_button(Command2);
  scorp1 = new PictureBox(this);
  scorp1->setPicture(icons::scorpion1());
  scorp1->hide();
  scorp2 = new PictureBox(this);
  scorp2->setPicture(icons::scorpion2());
  scorp2->hide();
  Timer1 = new QTimer(this);
  Timer1->setInterval(ICON_INTERVAL_MS);
}

void Form3::Form_Load() {
  windowFont_ = font_name(this);
  Check1->setChecked(host_.courier());
  Timer1_Timer();
  set_font_name(Text1, host_.courier() ? texts::COURIER_FONT : windowFont_);
}

void Form3::Form_Activate() {
  if (is_minimized(&host_.host_window())) set_minimized(this, true);
}

void Form3::Form_Resize() {
  if (!is_minimized(this)) {
    const int height = outer_height(this);
    const int width = outer_width(this);
    if (height > SMALLEST_HEIGHT) {
      set_height(Text1, height - 950);
      set_top(Command1, height - 750);
      set_top(Command2, height - 750);
      set_top(Check1, height - 700);
    }
    if (width > SMALLEST_WIDTH) {
      set_width(Text1, width - 200);
      set_left(Command1, width - 2250);
      set_left(Command2, width - 1200);
      set_left(Check1, width - 3250);
    }
  }
  Text1->update();
}

void Form3::Timer1_Timer() {
  setWindowIcon(QIcon((iconToggle == 0 ? scorp1 : scorp2)->picture()));
  iconToggle = iconToggle == 0 ? 1 : 0;
}

void Form3::closeEvent(QCloseEvent* event) {
  // The close box unloads the window; the handle then lets it go.
  event->ignore();
  host_.unload_manual_window();
}

void Form3::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Form_Resize();
}

bool Form3::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Command2 && event->type() == QEvent::FocusOut) Command2_LostFocus();
  return QWidget::eventFilter(watched, event);
}
