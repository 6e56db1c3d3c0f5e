#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "config/environment.h"
#include "config/settings_dialog.h"
#include "desktop_stub.h"

namespace {

template <typename T>
T* Child(QWidget* dialog, const char* name) {
  T* child = dialog->findChild<T*>(name);
  if (!child) qWarning("no control %s", name);
  return child;
}

QLineEdit* TabField(QWidget* dialog) { return Child<QLineEdit>(dialog, "iedTab"); }

QStringList Rows(QWidget* dialog) {
  QStringList rows;
  auto* list = Child<QListWidget>(dialog, "lbxMask");
  for (int i = 0; i < list->count(); ++i) rows << list->item(i)->text();
  return rows;
}

void TypeInto(QWidget* edit, const QString& text) {
  edit->setFocus();
  QTest::keyClicks(edit, text);
}

void Click(QWidget* dialog, const char* name) { Child<QPushButton>(dialog, name)->click(); }

QRadioButton* Radio(QWidget* dialog, int item) {
  return Child<QGroupBox>(dialog, "rgpAutoConv")->findChildren<QRadioButton*>().at(item);
}

struct TSettingsCopy {
  std::int32_t TabInterval;
  QString FileMask;
  bool SaveSearch, SaveCoord, DelEmptyLines;
  std::uint8_t AutoConversion;
  explicit TSettingsCopy(const TQMEEnvironment& e)
      : TabInterval(e.TabInterval),
        FileMask(e.FileMask),
        SaveSearch(e.SaveSearch),
        SaveCoord(e.SaveCoord),
        DelEmptyLines(e.DelEmptyLines),
        AutoConversion(e.AutoConversion) {}
  bool operator==(const TSettingsCopy&) const = default;
};

}  // namespace

class TestSettingsDialog : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init();
  void cleanup();
  void defaultMasks();
  void addMasks();
  void emptyRowAndDeletes();
  void tabInterval();
  void switchesApplied();
  void cancelLeavesEverything_data();
  void cancelLeavesEverything();
  void focusKeys();

 private:
  // Runs EditSettings with Act working in the open dialog; Act ends it.
  bool Run(const std::function<void(QDialog*)>& act);

  std::unique_ptr<TDesktopStub> FDesktop;
  std::unique_ptr<TQMEEnvironment> FEnv;
};

void TestSettingsDialog::init() {
  FDesktop = std::make_unique<TDesktopStub>();
  FEnv = std::make_unique<TQMEEnvironment>(qEnvironmentVariable("QUILLMERE_TEST_TMP") +
                                           "/bin/quillmere");
}

void TestSettingsDialog::cleanup() {
  FEnv.reset();
  FDesktop.reset();
}

bool TestSettingsDialog::Run(const std::function<void(QDialog*)>& act) {
  bool acted = false;
  QTimer::singleShot(0, this, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    acted = true;
    act(dialog);
    // A failed check leaves the dialog up; it must not hang the test.
    if (dialog->isVisible()) {
      QTest::qFail("the dialog was left open", __FILE__, __LINE__);
      dialog->reject();
    }
  });
  const bool applied = EditSettings(*FEnv);
  if (!acted) QTest::qFail("no dialog came up", __FILE__, __LINE__);
  return applied;
}

void TestSettingsDialog::defaultMasks() {
  const bool applied = Run([](QDialog* d) {
    QCOMPARE(d->windowTitle(), QString("Settings"));
    QCOMPARE(d->size(), QSize(418, 298));
    QCOMPARE(Rows(d), QStringList({"*.cgi", "*.css", "*.htm*", "*.ini", "*.js", "*.txt"}));
    QCOMPARE(Child<QListWidget>(d, "lbxMask")->selectedItems().size(), 1);
    QCOMPARE(Child<QListWidget>(d, "lbxMask")->currentRow(), 0);
    QVERIFY(!Child<QPushButton>(d, "bbtAdd")->isEnabled());
    QVERIFY(Child<QPushButton>(d, "bbtDelete")->isEnabled());
    QCOMPARE(TabField(d)->text().trimmed(), QString("3"));
    QVERIFY(Child<QCheckBox>(d, "ckbSaveSearch")->isChecked());
    QVERIFY(Radio(d, 0)->isChecked());
    Click(d, "bbtSave");
  });
  QVERIFY(applied);
  // Stored in the list's order: the default differs in its order only.
  QCOMPARE(FEnv->FileMask, QString("*.cgi;*.css;*.htm*;*.ini;*.js;*.txt;"));
  QCOMPARE(FEnv->TabInterval, 12);
}

void TestSettingsDialog::addMasks() {
  const bool applied = Run([](QDialog* d) {
    auto* edtAdd = Child<QLineEdit>(d, "edtAdd");
    auto* bbtAdd = Child<QPushButton>(d, "bbtAdd");
    TypeInto(edtAdd, "  *.PHP ");
    QCOMPARE(edtAdd->text(), QString("  *.php "));
    QVERIFY(bbtAdd->isEnabled());
    bbtAdd->click();
    QCOMPARE(edtAdd->text(), QString());
    QVERIFY(!bbtAdd->isEnabled());
    QCOMPARE(Rows(d).indexOf("*.php"), 5);
    // Already there in another case: only the edit is cleared.
    edtAdd->setText("*.CSS");
    bbtAdd->click();
    QCOMPARE(edtAdd->text(), QString());
    QCOMPARE(Rows(d).size(), 7);
    TypeInto(edtAdd, "*.a;*.B");
    bbtAdd->click();
    QCOMPARE(Rows(d).first(), QString("*.a;*.b"));
    // Enter in the add edit applies the dialog.
    TypeInto(edtAdd, "x");
    QTest::keyClick(edtAdd, Qt::Key_Return);
  });
  QVERIFY(applied);
  QCOMPARE(FEnv->FileMask, QString("*.a;*.b;*.cgi;*.css;*.htm*;*.ini;*.js;*.php;*.txt;"));
  QStringList rows;
  FEnv->MasksToList(rows);
  QCOMPARE(rows.mid(0, 2), QStringList({"*.a", "*.b"}));
}

