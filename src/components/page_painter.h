// Draws pages of the printing page model (finance/page_layout.h) with
// QPainter: inches from the paper's top-left corner become device units by
// the device's resolution; text is anchored left, right or centred.
#pragma once
#include <QFont>
#include <QPageSize>
#include <QRectF>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "finance/page_layout.h"

class QPagedPaintDevice;
class QPainter;
class QPrinter;
class QWidget;

namespace brevika {

// Fills a page's picture area: `target` is the area in device units.
using PictureRenderer = std::function<void(QPainter&, const QRectF& target, const PagePicture&)>;

// Draws the pages on the device (a QPrinter or a QPdfWriter), one device
// page each, in the given font (bold where a text asks for it); picture
// areas are left to `pictures` (blank without one). The device is set to
// print on the whole paper. False when painting cannot start.
bool PaintPages(QPagedPaintDevice* device, const std::vector<Page>& pages, const QFont& font,
                const PictureRenderer& pictures = {});

// Point size of a font that may have been given in pixels (96 per inch);
// 10 when it has neither.
int PointsOf(const QFont& font);

// The default paper of the system's default printer; none without one.
std::optional<PaperSize> PrinterDefaultPaper();
// The paper every printout starts on, in the windows and on the command
// line alike: the printer's default, else the locale's (DefaultPaper).
PaperSize DefaultPrintPaper();
// The page size of a paper, by name where it has one (Letter, A4), portrait.
QPageSize PageSizeOf(const PaperSize& paper);
// A printer set up for a document: its name, portrait, DefaultPrintPaper().
void SetUpPrinter(QPrinter& printer, const QString& title);

// Opens the print dialog (printers, "Print to PDF") set up by SetUpPrinter
// and prints the pages when the user confirms. False when cancelled or failed.
bool PrintPages(QWidget* parent, const std::vector<Page>& pages, const QString& title,
                const QFont& font = QFont(QStringLiteral("Courier New"), 10));

// How a window's print pages reach the printer; by default the print dialog
// (PrintPages). Tests replace it (an empty function restores the dialog).
using PrintHandler = std::function<bool(QWidget* parent, const std::vector<Page>& pages,
                                        const QString& title, const QFont& font)>;
void SetPrintHandler(PrintHandler handler);
// Sends pages to the printer through the handler (or the print dialog).
bool PrintThroughHandler(QWidget* parent, const std::vector<Page>& pages, const QString& title,
                         const QFont& font);

// Shows the pages in a print preview titled "<title> Preview", from which
// the user prints them (or saves a PDF through the print dialog). True when
// they were printed.
bool PreviewPages(QWidget* parent, const std::vector<Page>& pages, const QString& title,
                  const QFont& font);
// The preview, or the handler when a test set one.
bool PreviewThroughHandler(QWidget* parent, const std::vector<Page>& pages, const QString& title,
                           const QFont& font);

// Prints the pages straight into a PDF file.
bool PrintPagesToPdf(const QString& path, const std::vector<Page>& pages, const QString& title,
                     const QFont& font);

}  // namespace brevika
