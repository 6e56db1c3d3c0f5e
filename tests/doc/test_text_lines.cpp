#include <QTest>

#include "doc/text_lines.h"

class TestTextLines : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void split_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<QByteArray>>("lines");
    using L = QList<QByteArray>;
    QTest::newRow("empty") << QByteArray() << L{};
    QTest::newRow("no break") << QByteArray("abc") << L{"abc"};
    QTest::newRow("final LF") << QByteArray("a\n") << L{"a"};
    QTest::newRow("final CR LF") << QByteArray("a\r\n") << L{"a"};
    QTest::newRow("final CR") << QByteArray("a\r") << L{"a"};
    QTest::newRow("only a break") << QByteArray("\r\n") << L{""};
    QTest::newRow("mixed") << QByteArray("a\nb\r\n\rc") << L{"a", "b", "", "c"};
    QTest::newRow("LF CR is two breaks") << QByteArray("a\n\rb") << L{"a", "", "b"};
    QTest::newRow("CR CR LF") << QByteArray("\r\r\n") << L{"", ""};
    QTest::newRow("CR only file") << QByteArray("a\rb\rc") << L{"a", "b", "c"};
    QTest::newRow("empty lines kept") << QByteArray("\n\na\n\n") << L{"", "", "a", ""};
    QTest::newRow("NUL inside") << QByteArray("a\0b\n\0", 5)
                                << L{QByteArray("a\0b", 3), QByteArray("\0", 1)};
  }

  // Every row is also fed in two pieces at every cut, as a file arrives in
  // chunks: a CR LF split between pieces stays one break.
  void split() {
    QFETCH(QByteArray, text);
    QFETCH(QList<QByteArray>, lines);
    TLines expected;
    for (const QByteArray& line : lines) expected.push_back(line.toStdString());
    QCOMPARE(SplitLines(std::string_view(text.constData(), text.size())), expected);
    for (qsizetype cut = 0; cut <= text.size(); ++cut) {
      TLines got;
      TLineSplitter splitter(got);
      splitter.Feed(text.constData(), std::size_t(cut));
      splitter.Feed(text.constData() + cut, 0);
      splitter.Feed(text.constData() + cut, std::size_t(text.size() - cut));
      splitter.Finish();
      QVERIFY2(got == expected, qPrintable(QStringLiteral("cut at %1").arg(cut)));
    }
  }

  void join() {
    QCOMPARE(JoinLines({}), std::string());
    QCOMPARE(JoinLines({""}), std::string());
    QCOMPARE(JoinLines({"a", "", "b"}), std::string("a\r\n\r\nb"));
    const TLines lines = {"x", std::string("\0y", 2), "", "z"};
    QCOMPARE(SplitLines(JoinLines(lines)), lines);
  }
};

QTEST_APPLESS_MAIN(TestTextLines)
#include "test_text_lines.moc"
