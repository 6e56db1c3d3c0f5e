#include <QTest>

#include "components/text_codec.h"

static QByteArray Bytes(std::string_view s) { return QByteArray(s.data(), qsizetype(s.size())); }

class TestTextCodec : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void utf8Validity_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("valid");
    QTest::newRow("empty") << QByteArray() << true;
    QTest::newRow("ascii with NUL") << QByteArray("a\0b\r\n", 5) << true;
    QTest::newRow("two bytes") << QByteArray("\xC3\xA9") << true;
    QTest::newRow("three bytes") << QByteArray("\xE2\x82\xAC") << true;
    QTest::newRow("four bytes") << QByteArray("\xF0\x9F\x98\x80") << true;
    QTest::newRow("above highest") << QByteArray("\xF4\x90\x80\x80") << false;
    QTest::newRow("overlong two") << QByteArray("\xC0\x80") << false;
    QTest::newRow("overlong three") << QByteArray("\xE0\x80\x80") << false;
    QTest::newRow("overlong four") << QByteArray("\xF0\x8F\xBF\xBF") << false;
    QTest::newRow("four bytes, low lead") << QByteArray("\xF1\x80\x80\x80") << true;
    QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << false;
    QTest::newRow("lone continuation") << QByteArray("a\x80") << false;
    QTest::newRow("cut at end") << QByteArray("ab\xE2\x82") << false;
    QTest::newRow("latin-1 e acute") << QByteArray("caf\xE9") << false;
    QTest::newRow("long ascii then bad") << QByteArray(40, 'a') + "\xC3" << false;
  }

  void utf8Validity() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, valid);
    QCOMPARE(IsValidUtf8(std::string_view(bytes.constData(), bytes.size())), valid);
  }

  // A file is checked chunk by chunk: a character split across chunks is
  // still one character.
  void utf8ValidityInPieces() {
    const std::string text = "a\xF0\x9F\x98\x80 \xE2\x82\xAC\xC3\xA9";
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
      TUtf8Validator validator;
      validator.Feed(text.data(), cut);
      validator.Feed(text.data() + cut, text.size() - cut);
      QVERIFY2(validator.Finish(), qPrintable(QString::number(cut)));
    }
    TUtf8Validator cut;
    cut.Feed("\xE2\x82", 2);
    QVERIFY(!cut.Finish());
    TUtf8Validator stays;
    QVERIFY(!stays.Feed("\xFF", 1));
    QVERIFY(!stays.Feed("abc", 3));
  }

  void windows1252RoundTrip() {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::string utf8 = Windows1252ToUtf8(all);
    QVERIFY(IsValidUtf8(utf8));
    std::string inPlace = all;
    Windows1252ToUtf8InPlace(inPlace);
    QCOMPARE(Bytes(inPlace), Bytes(utf8));
    std::string back;
    QVERIFY(Utf8ToWindows1252(utf8, back));
    QCOMPARE(Bytes(back), Bytes(all));

    QCOMPARE(Windows1252ToUtf8("\x80"), std::string("\xE2\x82\xAC"));  // euro sign
    QCOMPARE(Windows1252ToUtf8("\xE9"), std::string("\xC3\xA9"));
    for (unsigned char undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
      QCOMPARE(Windows1252Code(undefined), char32_t(undefined));
    QCOMPARE(Windows1252Code(0x9F), char32_t(0x178));
    QCOMPARE(Utf8FromCode(0x80), std::string("\xC2\x80"));
    QCOMPARE(Utf8FromCode(0x1F600), std::string("\xF0\x9F\x98\x80"));
    std::string ascii = "plain";
    Windows1252ToUtf8InPlace(ascii);
    QCOMPARE(ascii, std::string("plain"));
  }

  void windows1252Encode_data() {
    QTest::addColumn<QByteArray>("utf8");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QByteArray>("bytes");  // what was appended
    QTest::addColumn<int>("failPos");
    QTest::newRow("ascii") << QByteArray("abc") << true << QByteArray("abc") << -1;
    QTest::newRow("euro") << QByteArray("1\xE2\x82\xAC") << true << QByteArray("1\x80") << -1;
    QTest::newRow("undefined byte") << QByteArray("\xC2\x90") << true << QByteArray("\x90") << -1;
    QTest::newRow("arrow") << QByteArray(
                                  "ab\xE2\x86\x92"
                                  "c")
                           << false << QByteArray("ab") << 2;
    QTest::newRow("C1 other than the five") << QByteArray("\xC2\x80") << false << QByteArray() << 0;
    QTest::newRow("emoji") << QByteArray("\xC3\xA9\xF0\x9F\x98\x80") << false << QByteArray("\xE9")
                           << 2;
    QTest::newRow("not utf-8") << QByteArray("x\xE9y") << false << QByteArray("x") << 1;
  }

  void windows1252Encode() {
    QFETCH(QByteArray, utf8);
    QFETCH(bool, ok);
    QFETCH(QByteArray, bytes);
    QFETCH(int, failPos);
    std::string out;
    std::size_t pos = 999;
    QCOMPARE(Utf8ToWindows1252(std::string_view(utf8.constData(), utf8.size()), out, &pos), ok);
    QCOMPARE(Bytes(out), bytes);
    if (!ok) QCOMPARE(pos, std::size_t(failPos));
  }
};

QTEST_APPLESS_MAIN(TestTextCodec)
#include "test_text_codec.moc"
