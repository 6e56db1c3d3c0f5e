#include <QTest>

#include "search/escapes.h"

class TestEscapes : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void decodes_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("decoded");
    QTest::newRow("plain") << "<p>"
                           << "<p>";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("tab") << "a%009b"
                         << "a\tb";
    QTest::newRow("line break") << "%013%010<h1>"
                                << "\r\n<h1>";
    QTest::newRow("repeated") << "%009%009"
                              << "\t\t";
    QTest::newRow("other codes stay") << "%008%01%0130%"
                                      << "%008%01\r0%";
    QTest::newRow("percent before a code") << "%%009"
                                           << "%\t";
    QTest::newRow("no code across a decoded one") << "%0%0099"
                                                  << "%0\t9";
  }
  void decodes() {
    QFETCH(QString, text);
    QFETCH(QString, decoded);
    QCOMPARE(DecodeEscapes(text), decoded);
  }
};

QTEST_APPLESS_MAIN(TestEscapes)
#include "test_escapes.moc"
