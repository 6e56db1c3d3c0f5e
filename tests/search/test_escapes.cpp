#include <QTest>

#include "search/escapes.h"

class TestEscapes : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void decodes_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("decoded");
    const auto row = [](const char* name, const char* text, const char* decoded) {
      QTest::newRow(name) << QString(text) << QString(decoded);
    };
    row("plain", "<p>", "<p>");
    row("empty", "", "");
    row("tab", "a%009b", "a\tb");
    row("line break", "%013%010<h1>", "\r\n<h1>");
    row("repeated", "%009%009", "\t\t");
    row("other codes stay", "%008%01%0130%", "%008%01\r0%");
    row("percent before a code", "%%009", "%\t");
    row("no code across a decoded one", "%0%0099", "%0\t9");
  }
  void decodes() {
    QFETCH(QString, text);
    QFETCH(QString, decoded);
    QCOMPARE(DecodeEscapes(text), decoded);
  }
};

QTEST_APPLESS_MAIN(TestEscapes)
#include "test_escapes.moc"
