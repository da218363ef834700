#include "components/page_preview.h"

#include <QAction>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QShortcut>

#include "components/page_painter.h"

namespace brevika {

PaperSize PaperOfLayout(const QPageLayout& layout) {
  const QRectF full = layout.fullRect(QPageLayout::Inch);
  return PaperSize{full.width(), full.height()};
}

void PreviewPages(QWidget* parent, const QString& title, const QString& setupTitle, const QString& docName,
                  const PagesForPaper& pagesFor, const QFont& font, const std::function<void()>& help) {
  QPrinter printer(QPrinter::HighResolution);
  // Without a printer the preview still sets up the page and prints to PDF.
  if (QPrinterInfo::availablePrinters().isEmpty()) printer.setOutputFormat(QPrinter::PdfFormat);
  // On the paper of every printout.
  SetUpPrinter(printer, docName);
  QPrintPreviewDialog dialog(&printer, parent);
  dialog.setWindowTitle(title);
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* p) {
    PaintPages(p, pagesFor(PaperOfLayout(p->pageLayout())), font);
  });
  // The preview's page setup opens under its own title and lays the pages
  // out again for the paper chosen there.
  QPrintPreviewWidget* preview = dialog.findChild<QPrintPreviewWidget*>();
  for (QAction* action : dialog.findChildren<QAction*>()) {
    if (action->text() != QStringLiteral("Page setup") || !preview) continue;
    QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
    action->setEnabled(true);
    QObject::connect(action, &QAction::triggered, &dialog, [&dialog, &printer, preview, setupTitle] {
      QPageSetupDialog pageSetup(&printer, &dialog);
      pageSetup.setWindowTitle(setupTitle);
      if (pageSetup.exec() == QDialog::Accepted) preview->updatePreview();
    });
  }
  if (help) {
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), &dialog);
    f1->setContext(Qt::WindowShortcut);
    QObject::connect(f1, &QShortcut::activated, &dialog, help);
  }
  dialog.exec();
}

}  // namespace brevika
