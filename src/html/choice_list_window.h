#pragma once
// A tool window that lists fixed rows and hands the text of the row picked by
// a double click to its owner; the HTML toolset and the special characters
// are built on it. The main window owns both and only shows and hides them.
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>

class QFrame;
class QListWidget;
class TQMEEnvironment;

// Where a window's position and size are kept in the environment: the
// SetCoord index of its top (left, height and width follow) and the fields.
struct TWindowCoords {
  int TopIndex;
  std::int32_t TQMEEnvironment::*Top;
  std::int32_t TQMEEnvironment::*Left;
  std::int32_t TQMEEnvironment::*Height;
  std::int32_t TQMEEnvironment::*Width;
};

class TfrmChoiceList : public QWidget {
  Q_OBJECT
 public:
  ~TfrmChoiceList() override;

  // What a double click inserts: set whenever the list's selection changes.
  QString ChosenText;
  // Called with this window as Sender on a double click in the list, when set.
  std::function<void(QObject* Sender)> OnChoose;

  QFrame* pnlResults = nullptr;
  QListWidget* lbxResults = nullptr;

 protected:
  TfrmChoiceList(const QString& name, const QString& caption, const QSize& designedSize,
                 const TWindowCoords& coords, QWidget* parent);
  void AddRows(const QStringList& rows);
  // The text a double click on Row inserts; Row is -1 when none is selected.
  virtual QString ChosenTextOf(int row) const = 0;

  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void lbxResultsClick();
  void lbxResultsDblClick();
  void FormActivate();
  void RecordCoords();

  TWindowCoords FCoords;
  bool FPlaced = false;  // shown at its recorded place at least once
};
