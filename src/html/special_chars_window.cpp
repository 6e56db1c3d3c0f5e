#include "html/special_chars_window.h"

#include <QListWidget>

#include "config/environment.h"
#include "html/special_chars.h"

TfrmSpecChar::TfrmSpecChar(QWidget* parent)
    : TfrmChoiceList("frmSpecChar", "Sepcial Characters", QSize(276, 339),
                     {ciCTop, &TQMEEnvironment::CTop, &TQMEEnvironment::CLeft,
                      &TQMEEnvironment::CHeight, &TQMEEnvironment::CWidth},
                     parent) {
  QStringList rows;
  for (int row = 0; row < SpecCharRowCount; ++row)
    rows << QString::fromStdString(SpecCharRowText(row));
  AddRows(rows);
}

// The rule reads the row's text, as the list shows it.
QString TfrmSpecChar::ChosenTextOf(int row) const {
  const QListWidgetItem* item = lbxResults->item(row);
  return item ? QString::fromStdString(SpecCharChosenText(item->text().toStdString())) : QString();
}
