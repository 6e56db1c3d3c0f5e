#include <QTest>

#include "components/mask_edit_rules.h"

Q_DECLARE_METATYPE(TMaskKind)

namespace {

constexpr auto PC = TMaskKind::Postcode;
constexpr auto TM = TMaskKind::Time;
constexpr auto DT = TMaskKind::Date;

int StateOf(TMaskKind kind, const QString& text) {
  switch (kind) {
    case TMaskKind::Postcode:
      return PostcodeState(text);
    case TMaskKind::Time:
      return TimeState(text);
    case TMaskKind::Date:
      return DateState(text);
  }
  return -1;
}

const QString BS(QChar(8));

}  // namespace

class TestMaskEditRules : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void states_data();
  void states();
  void values();
  void prepareKey_data();
  void prepareKey();
  void prepareDelete();
  void repair_data();
  void repair();
  void entryText();
};

void TestMaskEditRules::states_data() {
  QTest::addColumn<TMaskKind>("kind");
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("state");
  QTest::newRow("pc ok") << PC << "1234AB" << int(psOK);
  QTest::newRow("pc leading zero") << PC << "0123AB" << int(psWrongNum);
  QTest::newRow("pc F") << PC << "1234FA" << int(psIllegalChars);
  QTest::newRow("pc SA") << PC << "1234SA" << int(psIllegalChars);
  QTest::newRow("pc ww lower") << PC << "1234ww" << int(psIllegalChars);
  QTest::newRow("pc empty") << PC << "" << int(psEmpty);
  QTest::newRow("pc one letter") << PC << "1234A" << int(psNotFull);
  QTest::newRow("pc short number") << PC << "123" << int(psWrongNum);
  QTest::newRow("pc letters in number") << PC << "12AB34" << int(psWrongNum);
  QTest::newRow("time empty") << TM << "" << int(tsEmpty);
  QTest::newRow("time colon") << TM << ":" << int(tsEmpty);
  QTest::newRow("time one-digit hour") << TM << "9:30" << int(tsOK);
  QTest::newRow("time full") << TM << "23:59" << int(tsOK);
  QTest::newRow("time too late") << TM << "24:00" << int(tsNoTime);
  QTest::newRow("time short minutes") << TM << "9:3" << int(tsNoTime);
  QTest::newRow("time no colon") << TM << "930" << int(tsNotFull);
  QTest::newRow("date empty") << DT << "--" << int(dsEmpty);
  QTest::newRow("date blank") << DT << " " << int(dsEmpty);
  QTest::newRow("date 31 Feb") << DT << "31-02-2001" << int(dsNoDate);
  QTest::newRow("date 1850") << DT << "01-01-1850" << int(dsToSmall);
  QTest::newRow("date one-digit day") << DT << "1-01-2001" << int(dsOK);
  QTest::newRow("date one-digit month") << DT << "01-1-2001" << int(dsNotFull);
  QTest::newRow("date no year") << DT << "01-01-" << int(dsNotFull);
  QTest::newRow("date 1900") << DT << "01-01-1900" << int(dsOK);
}

void TestMaskEditRules::states() {
  QFETCH(TMaskKind, kind);
  QFETCH(QString, text);
  QFETCH(int, state);
  QCOMPARE(StateOf(kind, text), state);
}

void TestMaskEditRules::values() {
  QCOMPARE(PostcodeFromText("1234AB"), QString("1234 AB"));
  QCOMPARE(PostcodeToText("1234 ab"), QString("1234AB"));
  QCOMPARE(PostcodeToText("5678cd"), QString("5678CD"));
  for (const char* bad : {"1234AB ", "12a4AB", "1234 A1", "1234-AB", "", "123 AB"})
    QVERIFY2(PostcodeToText(bad).isNull(), bad);
  QCOMPARE(TimeValue("9:30"), QString("09:30"));
  QCOMPARE(TimeValue("09:30"), QString("09:30"));
  QCOMPARE(TimeValue("24:00"), QString());
  QCOMPARE(DateValue("1-05-2001"), QString("01-05-2001"));
  QCOMPARE(DateValue("01-01-1850"), QString());
  QCOMPARE(DateValue("--"), QString());
}

