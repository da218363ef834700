// The print preview of a printout in the page model: the pages are laid
// out for the printer's paper, and again when the page setup changes it;
// from the preview the user prints or, through the print dialog, saves a
// PDF. The schedule report's preview works the same way.
#pragma once
#include <QFont>
#include <QString>
#include <functional>
#include <vector>

#include "finance/page_layout.h"

class QPageLayout;
class QWidget;

namespace brevika {

// The paper of a page layout in inches, as it lies (landscape is wider).
PaperSize PaperOfLayout(const QPageLayout& layout);

// Lays the pages out for a paper.
using PagesForPaper = std::function<std::vector<Page>(const PaperSize& paper)>;

// The modal preview titled `title`, its page setup titled `setupTitle`;
// `docName` names the print job and the PDF. The paper is that of every
// printout (SetUpPrinter); F1 runs `help` when one is given.
void PreviewPages(QWidget* parent, const QString& title, const QString& setupTitle, const QString& docName,
                  const PagesForPaper& pagesFor, const QFont& font, const std::function<void()>& help = {});

}  // namespace brevika
