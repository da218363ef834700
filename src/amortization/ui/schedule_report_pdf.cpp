#include "amortization/ui/schedule_report_pdf.h"

#include <QApplication>
#include <QPageLayout>
#include <QPdfWriter>
#include <QBuffer>
#include <memory>

#include "amortization/ui/schedule_chart.h"
#include "components/page_painter.h"
#include "components/page_preview.h"
#include "tables/atomic_write.h"

namespace brevika {

namespace {

// The page size and orientation of a paper, by name where it has one.
void SetPaper(QPdfWriter& writer, const PaperSize& paper) {
  const bool landscape = paper.width > paper.height;
  writer.setPageSize(PageSizeOf(landscape ? PaperSize{paper.height, paper.width} : paper));
  writer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

// Fills the report's chart page.
PictureRenderer ChartRenderer(const Schedule& schedule, const LocaleFormat& locale) {
  return [&schedule, locale](QPainter& painter, const QRectF& target, const PagePicture& picture) {
    if (picture.name == kScheduleChartPicture) PaintScheduleChart(painter, target, schedule, locale);
  };
}

}  // namespace

QFont ReportFont(const ScheduleReportSetup& setup) {
  return QFont(QString::fromStdString(setup.fontName), setup.fontPoints > 0 ? setup.fontPoints : 10);
}

bool WriteScheduleReportPdf(const Schedule& schedule, const ScheduleReportTerms& terms,
                            const std::optional<Borrower>& borrower,
                            const ScheduleReportSetup& setup, const std::string& path,
                            std::string& error) {
  // Fonts and the chart need an application with widgets; the command line
  // has none and no display.
  int argc = 3;
  char arg0[] = "brevika-calc", arg1[] = "-platform", arg2[] = "offscreen";
  char* argv[] = {arg0, arg1, arg2, nullptr};
  // Notices of a platform started here (no runtime folder and the like) are
  // not the caller's business; failures come back through `error`. The
  // handler returns once the application has gone.
  struct Quiet {
    std::optional<QtMessageHandler> previous;
    ~Quiet() {
      if (previous) qInstallMessageHandler(*previous);
    }
  } quiet;
  std::unique_ptr<QApplication> app;
  if (!QCoreApplication::instance()) {
    quiet.previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    app = std::make_unique<QApplication>(argc, argv);
  } else if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
    error = "the PDF needs an application with widgets";
    return false;
  }
  const std::vector<Page> pages = ScheduleReportPages(schedule, terms, borrower, setup);
  // Refused before any painting; the file appears only whole.
  error = tables::OutputFileProblem(path);
  if (!error.empty()) return false;
  QBuffer file;
  file.open(QIODevice::WriteOnly);
  bool painted;
  {
    QPdfWriter writer(&file);
    writer.setTitle(QString::fromLatin1(kScheduleReportTitle));
    writer.setCreator(QStringLiteral("Brevika"));
    SetPaper(writer, setup.paper);
    painted = PaintPages(&writer, pages, ReportFont(setup), ChartRenderer(schedule, setup.money));
  }
  if (!painted) {
    error = "the pages could not be painted";
    return false;
  }
  error = tables::WriteFileAtomically(path, file.buffer().toStdString());
  if (!error.empty()) return false;
  return true;
}

void PreviewScheduleReport(QWidget* parent, const Schedule& schedule,
                           const ScheduleReportTerms& terms,
                           const std::optional<Borrower>& borrower,
                           const ScheduleReportSetup& setup, const std::function<void()>& help) {
  PreviewPages(
      parent, QString::fromLatin1(kSchedulePreviewTitle), QString::fromLatin1(kScheduleSetupTitle),
      QString::fromLatin1(kScheduleReportTitle),
      [&](const PaperSize& paper) {
        ScheduleReportSetup onPaper = setup;
        onPaper.paper = paper;
        return ScheduleReportPages(schedule, terms, borrower, onPaper);
      },
      ReportFont(setup), ChartRenderer(schedule, setup.money), help);
}

}  // namespace brevika
