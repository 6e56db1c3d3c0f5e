// What a screen reader finds in the main window: a name on every button
// (the tool bar's glyph buttons say their hint) and on the editor (its page).
#include <QAccessible>
#include <QTest>
#include <QToolButton>

#include "window_fixture.h"

namespace {

bool IsButton(QAccessible::Role role) {
  return role == QAccessible::Button || role == QAccessible::ButtonMenu ||
         role == QAccessible::ButtonDropDown || role == QAccessible::ButtonDropGrid ||
         role == QAccessible::CheckBox || role == QAccessible::RadioButton;
}

// The buttons a reader can reach that it could only call "button".
void Unnamed(QAccessibleInterface* iface, QStringList& found) {
  if (!iface || iface->state().invisible) return;
  if (IsButton(iface->role()) && iface->text(QAccessible::Name).trimmed().isEmpty())
    found << (iface->object() ? iface->object()->objectName() : QStringLiteral("?"));
  for (int i = 0; i < iface->childCount(); ++i) Unnamed(iface->child(i), found);
}

QString Name(QObject* object) {
  return QAccessible::queryAccessibleInterface(object)->text(QAccessible::Name);
}

}  // namespace

class TestAccessibleNames : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void everyButtonAndTheEditorNamed() {
    TWindowFixture w;
    w.Page("a.html", "<p>a</p>\r\n");
    w.Open();
    QStringList unnamed;
    Unnamed(QAccessible::queryAccessibleInterface(w.Window()), unnamed);
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(", ")));
    QCOMPARE(Name(w.Control<QToolButton>("bbtSaveAs")), QString("Save editor-file as...."));
    QCOMPARE(Name(w.Editor()), QString("a.html"));
  }
};

QTEST_MAIN(TestAccessibleNames)
#include "test_accessible_names.moc"
