// The settings dialog wires the mask and tab rules (tested in test_mask_list)
// to its controls, and changes the record only when applied.
#include <QApplication>
#include <QCheckBox>
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

template <typename T = QWidget>
T* Child(QWidget* dialog, const char* name) {
  T* child = dialog->findChild<T*>(name);
  if (!child) qWarning("no control %s", name);
  return child;
}

QStringList Rows(QWidget* dialog) {
  QStringList rows;
  auto* list = Child<QListWidget>(dialog, "lbxMask");
  for (int i = 0; i < list->count(); ++i) rows << list->item(i)->text();
  return rows;
}

void Click(QWidget* dialog, const char* name) { Child<QAbstractButton>(dialog, name)->click(); }

void TypeInto(QWidget* dialog, const char* name, const QString& text) {
  auto* edit = Child<QLineEdit>(dialog, name);
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, text);
}

}  // namespace

class TestSettingsDialog : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init() {
    FDesktop = std::make_unique<TDesktopStub>();
    FEnv = std::make_unique<TQMEEnvironment>(qEnvironmentVariable("QUILLMERE_TEST_TMP") +
                                             "/bin/quillmere");
  }

  void cleanup() {
    FEnv.reset();
    FDesktop.reset();
  }

  void showAndApply() {
    FEnv->FileMask = "*.htm*;*.TXT;*.css;";
    QVERIFY(Run([](QDialog* d) {
      QCOMPARE(d->size(), QSize(418, 298));
      QCOMPARE(Rows(d), QStringList({"*.css", "*.htm*", "*.TXT"}));
      QCOMPARE(Child<QListWidget>(d, "lbxMask")->currentRow(), 0);
      QVERIFY(!Child(d, "bbtAdd")->isEnabled());
      QCOMPARE(Child<QLineEdit>(d, "iedTab")->text().trimmed(), QString("3"));
      QVERIFY(Child<QCheckBox>(d, "ckbSaveSearch")->isChecked());
      QVERIFY(Child<QRadioButton>(d, "rgpAutoConv0")->isChecked());
      // Typed masks go in as lower case, in their sorted place, the first too.
      TypeInto(d, "edtAdd", "  *.AP ");
      QVERIFY(Child(d, "bbtAdd")->isEnabled());
      Click(d, "bbtAdd");
      QCOMPARE(Child<QLineEdit>(d, "edtAdd")->text(), QString());
      QCOMPARE(Rows(d), QStringList({"*.ap", "*.css", "*.htm*", "*.TXT"}));
      Child<QListWidget>(d, "lbxMask")->setCurrentRow(1);
      Click(d, "bbtDelete");
      // Applied with the field still holding what was typed: the same bounds.
      TypeInto(d, "iedTab", "99");
      Click(d, "rgpAutoConv1");
      for (const char* name : {"ckbSaveSearch", "ckbSaveCoord", "ckbDelEmpty"}) Click(d, name);
      QTest::keyClick(Child(d, "edtAdd"), Qt::Key_Return);  // Apply is the default button
    }));
    QCOMPARE(FEnv->FileMask, QString("*.ap;*.htm*;*.TXT;"));
    QCOMPARE(FEnv->TabInterval, 192);
    QCOMPARE(FEnv->AutoConversion, 1);
    QVERIFY(!FEnv->SaveSearch && !FEnv->SaveCoord && !FEnv->DelEmptyLines);
  }

  void strayValuesAndEmptyList() {
    FEnv->TabInterval = 400;
    FEnv->AutoConversion = 7;
    FEnv->FileMask = "*.b;;*.a";
    QVERIFY(Run([](QDialog* d) {
      QCOMPARE(Child<QLineEdit>(d, "iedTab")->text().trimmed(), QString("48"));
      QVERIFY(Child<QRadioButton>(d, "rgpAutoConv2")->isChecked());
      QCOMPARE(Rows(d), QStringList({"", "*.a", "*.b"}));
      auto* list = Child<QListWidget>(d, "lbxMask");
      list->setCurrentRow(1);
      Click(d, "bbtDelete");
      QVERIFY(list->selectedItems().isEmpty());
      Click(d, "bbtDelete");  // nothing selected: nothing removed
      QCOMPARE(Rows(d), QStringList({"", "*.b"}));
      for (int i = 0; i < 2; ++i) {
        list->setCurrentRow(0);
        Click(d, "bbtDelete");
      }
      QVERIFY(!Child(d, "bbtDelete")->isEnabled());
      Click(d, "bbtSave");
    }));
    QCOMPARE(FEnv->FileMask, QString());
    QCOMPARE(FEnv->TabInterval, 192);
    QCOMPARE(FEnv->AutoConversion, 2);
  }

  // The tab order (Add is disabled with an empty edit; the two bottom
  // buttons are no stops); Escape leaves the record as it was.
  void tabOrderAndCancel() {
    FEnv->TabInterval = 14;
    QVERIFY(!Run([](QDialog* d) {
      QTRY_COMPARE(QApplication::focusWidget(), Child(d, "iedTab"));
      for (const char* name : {"ckbSaveSearch", "ckbSaveCoord", "bbtDelete", "edtAdd", "lbxMask",
                               "rgpAutoConv0", "ckbDelEmpty", "iedTab"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget()->objectName(), QString(name));
      }
      TypeInto(d, "edtAdd", "*.new");
      Click(d, "bbtAdd");
      TypeInto(d, "iedTab", "9");
      Click(d, "ckbDelEmpty");
      Click(d, "bbtCancel");
    }));
    QCOMPARE(FEnv->TabInterval, 14);
    QVERIFY(!FEnv->FileMask.contains("new"));
    QVERIFY(FEnv->DelEmptyLines);
  }

 private:
  // Runs EditSettings with Act working in the open dialog; Act ends it.
  bool Run(const std::function<void(QDialog*)>& act);

  std::unique_ptr<TDesktopStub> FDesktop;
  std::unique_ptr<TQMEEnvironment> FEnv;
};

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

QTEST_MAIN(TestSettingsDialog)
#include "test_settings_dialog.moc"
