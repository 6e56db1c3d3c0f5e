#pragma once
// A list box with a check mark per item. A click on an item or the space
// bar turns the current item's mark over and then calls OnClick; with
// CheckOnlyOne at most one item is checked. Each item's flag travels with
// the item, so it stays in step through adding, inserting and deleting.
//
//   auto* lbxPages = new TZELCheckListBox(form);
//   lbxPages->Items().Add("index.html");
//   lbxPages->SetChecked(0, true);
//   lbxPages->OnClick = [](QObject*) { ... };
//
// The check images come from Glyph: one 16 by 16 image (shown for checked
// items only) or two side by side (checked, unchecked); a glyph drawn in
// code serves by default.
#include <QListWidget>
#include <QPixmap>
#include <functional>

#include "components/zel_events.h"

class TZELCheckListBox;

// The list's items as the library addresses them; each new item unchecked.
class TZELCheckListBoxStrings {
 public:
  explicit TZELCheckListBoxStrings(TZELCheckListBox& list) : FList(list) {}
  int Add(const QString& s, QObject* object = nullptr);
  // Inserts before Index; the selection stays on the item it was on (with
  // none, the first item is selected).
  void Insert(int index, const QString& s, QObject* object = nullptr);
  // In single selection, the selection moves up with the items below the
  // deleted one, and to the item above when the selected one goes.
  void Delete(int index);
  void Clear();
  QString Get(int index) const;
  QString operator[](int index) const { return Get(index); }
  int Count() const;
  QObject* Objects(int index) const;

 private:
  TZELCheckListBox& FList;
};

using TDrawItemEvent = std::function<void(TZELCheckListBox* sender, int index, QPainter& painter,
                                          const QRect& rect, bool selected)>;

class TZELCheckListBox : public QListWidget {
  Q_OBJECT
 public:
  explicit TZELCheckListBox(QWidget* parent = nullptr);

  TZELCheckListBoxStrings& Items() { return FItems; }
  bool Checked(int index) const;
  // With CheckOnlyOne, checking an item unchecks all others first.
  void SetChecked(int index, bool value);
  bool CheckOnlyOne() const { return FCheckOnlyOne; }
  void SetCheckOnlyOne(bool value);  // switched on, all items are unchecked
  QPixmap Glyph() const { return FGlyph; }
  // NumGlyphs follows: 2 for a glyph wider than high, 1 otherwise, 0 for none.
  void SetGlyph(const QPixmap& glyph);
  int NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int value);  // 3 or more is ignored
  // The selected row, -1 for none.
  int ItemIndex() const { return currentRow(); }
  void SetItemIndex(int index) { setCurrentRow(index); }

  TNotifyEvent OnClick;
  // Replaces the drawing of an item whole.
  TDrawItemEvent OnDrawItem;

  // Draws item Index as the list does (used by its item delegate).
  void DrawItem(QPainter& painter, const QRect& rect, int index, bool selected);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void ToggleCurrent();

  TZELCheckListBoxStrings FItems{*this};
  QPixmap FGlyph;
  int FNumGlyphs = 0;
  bool FCheckOnlyOne = false;
};

// The default check images: a ticked and an empty box, 32 by 16.
QPixmap DefaultCheckGlyph();
