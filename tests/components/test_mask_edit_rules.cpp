#include <QTest>

#include "components/mask_edit_rules.h"

Q_DECLARE_METATYPE(TMaskKind)
Q_DECLARE_METATYPE(TMaskEditState)

namespace {

constexpr auto PC = TMaskKind::Postcode;
constexpr auto TM = TMaskKind::Time;
constexpr auto DT = TMaskKind::Date;

const QString BS(QChar(8));

TMaskEditState St(const QString& text, int selStart, int selLength = 0) {
  return {text, selStart, selLength};
}

}  // namespace

class TestMaskEditRules : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void states();
  void valuesAndEntryText();
  void prepareKey_data();
  void prepareKey();
  void prepareDelete();
  void repair();
};

void TestMaskEditRules::states() {
  QCOMPARE(PostcodeState("1234AB"), psOK);
  QCOMPARE(PostcodeState("1000AB"), psOK);
  QCOMPARE(PostcodeState("0123AB"), psWrongNum);
  QCOMPARE(PostcodeState("1234FA"), psIllegalChars);
  QCOMPARE(PostcodeState("1234SA"), psIllegalChars);
  QCOMPARE(PostcodeState("1234A"), psNotFull);
  QCOMPARE(PostcodeState(""), psEmpty);
  QCOMPARE(PostcodeState("123"), psWrongNum);
  QCOMPARE(TimeState(":"), tsEmpty);
  QCOMPARE(TimeState("9:30"), tsOK);
  QCOMPARE(TimeState("24:00"), tsNoTime);
  QCOMPARE(TimeState("930"), tsNotFull);
  QCOMPARE(DateState("--"), dsEmpty);
  QCOMPARE(DateState("31-02-2001"), dsNoDate);
  QCOMPARE(DateState("01-01-1850"), dsToSmall);
  QCOMPARE(DateState("1-01-2001"), dsOK);
  QCOMPARE(DateState("01-1-2001"), dsNotFull);
  QCOMPARE(DateState("01-01-1900"), dsOK);
}

void TestMaskEditRules::valuesAndEntryText() {
  QCOMPARE(PostcodeFromText("1234AB"), QString("1234 AB"));
  QCOMPARE(PostcodeToText("1234 ab"), QString("1234AB"));
  QCOMPARE(PostcodeToText("5678cd"), QString("5678CD"));
  for (const char* bad : {"12a4AB", "1234 A1", "1234-AB"})
    QVERIFY2(PostcodeToText(bad).isNull(), bad);
  QCOMPARE(TimeValue("9:30"), QString("09:30"));
  QCOMPARE(TimeValue("24:00"), QString());
  QCOMPARE(DateValue("1-05-2001"), QString("1-05-2001"));
  QCOMPARE(DateValue("01-01-1850"), QString());
  QCOMPARE(DateValue("--"), QString());
  QCOMPARE(MaskEntryText(TM, "9:30"), QString("9:30"));
  QCOMPARE(MaskEntryText(TM, "25:00"), QString(":"));
  QCOMPARE(MaskEntryText(DT, "31-02-2001"), QString("--"));
  QCOMPARE(MaskEntryText(PC, "12"), QString("12"));
}

