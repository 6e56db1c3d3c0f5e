// The search bar of the main window on a real site folder, and the editor's
// own text search underneath it.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "doc/edit_file_info.h"
#include "app/main_window.h"
#include "app/memo.h"
#include "components/edit_controls.h"
#include "config/environment.h"
#include "desktop_stub.h"
#include "search/results_window.h"

namespace {

bool WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray Page(const QStringList& lines) {
  QByteArray bytes;
  for (const QString& line : lines) bytes += line.toUtf8() + "\r\n";
  return bytes;
}

QString Text(const TZELMemo& memo) { return QString::fromStdString(memo.TextBytes()); }

// Answers the replace questions as they come up, in the order given, and
// records what each showed. A question beyond the answers gets Cancel.
class TQuestions : public QObject {
 public:
  struct TSeen {
    QString Title, Text;
    QMessageBox::Icon Icon;
    QMessageBox::StandardButtons Buttons;
    QPoint Pos;
  };
  QList<TSeen> Seen;
  int Unexpected = 0;

  explicit TQuestions(QList<QMessageBox::StandardButton> answers) : FAnswers(answers) {
    connect(&FTimer, &QTimer::timeout, this, [this] { Poll(); });
    FTimer.start(5);
  }

 private:
  void Poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    Seen.append({box->windowTitle(), box->text(), box->icon(), box->standardButtons(), box->pos()});
    if (FAnswers.isEmpty()) ++Unexpected;
    box->button(FAnswers.isEmpty() ? QMessageBox::Cancel : FAnswers.takeFirst())->click();
  }
  QList<QMessageBox::StandardButton> FAnswers;
  QTimer FTimer;
};

}  // namespace

class TestSearchBar : public QObject {
  Q_OBJECT
  std::unique_ptr<TDesktopStub> Desk;
  std::unique_ptr<TfrmMain> W;
  int Sites = 0;

  template <typename T>
  T* C(const char* name) const {
    T* control = W->findChild<T*>(name);
    if (!control) qFatal("no control %s", name);
    return control;
  }
  TZELMemo& Memo() const { return *W->Editor(); }

  // Opens the main window on a new site folder whose first page, a.htm,
  // holds Lines; Others are written beside it.
  bool Open(const QStringList& lines, const QList<QPair<QString, QStringList>>& others = {}) {
    const QString site = qEnvironmentVariable("QUILLMERE_TEST_TMP") + "/site" +
                         QString::number(++Sites);
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME") + "/quillmere";
    if (!QDir().mkpath(site) || !QDir().mkpath(config)) return false;
    bool ok = WriteFile(site + "/a.htm", Page(lines));
    for (const auto& [name, page] : others) ok = ok && WriteFile(site + "/" + name, Page(page));
    ok = ok && WriteFile(config + "/quillmere.ini",
                         "[Settings]\r\nWorkingDir=" + site.toUtf8() +
                             "/\r\nDelEmptyLines=FALSE\r\nAutoConversion=2\r\n"
                             "LastSearch=\r\nReplace=\r\nQueryReplace=TRUE\r\n");
    cleanup();
    Desk = std::make_unique<TDesktopStub>();
    W = std::make_unique<TfrmMain>();
    W->ConnectSearchBar();
    W->show();
    W->activateWindow();
    return ok && QTest::qWaitForWindowActive(W.get()) &&
           QTest::qWaitFor([this] { return !W->Starting(); }) &&
           W->FileInfo()->FileName.endsWith("/a.htm");
  }
  void Search(const QString& text) { C<QComboBox>("cmbSearch")->setEditText(text); }
  void Replace(const QString& text) { C<QComboBox>("cmbReplace")->setEditText(text); }
  bool FindFirst() const { return C<QCheckBox>("ckbFindFirst")->isChecked(); }
  QPair<int, int> Selection() const { return {Memo().SelStart(), Memo().SelLength()}; }

 private Q_SLOTS:
  void init() { Desk = std::make_unique<TDesktopStub>(); }
  void cleanup() {
    if (W) W->hide();  // as closing does, before the window is destroyed
    W.reset();
    Desk.reset();
  }

