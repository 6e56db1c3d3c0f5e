// The component gallery's window: every control of the component library,
// so that a programmer can see and try them. quillmere-gallery shows it.
#include "components/gallery_window.h"

#include <QCheckBox>
#include <QDir>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "components/about_dialog.h"
#include "components/box_label.h"
#include "components/check_list_box.h"
#include "components/edit_controls.h"
#include "components/enable_panel.h"
#include "components/mask_edits.h"
#include "components/msg_func.h"
#include "components/post_it.h"
#include "components/print_screen.h"

namespace {

const char* const PostcodeStates[] = {"psOK", "psNotFull", "psWrongNum", "psEmpty",
                                      "psIllegalChars"};
const char* const TimeStates[] = {"tsOK", "tsNotFull", "tsEmpty", "tsNoTime"};
const char* const DateStates[] = {"dsOK", "dsNotFull", "dsEmpty", "dsNoDate", "dsToSmall"};

// An edit with a read-out of what it holds, refreshed on every change.
template <class TEdit, class TShow>
void AddEdit(QFormLayout* form, const QString& caption, TEdit* edit, TShow show) {
  auto* row = new QWidget;
  auto* grid = new QHBoxLayout(row);
  grid->setContentsMargins(0, 0, 0, 0);
  // A read-out of fixed width, so that typing never widens the window.
  auto* readOut = new QLabel;
  readOut->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  readOut->setMinimumWidth(readOut->fontMetrics().horizontalAdvance("psIllegalChars  '8888 MM'"));
  grid->addWidget(edit);
  grid->addWidget(readOut, 1);
  auto refresh = [edit, readOut, show] { readOut->setText(show(edit)); };
  QObject::connect(edit, &QLineEdit::textChanged, readOut, refresh);
  refresh();
  form->addRow(caption, row);
}

QGroupBox* EditsBox() {
  auto* box = new QGroupBox(QStringLiteral("Edits"));
  auto* form = new QFormLayout(box);
  AddEdit(form, "TZELEdit", new TZELEdit, [](TZELEdit* e) { return e->text(); });
  auto* ied = new TIntEdit;
  ied->SetMaxValue(9999);
  ied->SetMinValue(1);
  ied->SetFillCount(5);
  ied->SetValue(42);
  AddEdit(form, "TIntEdit (1..9999)", ied,
          [](TIntEdit* e) { return QStringLiteral("Value %1").arg(e->Value()); });
  auto* red = new TRealEdit;
  red->SetDecimalPositions(2);
  red->SetValue(3.5);
  AddEdit(form, "TRealEdit (2 decimals)", red,
          [](TRealEdit* e) { return QStringLiteral("Value %1").arg(e->Value()); });
  AddEdit(form, "TPostcodeEdit", new TPostcodeEdit, [](TPostcodeEdit* e) {
    return QStringLiteral("%1  '%2'").arg(PostcodeStates[e->State()], e->Postcode());
  });
  auto* tim = new TTimeEdit;
  tim->SetTime(QStringLiteral("09:30"));
  AddEdit(form, "TTimeEdit", tim, [](TTimeEdit* e) {
    return QStringLiteral("%1  '%2'").arg(TimeStates[e->State()], e->Time());
  });
  auto* dat = new TDateEdit;
  dat->SetDate(QStringLiteral("01-05-2001"));
  AddEdit(form, "TDateEdit", dat, [](TDateEdit* e) {
    return QStringLiteral("%1  '%2'").arg(DateStates[e->State()], e->Date());
  });
  return box;
}

QGroupBox* ListBox() {
  auto* box = new QGroupBox(QStringLiteral("TZELCheckListBox"));
  auto* layout = new QVBoxLayout(box);
  auto* lbx = new TZELCheckListBox;
  lbx->setObjectName(QStringLiteral("lbxGallery"));
  for (const char* s : {"index.html", "contact.html", "style.css", "script.js", "robots.txt"})
    lbx->Items().Add(QString::fromLatin1(s));
  lbx->SetChecked(0, true);
  lbx->SetChecked(2, true);
  auto* only = new QCheckBox(QStringLiteral("CheckOnlyOne"));
  QObject::connect(only, &QCheckBox::toggled, lbx, [lbx](bool on) {
    lbx->SetCheckOnlyOne(on);
    lbx->viewport()->update();
  });
  layout->addWidget(lbx);
  layout->addWidget(only);
  return box;
}

QGroupBox* PanelBox() {
  auto* box = new QGroupBox(QStringLiteral("TZELEnablePanel, TZELPostIt"));
  auto* layout = new QVBoxLayout(box);
  auto* panel = new TZELEnablePanel;
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  auto* inner = new QGridLayout(panel);
  auto* pit = new TZELPostIt(panel);
  pit->setObjectName(QStringLiteral("pitGallery"));
  pit->SetINIFile(QDir::tempPath() + QStringLiteral("/quillmere-gallery.ini"));
  pit->Lines = {QStringLiteral("Een notitie."), QStringLiteral("Klik en typ.")};
  pit->PIShowOK = true;
  inner->addWidget(new QLineEdit(QStringLiteral("an edit")), 0, 0);
  inner->addWidget(new QPushButton(QStringLiteral("A button")), 0, 1);
  inner->addWidget(pit, 1, 0, Qt::AlignLeft);
  auto* enabled = new QCheckBox(QStringLiteral("Panel enabled"));
  enabled->setChecked(true);
  QObject::connect(enabled, &QCheckBox::toggled, panel, &QWidget::setEnabled);
  layout->addWidget(panel);
  layout->addWidget(enabled);
  return box;
}

QGroupBox* BoxLabelBox() {
  auto* box = new QGroupBox(QStringLiteral("TBoxLabel"));
  auto* layout = new QGridLayout(box);
  const char* const shapes[] = {"blNoShape",    "blBox",      "blFrame",    "blTopLine",
                                "blBottomLine", "blLeftLine", "blRightLine"};
  for (int shape = 0; shape < 7; ++shape)
    for (int style = blLowered; style <= blRaised; ++style) {
      auto* label = new TBoxLabel;
      label->setMinimumSize(104, 21);
      label->SetBorderShape(TBoxLabelShape(shape));
      if (shape != blNoShape) label->SetBorderStyle(TBoxLabelStyle(style));
      label->SetAlignment(style == blLowered ? Qt::AlignLeft : Qt::AlignRight);
      label->SetCaption(QString::fromLatin1(shapes[shape]));
      layout->addWidget(label, shape, style - blLowered);
    }
  return box;
}

QGroupBox* WindowsBox(QObject* owner) {
  auto* box = new QGroupBox(QStringLiteral("Message window, about dialog, TZELPrintScreen"));
  auto* layout = new QGridLayout(box);
  auto button = [layout](const QString& caption, int row, int col, auto action) {
    auto* b = new QPushButton(caption);
    QObject::connect(b, &QPushButton::clicked, b, action);
    layout->addWidget(b, row, col);
  };
  button("MsgInfo...", 0, 0, [] { MsgInfo("Alles is opgeslagen.", "Informatie"); });
  button("MsgYesNo...", 0, 1, [] { MsgYesNo("Close the application and lose all changes?", ""); });
  button("MsgWarning...", 1, 0, [] { MsgWarning("Het bestand is alleen-lezen.", "Let op"); });
  button("Progress box...", 1, 1, [] {
    ShowProgressBox("Even geduld a.u.b.", "", mkInfo);
    CloseProgressBox(1.5);
  });
  auto* about = new TAboutDialog(owner);
  about->ProgName = QStringLiteral("Quillmere gallery");
  button("About...", 2, 0, [about] { about->Execute(); });
  auto* psc = new TZELPrintScreen(owner);
  const QString pdf = QDir::tempPath() + QStringLiteral("/quillmere-gallery-print.pdf");
  psc->Printer().setOutputFormat(QPrinter::PdfFormat);
  psc->Printer().setOutputFileName(pdf);
  psc->Active = false;
  auto* active = new QCheckBox(QStringLiteral("Print key prints to a PDF file"));
  active->setToolTip(pdf);
  QObject::connect(active, &QCheckBox::toggled, psc, [psc](bool on) { psc->Active = on; });
  layout->addWidget(active, 3, 0, 1, 2);
  return box;
}

}  // namespace

void BuildGallery(QWidget& window) {
  window.setWindowTitle(QStringLiteral("Quillmere component gallery"));
  auto* grid = new QGridLayout(&window);
  grid->addWidget(EditsBox(), 0, 0);
  grid->addWidget(ListBox(), 0, 1);
  grid->addWidget(PanelBox(), 1, 0);
  grid->addWidget(WindowsBox(&window), 1, 1);
  grid->addWidget(BoxLabelBox(), 0, 2, 2, 1);
  // Within the screen (1024 by 768 at least) with the window's frame.
  const QSize room = window.screen()->availableGeometry().size() - QSize(16, 48);
  window.resize(window.sizeHint().boundedTo(room));
}
