// The journal of a site-wide change: what the next start does with a change
// that was interrupted at each of its steps, and which journals stay.
#include <QTest>

#include "doc/checked_write_batch.h"
#include "site/site_journal.h"
#include "site_files.h"

class TestSiteJournal : public TSiteFiles {
  Q_OBJECT

  // A change of four files interrupted after its journal was made durable:
  // a.html already renamed, b.html still a staged temporary, c.html changed by
  // another program since, d.html failed to stage.
  std::unique_ptr<TSiteJournal> Interrupted(TJournalState state) {
    for (const char* n : {"a.html", "b.html", "c.html", "d.html"})
      WriteBytes(F(n), "old " + QByteArray(n));
    auto j = TSiteJournal::Begin(Site, "replace", "old by new",
                                 {F("a.html"), F("b.html"), F("c.html"), F("d.html")});
    for (int i = 0; i < 3; ++i) {
      const QByteArray name = QFileInfo(j->Files()[std::size_t(i)].Path).fileName().toLatin1();
      j->KeepOriginal(i, "old " + name, "new " + name, {});
    }
    j->Files()[3].State = TJournalFileState::Failed;
    j->Save(state);
    WriteBytes(F("a.html"), "new a.html");
    WriteBytes(TCheckedWriteBatch::StagedNameFor(F("b.html"), j->TempSuffix()), "new b.html");
    WriteBytes(F("c.html"), "someone else's");
    return j;
  }

 private Q_SLOTS:
  void init() { NewSite(); }

  void rollBackAtNextStart() {
    const QString folder = Interrupted(TJournalState::Prepared)->Folder();
    // The change's own lock went with its object, as with a killed process.
    const auto texts = TSiteJournal::RecoverInterrupted();
    QCOMPARE(int(texts.size()), 1);
    QCOMPARE(texts[0].Root, TSiteJournal::RootKey(Site));
    QVERIFY(texts[0].Text.contains("rolled back"));
    QVERIFY(texts[0].Text.contains("1 file put back."));
    QVERIFY(texts[0].Text.contains("c.html: changed by another program"));
    QCOMPARE(ReadBytes(F("a.html")), QByteArray("old a.html"));
    QCOMPARE(ReadBytes(F("b.html")), QByteArray("old b.html"));
    QCOMPARE(ReadBytes(F("c.html")), QByteArray("someone else's"));
    QCOMPARE(ReadBytes(F("d.html")), QByteArray("old d.html"));
    QCOMPARE(EntriesOf(Site).size(), 4);  // the temporary went
    auto j = TSiteJournal::Open(folder);
    QCOMPARE(int(j->State()), int(TJournalState::RolledBack));
    QCOMPARE(int(j->Files()[0].State), int(TJournalFileState::Restored));
    QVERIFY(TSiteJournal::RecoverInterrupted().empty());
    QVERIFY(!TSiteJournal::LatestDone(Site));
  }

  void preparingTouchesNothing() {
    {
      auto j = TSiteJournal::Begin(Site, "replace", "x", {F("a.html")});
      WriteBytes(F("a.html"), "as it is");
      WriteBytes(TCheckedWriteBatch::StagedNameFor(F("a.html"), j->TempSuffix()), "half");
      // While the change runs, another instance leaves it alone.
      QVERIFY(TSiteJournal::RecoverInterrupted().empty());
      QCOMPARE(EntriesOf(Site).size(), 2);
    }
    QCOMPARE(int(TSiteJournal::RecoverInterrupted().size()), 1);
    QCOMPARE(ReadBytes(F("a.html")), QByteArray("as it is"));
    QCOMPARE(EntriesOf(Site), QStringList({"a.html"}));
  }

  void undoFinishedAtNextStart() {
    auto j = Interrupted(TJournalState::Undoing);
    for (TJournalFile& f : j->Files())
      if (f.State == TJournalFileState::Pending) f.State = TJournalFileState::Written;
    j->Save(TJournalState::Undoing);
    j.reset();
    const auto texts = TSiteJournal::RecoverInterrupted();
    QCOMPARE(int(texts.size()), 1);
    QVERIFY(texts[0].Text.contains("while it was undone"));
    QCOMPARE(ReadBytes(F("a.html")), QByteArray("old a.html"));
    QCOMPARE(ReadBytes(F("c.html")), QByteArray("someone else's"));
  }

  void damagedOriginalIsRefused() {
    auto j = Interrupted(TJournalState::Done);
    WriteBytes(j->Folder() + "/originals", "damaged");
    QVERIFY_THROWS_EXCEPTION(EInOutError, j->Original(0));
  }

  void keepsTheLastTen() {
    for (int i = 0; i < 12; ++i) {
      auto j = TSiteJournal::Begin(Site, "replace", QString::number(i), {});
      j->Save(TJournalState::Done);
    }
    auto other = TSiteJournal::Begin(FTmp->path(), "replace", "other site", {});
    other->Save(TJournalState::Done);
    TSiteJournal::Prune(Site);
    const QStringList left = TSiteJournal::FoldersFor(Site);
    QCOMPARE(left.size(), 10);
    QCOMPARE(TSiteJournal::Open(left.first())->What(), QString("2"));
    QCOMPARE(TSiteJournal::FoldersFor(FTmp->path()).size(), 1);
    QCOMPARE(QFileInfo(left.first()).permissions() & 0x0077, QFileDevice::Permissions());
  }
};

QTEST_GUILESS_MAIN(TestSiteJournal)
#include "test_site_journal.moc"
