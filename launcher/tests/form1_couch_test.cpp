// The collector's launcher from the couch: a virtual gamepad attached in
// this process drives it through SDL, and the search narrows the list.

#include <QTest>

#include "launcher_test_support.h"
#include "main_window/form1.h"
#include "main_window/texts.h"

#ifdef VORBEL_HAVE_SDL2
#include <SDL.h>
#endif

namespace {

#ifdef VORBEL_HAVE_SDL2
// A game controller of SDL's own, plugged in while vorbel runs; each
// control is set as a real pad would report it.
class VirtualPad {
 public:
  VirtualPad() {
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
    index_ = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                       SDL_CONTROLLER_BUTTON_MAX, 0);
    joystick_ = SDL_JoystickOpen(index_);
  }
  ~VirtualPad() {
    SDL_JoystickClose(joystick_);
    SDL_JoystickDetachVirtual(index_);
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  }
  // True once vorbel has opened it as a game controller.
  bool seen() const {
    return joystick_ && SDL_GameControllerFromInstanceID(SDL_JoystickInstanceID(joystick_));
  }
  // "button NAME", or "axis NAME VALUE": set, held `heldMs`, set back.
  void use(const QString& control, int heldMs) {
    const QStringList words = control.split(QLatin1Char(' '));
    const QByteArray name = words.value(1).toLatin1();
    const bool button = words.first() == QLatin1String("button");
    const int which = button ? int(SDL_GameControllerGetButtonFromString(name.constData()))
                             : int(SDL_GameControllerGetAxisFromString(name.constData()));
    set(button, which, button ? 1 : words.value(2).toInt());
    QTest::qWait(std::max(heldMs, 60));  // longer than one look at the pad
    set(button, which, 0);
    QTest::qWait(50);
  }

 private:
  void set(bool button, int which, int value) {
    if (button)
      SDL_JoystickSetVirtualButton(joystick_, which, static_cast<Uint8>(value));
    else
      SDL_JoystickSetVirtualAxis(joystick_, which, static_cast<Sint16>(value));
  }
  int index_ = -1;
  SDL_Joystick* joystick_ = nullptr;
};
#endif

const QStringList SEARCHED = {"Activision/Pitfall! (1982) (Activision).bin",
                              "Activision/River Raid (1982) (Activision).bin",
                              "Adventure (1980) (Atari).bin",
                              "Mr. Do! (1983) (CBS).bin",
                              "Pac-Man (1982) (Atari).bin",
                              "Space Invaders (1980) (Atari).bin"};

}  // namespace

class Form1CouchTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { drop_offscreen_warnings(); }
  void padButtonMap_data();
  void padButtonMap();
  void search_data();
  void search();
};

void Form1CouchTest::padButtonMap_data() {
  QTest::addColumn<QString>("control");
  QTest::addColumn<int>("heldMs");
  QTest::addColumn<bool>("detached");     // the manual in its own window first
  QTest::addColumn<bool>("otherWindow");  // another program's window active
  QTest::addColumn<QString>("expected");  // "row N", "row >N", "row !N", or as state() says
  QTest::newRow("d-pad down") << "button dpdown" << 0 << false << false << "row 13";
  QTest::newRow("stick up") << "axis lefty -30000" << 0 << false << false << "row 11";
  QTest::newRow("stick held: repeats") << "axis lefty 30000" << 700 << false << false << "row >14";
  QTest::newRow("stick barely moved") << "axis lefty 12000" << 0 << false << false << "row 12";
  QTest::newRow("shoulders: ten") << "button rightshoulder" << 0 << false << false << "row 22";
  QTest::newRow("left shoulder") << "button leftshoulder" << 0 << false << false << "row 2";
  QTest::newRow("left trigger: first")
      << "axis lefttrigger 32767" << 0 << false << false << "row 0";
  QTest::newRow("right trigger: last")
      << "axis righttrigger 32767" << 0 << false << false << "row 29";
  QTest::newRow("A plays") << "button a" << 0 << false << false << "played Game 12.bin";
  QTest::newRow("Start plays") << "button start" << 0 << false << false << "played Game 12.bin";
  QTest::newRow("X: random") << "button x" << 0 << false << false << "row !12";
  QTest::newRow("Y: favourite") << "button y" << 0 << false << false << "favourites Game 12.bin";
  QTest::newRow("Back: next view") << "button back" << 0 << false << false << "view 1";
  QTest::newRow("B closes the manual") << "button b" << 0 << true << false << "manual closed";
  QTest::newRow("right: next picture")
      << "button dpright" << 0 << false << false << "picture 2/3 Box art";
  QTest::newRow("stick left: last picture")
      << "axis leftx -32768" << 0 << false << false << "picture 3/3 Screenshot";
  QTest::newRow("ignored while inactive") << "button dpdown" << 0 << false << true << "row 12";
}

