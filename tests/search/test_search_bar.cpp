// The main window's search bar on a real site, and the editor's search under it.
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "components/edit_controls.h"
#include "config/environment.h"
#include "doc/edit_file_info.h"
#include "search/results_window.h"
#include "window_fixture.h"

namespace {

QByteArray Lines(const QStringList& lines) { return (lines.join("\r\n") + "\r\n").toUtf8(); }

// Answers the replace questions in the order given, Cancel beyond them.
class TQuestions : public QObject {
 public:
  int Seen = 0;
  QPoint Pos;  // where the first one stood
  explicit TQuestions(QList<QMessageBox::StandardButton> answers) : FAnswers(answers) {
    connect(&FTimer, &QTimer::timeout, this, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->isVisible()) return;
      if (Seen++ == 0) Pos = box->pos();
      box->button(FAnswers.isEmpty() ? QMessageBox::Cancel : FAnswers.takeFirst())->click();
    });
    FTimer.start(5);
  }

 private:
  QList<QMessageBox::StandardButton> FAnswers;
  QTimer FTimer;
};

void Row(const char* name, const char* text, const char* find, bool caseSensitive, int start) {
  QTest::newRow(name) << QString(text) << QString(find) << caseSensitive << start;
}

}  // namespace

class TestSearchBar : public QObject {
  Q_OBJECT
  std::unique_ptr<TWindowFixture> F;
  TfrmMain* W = nullptr;

  // A new site whose first page, a.htm, holds lines; others beside it.
  bool Open(const QStringList& lines, const QList<QPair<QString, QStringList>>& others = {}) {
    cleanup();
    F = std::make_unique<TWindowFixture>();
    F->WriteSettings({{"AutoConversion", "2"}, {"QueryReplace", "TRUE"}});
    F->Page("a.htm", Lines(lines));
    for (const auto& [name, page] : others) F->Page(name, Lines(page));
    F->Open();
    W = F->Window();
    return W->FileInfo()->FileName.endsWith("/a.htm");
  }
  template <typename T>
  T* C(const char* name) const {
    return F->Control<T>(name);
  }
  TZELMemo& Memo() const { return *F->Editor(); }
  void Search(const QString& text) { C<QComboBox>("cmbSearch")->setEditText(text); }
  void Replace(const QString& text) { C<QComboBox>("cmbReplace")->setEditText(text); }
  bool FindFirst() const { return C<QCheckBox>("ckbFindFirst")->isChecked(); }
  QPair<int, int> Selection() const { return {Memo().SelStart(), Memo().SelLength()}; }
  int Beeps() const { return F->Desktop.Beeps(); }

 private Q_SLOTS:
  void cleanup() {
    if (W) W->hide();  // as closing does, before the window is destroyed
    W = nullptr;
    F.reset();
  }