void TestSettingsDialog::emptyRowAndDeletes() {
  FEnv->FileMask = "*.b;;*.a";
  QVERIFY(Run([](QDialog* d) {
    QCOMPARE(Rows(d), QStringList({"", "*.a", "*.b"}));
    Click(d, "bbtSave");
  }));
  QCOMPARE(FEnv->FileMask, QString(";*.a;*.b;"));
  QVERIFY(Run([](QDialog* d) {
    auto* list = Child<QListWidget>(d, "lbxMask");
    auto* bbtDelete = Child<QPushButton>(d, "bbtDelete");
    list->setCurrentRow(1);
    bbtDelete->click();
    QCOMPARE(Rows(d), QStringList({"", "*.b"}));
    QVERIFY(list->selectedItems().isEmpty());
    // Nothing selected: nothing removed.
    bbtDelete->click();
    QCOMPARE(Rows(d).size(), 2);
    for (int i = 0; i < 2; ++i) {
      QVERIFY(bbtDelete->isEnabled());
      list->setCurrentRow(0);
      bbtDelete->click();
    }
    QCOMPARE(Rows(d), QStringList());
    QVERIFY(!bbtDelete->isEnabled());
    Click(d, "bbtSave");
  }));
  QCOMPARE(FEnv->FileMask, QString());
}

void TestSettingsDialog::tabInterval() {
  FEnv->TabInterval = 14;
  QVERIFY(Run([](QDialog* d) {
    QCOMPARE(TabField(d)->text().trimmed(), QString("3"));
    Click(d, "bbtSave");
  }));
  QCOMPARE(FEnv->TabInterval, 12);
  QVERIFY(Run([](QDialog* d) {
    QLineEdit* field = TabField(d);
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, "5");
    Click(d, "bbtSave");
  }));
  QCOMPARE(FEnv->TabInterval, 20);
  // Applied with the field still holding what was typed: the same bounds.
  QVERIFY(Run([](QDialog* d) {
    QLineEdit* field = TabField(d);
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, "99");
    QCOMPARE(field->text(), QString("99"));
    Click(d, "bbtSave");
  }));
  QCOMPARE(FEnv->TabInterval, 192);
  // A value beyond the field's 48 characters shows as 48, not cut to digits.
  FEnv->TabInterval = 400;
  QVERIFY(Run([](QDialog* d) {
    QCOMPARE(TabField(d)->text().trimmed(), QString("48"));
    Click(d, "bbtSave");
  }));
  QCOMPARE(FEnv->TabInterval, 192);
}

void TestSettingsDialog::switchesApplied() {
  FEnv->AutoConversion = 7;
  QVERIFY(Run([](QDialog* d) {
    QVERIFY(Radio(d, 2)->isChecked());
    Radio(d, 1)->click();
    for (const char* name : {"ckbSaveSearch", "ckbSaveCoord", "ckbDelEmpty"})
      Child<QCheckBox>(d, name)->click();
    Click(d, "bbtSave");
  }));
  QCOMPARE(FEnv->AutoConversion, 1);
  QVERIFY(!FEnv->SaveSearch && !FEnv->SaveCoord && !FEnv->DelEmptyLines);
}

void TestSettingsDialog::cancelLeavesEverything_data() {
  QTest::addColumn<bool>("escape");
  QTest::newRow("Cancel") << false;
  QTest::newRow("Escape") << true;
}

void TestSettingsDialog::cancelLeavesEverything() {
  QFETCH(bool, escape);
  FEnv->TabInterval = 14;
  const TSettingsCopy before(*FEnv);
  const bool applied = Run([escape](QDialog* d) {
    Child<QLineEdit>(d, "edtAdd")->setText("*.new");
    Click(d, "bbtAdd");
    Child<QListWidget>(d, "lbxMask")->setCurrentRow(0);
    Click(d, "bbtDelete");
    QLineEdit* field = TabField(d);
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, "9");
    Radio(d, 2)->click();
    Child<QCheckBox>(d, "ckbDelEmpty")->click();
    if (escape)
      QTest::keyClick(Child<QListWidget>(d, "lbxMask"), Qt::Key_Escape);
    else
      Click(d, "bbtCancel");
  });
  QVERIFY(!applied);
  QVERIFY(TSettingsCopy(*FEnv) == before);
}

void TestSettingsDialog::focusKeys() {
  QVERIFY(!Run([](QDialog* d) {
    QTRY_COMPARE(QApplication::focusWidget(), TabField(d));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_COMPARE(QApplication::focusWidget()->objectName(), QString("ckbSaveSearch"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QTRY_COMPARE(QApplication::focusWidget()->objectName(), QString("iedTab"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTRY_COMPARE(QApplication::focusWidget()->objectName(), QString("ckbSaveSearch"));
    // Add is disabled with an empty edit; the two bottom buttons are no stops.
    const QStringList order = {"ckbSaveCoord", "bbtDelete",   "edtAdd", "lbxMask",
                               "rgpAutoConv0", "ckbDelEmpty", "iedTab"};
    for (const QString& name : order) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QTRY_COMPARE(QApplication::focusWidget()->objectName(), name);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  }));
}

QTEST_MAIN(TestSettingsDialog)
#include "test_settings_dialog.moc"