void Form1CouchTest::padButtonMap() {
#ifndef VORBEL_HAVE_SDL2
  QSKIP("vorbel is built without SDL2: no gamepad to test");
#else
  QFETCH(QString, control);
  QFETCH(int, heldMs);
  QFETCH(bool, detached);
  QFETCH(bool, otherWindow);
  QFETCH(QString, expected);
  LauncherFolder folder;
  QStringList games;
  for (int i = 0; i < 30; ++i)
    games.append(QStringLiteral("Game %1.bin").arg(i, 2, 10, QChar('0')));
  folder.add_usual(games, "12");
  for (const char* picture :
       {"Pics/Game 12.jpg", "Named_Boxarts/Game 12.png", "Named_Snaps/Game 12.png"})
    folder.add_picture(picture);
  auto form1 = start_form1({folder.path(), folder.path()}, {}, true);
  if (detached) form1->Check2->setChecked(true);
  QWidget other;
  if (otherWindow) {
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
  }
  VirtualPad pad;
  QTRY_VERIFY(pad.seen());
  pad.use(control, heldMs);
  const QStringList want = expected.split(QLatin1Char(' '));
  const QString value = expected.section(QLatin1Char(' '), 1);
  const int row = form1->File1->listIndex();
  if (want[0] == QLatin1String("row") && value.startsWith(QLatin1Char('>')))
    QVERIFY2(row > value.mid(1).toInt(), qPrintable(QString::number(row)));
  else if (want[0] == QLatin1String("row") && value.startsWith(QLatin1Char('!')))
    QVERIFY(row >= 0 && row != value.mid(1).toInt());
  else if (want[0] == QLatin1String("row"))
    QCOMPARE(row, value.toInt());
  else if (want[0] == QLatin1String("played"))
    QTRY_VERIFY(folder.launches().value(0).endsWith(value + QLatin1Char('\n')));
  else if (want[0] == QLatin1String("favourites"))
    QCOMPARE(form1->played().favourites(), QStringList{value});
  else if (want[0] == QLatin1String("view"))
    QCOMPARE(form1->Combo1->currentIndex(), value.toInt());
  else if (want[0] == QLatin1String("manual"))
    QTRY_VERIFY(!form1->form3.loaded() && form1->Option2->isChecked());
  else
    QCOMPARE(form1->Label7->text(), value);
#endif
}

void Form1CouchTest::search_data() {
  QTest::addColumn<QString>("opener");  // empty: typed into the list
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QStringList>("shown");
  QTest::addColumn<QString>("selected");
  QTest::addColumn<QString>("finish");  // Return plays, Escape closes the search
  QTest::newRow("/, punctuation ignored, Enter plays")
      << "/"
      << "pacman" << QStringList{SEARCHED[4]} << SEARCHED[4] << "Return";
  QTest::newRow("Ctrl+F, case and blanks ignored, Escape")
      << "Ctrl+F"
      << "MR DO" << QStringList{SEARCHED[3]} << SEARCHED[3] << "Escape";
  QTest::newRow("the folder is part of the name")
      << "/"
      << "activision" << SEARCHED.mid(0, 2) << SEARCHED[0] << "Escape";
  QTest::newRow("nothing matches: an empty view") << "/"
                                                  << "zzz" << QStringList{} << ""
                                                  << "Escape";
  QTest::newRow("closed: type-to-jump as before") << ""
                                                  << "sp" << SEARCHED << SEARCHED[5] << "";
}

void Form1CouchTest::search() {
  QFETCH(QString, opener);
  QFETCH(QString, typed);
  QFETCH(QStringList, shown);
  QFETCH(QString, selected);
  QFETCH(QString, finish);
  LauncherFolder folder;
  folder.add_usual(SEARCHED, "2");
  auto form1 = start_form1({folder.path(), folder.path()}, {}, true);
  form1->File1->setFocus();
  if (!opener.isEmpty()) QTest::keySequence(form1.get(), QKeySequence(opener));
  QTest::keyClicks(QApplication::focusWidget(), typed);
  QCOMPARE(listed(*form1), shown);
  QCOMPARE(form1->File1->selectedName(), selected);
  QCOMPARE(form1->Command2->isEnabled(), !selected.isEmpty());
  QCOMPARE(form1->Open->picture().isNull(), selected.isEmpty());
  if (finish == QLatin1String("Return")) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_VERIFY(folder.launches().value(0).endsWith(selected + QLatin1Char('\n')));
  } else if (finish == QLatin1String("Escape")) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!form1->unloaded() && form1->Text2->isHidden() && form1->Text2->text().isEmpty());
    QCOMPARE(listed(*form1), SEARCHED);
    QCOMPARE(form1->File1->selectedName(), selected.isEmpty() ? SEARCHED[0] : selected);
  }
}

QTEST_MAIN(Form1CouchTest)
#include "form1_couch_test.moc"
