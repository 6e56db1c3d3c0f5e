#pragma once
// The special characters: a double click inserts the HTML reference of the
// row's character into the main window's editor.
#include "html/choice_list_window.h"

class TfrmSpecChar : public TfrmChoiceList {
  Q_OBJECT
 public:
  explicit TfrmSpecChar(QWidget* parent = nullptr);

 protected:
  QString ChosenTextOf(int row) const override;
};
