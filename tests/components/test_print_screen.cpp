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

// The page's size in points and where the image landed, in printer pixels
// (read from the page's drawing commands).
struct TPdfPage {
  QString MediaBox;
  QRect Image;
};

TPdfPage ReadPdf(const QString& path) {
  const QByteArray pdf = ReadBytes(path);
  TPdfPage page;
  const auto box = QRegularExpression(R"(/MediaBox \[0 0 (\d+)\.\d+ (\d+)\.\d+\])").match(pdf);
  if (box.hasMatch()) page.MediaBox = box.captured(1) + "x" + box.captured(2);
  static const QRegularExpression streamRe("stream\r?\n");
  for (auto it = streamRe.globalMatch(QString::fromLatin1(pdf)); it.hasNext();) {
    const int start = it.next().capturedEnd();
    const int end = pdf.indexOf("endstream", start);
    QByteArray sized(4, '\0');
    qToBigEndian<quint32>(1 << 20, sized.data());
    const QString content = QString::fromLatin1(qUncompress(sized + pdf.mid(start, end - start)));
    const auto m = QRegularExpression(R"(([\d.]+) 0 0 ([\d.]+) ([\d.]+) ([\d.]+) cm\s+(\d+) 0 0 -(\d+) 0 \d+ cm /Im)")
                       .match(content);
    if (!m.hasMatch()) continue;
    page.Image = QRect(qRound(m.captured(3).toDouble()), qRound(m.captured(4).toDouble()),
                       qRound(m.captured(5).toDouble() * m.captured(1).toDouble()),
                       qRound(m.captured(6).toDouble() * m.captured(2).toDouble()));
  }
  return page;
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
  void printSize_data();
  void printSize();
  void printedOnPdf();
  void printKeyPrintsOthersDoNot();
};

void TestPrintScreen::printSize_data() {
  QTest::addColumn<int>("scale");
  QTest::addColumn<QSize>("image");
  QTest::addColumn<QSize>("expected");
  QTest::newRow("none") << int(poNone) << QSize(800, 600) << QSize(800, 600);
  QTest::newRow("proportional 96 to 300 dpi") << int(poProportional) << QSize(960, 480) << QSize(3000, 1500);
  QTest::newRow("fit wide: page width") << int(poPrintToFit) << QSize(1024, 768) << QSize(2400, 1800);
  QTest::newRow("fit tall: page height") << int(poPrintToFit) << QSize(100, 1000) << QSize(340, 3400);
  QTest::newRow("empty image") << int(poPrintToFit) << QSize(0, 768) << QSize();
}

void TestPrintScreen::printSize() {
  QFETCH(int, scale);
  QFETCH(QSize, image);
  QFETCH(QSize, expected);
  QCOMPARE(PrintSize(TPrintScale(scale), image, {2400, 3400}, {96, 96}, {300, 300}), expected);
  if (!expected.isEmpty())
    QCOMPARE(PrintRect(expected, {}), QRect(300, 300, expected.width() - 400, expected.height() - 400));
}

void TestPrintScreen::printedOnPdf() {
  TZELPrintScreen psc;
  const QString path = PdfPath("fit");
  ToPdf(psc, path);
  const int pageW = psc.Printer().width(), pageH = psc.Printer().height();
  psc.PrintImage(Picture(1024, 768), false);  // a screen, fitted to the page width
  TPdfPage page = ReadPdf(path);
  QCOMPARE(page.MediaBox, QString("595x842"));
  const int ph = 768 * pageW / 1024;
  QCOMPARE(page.Image, QRect(300, 300, pageW - 400, ph - 400));

  psc.Orientation = QPageLayout::Landscape;
  psc.Margins = {10, 20, 30, 40};
  psc.PrintImage(Picture(200, 100), true);  // a window, at its screen size
  page = ReadPdf(path);
  QCOMPARE(page.MediaBox, QString("842x595"));
  QVERIFY(psc.Printer().width() > pageW && psc.Printer().height() < pageH);
  const QScreen* screen = QGuiApplication::primaryScreen();
  const int w = qRound(200 * 300 / screen->logicalDotsPerInchX());
  const int h = qRound(100 * 300 / screen->logicalDotsPerInchY());
  QCOMPARE(page.Image, QRect(20, 10, w - 20 - 40, h - 10 - 30));
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
  QTest::qWait(20);
  QVERIFY(!psc->ScreenPrintPending());
  QVERIFY(!QFile::exists(path));

  QTest::keyClick(&window, Qt::Key_Print, Qt::AltModifier);
  QTRY_VERIFY(QFile::exists(path));
  QVERIFY(!psc->ScreenPrintPending());
  QVERIFY(clip->image().isNull());  // emptied after printing
  // The active window, at its screen size: the image's shape is the window's.
  const QRect placed = ReadPdf(path).Image;
  QCOMPARE(qRound(double(placed.width() + 400) / (placed.height() + 400) * 100), 200);

  QFile::remove(path);
  psc->Active = false;
  QTest::keyClick(&window, Qt::Key_Print);
  QTest::qWait(20);
  QVERIFY(!QFile::exists(path));
  QVERIFY(!psc->ScreenPrintPending());

  // Gone, it no longer watches the keys.
  psc.reset();
  QTest::keyClick(&window, Qt::Key_Print);
  QTest::qWait(20);
  QVERIFY(!QFile::exists(path));
}

QTEST_MAIN(TestPrintScreen)
#include "test_print_screen.moc"
