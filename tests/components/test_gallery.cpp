// The gallery as a programmer meets it on a 1024 by 768 screen.
#include <QTest>

#include "components/edit_controls.h"
#include "components/gallery_window.h"
#include "components/post_it.h"

class TestGallery : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void fitsTheScreenKeepsItsWidthCaptionsClear() {
    QWidget window;
    BuildGallery(window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // 1024 by 768 less a window frame.
    const QSize least = window.minimumSizeHint();
    QVERIFY2(least.width() <= 1008 && least.height() <= 720,
             qPrintable(QString("%1x%2").arg(least.width()).arg(least.height())));
    const int width = window.width();
    auto* edit = window.findChild<TZELEdit*>();
    edit->setFocus();
    QTest::keyClicks(edit, QString(120, QLatin1Char('w')));
    QTest::qWait(50);  // layout updates are posted, one per level
    QCOMPARE(window.width(), width);

    // Between the caption and the note button's right edge only the fill
    // and the corner lines.
    auto* pit = window.findChild<TZELPostIt*>("pitGallery");
    const QImage shot = pit->grab().toImage();
    const int extent = pit->CornerLines() * pit->CornerGap();
    const QColor fill = pit->Color(), lines = QColor::fromRgb(fill.rgb() ^ 0xFFFFFF);
    for (int x = shot.width() - 3 - extent; x <= shot.width() - 3; ++x)
      for (int y = 2; y <= shot.height() - 3; ++y) {
        const QColor c = shot.pixelColor(x, y);
        QVERIFY2(c == fill || c == lines, qPrintable(QString("%1,%2").arg(x).arg(y)));
      }
  }
};

QTEST_MAIN(TestGallery)
#include "test_gallery.moc"
