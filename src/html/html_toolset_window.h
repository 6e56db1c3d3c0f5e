#pragma once
// The HTML toolset: the elements of HTML 4.0 and three document types; a
// double click inserts the row's snippet into the main window's editor.
#include "html/choice_list_window.h"

class TfrmHTML : public TfrmChoiceList {
  Q_OBJECT
 public:
  explicit TfrmHTML(QWidget* parent = nullptr);

 protected:
  QString ChosenTextOf(int row) const override;
};
