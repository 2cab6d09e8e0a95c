// What Form1 finds in a collector's folder: PNG pictures and the libretro
// thumbnail sets, titles with dots, .a26 images, and the keys that move
// through a long list.

#include <QApplication>
#include <QTest>

#include "collection/sidecar.h"
#include "launcher_test_support.h"
#include "main_window/form1.h"
#include "main_window/texts.h"

namespace {

const QString ET = QStringLiteral("E.T. - The Extra-Terrestrial (1982) (Atari).bin");
const QString ET_WHOLE = QStringLiteral("E.T. - The Extra-Terrestrial (1982) (Atari)");
const QSize FALLBACK_SIZE(32, 32);

// A PNG picture of `size`, written by Qt.
void add_png(const LauncherFolder& folder, const QString& relative, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::darkBlue);
  QDir().mkpath(QFileInfo(folder.path(relative)).path());
  QVERIFY(image.save(folder.path(relative), "PNG"));
}

// Lays the pictures `relatives` out, each with a size of its own (100 + 10
// times its place in the list wide), and returns the size of each.
QList<QSize> add_pictures(const LauncherFolder& folder, const QStringList& relatives) {
  QList<QSize> sizes;
  for (qsizetype i = 0; i < relatives.size(); ++i) {
    const QSize size(100 + 10 * int(i), 50);
    if (relatives[i].endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive))
      folder.add_picture(relatives[i], size);
    else
      add_png(folder, relatives[i], size);
    sizes.append(size);
  }
  return sizes;
}

}  // namespace

class Form1ArtworkTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { drop_offscreen_warnings(); }
  void baseNamesAndThumbnailNames();
  void pictureLookUpOrder_data();
  void pictureLookUpOrder();
  void damagedPngShowsTheFallback();
  void dottedTitleManual_data();
  void dottedTitleManual();
  void a26ImagesAreListedWithTheBinImages();
  void onlyA26Images();
  void typingJumpsToTheFirstEntryThatStartsWithIt();
  void homeEndPageUpPageDown();
};

void Form1ArtworkTest::baseNamesAndThumbnailNames() {
  QCOMPARE(sidecar_bases(QStringLiteral("Pitfall!.bin")), QStringList{"Pitfall!"});
  QCOMPARE(sidecar_bases(QStringLiteral("2048.a26")), QStringList{"2048"});
  QCOMPARE(sidecar_bases(ET), (QStringList{"E", ET_WHOLE}));
  QCOMPARE(sidecar_bases(QStringLiteral("Mr. Do!.bin")), (QStringList{"Mr", "Mr. Do!"}));
  QCOMPARE(sidecar_bases(QStringLiteral("noext")), QStringList{"noext"});
  QCOMPARE(thumbnail_name(QStringLiteral("Q*bert's Qubes: \"A/B\" <1> `x` ? \\|&")),
           QStringLiteral("Q_bert's Qubes_ _A_B_ _1_ _x_ _ ___"));
}

