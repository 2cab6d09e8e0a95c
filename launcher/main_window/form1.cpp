#include "main_window/form1.h"

#include <QCloseEvent>

#include "about/form2.h"
#include "collection/collection.h"
#include "collection/manual.h"
#include "icons/icons.h"
#include "main_window/texts.h"
#include "platform/files.h"
#include "platform/twips.h"

Form1::Form1(LauncherDirectories directories, Emulator emulator, bool collector)
    : form3([this] { return new Form3(*this); }),
      directories_(std::move(directories)),
      emulator_(std::move(emulator)),
      collector_(collector),
      played_(collector ? directories_.position_folder() : QString()) {
  setFont(named_font(texts::WINDOW_FONT, texts::WINDOW_FONT_SIZE));
  setWindowTitle(texts::FIRST_TITLE);
  setWindowIcon(icons::tank());
  build_controls();
  place_controls();
  connect_handlers();
  if (!collector_) {
    setFixedSize(twips_to_pixels_x(CLIENT_WIDTH), twips_to_pixels_y(CLIENT_HEIGHT));
    return;
  }
  setMinimumWidth(twips_to_pixels_x(CLIENT_WIDTH));
  resize(twips_to_pixels_x(CLIENT_WIDTH), twips_to_pixels_y(CLIENT_HEIGHT));
}

void Form1::build_controls() {
  Frame2 = make_frame(QStringLiteral("&Game list"), this);
  File1 = new ListBox(Frame2);
  if (collector_) {
    games_ = list_collection(directories_.list);
    File1->setEntries(games_, true);
  } else {
    File1->addItems(list_files(directories_.list, texts::IMAGE_PATTERNS));
  }
  Label5 = new QLabel(QStringLiteral("0/0"), Frame2);
  Frame3 = make_frame(QStringLiteral("Game Preview"), this);
  Open = new PictureBox(Frame3);
  Command2 = new QPushButton(QStringLiteral("&Play"), this);
  Command1 = new QPushButton(QStringLiteral("E&xit"), this);
  Command1->setToolTip(texts::EXIT_TOOLTIP);
  Image1 = new PictureBox(this);
  Image1->setPicture(icons::tank());
  Image1->setToolTip(texts::ABOUT_TOOLTIP);
  Frame1 = make_frame(QStringLiteral("Game manual"), this);
  Option1 = new QRadioButton(QStringLiteral("&on"), this);
  Option2 = new QRadioButton(QStringLiteral("o&ff"), this);
  Option2->setChecked(true);
  Check1 = new QCheckBox(QStringLiteral("&Courier"), this);
  Check2 = new QCheckBox(QStringLiteral("&Detach"), Frame1);
  Check2->setToolTip(texts::DETACH_TOOLTIP);
  Text1 = new ManualBox(this);
  Picture1 = new PictureBox(this);
  Picture1->setPicture(icons::grip());
  Picture1->setToolTip(texts::DETACH_TOOLTIP);
  Picture1->setCursor(Qt::SizeFDiagCursor);
  Label1 = new QLabel(this);
  Label1->hide();
  // The manual row lies over the frame that holds it.
  for (QWidget* control : {static_cast<QWidget*>(Option1), static_cast<QWidget*>(Option2),
                           static_cast<QWidget*>(Check1)}) {
    control->raise();
  }
  make_default_button(Command2);
  // The collector's Escape closes its search first (Escape_Press).
  if (!collector_) make_cancel_button(Command1);
  if (collector_) build_collector_controls();
}

// The designed places. The collector's launcher gives the width beyond the
// design to the preview and a third of it to the list, the height beyond
// it to both, and keeps a line under the preview, room under the list for
// Combo1 and, while it is open, room above the list for the search.
void Form1::place_controls() {
  const int listExtra = extraWidth_ / 3;
  const int previewExtra = extraWidth_ - listExtra;
  const int dw = extraWidth_;
  const int dh = extraHeight_;
  const int search = Text2 && is_shown(Text2) ? SEARCH_ROW : 0;
  place(Frame2, 40, 0, 2295 + listExtra, 4695 + dh);
  if (Text2) place(Text2, 120, 240, 2055 + listExtra, SEARCH_ROW - 30);
  place(File1, 120, 240 + search, 2055 + listExtra, (collector_ ? 4110 : 4185) + dh - search);
  place(Label5, 120, 4440 + dh, 615, 195);
  place(Frame3, 2400 + listExtra, 0, 5100 + previewExtra, 3450 + dh);
  if (collector_)
    place_preview(previewExtra, dh);
  else
    place(Open, 120, 240, 4845, 3105);
  place(Command2, 5160 + dw, 3600 + dh, 1095, 375);
  place(Command1, 6360 + dw, 3600 + dh, 1095, 375);
  place(Image1, 4560 + dw, 3555 + dh, 480, 480);
  place(Check2, 2640, 240, 915, 195);
  place(Text1, 40, 4800 + dh, 7440 + dw, 1695);
  place(Picture1, 7480 + dw, 6520 + dh, 165, 105);
  place(Label1, -2000, 0, 1000, 195);
  if (Combo1) place(Combo1, 820, 4380 + dh, 1395, 285);
  place_manual_row();
}

void Form1::place_manual_row() {
  const int dw = extraWidth_;
  const int dh = extraHeight_;
  place(Frame1, 3720 + dw, 4080 + dh, 3735, 615);
  place(Option1, 3840 + dw, 4320 + dh, 495, 195);
  place(Option2, 4440 + dw, 4320 + dh, 495, 195);
  place(Check1, 5160 + dw, 4320 + dh, 1035, 195);
}

void Form1::connect_handlers() {
  on_click(File1, this, &Form1::File1_Click);
  on_click(Option1, this, &Form1::Option1_Click);
  on_click(Option2, this, &Form1::Option2_Click);
  on_click(Check1, this, &Form1::Check1_Click);
  on_click(Check2, this, &Form1::Check2_Click);
  connect(Picture1, &PictureBox::clicked, this, &Form1::Picture1_Click);
  connect(Image1, &PictureBox::clicked, this, &Form1::Image1_Click);
  connect(Text1, &ManualBox::keyDown, this, &Form1::Text1_KeyDown);
  connect(File1, &ListBox::doubleClicked, this, &Form1::File1_DblClick);
  connect(Open, &PictureBox::doubleClicked, this, &Form1::Open_DblClick);
  connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
  connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
  on_activate(this, [this] { Form_Activate(); });
}

void Form1::Image1_Click() {
  // A fresh About window at every opening; the call returns when it closes.
  Form2 form2(this);
  form2.exec();
}

QString Form1::selected_base() const {
  return base_name(entry_file(File1->selectedName()));
}

void Form1::update_counter() {
  Label5->setText(texts::counter(File1->listIndex(), File1->count()));
}

void Form1::closeEvent(QCloseEvent* event) {
  // Closing is never refused; the closing sequence runs once, whatever
  // closed the window (Exit, the close box, a failed start-up).
  if (!unloaded_) {
    unloaded_ = true;
    Form_Unload();
  }
  event->accept();
}
