#pragma once
// What screen readers see of the editor: its text, caret and selection
// through Qt's accessible text interface. Every call addresses the text
// through Scintilla's line index, so it costs about the distance from the
// nearest line start, never a count from the start of a 50 MB page.
#include <QAccessibleWidget>

class TZELMemo;

class TMemoAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit TMemoAccessible(TZELMemo* memo);
  // Installed once, by the first editor made.
  static void InstallFactory();

  void* interface_cast(QAccessible::InterfaceType type) override;
  QAccessible::State state() const override;

  void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
  int selectionCount() const override;
  void addSelection(int startOffset, int endOffset) override;
  void removeSelection(int selectionIndex) override;
  void setSelection(int selectionIndex, int startOffset, int endOffset) override;
  int cursorPosition() const override;
  void setCursorPosition(int position) override;
  QString text(QAccessible::Text t) const override;
  QString text(int startOffset, int endOffset) const override;
  QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                           int* endOffset) const override;
  QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                          int* endOffset) const override;
  QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                       int* endOffset) const override;
  int characterCount() const override;
  QRect characterRect(int offset) const override;
  int offsetAtPoint(const QPoint& point) const override;
  void scrollToSubstring(int startIndex, int endIndex) override;
  QString attributes(int offset, int* startOffset, int* endOffset) const override;

 private:
  TZELMemo* Memo() const;
  // The unit of Boundary that holds Offset, as [Start, End).
  void Unit(int offset, QAccessible::TextBoundaryType boundary, int& start, int& end) const;
};
