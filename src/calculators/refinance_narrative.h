// The refinance advisor's verdict in plain English, and its copy text and
// printed page.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "finance/page_layout.h"
#include "calculators/refinance.h"
#include "finance/format.h"

namespace brevika {

inline constexpr std::size_t kMemoWidth = 85;

// A paragraph cut into lines of at most `width` characters at blanks; a
// word longer than a line is cut hard. Leading blanks stay on the first line.
std::vector<std::string> WrapLine(std::string_view text, std::size_t width = kMemoWidth);

struct RefiNarrative {
  std::string paidDown;    // paragraph 1
  std::string costs;       // paragraph 2: costs, reinvestment, extra capital
  std::string bottomLine;  // paragraph 3
};

// Builds the three paragraphs; sets LostDeduction and NetSavings.
RefiNarrative BuildRefiNarrative(const RefiRecord& rec, RefiResults& res,
                                 const LocaleFormat& loc = UsLocaleFormat());

// The memo: each paragraph wrapped, one empty line after paragraphs 1 and 2.
std::vector<std::string> NarrativeMemo(const RefiNarrative& n);

// Caption of a label without its accelerator mark; an '&' followed by a
// blank is a plain ampersand and stays ("Interest & Points are?:").
std::string RefiLabel(const std::string& caption);

// Clipboard text: inputs in three groups, then the memo flowed back into
// paragraphs. CR LF line ends.
std::string RefiCopyText(const std::string& windowCaption, const RefiRecord& rec,
                         const LocaleFormat& loc = UsLocaleFormat());

// The printed page(s): caption, the three input groups with bold panel
// headings, then the memo lines.
std::vector<Page> RefinancePage(const std::string& windowCaption, const RefiRecord& rec,
                                const std::string& fontName, int fontPoints,
                                const LocaleFormat& loc = UsLocaleFormat());

}  // namespace brevika
