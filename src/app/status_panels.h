#pragma once
// The main window's status bar: four sunken panels of fixed widths, the
// third drawn by the program as the red modified marker.
#include <QWidget>

class TStatusPanels : public QWidget {
  Q_OBJECT
 public:
  explicit TStatusPanels(QWidget* parent = nullptr);
  void SetText(int panel, const QString& text);
  QString Text(int panel) const;
  void SetMarker(bool modified);
  bool Marker() const { return FMarker; }
  // Where the marker block is drawn, empty while the document is clean.
  QRect MarkerRect() const;
  QRect PanelRect(int panel) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString FTexts[4];
  bool FMarker = false;
};
