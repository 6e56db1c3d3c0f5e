#include <QSet>
#include <QTest>

#include "html/html_snippets.h"
#include "html/special_chars.h"

static QString Q(const std::string& s) { return QString::fromStdString(s); }

// The tables themselves are data; these tests check their shape and a few
// rows that stand for the rest.
class TestHtmlTables : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void toolsetRows() {
    QCOMPARE(Q(HtmlToolsetChosenText(0)), QString("<A href=\"\"></A>\r\n"));
    // Nested lines keep their indentation of 3 blanks per level.
    QVERIFY(Q(HtmlToolsetChosenText(42)).startsWith("<HTML>\r\n   <HEAD>\r\n      <TITLE>"));
    QCOMPARE(Q(HtmlToolsetRowText(HtmlToolsetRowCount - 1)), QString("HTML 4.0 Frameset"));
    for (int row : {-1, HtmlToolsetRowCount}) {
      QCOMPARE(HtmlToolsetRowText(row), std::string());
      QCOMPARE(HtmlToolsetChosenText(row), std::string());
    }
  }

  // The tag case conversion relies on the names being the HTML 4.0 names in
  // order; every inserted text ends each of its lines in CR LF.
  void toolsetInvariants() {
    QCOMPARE(HtmlElementCount, 91);
    QCOMPARE(HtmlToolsetRowCount, 94);
    QString previous;
    for (int row = 0; row < HtmlToolsetRowCount; ++row) {
      const QString text = Q(HtmlToolsetChosenText(row));
      QVERIFY2(text.endsWith("\r\n") && !text.contains("%CR%"), qPrintable(text));
      QCOMPARE(text.count('\r'), text.count("\r\n"));
      QCOMPARE(text.count('\n'), text.count("\r\n"));
      if (row >= HtmlElementCount) {
        QVERIFY(text.startsWith("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0"));
        QCOMPARE(text.count("\r\n"), 2);
        continue;
      }
      const QString name = HtmlElements[row].Name;
      QVERIFY2(name.size() <= 10 && name == name.toUpper() && name > previous, qPrintable(name));
      QCOMPARE(Q(HtmlToolsetRowText(row)), "<" + name + ">");
      previous = name;
    }
  }

  void specCharRows() {
    QCOMPARE(Q(SpecCharRowText(0)), QString("Copyright       \u00A9 = &copy;"));
    QCOMPARE(Q(SpecCharChosenText(SpecCharRowText(6))), QString("&nbsp;"));
    QCOMPARE(SpecCharRowText(-1), std::string());
    QCOMPARE(SpecCharRowText(SpecCharRowCount), std::string());
    QCOMPARE(SpecCharChosenText(""), std::string());
    QCOMPARE(SpecCharChosenText("x = a=b "), std::string("a=b"));  // the first "=" counts
  }

  // Separators between the groups insert nothing; every other row shows its
  // label in 16 characters, the character and one distinct reference.
  void specCharInvariants() {
    QCOMPARE(SpecCharRowCount, 112);
    const QList<int> separators = {11, 38, 64, 76, 82, 97, 111};
    QSet<QString> references;
    for (int row = 0; row < SpecCharRowCount; ++row) {
      const QString text = Q(SpecCharRowText(row));
      const QString chosen = Q(SpecCharChosenText(SpecCharRowText(row)));
      if (separators.contains(row)) {
        QCOMPARE(text, QString(28, '-'));
        QCOMPARE(chosen, QString());
        continue;
      }
      QVERIFY2(chosen.startsWith('&') && chosen.endsWith(';'), qPrintable(text));
      QVERIFY2(!references.contains(chosen), qPrintable(chosen));
      references.insert(chosen);
      if (row != 6) QCOMPARE(text.indexOf(" = "), 17);
      QVERIFY(text.endsWith(" = " + chosen));
    }
  }
};

QTEST_APPLESS_MAIN(TestHtmlTables)
#include "test_html_tables.moc"
