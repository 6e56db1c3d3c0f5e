// The go-to-line field takes new limits with every document the main window
// loads; that must cost about what setting a plain edit's text does.
#include <QLineEdit>

#include "bench.h"
#include "components/edit_controls.h"

QUILLMERE_BENCH(num_edit_per_document) {
  constexpr int documents = 20000;
  TIntEdit goto_;
  goto_.SetFillCount(5);
  goto_.SetMinValue(1);
  goto_.SetMaxValue(9999);
  goto_.setText(QStringLiteral("    1"));
  QLineEdit plain;

  const double ours = MedianSeconds(5, [&] {
    for (int i = 0; i < documents; ++i) {
      const int lines = 1 + i % 3000;
      goto_.SetMinValue(1);
      goto_.SetValue(1 + i % 7);
      goto_.SetMaxValue(lines);
      goto_.SetMaxLength(static_cast<int>(QString::number(lines).length()));
    }
  });
  // The baseline shows the same number and limit in a bare QLineEdit.
  const double baseline = MedianSeconds(5, [&] {
    for (int i = 0; i < documents; ++i) {
      const int lines = 1 + i % 3000;
      plain.setText(QString::number(1 + i % 7).rightJustified(5));
      plain.setMaxLength(static_cast<int>(QString::number(lines).length()) + 3);
    }
  });
  PrintRatio("go-to field limits x20000", ours, baseline, 3.0);
}
