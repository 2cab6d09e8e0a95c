#include "about/form2.h"

#include "common/texts.h"
#include "icons/icons.h"
#include "platform/twips.h"

namespace {

constexpr int CLIENT_WIDTH = 4680;
constexpr int CLIENT_HEIGHT = 2580;
constexpr int ANIMATION_INTERVAL_MS = 400;

// A hidden picture box holding one animation frame.
PictureBox* frame_box(const QPixmap& picture, QWidget* parent) {
  auto* box = new PictureBox(parent);
  box->setPicture(picture);
  box->hide();
  return box;
}

QLabel* credit(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  label->setWordWrap(true);
  return label;
}

}  // namespace

Form2::Form2(QWidget* owner) : QDialog(owner) {
  setWindowTitle(QStringLiteral(" About vorbel"));
  setWindowIcon(icons::tank());
  setFont(named_font(texts::WINDOW_FONT, texts::WINDOW_FONT_SIZE));
  setFixedSize(twips_to_pixels_x(CLIENT_WIDTH), twips_to_pixels_y(CLIENT_HEIGHT));

  ghost1 = frame_box(icons::ghost1(), this);
  ghost2 = frame_box(icons::ghost2(), this);
  spac1 = frame_box(icons::invader1(), this);
  spac2 = frame_box(icons::invader2(), this);
  // The design picture looks like the second frame but is a picture of its
  // own, so it is none of the frames a click looks for.
  ghost = new PictureBox(this);
  ghost->setPicture(icons::ghost2());
  ghost->setToolTip(QStringLiteral("Pacman!"));
  place(ghost, 2040, 120, 615, 615);
  Label2 = credit(QStringLiteral("vorbel, the Atari 2600 launcher, 1999"), this);
  place(Label2, 480, 720, 3495, 255);
  Label1 = credit(QStringLiteral("Thanks to the makers of the orv emulator"), this);
  place(Label1, 480, 1080, 3735, 255);
  Label3 = credit(
      QStringLiteral("Thanks to everyone who tried it out and sent pictures and manuals"), this);
  place(Label3, 480, 1320, 3735, 495);
  Command1 = new QPushButton(QStringLiteral("&Close"), this);
  place(Command1, 1800, 1920, 1215, 495);
  Timer1 = new QTimer(this);
  Timer1->setInterval(ANIMATION_INTERVAL_MS);

  connect(ghost, &PictureBox::clicked, this, &Form2::ghost_Click);
  connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
  connect(Timer1, &QTimer::timeout, this, &Form2::Timer1_Timer);
  Timer1->start();
  Form_Load();
}

void Form2::Form_Load() {
  animationMode = 1;
}

void Form2::Timer1_Timer() {
  if (animationMode == 1)
    ghost_step();
  else if (animationMode == 0)
    invader_step();
}

void Form2::ghost_Click() {
  if (!ghost->showsPictureOf(ghost1) && !ghost->showsPictureOf(ghost2)) return;
  ghost->setPicture(spac1->picture());
  animationMode = 0;
  ghost->setToolTip(QStringLiteral("Space Invaders!"));
  invader_step();
}

void Form2::Command1_Click() {
  accept();
}

void Form2::ghost_step() {
  animationMode = 1;
  show_next_frame(ghost1, ghost2);
}

void Form2::invader_step() {
  show_next_frame(spac1, spac2);
}

void Form2::show_next_frame(const PictureBox* first, const PictureBox* second) {
  ghost->setPicture((frameToggle == 0 ? first : second)->picture());
  frameToggle = frameToggle == 0 ? 1 : 0;
}
