// The two rules the windows rely on: handlers run once per real change of a
// value, and windows load on first use and come back fresh after unloading.

#include <QTest>
#include <QWidget>

#include "platform/toolkit_rules.h"

namespace {

class Counter : public QObject {
 public:
  void handler() { ++runs; }
  int runs = 0;
};

// A window that counts its loads and unloads and keeps a design value.
class Window : public QWidget {
 public:
  Window(QWidget* owner, int& loads, int& unloads)
      : QWidget(owner, Qt::Window), loads_(loads), unloads_(unloads) {}
  void Form_Load() { ++loads_; }
  void Form_Unload() {
    ++unloads_;
    if (onUnload) onUnload();
  }
  QString state = QStringLiteral("design");
  std::function<void()> onUnload;

 private:
  int& loads_;
  int& unloads_;
};

}  // namespace

class ToolkitRulesTest : public QObject {
  Q_OBJECT

 private slots:
  void checkBoxRunsItsHandlerOncePerChange();
  void optionButtonRunsItsHandlerWhenSelected();
  void listRunsItsHandlerWhenAnotherEntryIsSelected();
  void handlerSettingTheOtherBoxDoesNotRecurse();
  void windowLoadsOnFirstTouchAndComesBackFresh();
  void unloadingTwiceOrFromWithinIsHarmless();
};

void ToolkitRulesTest::checkBoxRunsItsHandlerOncePerChange() {
  QWidget parent;
  auto* box = new QCheckBox(&parent);
  Counter counter;
  on_click(box, &counter, &Counter::handler);
  box->setChecked(false);
  QCOMPARE(counter.runs, 0);
  box->setChecked(true);
  box->setChecked(true);
  QCOMPARE(counter.runs, 1);
  box->click();  // as the user would
  QCOMPARE(counter.runs, 2);
  QVERIFY(!box->isChecked());
}

void ToolkitRulesTest::optionButtonRunsItsHandlerWhenSelected() {
  QWidget parent;
  auto* on = new QRadioButton(&parent);
  auto* off = new QRadioButton(&parent);
  off->setChecked(true);
  Counter onRuns;
  Counter offRuns;
  on_click(on, &onRuns, &Counter::handler);
  on_click(off, &offRuns, &Counter::handler);
  on->setChecked(true);
  on->setChecked(true);
  QCOMPARE(onRuns.runs, 1);
  QCOMPARE(offRuns.runs, 0);  // being deselected is no click
  off->setChecked(true);
  QCOMPARE(offRuns.runs, 1);
}

void ToolkitRulesTest::listRunsItsHandlerWhenAnotherEntryIsSelected() {
  QWidget parent;
  auto* list = new ListBox(&parent);
  list->addItems({"a", "b"});
  Counter counter;
  on_click(list, &counter, &Counter::handler);
  list->setListIndex(1);
  list->setListIndex(1);
  QCOMPARE(counter.runs, 1);
  QCOMPARE(list->selectedName(), QStringLiteral("b"));
  list->setListIndex(-1);
  QCOMPARE(list->listIndex(), -1);
  QCOMPARE(counter.runs, 1);  // nothing selected: nothing to show
}

void ToolkitRulesTest::handlerSettingTheOtherBoxDoesNotRecurse() {
  // Two boxes that each give the other their value, as the Courier boxes do.
  struct Pair : QObject {
    QCheckBox* first;
    QCheckBox* second;
    int runs = 0;
    void firstClick() {
      ++runs;
      second->setChecked(first->isChecked());
    }
    void secondClick() {
      ++runs;
      first->setChecked(second->isChecked());
    }
  } pair;
  QWidget parent;
  pair.first = new QCheckBox(&parent);
  pair.second = new QCheckBox(&parent);
  on_click(pair.first, &pair, &Pair::firstClick);
  on_click(pair.second, &pair, &Pair::secondClick);
  pair.first->setChecked(true);
  QCOMPARE(pair.runs, 2);
  QVERIFY(pair.second->isChecked());
}

void ToolkitRulesTest::windowLoadsOnFirstTouchAndComesBackFresh() {
  QWidget owner;
  int loads = 0;
  int unloads = 0;
  OnDemand<Window> window([&] { return new Window(&owner, loads, unloads); });
  QVERIFY(!window.loaded());
  window->state = QStringLiteral("changed");
  window->state += QStringLiteral(" again");
  QCOMPARE(loads, 1);
  QVERIFY(!window->isVisible());
  window.unload();
  QCOMPARE(unloads, 1);
  QVERIFY(!window.loaded());
  QCOMPARE(window->state, QStringLiteral("design"));
  QCOMPARE(loads, 2);
  window.unload();
}

void ToolkitRulesTest::unloadingTwiceOrFromWithinIsHarmless() {
  QWidget owner;
  int loads = 0;
  int unloads = 0;
  OnDemand<Window> window([&] { return new Window(&owner, loads, unloads); });
  window.unload();
  QCOMPARE(unloads, 0);  // not loaded: nothing to do
  window->onUnload = [&] {
    window.unload();                         // nested: ignored
    window->state = QStringLiteral("seen");  // reaches the window that is going
  };
  window.unload();
  QCOMPARE(unloads, 1);
  QCOMPARE(loads, 1);
  QVERIFY(!window.loaded());
}

QTEST_MAIN(ToolkitRulesTest)
#include "toolkit_rules_test.moc"
