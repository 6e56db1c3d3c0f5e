#include "html/html_toolset_window.h"

#include "config/environment.h"
#include "html/html_snippets.h"

TfrmHTML::TfrmHTML(QWidget* parent)
    : TfrmChoiceList("frmHTML", "HTML Toolset", QSize(173, 317),
                     {ciHTop, &TQMEEnvironment::HTop, &TQMEEnvironment::HLeft,
                      &TQMEEnvironment::HHeight, &TQMEEnvironment::HWidth},
                     parent) {
  QStringList rows;
  for (int row = 0; row < HtmlToolsetRowCount; ++row)
    rows << QString::fromStdString(HtmlToolsetRowText(row));
  AddRows(rows);
}

QString TfrmHTML::ChosenTextOf(int row) const {
  return QString::fromStdString(HtmlToolsetChosenText(row));
}