void TestMaskEditRules::prepareKey_data() {
  QTest::addColumn<TMaskKind>("kind");
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("selStart");
  QTest::addColumn<int>("selLength");
  QTest::addColumn<QString>("key");
  QTest::addColumn<QString>("newText");
  QTest::addColumn<int>("newSelStart");
  QTest::addColumn<int>("newSelLength");
  QTest::addColumn<QString>("typed");  // empty: dropped or rejected
  QTest::addColumn<bool>("rejected");
  // clang-format off
  QTest::newRow("pc digit overwrites") << PC << "1234AB" << 0 << 0 << "5" << "1234AB" << 0 << 1 << "5" << false;
  QTest::newRow("pc digit at 4") << PC << "1234AB" << 4 << 0 << "5" << "1234AB" << 4 << 0 << "" << true;
  QTest::newRow("pc letter upper") << PC << "1234" << 4 << 0 << "a" << "1234" << 4 << 0 << "A" << false;
  QTest::newRow("pc letter at 5") << PC << "1234AB" << 5 << 0 << "c" << "1234AB" << 5 << 1 << "C" << false;
  QTest::newRow("pc letter at 3") << PC << "1234AB" << 3 << 0 << "A" << "1234AB" << 3 << 0 << "" << true;
  QTest::newRow("pc letter at 6") << PC << "1234AB" << 6 << 0 << "A" << "1234AB" << 6 << 0 << "" << true;
  QTest::newRow("pc blank") << PC << "1234" << 4 << 0 << " " << "1234" << 4 << 0 << "" << true;
  QTest::newRow("pc backspace") << PC << "1234AB" << 6 << 0 << BS << "1234AB" << 6 << 0 << BS << false;
  QTest::newRow("time digit before colon") << TM << ":" << 0 << 0 << "9" << ":" << 0 << 0 << "9" << false;
  QTest::newRow("time colon pads hour") << TM << "9:" << 1 << 0 << ":" << "09:" << 3 << 0 << "" << false;
  QTest::newRow("time colon at 2") << TM << "09:" << 2 << 0 << ":" << "09:" << 3 << 0 << "" << false;
  QTest::newRow("time colon missing") << TM << "09" << 2 << 0 << ":" << "09" << 2 << 0 << ":" << false;
  QTest::newRow("time colon at 4") << TM << "09:30" << 4 << 0 << ":" << "09:30" << 4 << 0 << "" << true;
  QTest::newRow("time digit steps over") << TM << "09:30" << 2 << 0 << "4" << "09:30" << 3 << 1 << "4" << false;
  QTest::newRow("time digit at 5") << TM << "09:30" << 5 << 0 << "1" << "09:30" << 5 << 0 << "" << true;
  QTest::newRow("time letter") << TM << "09:30" << 0 << 0 << "a" << "09:30" << 0 << 0 << "" << true;
  QTest::newRow("time bs behind colon") << TM << "09:30" << 3 << 0 << BS << "09:30" << 2 << 0 << BS << false;
  QTest::newRow("time bs in minutes") << TM << "09:30" << 4 << 0 << BS << "09:30" << 4 << 0 << BS << false;
  QTest::newRow("time bs at 1") << TM << "09:30" << 1 << 0 << BS << "09:30" << 1 << 0 << BS << false;
  QTest::newRow("date dash pads day") << DT << "1--" << 1 << 0 << "-" << "01--" << 3 << 0 << "" << false;
  QTest::newRow("date dash pads month") << DT << "01-5-" << 4 << 0 << "-" << "01-05-" << 6 << 0 << "" << false;
  QTest::newRow("date dash at 2") << DT << "01--" << 2 << 0 << "-" << "01--" << 3 << 0 << "" << false;
  QTest::newRow("date dash at 1 no dash") << DT << "12--" << 1 << 0 << "-" << "12--" << 1 << 0 << "" << true;
  QTest::newRow("date dash at 3") << DT << "01-05-2001" << 3 << 0 << "-" << "01-05-2001" << 3 << 0 << "" << true;
  QTest::newRow("date dash one missing") << DT << "01" << 2 << 0 << "-" << "01" << 2 << 0 << "-" << false;
  QTest::newRow("date digit at 5") << DT << "01-05-2001" << 5 << 0 << "7" << "01-05-2001" << 6 << 1 << "7" << false;
  QTest::newRow("date digit at 10") << DT << "01-05-2001" << 10 << 0 << "1" << "01-05-2001" << 10 << 0 << "" << true;
  QTest::newRow("date bs behind dash") << DT << "01-05-2001" << 6 << 0 << BS << "01-05-2001" << 5 << 0 << BS << false;
  QTest::newRow("date bs with selection") << DT << "01-05-2001" << 6 << 2 << BS << "01-05-2001" << 6 << 2 << BS << false;
  QTest::newRow("date selection kept") << DT << "01-05-2001" << 0 << 10 << "3" << "01-05-2001" << 0 << 10 << "3" << false;
  // clang-format on
}