  void editorSearch_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("find");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<int>("start");  // -1: not found
    Row("line break before a tag", "<h1>\r\n<p>", "\r\n<p>", false, 4);
    Row("not on the first line", "<p>x\r\n<b>", "\r\n<p>", false, -1);
    Row("A to Z fold", "x body", "BODY", false, 2);
    Row("case-sensitive", "Body body", "body", true, 5);
    Row("accent, other case", "ébène", "ÉBÈNE", false, -1);
    Row("accent kept, A to Z folded", "ÉbÈne", "ÉBÈNE", false, 0);
    Row("after wide characters", "€ 𝄞 tag", "TAG", false, 4);
    Row("empty", "abc", "", false, -1);
  }
  void editorSearch() {
    QFETCH(QString, text);
    QFETCH(QString, find);
    QFETCH(bool, caseSensitive);
    QFETCH(int, start);
    TZELMemo memo;
    memo.SetTextBytes(text.toStdString());
    memo.SetCaseSensitive(caseSensitive);
    memo.SetSelStart(1);
    QCOMPARE(memo.FindFirstText(find), start >= 0);
    if (start >= 0) QCOMPARE(memo.SelStart(), start);
    QCOMPARE(memo.SelLength(), start >= 0 ? int(find.toUcs4().size()) : 0);
    if (start < 0) QCOMPARE(memo.SelStart(), 1);
  }

  void findNextStartsAfterSelectionStart() {
    TZELMemo memo;
    memo.SetTextBytes("aaa ébb ébb");
    QVERIFY(memo.FindFirstText("aa"));
    QVERIFY(memo.FindNextText("aa"));  // overlapping, one on from the hit
    QCOMPARE(memo.SelStart(), 1);
    QVERIFY(!memo.FindNextText("aa"));
    QCOMPARE(memo.SelStart(), 1);
    QVERIFY(memo.FindFirstText("ébb"));
    QVERIFY(memo.FindNextText("ébb"));  // a two-byte first character
    QCOMPARE(memo.SelStart(), 8);
    // After a replacement the caret stands right before the next hit.
    memo.SetSelStart(4);
    QVERIFY(memo.FindNextText("ébb"));
    QCOMPARE(memo.SelStart(), 4);
    QCOMPARE(memo.CaretCol(), 4);  // the search reported the position
    memo.SetSelStart(11);
    QVERIFY(!memo.FindNextText("b"));
    // Only the first 255 characters count.
    memo.SetTextBytes(std::string(255, 'x') + "y");
    QVERIFY(memo.FindFirstText(QString(255, 'x') + "z"));
  }

  void hitsAcrossScintillasGap() {
    TZELMemo memo;
    memo.SetTextBytes("one word; two wrd; three word");
    memo.SetSelStart(15);
    memo.SetSelText("o");  // "two wo|rd": the gap splits the second hit
    QCOMPARE(memo.SendScintilla(QsciScintillaBase::SCI_GETGAPPOSITION), 16L);
    QList<int> hits;
    for (bool found = memo.FindFirstText("word"); found; found = memo.FindNextText("word"))
      hits << memo.SelStart();
    QCOMPARE(hits, QList<int>({4, 14, 26}));
  }

  void walksFromHitToHit() {
    QVERIFY(Open({"<p>one</p>", "<P>two</P>", "<p>three</p>"}));
    Search("<p>");
    QVERIFY(FindFirst());
    W->bbtSearchClick();
    QCOMPARE(Selection(), qMakePair(0, 3));
    QVERIFY(!FindFirst());
    QTest::keyClick(C<QComboBox>("cmbSearch"), Qt::Key_Return);  // Enter in the box
    QCOMPARE(Selection(), qMakePair(12, 3));
    QTest::keyClick(Memo().viewport(), Qt::Key_F3);
    QCOMPARE(Selection(), qMakePair(24, 3));
    W->bbtSearchClick();  // past the last hit
    QCOMPARE(Beeps(), 1);
    QVERIFY(!W->Found && FindFirst());
    QCOMPARE(Selection(), qMakePair(24, 3));
    W->bbtSearchClick();  // from the top again
    QCOMPARE(Selection(), qMakePair(0, 3));
    C<QCheckBox>("ckbCaseSens")->setChecked(true);
    W->bbtSearchClick();
    QCOMPARE(Selection(), qMakePair(24, 3));
    // A changed search text starts at the top; escapes are decoded.
    Search("</p>%013%010<p>");
    QVERIFY(FindFirst());
    W->bbtSearchClick();  // each line break has a capital P beside it
    QCOMPARE(Beeps(), 2);
    C<QCheckBox>("ckbCaseSens")->setChecked(false);
    W->bbtSearchClick();
    QCOMPARE(Selection(), qMakePair(6, 9));
    QVERIFY(!W->FileInfo()->Modified);
  }

  void replacesWithoutQuestions() {
    QVERIFY(Open({"catcat, a Cat", "CATALOG"}));
    C<QCheckBox>("ckbQReplace")->setChecked(false);
    QVERIFY(!Environment->QueryReplace);
    Search("cat");
    Replace("cats");  // holds the search text: must not go round for ever
    TQuestions questions({});
    W->bbtReplaceAllClick();
    QCOMPARE(F->Text(), QString("catscats, a cats\r\ncatsALOG\r\n"));
    QCOMPARE(questions.Seen, 0);
    QCOMPARE(Beeps(), 1);
    QVERIFY(FindFirst() && !W->Found);
    QCOMPARE(Selection(), qMakePair(22, 0));  // behind the last replacement
    QVERIFY(W->FileInfo()->Modified);
    Memo().undo();  // one edit
    QCOMPARE(F->Text(), QString("catcat, a Cat\r\nCATALOG\r\n"));
    // One by one: the next hit starts right behind the replacement.
    Replace("dog%009");
    W->bbtReplaceClick();
    W->bbtReplaceClick();
    QCOMPARE(F->Text(), QString("dog\tdog\t, a Cat\r\nCATALOG\r\n"));
    QCOMPARE(Selection(), qMakePair(8, 0));
    QVERIFY(!FindFirst());
    QCOMPARE(Beeps(), 1);
    Search("bird");
    W->bbtReplaceAllClick();
    QCOMPARE(Beeps(), 2);
    QCOMPARE(F->Text(), QString("dog\tdog\t, a Cat\r\nCATALOG\r\n"));
  }

  void replacesAllWithQuestions() {
    QVERIFY(Open({"x1 x2 x3 x4"}));
    Search("x");
    Replace("y");
    {
      TQuestions questions({QMessageBox::Yes, QMessageBox::No, QMessageBox::Yes, QMessageBox::Yes});
      W->bbtReplaceAllClick();
      QCOMPARE(questions.Seen, 4);
      const QPoint near = C<QPushButton>("bbtSearch")->mapToGlobal(QPoint(24, 12));
      QVERIFY2((questions.Pos - near).manhattanLength() < 60, "by the search button");
    }
    QCOMPARE(F->Text(), QString("y1 x2 y3 y4\r\n"));
    QCOMPARE(Beeps(), 1);
    QVERIFY(W->FileInfo()->Modified);
    Memo().undo();
    {
      TQuestions questions({QMessageBox::Yes, QMessageBox::Cancel});
      W->bbtReplaceAllClick();
      QCOMPARE(questions.Seen, 2);
    }
    QCOMPARE(F->Text(), QString("y1 x2 x3 x4\r\n"));
    QCOMPARE(Beeps(), 1);  // Cancel ends without one
    QCOMPARE(Selection(), qMakePair(3, 1));
  }

  void keepsShortHistories() {
    QVERIFY(Open({"alpha"}));
    auto* box = C<QComboBox>("cmbSearch");
    Search("Alpha");
    Replace("Beta");
    W->bbtSearchClick();
    const int count = box->count();
    Search("ALPHA");  // the same, in another case
    W->bbtSearchClick();
    QCOMPARE(box->count(), count);
    QCOMPARE(C<QComboBox>("cmbReplace")->itemText(0), QString("Beta"));
    for (int i = 1; i <= 12; ++i) {
      Search(QString("w%1").arg(i));
      W->bbtSearchClick();
    }
    QCOMPARE(box->count(), 10);
    QCOMPARE(box->itemText(0), QString("w12"));
    Search("W5");  // used again: keeps its place
    W->bbtSearchClick();
    QCOMPARE(box->count(), 10);
    QCOMPARE(box->currentText(), QString("W5"));
  }

  void goesToLine() {
    QVERIFY(Open({"", "second", "third"}));
    auto* line = C<TIntEdit>("iedGoto");
    Memo().SetSelStart(8);
    line->setText("1");
    W->bbtGotoClick(nullptr);
    QCOMPARE(Selection(), qMakePair(0, 0));
    QVERIFY(Memo().hasFocus());
    line->setText("3");
    W->bbtGotoClick(nullptr);
    QCOMPARE(Selection(), qMakePair(10, 0));
    for (const char* bad : {"9", "0"}) {
      line->setText(bad);
      W->bbtGotoClick(nullptr);
      QCOMPARE(Selection(), qMakePair(10, 0));
    }
    // A button press from elsewhere first goes to the line field.
    line->setText("2");
    W->bbtGotoClick(C<QPushButton>("bbtGoto"));
    QTRY_VERIFY(line->hasFocus());
    QCOMPARE(Selection(), qMakePair(10, 0));
    QTest::keyClick(line, Qt::Key_Return);
    QCOMPARE(Selection(), qMakePair(2, 0));
    QTRY_VERIFY(Memo().hasFocus());
  }

  // The results, their order and form are the core's; here only the wiring.
  void searchesAllFiles() {
    QVERIFY(Open({"a Word", "word"}, {{"b.htm", {"1", "WORD"}}, {"c.htm", {"none"}}}));
    TfrmResults* results = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* r = qobject_cast<TfrmResults*>(w)) results = r;
    QVERIFY(results);
    Search("word");
    auto* all = C<QCheckBox>("ckbSearchAll");
    all->setChecked(true);
    QVERIFY(!C<QPushButton>("bbtReplace")->isEnabled());
    Memo().SetSelStart(3);
    W->bbtSearchClick();
    QTRY_VERIFY(results->isVisible());
    QCOMPARE(results->lbxResults->count(), 3);
    QCOMPARE(results->lbxResults->item(2)->text(), QString("#   2 b.htm"));
    QCOMPARE(Selection(), qMakePair(3, 0));
    QCOMPARE(Beeps(), 0);
    all->setChecked(false);
    QVERIFY(C<QPushButton>("bbtReplace")->isEnabled());
  }
};

QTEST_MAIN(TestSearchBar)
#include "test_search_bar.moc"