void TestMaskEditRules::prepareKey_data() {
  QTest::addColumn<TMaskKind>("kind");
  QTest::addColumn<TMaskEditState>("before");
  QTest::addColumn<QString>("key");
  QTest::addColumn<TMaskEditState>("after");
  QTest::addColumn<QString>("typed");  // empty: dropped; "!": rejected
  // clang-format off
  QTest::newRow("pc digit overwrites") << PC << St("1234AB", 0) << "5" << St("1234AB", 0, 1) << "5";
  QTest::newRow("pc digit at 4") << PC << St("1234AB", 4) << "5" << St("1234AB", 4) << "!";
  QTest::newRow("pc letter upper") << PC << St("1234", 4) << "z" << St("1234", 4) << "Z";
  QTest::newRow("pc letter at 6") << PC << St("1234AB", 6) << "A" << St("1234AB", 6) << "!";
  QTest::newRow("time digit before colon") << TM << St(":", 0) << "9" << St(":", 0) << "9";
  QTest::newRow("time colon pads hour") << TM << St("9:", 1) << ":" << St("09:", 3) << "";
  QTest::newRow("time colon at 2") << TM << St("09:", 2) << ":" << St("09:", 3) << "";
  QTest::newRow("time colon missing") << TM << St("09", 2) << ":" << St("09", 2) << ":";
  QTest::newRow("time colon at 4") << TM << St("09:30", 4) << ":" << St("09:30", 4) << "!";
  QTest::newRow("time digit steps over") << TM << St("09:30", 2) << "4" << St("09:30", 3, 1) << "4";
  QTest::newRow("time digit at 5") << TM << St("09:30", 5) << "1" << St("09:30", 5) << "!";
  QTest::newRow("time letter") << TM << St("09:30", 0) << "a" << St("09:30", 0) << "!";
  QTest::newRow("time bs behind colon") << TM << St("09:30", 3) << BS << St("09:30", 2) << BS;
  QTest::newRow("time bs behind colon at end") << TM << St("09:", 3) << BS << St("09:", 2) << BS;
  QTest::newRow("date dash pads day") << DT << St("1--", 1) << "-" << St("01--", 3) << "";
  QTest::newRow("date dash pads month") << DT << St("01-5-", 4) << "-" << St("01-05-", 6) << "";
  QTest::newRow("date dash at 2") << DT << St("01--", 2) << "-" << St("01--", 3) << "";
  QTest::newRow("date dash at 1 no dash") << DT << St("12--", 1) << "-" << St("12--", 1) << "!";
  QTest::newRow("date dash one missing") << DT << St("01", 2) << "-" << St("01", 2) << "-";
  QTest::newRow("date digit at 5") << DT << St("01-05-2001", 5) << "7" << St("01-05-2001", 6, 1) << "7";
  QTest::newRow("date digit at 10") << DT << St("01-05-2001", 10) << "1" << St("01-05-2001", 10) << "!";
  QTest::newRow("date bs with selection") << DT << St("01-05-2001", 6, 2) << BS << St("01-05-2001", 6, 2) << BS;
  QTest::newRow("date selection kept") << DT << St("01-05-2001", 0, 10) << "3" << St("01-05-2001", 0, 10) << "3";
  // clang-format on
}

void TestMaskEditRules::prepareKey() {
  QFETCH(TMaskKind, kind);
  QFETCH(TMaskEditState, before);
  QFETCH(QString, key);
  QFETCH(TMaskEditState, after);
  QFETCH(QString, typed);
  bool rejected = true;
  const QChar got = MaskPrepareKey(kind, key[0], before, rejected);
  QCOMPARE(rejected ? QString("!") : got.isNull() ? QString() : QString(got), typed);
  QCOMPARE(before.Text, after.Text);
  QCOMPARE(before.SelStart, after.SelStart);
  QCOMPARE(before.SelLength, after.SelLength);
}

void TestMaskEditRules::prepareDelete() {
  TMaskEditState s{"09:30", 2, 0};
  MaskPrepareDelete(TM, s);
  QCOMPARE(s.SelStart, 3);
  s = {"01-05-2001", 4, 0};
  MaskPrepareDelete(DT, s);
  QCOMPARE(s.SelStart, 4);
  s = {"09:30", 2, 3};  // a selection is deleted as it stands
  MaskPrepareDelete(TM, s);
  QCOMPARE(s.SelStart, 2);
}

void TestMaskEditRules::repair() {
  QCOMPARE(MaskRepair(PC, "12A"), QString("12"));
  QCOMPARE(MaskRepair(PC, "12345"), QString("1234"));
  QCOMPARE(MaskRepair(PC, "1234A"), QString("1234A"));
  QCOMPARE(MaskRepair(TM, "25:70"), QString("23:59"));
  QCOMPARE(MaskRepair(TM, ":5"), QString("0:5"));
  QCOMPARE(MaskRepair(TM, "7"), QString("7:"));
  QCOMPARE(MaskRepair(TM, ":"), QString(":"));
  QCOMPARE(MaskRepair(DT, "45-13-2001"), QString("31-12-2001"));
  QCOMPARE(MaskRepair(DT, "-5-2001"), QString("0-5-2001"));
  QCOMPARE(MaskRepair(DT, "1--2001"), QString("1-0-2001"));
  QCOMPARE(MaskRepair(DT, "12-3"), QString("12-3-"));
  QCOMPARE(MaskRepair(DT, "--"), QString("--"));
}

QTEST_APPLESS_MAIN(TestMaskEditRules)
#include "test_mask_edit_rules.moc"
