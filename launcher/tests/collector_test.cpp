// Form1 as the collector's launcher (a vorbel.ini was read) beside the
// designed one on the same folder; art found by title, the title line,
// fitted pictures, favourites and recently played.

#include <QApplication>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

#include "collection/titles.h"
#include "launcher_test_support.h"
#include "main_window/form1.h"
#include "platform/twips.h"

namespace {

const QString RIVER = QStringLiteral("Activision/River Raid (1982) (Activision).bin");
const QString PITFALL = QStringLiteral("Pitfall! (1982) (Activision).zip");

// Images at the top and in group folders, archives of one image and of
// two, hidden files and folders, a link to a folder; orv, but neither
// Default.jpg nor vorbel.idx.
void add_collection(const LauncherFolder& folder) {
  folder.add_images({"Adventure (1980) (Atari).bin", RIVER, "Imagic/Atlantis (1982) (Imagic).a26",
                     ".hidden.bin", ".old/Old.bin", "notes.txt"});
  const QByteArray image = cartridge_image();
  folder.add_archive(PITFALL, {{"Pitfall!.bin", image}, {"readme.txt", "x"}});
  folder.add_archive("Atari/Combat (1977) (Atari).7z", {{"Combat.A26", image}});
  folder.add_archive("Two.zip", {{"a.bin", image}, {"b.bin", image}});
  folder.add_archive("Text.7z", {{"readme.txt", "x"}});
  folder.add_file("Broken.zip", "not an archive");
  QVERIFY(QFile::link(folder.path("Imagic"), folder.path("Linked")));
  folder.add_emulator();
}

}  // namespace

class CollectorTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { drop_offscreen_warnings(); }
  void withAndWithoutVorbelIni_data();
  void withAndWithoutVorbelIni();
  void pictureByTitle_data();
  void pictureByTitle();
  void titleLine_data();
  void titleLine();
  void picturesFitThePreview_data();
  void picturesFitThePreview();
  void favouritesAndRecentlyPlayed();
};

void CollectorTest::withAndWithoutVorbelIni_data() {
  QTest::addColumn<bool>("collector");
  QTest::addColumn<QStringList>("listed");
  QTest::addColumn<QStringList>("messages");
  QTest::newRow("designed: its own images, Default.jpg required")
      << false << QStringList{"Adventure (1980) (Atari).bin"}
      << QStringList{"Default.jpg was not found.",
                     "vorbel.idx was not found therefore the game position will not be saved."};
  QTest::newRow("collector: folders and one-image archives, quietly")
      << true
      << QStringList{RIVER, "Adventure (1980) (Atari).bin", "Atari/Combat (1977) (Atari).7z",
                     "Imagic/Atlantis (1982) (Imagic).a26", PITFALL}
      << QStringList{};
}

void CollectorTest::withAndWithoutVorbelIni() {
  QFETCH(bool, collector);
  QFETCH(QStringList, listed);
  QFETCH(QStringList, messages);
  LauncherFolder folder;
  add_collection(folder);
  MessageRecorder recorder;
  auto form1 = start_form1({folder.path(), folder.path()}, {}, collector);
  QStringList names;
  for (int row = 0; row < form1->File1->count(); ++row)
    names.append(form1->File1->item(row)->text());
  QCOMPARE(names, listed);
  QCOMPARE(recorder.messages(), messages);
  QCOMPARE(form1->unloaded(), !collector);
  // The collector's launcher writes the missing vorbel.idx at once.
  QCOMPARE(folder.read("vorbel.idx"), collector ? QByteArray(" 0 \r\n") : QByteArray());
  if (!collector) return;
  const QPoint first = form1->File1->visualItemRect(form1->File1->item(0)).center();
  QHelpEvent help(QEvent::ToolTip, first, form1->File1->viewport()->mapToGlobal(first));
  QApplication::sendEvent(form1->File1->viewport(), &help);
  QCOMPARE(QToolTip::text(), RIVER);
  form1->Combo1->setFocus();
  QTest::keyClick(form1.get(), Qt::Key_G, Qt::AltModifier);
  QCOMPARE(QApplication::focusWidget(), form1->File1);
  // The room a larger window gives goes to the preview, a third of its
  // width to the list; it never gets smaller.
  const QSize designed = form1->size();
  const QSize list = form1->File1->size();
  const QSize preview = form1->Frame3->size();
  form1->resize(designed + QSize(300, 200));
  QCOMPARE(form1->File1->size(), list + QSize(100, 200));
  QCOMPARE(form1->Frame3->size(), preview + QSize(200, 200));
  form1->resize(designed - QSize(100, 100));
  QCOMPARE(form1->size(), designed);
}

