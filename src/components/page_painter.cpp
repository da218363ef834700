#include "components/page_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <memory>

namespace brevika {

bool PaintPages(QPagedPaintDevice* device, const std::vector<Page>& pages, const QFont& font) {
  if (auto* printer = dynamic_cast<QPrinter*>(device)) {
    printer->setFullPage(true);
  } else {
    device->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Inch);
  }
  QPainter painter;
  if (!painter.begin(device)) return false;
  const double dpiX = device->logicalDpiX();
  const double dpiY = device->logicalDpiY();
  QFont regular(font);
  regular.setBold(false);
  QFont bold(font);
  bold.setBold(true);
  bool first = true;
  for (const Page& page : pages) {
    if (!first && !device->newPage()) {
      painter.end();
      return false;
    }
    first = false;
    for (const PageText& t : page.texts) {
      const QFont& f = t.bold ? bold : regular;
      painter.setFont(f);
      const QString text = QString::fromStdString(t.text);
      const double width = QFontMetricsF(f, device).horizontalAdvance(text);
      double x = t.x * dpiX;
      if (t.align == Align::Right) x -= width;
      else if (t.align == Align::Center) x -= width / 2;
      painter.drawText(QPointF(x, t.y * dpiY), text);
    }
  }
  return painter.end();
}

namespace {
void SetUpPrinter(QPrinter& printer, const QString& title) {
  printer.setDocName(title);
  printer.setPageSize(QPageSize(QPageSize::Letter));
  printer.setPageOrientation(QPageLayout::Portrait);
}
}  // namespace

bool PrintPages(QWidget* parent, const std::vector<Page>& pages, const QString& title,
                const QFont& font) {
  QPrinter printer(QPrinter::HighResolution);
  SetUpPrinter(printer, title);
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle(QStringLiteral("Print %1").arg(title));
  if (dialog.exec() != QDialog::Accepted) return false;
  return PaintPages(&printer, pages, font);
}

bool PrintPagesToPdf(const QString& path, const std::vector<Page>& pages, const QString& title,
                     const QFont& font) {
  QPrinter printer(QPrinter::HighResolution);
  SetUpPrinter(printer, title);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  return PaintPages(&printer, pages, font);
}

}  // namespace brevika
