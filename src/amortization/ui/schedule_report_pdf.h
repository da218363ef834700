// The schedule report on paper and in PDF files: the print preview of the
// schedule window and the PDF of the command line, both painting the pages
// of amortization/schedule_report.h with the common page painter.
#pragma once
#include <QFont>
#include <functional>
#include <optional>
#include <string>

#include "amortization/schedule_report.h"

class QWidget;

namespace brevika {

// The printer font a setup names.
QFont ReportFont(const ScheduleReportSetup& setup);

// Writes the report into a PDF on the setup's paper. The file appears only
// complete; on failure it is left as it was and `error` says why. Without
// a running application one is started on the offscreen platform for the
// time of the call, so no display is needed.
bool WriteScheduleReportPdf(const Schedule& schedule, const ScheduleReportTerms& terms,
                            const std::optional<Borrower>& borrower,
                            const ScheduleReportSetup& setup, const std::string& path,
                            std::string& error);

// The modal preview "Amortization Schedule Preview": the pages are laid out
// for the printer's paper (the setup's paper is not used) and again when
// "Schedule Setup" changes it; from there the user prints or, through the
// print dialog, saves a PDF. F1 there calls `help` (the report's topic).
void PreviewScheduleReport(QWidget* parent, const Schedule& schedule,
                           const ScheduleReportTerms& terms,
                           const std::optional<Borrower>& borrower,
                           const ScheduleReportSetup& setup,
                           const std::function<void()>& help = {});

inline constexpr const char* kSchedulePreviewTitle = "Amortization Schedule Preview";
inline constexpr const char* kScheduleSetupTitle = "Schedule Setup";

}  // namespace brevika
