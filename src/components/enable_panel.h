#pragma once
// A panel whose enabling or disabling recolours its input children (window
// colour when enabled, button face when disabled) and switches its buttons
// and sub-panels with it; the main window's file column is one.
#include <QFrame>

class TZELEnablePanel : public QFrame {
  Q_OBJECT
 public:
  explicit TZELEnablePanel(QWidget* parent = nullptr);

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void ApplyEnabled(bool enabled);
};