void CollectorTest::pictureByTitle_data() {
  QTest::addColumn<QString>("image");
  QTest::addColumn<QStringList>("pictures");
  QTest::addColumn<QString>("shown");  // empty: the fallback
  QTest::newRow("(USA) first") << RIVER
                               << QStringList{"River Raid (Europe).png", "River Raid (USA).png",
                                              "River Raid (World).png"}
                               << "River Raid (USA).png";
  QTest::newRow("(World) next") << RIVER
                                << QStringList{"River Raid (Europe).png", "River Raid (World).png"}
                                << "River Raid (World).png";
  QTest::newRow("else the first by name")
      << RIVER << QStringList{"River Raid (Japan).png", "River Raid (Europe).png"}
      << "River Raid (Europe).png";
  QTest::newRow("own name wins") << RIVER
                                 << QStringList{"River Raid (USA).png",
                                                "River Raid (1982) (Activision).png"}
                                 << "River Raid (1982) (Activision).png";
  QTest::newRow("the set's replacements") << "Q*bert (1983) (Parker Brothers).bin"
                                          << QStringList{"Q_bert (USA).png"} << "Q_bert (USA).png";
  QTest::newRow("another title") << RIVER << QStringList{"River Raid II (USA).png"} << "";
}

void CollectorTest::pictureByTitle() {
  QFETCH(QString, image);
  QFETCH(QStringList, pictures);
  QFETCH(QString, shown);
  LauncherFolder folder;
  folder.add_usual({image}, "0");
  for (const QString& picture : pictures) folder.add_picture("Named_Snaps/" + picture);
  auto form1 = start_form1({folder.path(), folder.path()}, {}, true);
  QCOMPARE(form1->Label1->text(),
           folder.path(shown.isEmpty() ? "Default.jpg" : "Named_Snaps/" + shown));
}

void CollectorTest::titleLine_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("line");
  QTest::newRow("in a group folder")
      << RIVER << QString::fromUtf8("River Raid · 1982 · Activision");
  QTest::newRow("more groups, an archive")
      << "Pac-Man (1982) (Atari) (PAL).7z" << QString::fromUtf8("Pac-Man · 1982 · Atari");
  QTest::newRow("no groups") << "pitfall.bin"
                             << "";
}

void CollectorTest::titleLine() {
  QFETCH(QString, name);
  QFETCH(QString, line);
  QCOMPARE(title_line(name), line);
}

void CollectorTest::picturesFitThePreview_data() {
  QTest::addColumn<QSize>("size");
  QTest::addColumn<bool>("collector");
  QTest::addColumn<bool>("fitted");
  QTest::newRow("tall, fitted") << QSize(2000, 2800) << true << true;
  QTest::newRow("wide, fitted") << QSize(4000, 400) << true << true;
  QTest::newRow("small, as it is") << QSize(100, 50) << true << false;
  QTest::newRow("designed: never scaled") << QSize(640, 480) << false << false;
}

void CollectorTest::picturesFitThePreview() {
  QFETCH(QSize, size);
  QFETCH(bool, collector);
  QFETCH(bool, fitted);
  LauncherFolder folder;
  folder.add_usual({"Game.bin"}, "0");
  folder.add_picture("Pics/Game.jpg", size);
  auto form1 = start_form1({folder.path(), folder.path()}, {}, collector);
  const QSize box(twips_to_pixels_x(Form1::PREVIEW_WIDTH),
                  twips_to_pixels_y(Form1::PREVIEW_HEIGHT));
  QCOMPARE(form1->Open->picture().size(), fitted ? size.scaled(box, Qt::KeepAspectRatio) : size);
}

void CollectorTest::favouritesAndRecentlyPlayed() {
  LauncherFolder folder;
  QStringList games;
  for (int i = 0; i < 23; ++i)
    games.append(QStringLiteral("Game %1.bin").arg(i, 2, 10, QChar('0')));
  folder.add_usual(games, "0");
  auto form1 = start_form1({folder.path(), folder.path()}, {}, true);
  for (int i : {3, 1, 1}) {  // Game 01 marked and unmarked
    form1->File1->setListIndex(i);
    QTest::keyClick(form1.get(), Qt::Key_D, Qt::ControlModifier);
  }
  for (int i = 0; i < 23; ++i) {
    form1->File1->setListIndex(i < 22 ? i : 5);  // Game 05 again: first, once
    form1->Command2->click();
  }
  QTRY_COMPARE(folder.launches().size(), 23);
  QStringList recent = {games[5]};
  for (int i = 21; recent.size() < 20; --i)
    if (i != 5) recent.append(games[i]);
  QCOMPARE(folder.read("vorbel.favourites"), QByteArray("Game 03.bin\r\n"));
  QCOMPARE(PlayedLists(folder.path()).recent(), recent);
  // The favourites lack Game 05: the selection moves to their first and
  // stays there in the views that have it.
  const QList<QStringList> views = {games, {games[3]}, recent};
  for (int view : {Form1::FAVOURITES, Form1::RECENT, Form1::ALL_GAMES}) {
    form1->Combo1->setCurrentIndex(view);
    QCOMPARE(listed(*form1), views[view]);
    QCOMPARE(form1->File1->selectedName(), games[3]);
  }
}

QTEST_MAIN(CollectorTest)
#include "collector_test.moc"