void Form1ArtworkTest::pictureLookUpOrder_data() {
  QTest::addColumn<QString>("image");
  QTest::addColumn<QStringList>("pictures");  // present; the first one is expected to be shown
  const QString boxart = QStringLiteral("Named_Boxarts/") + ET_WHOLE + ".png";
  QTest::newRow("Pics jpg before everything")
      << "Pitfall!.bin"
      << QStringList{"Pics/Pitfall!.jpg", "Pics/Pitfall!.png", "Named_Boxarts/Pitfall!.png"};
  QTest::newRow("Pics png next") << "Pitfall!.bin"
                                 << QStringList{"Pics/Pitfall!.png", "Named_Boxarts/Pitfall!.png",
                                                "Named_Snaps/Pitfall!.png"};
  QTest::newRow("box art before snap")
      << "Pitfall!.bin"
      << QStringList{"Named_Boxarts/Pitfall!.png", "Named_Snaps/Pitfall!.png",
                     "Named_Titles/Pitfall!.png"};
  QTest::newRow("snap before title")
      << "Pitfall!.bin" << QStringList{"Named_Snaps/Pitfall!.png", "Named_Titles/Pitfall!.png"};
  QTest::newRow("title") << "Pitfall!.bin" << QStringList{"Named_Titles/Pitfall!.png"};
  QTest::newRow("any case") << "pitfall!.BIN" << QStringList{"named_boxarts/PITFALL!.PNG"};
  QTest::newRow("a26") << "2048.a26" << QStringList{"Named_Boxarts/2048.png"};
  QTest::newRow("libretro's names")
      << "Q-bert's Qubes.bin" << QStringList{"Named_Boxarts/Q-bert's Qubes.png"};
  QTest::newRow("libretro's rule")
      << "Frogger: The Game?.bin" << QStringList{"Named_Snaps/Frogger_ The Game_.png"};
  QTest::newRow("dotted title: the designed name first")
      << ET << QStringList{"Pics/E.jpg", "Pics/" + ET_WHOLE + ".jpg", boxart};
  QTest::newRow("dotted title: every set by the first name first")
      << ET << QStringList{"Named_Titles/E.png", "Pics/" + ET_WHOLE + ".jpg"};
  QTest::newRow("dotted title: then the whole name")
      << ET << QStringList{"Pics/" + ET_WHOLE + ".jpg", boxart};
  QTest::newRow("dotted title: its box art") << ET << QStringList{boxart};
  QTest::newRow("none: the fallback") << "Pitfall!.bin" << QStringList{};
}

void Form1ArtworkTest::pictureLookUpOrder() {
  QFETCH(QString, image);
  QFETCH(QStringList, pictures);
  LauncherFolder folder;
  folder.add_usual({image}, "0");
  const QList<QSize> sizes = add_pictures(folder, pictures);
  MessageRecorder recorder;
  auto form1 = start_form1(folder);
  if (pictures.isEmpty()) {
    QCOMPARE(form1->Open->picture().size(), FALLBACK_SIZE);
    QCOMPARE(form1->Label1->text(), folder.path(QStringLiteral("Default.jpg")));
  } else {
    QCOMPARE(form1->Label1->text(), folder.path(pictures.first()));
    QCOMPARE(form1->Open->picture().size(), sizes.first());
    QCOMPARE(form1->Open->size(), sizes.first());
  }
  QCOMPARE(recorder.messages(), QStringList{});
}

void Form1ArtworkTest::damagedPngShowsTheFallback() {
  // As a damaged JPEG does: the file found is the picture, and when it does
  // not decode the fallback shows; the sets after it are not tried.
  LauncherFolder folder;
  folder.add_usual({"2048.a26"}, "0");
  folder.add_file(QStringLiteral("Named_Boxarts/2048.png"), "\x89PNG\r\n\x1a\n broken");
  add_png(folder, QStringLiteral("Named_Snaps/2048.png"), {90, 90});
  MessageRecorder recorder;
  auto form1 = start_form1(folder);
  QCOMPARE(form1->Open->picture().size(), FALLBACK_SIZE);
  QCOMPARE(form1->Label1->text(), folder.path(QStringLiteral("Default.jpg")));
  QCOMPARE(recorder.messages(), QStringList{});
}

void Form1ArtworkTest::dottedTitleManual_data() {
  QTest::addColumn<QStringList>("manuals");  // present; the first is expected
  QTest::newRow("the designed name") << QStringList{"Text/E.txt", "Text/" + ET_WHOLE + ".txt"};
  QTest::newRow("the whole name") << QStringList{"Text/" + ET_WHOLE + ".txt"};
  QTest::newRow("neither") << QStringList{};
}

void Form1ArtworkTest::dottedTitleManual() {
  QFETCH(QStringList, manuals);
  LauncherFolder folder;
  folder.add_usual({ET}, "0");
  for (const QString& manual : manuals) folder.add_file(manual, manual.toUtf8());
  MessageRecorder recorder;
  auto form1 = start_form1(folder);
  form1->Option1->setChecked(true);
  QCOMPARE(form1->Text1->toPlainText(),
           manuals.isEmpty() ? QStringLiteral("E game manual not available") : manuals.first());
  // The texts keep the designed base name.
  QCOMPARE(form1->Command2->toolTip(), QStringLiteral("Click this to play E"));
}

