#pragma once
// A text label drawn inside a 3D box or beside a 3D line; the site window
// shows its file count and total size in two of them. Shape and style stay
// consistent: no shape means no style and the other way round.
#include <QPointer>
#include <QWidget>

enum TBoxLabelShape { blNoShape, blBox, blFrame, blTopLine, blBottomLine, blLeftLine, blRightLine };
enum TBoxLabelStyle { blNoStyle, blLowered, blRaised };

class TBoxLabel : public QWidget {
  Q_OBJECT
 public:
  explicit TBoxLabel(QWidget* parent = nullptr);

  QString Caption() const { return FCaption; }
  void SetCaption(const QString& value);
  Qt::Alignment Alignment() const { return FAlignment; }
  // Qt::AlignLeft, Qt::AlignRight or Qt::AlignHCenter.
  void SetAlignment(Qt::Alignment value);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  TBoxLabelShape BorderShape() const { return FShape; }
  void SetBorderShape(TBoxLabelShape value);
  TBoxLabelStyle BorderStyle() const { return FStyle; }
  void SetBorderStyle(TBoxLabelStyle value);
  bool CenterVertical() const { return FCenterVertical; }
  void SetCenterVertical(bool value);
  // The control that takes the focus when the caption's accelerator is
  // pressed; forgotten when it is destroyed.
  QWidget* FocusControl() const { return FFocusControl; }
  void SetFocusControl(QWidget* value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool value);
  bool SpacePrefix() const { return FSpacePrefix; }
  void SetSpacePrefix(bool value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool value);
  // The fill colour; the parent's until set.
  QColor Color() const;
  void SetColor(const QColor& value);

  // Where the caption is drawn.
  QRect TextRect() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void DrawBorder(QPainter& p) const;
  int TextFlags() const;
  void AdjustBounds();
  void UpdateShortcut();

  QString FCaption;
  Qt::Alignment FAlignment = Qt::AlignLeft;
  bool FAutoSize = false;
  TBoxLabelShape FShape = blBox;
  TBoxLabelStyle FStyle = blLowered;
  bool FCenterVertical = true;
  QPointer<QWidget> FFocusControl;
  bool FShowAccelChar = true;
  bool FSpacePrefix = true;
  bool FTransparent = false;
  bool FWordWrap = false;
  int FShortcutId = 0;
};