  void editorSearch_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("find");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<int>("start");  // -1: not found
    QTest::newRow("line break before a tag") << "<h1>\r\n<p>" << "\r\n<p>" << false << 4;
    QTest::newRow("not on the first line") << "<p>x\r\n<b>" << "\r\n<p>" << false << -1;
    QTest::newRow("A to Z fold") << "x body" << "BODY" << false << 2;
    QTest::newRow("case-sensitive") << "Body body" << "body" << true << 5;
    QTest::newRow("accent in its case") << "ébène ÉBÈNE" << "ÉBÈNE" << false << 6;
    QTest::newRow("accent, other case") << "ébène" << "ÉBÈNE" << false << -1;
    QTest::newRow("accent, other case 2") << "ÉBÈNE" << "ébène" << false << -1;
    QTest::newRow("accent kept, A to Z folded") << "ÉbÈne" << "ÉBÈNE" << false << 0;
    QTest::newRow("after wide characters") << "€ 𝄞 tag" << "TAG" << false << 4;
    QTest::newRow("empty") << "abc" << "" << false << -1;
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
    // An edit leaves Scintilla's gap where it was made; hits before it,
    // across it and after it must all be found, in order.
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
    QCOMPARE(Desk->Beeps(), 0);
    W->bbtSearchClick();  // past the last hit
    QCOMPARE(Desk->Beeps(), 1);
    QVERIFY(!W->Found);
    QVERIFY(FindFirst());
    QCOMPARE(Selection(), qMakePair(24, 3));
    W->bbtSearchClick();  // from the top again
    QCOMPARE(Selection(), qMakePair(0, 3));
    C<QCheckBox>("ckbCaseSens")->setChecked(true);
    QVERIFY(Environment->CaseSensitive);
    W->bbtSearchClick();
    QCOMPARE(Selection(), qMakePair(24, 3));
    // A changed search text starts at the top; escapes are decoded.
    Search("</p>%013%010<p>");
    QVERIFY(FindFirst());
    QCOMPARE(Environment->LastSearch, QString("</p>%013%010<p>"));
    QCOMPARE(W->SearchText, QString("</p>\r\n<p>"));
    W->bbtSearchClick();  // each line break has a capital P beside it
    QCOMPARE(Desk->Beeps(), 2);
    C<QCheckBox>("ckbCaseSens")->setChecked(false);
    W->bbtSearchClick();
    QCOMPARE(Selection(), qMakePair(6, 9));
    QVERIFY(!W->FileInfo()->Modified);
  }

  void replacesOneByOne() {
    QVERIFY(Open({"catcat cat"}));
    C<QCheckBox>("ckbQReplace")->setChecked(false);
    QVERIFY(!Environment->QueryReplace);
    Search("cat");
    Replace("dog%009");
    W->bbtReplaceClick();
    QCOMPARE(Text(Memo()), QString("dog\tcat cat\r\n"));
    QCOMPARE(Selection(), qMakePair(4, 0));
    QVERIFY(!FindFirst());
    QVERIFY(W->FileInfo()->Modified);
    W->bbtReplaceClick();  // the hit right behind the replacement
    W->bbtReplaceClick();
    QCOMPARE(Text(Memo()), QString("dog\tdog\t dog\t\r\n"));
    QCOMPARE(Desk->Beeps(), 0);
    W->bbtReplaceClick();
    QCOMPARE(Desk->Beeps(), 1);
  }

  void replacesAllWithoutQuestions() {
    QVERIFY(Open({"a cat, a Cat", "CATALOG"}));
    C<QCheckBox>("ckbQReplace")->setChecked(false);
    Search("cat");
    Replace("cats");  // holds the search text: must not go round for ever
    TQuestions questions({});
    W->bbtReplaceAllClick();
    QCOMPARE(Text(Memo()), QString("a cats, a cats\r\ncatsALOG\r\n"));
    QCOMPARE(questions.Seen.size(), 0);
    QCOMPARE(Desk->Beeps(), 1);
    QVERIFY(FindFirst());
    QVERIFY(!W->Found);
    QCOMPARE(Selection(), qMakePair(20, 0));  // behind the last replacement
    QVERIFY(W->FileInfo()->Modified);
    Memo().undo();  // one edit
    QCOMPARE(Text(Memo()), QString("a cat, a Cat\r\nCATALOG\r\n"));
    Search("dog");
    W->bbtReplaceAllClick();
    QCOMPARE(Desk->Beeps(), 2);
    QCOMPARE(Text(Memo()), QString("a cat, a Cat\r\nCATALOG\r\n"));
  }

  void replacesAllWithQuestions() {
    QVERIFY(Open({"x1 x2 x3 x4"}));
    Search("x");
    Replace("y");
    {
      TQuestions questions({QMessageBox::Yes, QMessageBox::No, QMessageBox::Yes, QMessageBox::Yes});
      W->bbtReplaceAllClick();
      QCOMPARE(questions.Seen.size(), 4);
      QCOMPARE(questions.Unexpected, 0);
      const TQuestions::TSeen& q = questions.Seen[0];
      QCOMPARE(q.Title, QString("Confirm"));
      QCOMPARE(q.Text, QString("Replace this occurrence?"));
      QCOMPARE(q.Icon, QMessageBox::Question);
      QCOMPARE(q.Buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      auto* bbtSearch = C<QPushButton>("bbtSearch");
      const QPoint near = bbtSearch->mapToGlobal(QPoint(24, 12));
      QVERIFY2((q.Pos - near).manhattanLength() < 60, "the question stands by the search button");
    }
    QCOMPARE(Text(Memo()), QString("y1 x2 y3 y4\r\n"));
    QCOMPARE(Desk->Beeps(), 1);
    QVERIFY(W->FileInfo()->Modified);

    QVERIFY(Open({"x1 x2 x3 x4"}));
    Search("x");
    Replace("y");
    {
      TQuestions questions({QMessageBox::Yes, QMessageBox::Cancel});
      W->bbtReplaceAllClick();
      QCOMPARE(questions.Seen.size(), 2);
    }
    QCOMPARE(Text(Memo()), QString("y1 x2 x3 x4\r\n"));
    QCOMPARE(Desk->Beeps(), 0);  // Cancel ends without one
    QCOMPARE(Selection(), qMakePair(3, 1));
  }

  void keepsShortHistories() {
    QVERIFY(Open({"alpha"}));
    auto* box = C<QComboBox>("cmbSearch");
    auto* replace = C<QComboBox>("cmbReplace");
    Search("Alpha");
    Replace("Beta");
    W->bbtSearchClick();
    const int count = box->count();
    Search("ALPHA");
    W->bbtSearchClick();
    QCOMPARE(box->count(), count);
    QCOMPARE(box->itemText(0), QString("Alpha"));
    QCOMPARE(replace->itemText(0), QString("Beta"));
    for (int i = 1; i <= 12; ++i) {
      Search(QString("w%1").arg(i));
      W->bbtSearchClick();
      QCOMPARE(box->currentText(), QString("w%1").arg(i));
    }
    QCOMPARE(box->count(), 10);
    QCOMPARE(box->itemText(0), QString("w12"));
    Search("W5");  // used again: keeps its place
    W->bbtSearchClick();
    QCOMPARE(box->itemText(0), QString("w12"));
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

  void searchesAllFiles() {
    QVERIFY(Open({"1", "2", "a Word", "4", "5", "6", "7", "8", "9", "word"},
                 {{"b.htm", {"1", "2", "3", "4", "5", "6", "WORD"}}, {"c.htm", {"none"}}}));
    TfrmResults* results = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* r = qobject_cast<TfrmResults*>(w)) results = r;
    if (!results) QSKIP("the main window makes no results window yet");
    Search("word");
    auto* all = C<QCheckBox>("ckbSearchAll");
    all->setChecked(true);
    QVERIFY(!C<QPushButton>("bbtReplace")->isEnabled());
    Memo().SetSelStart(3);
    W->bbtSearchClick();
    QTRY_VERIFY(results->isVisible());
    QCOMPARE(results->lbxResults->count(), 3);
    QCOMPARE(results->lbxResults->item(0)->text(), QString("#   3 a.htm"));
    QCOMPARE(results->lbxResults->item(1)->text(), QString("#  10 a.htm"));
    QCOMPARE(results->lbxResults->item(2)->text(), QString("#   7 b.htm"));
    QCOMPARE(results->lblResCount->text(), QString("3"));
    QCOMPARE(results->lbxResults->currentRow(), 0);
    QCOMPARE(Selection(), qMakePair(3, 0));
    QCOMPARE(Desk->Beeps(), 0);
    all->setChecked(false);
    QVERIFY(C<QPushButton>("bbtReplace")->isEnabled());
  }
};

QTEST_MAIN(TestSearchBar)
#include "test_search_bar.moc"
