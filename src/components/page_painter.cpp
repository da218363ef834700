#include "components/page_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QShortcut>
#include <cmath>
#include <memory>

#include "components/window_base.h"

namespace brevika {

bool PaintPages(QPagedPaintDevice* device, const std::vector<Page>& pages, const QFont& font,
                const PictureRenderer& pictures) {
  if (auto* printer = dynamic_cast<QPrinter*>(device)) {
    printer->setFullPage(true);
  } else {
    device->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Inch);
  }
  QPainter painter;
  if (!painter.begin(device)) return false;
  const double dpiX = device->logicalDpiX();
  const double dpiY = device->logicalDpiY();
  // The four styles a text may ask for, with their metrics measured once.
  struct Style {
    QFont font;
    std::unique_ptr<QFontMetricsF> metrics;
  };
  Style styles[4];
  for (int i = 0; i < 4; ++i) {
    styles[i].font = font;
    styles[i].font.setBold(i & 1);
    styles[i].font.setUnderline(i & 2);
    styles[i].metrics = std::make_unique<QFontMetricsF>(styles[i].font, device);
  }
  // Rules half a point thick.
  QPen rulePen(Qt::black);
  rulePen.setWidthF(dpiY / 144.0);
  painter.setPen(Qt::black);
  bool first = true;
  int current = -1;
  for (const Page& page : pages) {
    if (!first && !device->newPage()) {
      painter.end();
      return false;
    }
    first = false;
    for (const PageText& t : page.texts) {
      const int s = (t.bold ? 1 : 0) | (t.underline ? 2 : 0);
      if (s != current) {
        painter.setFont(styles[s].font);
        current = s;
      }
      const QString text = QString::fromStdString(t.text);
      double x = t.x * dpiX;
      if (t.align != Align::Left) {
        const double width = styles[s].metrics->horizontalAdvance(text);
        x -= t.align == Align::Right ? width : width / 2;
      }
      painter.drawText(QPointF(x, t.y * dpiY), text);
    }
    if (!page.rules.empty()) {
      painter.save();
      painter.setPen(rulePen);
      for (const PageRule& r : page.rules)
        painter.drawLine(QPointF(r.x1 * dpiX, r.y * dpiY), QPointF(r.x2 * dpiX, r.y * dpiY));
      painter.restore();
    }
    if (pictures) {
      for (const PagePicture& p : page.pictures) {
        painter.save();
        pictures(painter, QRectF(p.x * dpiX, p.y * dpiY, p.width * dpiX, p.height * dpiY), p);
        painter.restore();
      }
    }
  }
  return painter.end();
}

int PointsOf(const QFont& font) {
  if (font.pointSize() > 0) return font.pointSize();
  if (font.pixelSize() > 0) return static_cast<int>(std::lround(font.pixelSize() * 72.0 / 96.0));
  return 10;
}

std::optional<PaperSize> PrinterDefaultPaper() {
  const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
  if (printer.isNull()) return std::nullopt;
  const QPageSize size = printer.defaultPageSize();
  if (!size.isValid()) return std::nullopt;
  const QSizeF inches = size.size(QPageSize::Inch);
  return PaperSize{inches.width(), inches.height()};
}

PaperSize DefaultPrintPaper() { return DefaultPaper(PrinterDefaultPaper(), PaperLocaleName()); }

QPageSize PageSizeOf(const PaperSize& paper) {
  auto same = [](const PaperSize& a, const PaperSize& b) {
    return std::abs(a.width - b.width) < 0.01 && std::abs(a.height - b.height) < 0.01;
  };
  if (same(paper, kLetterPaper)) return QPageSize(QPageSize::Letter);
  if (same(paper, kA4Paper)) return QPageSize(QPageSize::A4);
  return QPageSize(QSizeF(paper.width, paper.height), QPageSize::Inch);
}

void SetUpPrinter(QPrinter& printer, const QString& title) {
  printer.setDocName(title);
  printer.setPageSize(PageSizeOf(DefaultPrintPaper()));
  printer.setPageOrientation(QPageLayout::Portrait);
}

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
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  SetUpPrinter(printer, title);
  return PaintPages(&printer, pages, font);
}

namespace {
PrintHandler& CurrentPrintHandler() {
  static PrintHandler handler;
  return handler;
}
}  // namespace

void SetPrintHandler(PrintHandler handler) { CurrentPrintHandler() = std::move(handler); }

bool PrintThroughHandler(QWidget* parent, const std::vector<Page>& pages, const QString& title,
                         const QFont& font) {
  if (CurrentPrintHandler()) return CurrentPrintHandler()(parent, pages, title, font);
  return PrintPages(parent, pages, title, font);
}

bool PreviewPages(QWidget* parent, const std::vector<Page>& pages, const QString& title,
                  const QFont& font) {
  QPrinter printer(QPrinter::HighResolution);
  SetUpPrinter(printer, title);
  // Without a printer the preview still prints to PDF.
  if (QPrinterInfo::availablePrinters().isEmpty()) printer.setOutputFormat(QPrinter::PdfFormat);
  QPrintPreviewDialog dialog(&printer, parent);
  dialog.setWindowTitle(QStringLiteral("%1 Preview").arg(title));
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                   [&pages, &font](QPrinter* p) { PaintPages(p, pages, font); });
  // F1 opens the help of the window that prints, as it does there.
  if (auto* window = qobject_cast<WindowBase*>(parent)) {
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), &dialog);
    f1->setContext(Qt::WindowShortcut);
    QObject::connect(f1, &QShortcut::activated, window, &WindowBase::ShowWindowHelp);
  }
  return dialog.exec() == QDialog::Accepted;
}

bool PreviewThroughHandler(QWidget* parent, const std::vector<Page>& pages, const QString& title,
                           const QFont& font) {
  if (CurrentPrintHandler()) return CurrentPrintHandler()(parent, pages, title, font);
  return PreviewPages(parent, pages, title, font);
}

}  // namespace brevika