void Form1ArtworkTest::a26ImagesAreListedWithTheBinImages() {
  LauncherFolder folder;
  folder.add_usual({"b.bin", "Zaxxon.A26", "a.a26", "C.BIN", ".hidden.a26", "x.a26.txt"}, "1");
  MessageRecorder recorder;
  auto form1 = start_form1(folder);
  QStringList names;
  for (int row = 0; row < form1->File1->count(); ++row)
    names.append(form1->File1->item(row)->text());
  QCOMPARE(names, (QStringList{"a.a26", "b.bin", "C.BIN", "Zaxxon.A26"}));
  QCOMPARE(form1->windowTitle(), texts::title(4));
  QCOMPARE(form1->Label5->text(), QStringLiteral("2/4"));
}

void Form1ArtworkTest::onlyA26Images() {
  LauncherFolder folder;
  folder.add_usual({"2048.a26"}, "0");
  MessageRecorder recorder;
  auto form1 = start_form1(folder);
  QVERIFY(!form1->unloaded());
  QCOMPARE(form1->File1->selectedName(), QStringLiteral("2048.a26"));
  QCOMPARE(recorder.messages(), QStringList{});
}

void Form1ArtworkTest::typingJumpsToTheFirstEntryThatStartsWithIt() {
  LauncherFolder folder;
  folder.add_usual({"Adventure.bin", "Pac-Man.bin", "Pitfall!.bin", "Pitfall II.bin",
                    "Space Invaders.bin", "Surround.a26"},
                   "-1");
  MessageRecorder recorder;
  auto form1 = start_form1(folder);
  ListBox* list = form1->File1;
  list->setFocus();
  const auto typed = [&](const QString& keys, int expected) {
    QTest::qWait(QApplication::keyboardInputInterval() + 50);  // a new search
    QTest::keyClicks(list, keys);
    QCOMPARE(list->listIndex(), expected);
  };
  typed(QStringLiteral("p"), 1);
  QCOMPARE(form1->Label5->text(), QStringLiteral("2/6"));  // the selection ran
  QCOMPARE(form1->Command2->toolTip(), QStringLiteral("Click this to play Pac-Man"));
  typed(QStringLiteral("p"), 1);    // the first again, not the next
  typed(QStringLiteral("pit"), 2);  // "Pitfall II" sorts before "Pitfall!"
  typed(QStringLiteral("pitfall!"), 3);
  typed(QStringLiteral("PITFALL I"), 2);  // a blank belongs to the search
  typed(QStringLiteral("space i"), 4);
  typed(QStringLiteral("su"), 5);
  typed(QStringLiteral("x"), 5);  // nothing starts so: the selection stays
  QCOMPARE(recorder.messages(), QStringList{});
}

void Form1ArtworkTest::homeEndPageUpPageDown() {
  QStringList names;
  for (int i = 0; i < 100; ++i)
    names.append(QStringLiteral("game%1.bin").arg(i, 3, 10, QLatin1Char('0')));
  LauncherFolder folder;
  folder.add_usual(names, "-1");
  MessageRecorder recorder;
  auto form1 = start_form1(folder);
  ListBox* list = form1->File1;
  list->setFocus();
  QTest::keyClick(list, Qt::Key_End);
  QCOMPARE(list->listIndex(), 99);
  QCOMPARE(form1->Label5->text(), QStringLiteral("100/100"));
  QTest::keyClick(list, Qt::Key_Home);
  QCOMPARE(list->listIndex(), 0);
  QTest::keyClick(list, Qt::Key_PageDown);
  const int page = list->listIndex();
  QVERIFY2(page > 1 && page < 99, qPrintable(QString::number(page)));
  QTest::keyClick(list, Qt::Key_PageDown);
  QVERIFY(list->listIndex() > page);
  QTest::keyClick(list, Qt::Key_End);
  QTest::keyClick(list, Qt::Key_PageUp);
  QVERIFY(list->listIndex() < 98 && list->listIndex() > 0);
  QCOMPARE(form1->Label5->text(), QStringLiteral("%1/100").arg(list->listIndex() + 1));
  QCOMPARE(recorder.messages(), QStringList{});
}

QTEST_MAIN(Form1ArtworkTest)
#include "form1_artwork_test.moc"