void TestMaskEditRules::prepareKey() {
  QFETCH(TMaskKind, kind);
  QFETCH(QString, text);
  QFETCH(int, selStart);
  QFETCH(int, selLength);
  QFETCH(QString, key);
  QFETCH(QString, newText);
  QFETCH(int, newSelStart);
  QFETCH(int, newSelLength);
  QFETCH(QString, typed);
  QFETCH(bool, rejected);
  TMaskEditState s{text, selStart, selLength};
  bool wasRejected = true;
  const QChar got = MaskPrepareKey(kind, key[0], s, wasRejected);
  QCOMPARE(got.isNull() ? QString() : QString(got), typed);
  QCOMPARE(wasRejected, rejected);
  QCOMPARE(s.Text, newText);
  QCOMPARE(s.SelStart, newSelStart);
  QCOMPARE(s.SelLength, newSelLength);
}

void TestMaskEditRules::prepareDelete() {
  TMaskEditState s{"09:30", 2, 0};
  MaskPrepareDelete(TM, s);
  QCOMPARE(s.SelStart, 3);
  s = {"01-05-2001", 5, 0};
  MaskPrepareDelete(DT, s);
  QCOMPARE(s.SelStart, 6);
  s = {"01-05-2001", 4, 0};
  MaskPrepareDelete(DT, s);
  QCOMPARE(s.SelStart, 4);
  s = {"09:30", 2, 3};  // a selection is deleted as it stands
  MaskPrepareDelete(TM, s);
  QCOMPARE(s.SelStart, 2);
}

void TestMaskEditRules::repair_data() {
  QTest::addColumn<TMaskKind>("kind");
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("expected");
  QTest::newRow("pc upper") << PC << "1234ab" << "1234AB";
  QTest::newRow("pc letter in number") << PC << "12A" << "12";
  QTest::newRow("pc digit after number") << PC << "12345" << "1234";
  QTest::newRow("pc half done") << PC << "1234A" << "1234A";
  QTest::newRow("pc empty") << PC << "" << "";
  QTest::newRow("time capped") << TM << "25:70" << "23:59";
  QTest::newRow("time empty hour") << TM << ":5" << "0:5";
  QTest::newRow("time no colon") << TM << "7" << "7:";
  QTest::newRow("time bare colon") << TM << ":" << ":";
  QTest::newRow("time not a number") << TM << "a:" << "A:";
  QTest::newRow("date capped") << DT << "45-13-2001" << "31-12-2001";
  QTest::newRow("date empty day") << DT << "-5-2001" << "0-5-2001";
  QTest::newRow("date empty month") << DT << "1--2001" << "1-0-2001";
  QTest::newRow("date no dashes") << DT << "12" << "12--";
  QTest::newRow("date one dash") << DT << "12-3" << "12-3-";
  QTest::newRow("date bare dashes") << DT << "--" << "--";
}

void TestMaskEditRules::repair() {
  QFETCH(TMaskKind, kind);
  QFETCH(QString, text);
  QFETCH(QString, expected);
  QCOMPARE(MaskRepair(kind, text), expected);
}

void TestMaskEditRules::entryText() {
  QCOMPARE(MaskEntryText(TM, "9:30"), QString("9:30"));
  QCOMPARE(MaskEntryText(TM, "25:00"), QString(":"));
  QCOMPARE(MaskEntryText(DT, "1-01-2001"), QString("1-01-2001"));
  QCOMPARE(MaskEntryText(DT, "31-02-2001"), QString("--"));
  QCOMPARE(MaskEntryText(PC, "12"), QString("12"));
}

QTEST_APPLESS_MAIN(TestMaskEditRules)
#include "test_mask_edit_rules.moc"
