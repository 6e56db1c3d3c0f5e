#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QRegularExpression>
#include <QTest>
#include <QtEndian>

#include "components/print_screen.h"
#include "file_bytes.h"

namespace {

QString PdfPath(const QString& name) {
  const QString d = qEnvironmentVariable("QUILLMERE_TEST_TMP") + "/print";
  QDir().mkpath(d);
  const QString path = d + "/" + name + ".pdf";
  QFile::remove(path);
  return path;
}

void ToPdf(TZELPrintScreen& psc, const QString& path) {
  psc.Printer().setOutputFormat(QPrinter::PdfFormat);
  psc.Printer().setOutputFileName(path);
  psc.Printer().setPageSize(QPageSize(QPageSize::A4));
  psc.Printer().setResolution(300);
}

// Where the image landed, in printer pixels, read from the page's drawing
// commands.
QRect PrintedImage(const QString& path) {
  const QByteArray pdf = ReadBytes(path);
  static const QRegularExpression streamRe("stream\r?\n");
  static const QRegularExpression placeRe(
      R"(([\d.]+) 0 0 ([\d.]+) ([\d.]+) ([\d.]+) cm\s+(\d+) 0 0 -(\d+) 0 \d+ cm /Im)");
  for (auto it = streamRe.globalMatch(QString::fromLatin1(pdf)); it.hasNext();) {
    const int start = it.next().capturedEnd();
    QByteArray sized(4, '\0');
    qToBigEndian<quint32>(1 << 20, sized.data());
    const auto m =
        placeRe.match(qUncompress(sized + pdf.mid(start, pdf.indexOf("endstream", start) - start)));
    if (m.hasMatch())
      return QRect(qRound(m.captured(3).toDouble()), qRound(m.captured(4).toDouble()),
                   qRound(m.captured(5).toDouble() * m.captured(1).toDouble()),
                   qRound(m.captured(6).toDouble() * m.captured(2).toDouble()));
  }
  return {};
}

QImage Picture(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(Qt::darkCyan);
  return img;
}

}  // namespace

class TestPrintScreen : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void printSize();
  void printedOnPdf();
  void printKeyPrintsOthersDoNot();
};

void TestPrintScreen::printSize() {
  const auto size = [](TPrintScale scale, const QSize& image) {
    return PrintSize(scale, image, {2400, 3400}, {96, 96}, {300, 300});
  };
  QCOMPARE(size(poNone, {800, 600}), QSize(800, 600));
  QCOMPARE(size(poProportional, {960, 480}), QSize(3000, 1500));
  QCOMPARE(size(poPrintToFit, {1024, 768}), QSize(2400, 1800));  // the page's width
  QCOMPARE(size(poPrintToFit, {100, 1000}), QSize(340, 3400));   // the page's height
  QCOMPARE(size(poPrintToFit, {0, 768}), QSize());
  QCOMPARE(PrintRect({2400, 1800}, {}), QRect(300, 300, 2000, 1400));
}

void TestPrintScreen::printedOnPdf() {
  TZELPrintScreen psc;
  const QString path = PdfPath("fit");
  ToPdf(psc, path);
  const int pageW = psc.Printer().width(), pageH = psc.Printer().height();
  psc.PrintImage(Picture(1024, 768), false);  // a screen, fitted to the page width
  QCOMPARE(PrintedImage(path), QRect(300, 300, pageW - 400, 768 * pageW / 1024 - 400));

  psc.Orientation = QPageLayout::Landscape;
  psc.Margins = {10, 20, 30, 40};
  psc.PrintImage(Picture(200, 100), true);  // a window, at its screen size
  QVERIFY(psc.Printer().width() > pageW && psc.Printer().height() < pageH);
  const QScreen* screen = QGuiApplication::primaryScreen();
  const int w = qRound(200 * 300 / screen->logicalDotsPerInchX());
  const int h = qRound(100 * 300 / screen->logicalDotsPerInchY());
  QCOMPARE(PrintedImage(path), QRect(20, 10, w - 20 - 40, h - 10 - 30));
}

void TestPrintScreen::printKeyPrintsOthersDoNot() {
  QWidget window;
  window.resize(800, 400);
  window.show();
  window.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&window));
  auto psc = std::make_unique<TZELPrintScreen>();
  const QString path = PdfPath("key");
  ToPdf(*psc, path);
  QClipboard* clip = QGuiApplication::clipboard();

  clip->setImage(Picture(50, 50));
  QTest::keyClick(&window, Qt::Key_Comma);  // the Print key's code as a character
  QTest::keyPress(&window, Qt::Key_Print);  // the release counts
  QTest::qWait(20);
  QVERIFY(!psc->ScreenPrintPending());
  QVERIFY(!QFile::exists(path));

  QTest::keyClick(&window, Qt::Key_Print, Qt::AltModifier);
  QTRY_VERIFY(QFile::exists(path));
  QVERIFY(!psc->ScreenPrintPending());
  QVERIFY(clip->image().isNull());  // emptied after printing
  // The active window, at its screen size: the image's shape is the window's.
  const QRect placed = PrintedImage(path);
  QCOMPARE(qRound(double(placed.width() + 400) / (placed.height() + 400) * 100), 200);

  QFile::remove(path);
  psc->Active = false;
  QTest::keyClick(&window, Qt::Key_Print);
  QTest::qWait(20);
  QVERIFY(!QFile::exists(path));

  // Gone, it no longer watches the keys.
  psc.reset();
  QTest::keyClick(&window, Qt::Key_Print);
  QTest::qWait(20);
  QVERIFY(!QFile::exists(path));
}

QTEST_MAIN(TestPrintScreen)
#include "test_print_screen.moc"
