#include "finance/page_layout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace brevika {

PaperSize LocalePaper(std::string_view name) {
  // "language_TERRITORY.codeset@modifier": the territory decides.
  name = name.substr(0, std::min(name.find('.'), name.find('@')));
  if (name.empty() || name == "C" || name == "POSIX") return kLetterPaper;
  const std::size_t bar = name.find('_');
  if (bar == std::string_view::npos) return kA4Paper;
  const std::string_view territory = name.substr(bar + 1);
  static constexpr std::array<std::string_view, 14> kLetterTerritories = {
      "BO", "CA", "CL", "CO", "CR", "GT", "MX", "NI", "PA", "PH", "PR", "SV", "US", "VE"};
  return std::find(kLetterTerritories.begin(), kLetterTerritories.end(), territory) !=
                 kLetterTerritories.end()
             ? kLetterPaper
             : kA4Paper;
}

PaperSize DefaultPaper(const std::optional<PaperSize>& printerPaper, std::string_view localeName) {
  return printerPaper ? *printerPaper : LocalePaper(localeName);
}

std::string PaperLocaleName() {
  for (const char* variable : {"LC_ALL", "LC_PAPER", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return value;
  }
  return {};
}

PageBuilder::PageBuilder(std::string fontName, int fontPoints)
    : fontName_(std::move(fontName)), fontPoints_(fontPoints > 0 ? fontPoints : 10) {
  pages_.emplace_back();
}

double PageBuilder::LineHeight() const { return fontPoints_ * 1.2 / 72.0; }

void PageBuilder::SetMargins(double top, double bottom) {
  top_ = top;
  bottom_ = bottom;
}

int PageBuilder::LinesLeft() const {
  const double room = BodyBottom() - y_;
  if (room < -1e-9) return 0;
  return static_cast<int>(std::floor(room / LineHeight() + 1e-9)) + 1;
}

void PageBuilder::Add(const std::string& text, double x, Align align) {
  if (text.empty()) return;
  pages_.back().texts.push_back(PageText{x, y_, text, bold_, align, underline_});
}

void PageBuilder::Rule(double x1, double x2, double below) {
  pages_.back().rules.push_back(PageRule{x1, x2, y_ + below});
}

void PageBuilder::Picture(const PagePicture& picture) { pages_.back().pictures.push_back(picture); }

void PageBuilder::RunHandler(const std::function<void(PageBuilder&)>& handler) {
  if (!handler || inHandler_) return;
  // The handler's own texts keep their style; the body's comes back after.
  const bool bold = bold_, underline = underline_;
  const std::vector<TabStop> tabs = tabs_;
  inHandler_ = true;
  handler(*this);
  inHandler_ = false;
  bold_ = bold;
  underline_ = underline;
  tabs_ = tabs;
}

void PageBuilder::PrintCenter(const std::string& text, double x) { Add(text, x, Align::Center); }
void PageBuilder::PrintLeft(const std::string& text, double x) { Add(text, x, Align::Left); }
void PageBuilder::PrintRight(const std::string& text, double x) { Add(text, x, Align::Right); }

void PageBuilder::PrintTabbed(const std::string& line) {
  std::size_t start = 0;
  int segment = 0;
  while (true) {
    std::size_t tab = line.find('\t', start);
    std::string part = line.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
    if (segment == 0) {
      Add(part, 0.5, Align::Left);
    } else if (segment - 1 < static_cast<int>(tabs_.size())) {
      const TabStop& t = tabs_[segment - 1];
      const double inset = t.width * t.marginPct / 100.0;
      switch (t.align) {
        case Align::Left: Add(part, t.left + inset, Align::Left); break;
        case Align::Right: Add(part, t.left + t.width - inset, Align::Right); break;
        case Align::Center: Add(part, t.left + t.width / 2, Align::Center); break;
      }
    }
    if (tab == std::string::npos) break;
    start = tab + 1;
    ++segment;
  }
}

void PageBuilder::NewLine() {
  y_ += LineHeight();
  if (!inHandler_ && y_ > BodyBottom() + 1e-9) NewPage();
}

void PageBuilder::NewPage() {
  if (inHandler_) return;
  RunHandler(foot_);
  pages_.emplace_back();
  y_ = top_;
  RunHandler(head_);
}

std::vector<Page> PageBuilder::Finish() {
  RunHandler(foot_);
  foot_ = nullptr;
  return std::move(pages_);
}

double PrintColumnWidth(int pts) {
  if (pts >= 1 && pts <= 8) return 1.5;
  if (pts == 9 || pts == 10) return 2.0;
  if (pts == 11 || pts == 12) return 2.5;
  if (pts == 13 || pts == 14) return 3.0;
  return 3.25;
}

TableColumns CentredColumns(std::span<const double> chars, int fontPoints, double paperWidth,
                            double sideMargin) {
  const double charWidth = fontPoints * 0.6 / 72.0;
  double natural = 0;
  for (double c : chars) natural += c * charWidth;
  const double scale = std::min(1.0, (paperWidth - 2 * sideMargin) / natural);
  TableColumns t;
  t.tableLeft = (paperWidth - natural * scale) / 2;
  double x = t.tableLeft;
  for (double c : chars) {
    t.left.push_back(x);
    t.width.push_back(c * charWidth * scale);
    x += t.width.back();
  }
  t.tableRight = x;
  return t;
}

void RunningHead::Print(PageBuilder& b) {
  ys_.push_back(b.y());
  b.Bold(true);
  b.PrintLeft("Prepared On: " + preparedOn_, left_);
  b.PrintCenter(title_, b.paper().width / 2);
}

void RunningHead::NumberPages(std::vector<Page>& pages, std::size_t first) const {
  const std::string of = " of " + std::to_string(pages.size());
  for (std::size_t i = first; i < pages.size() && i - first < ys_.size(); ++i)
    pages[i].texts.push_back(
        PageText{right_, ys_[i - first], "Page: " + std::to_string(i + 1) + of, true, Align::Right});
}

void BeginCalculatorPage(PageBuilder& b, const std::string& caption) {
  const double w = PrintColumnWidth(b.fontPoints());
  const double first = PageBuilder::kPageWidth * 0.5 - w;
  b.ClearTabs();
  b.SetTab({first, w, Align::Left, 2});
  b.SetTab({first + w, w, Align::Right, 2});
  b.GotoY(1.5);
  b.Bold(true);
  b.PrintCenter(caption, 4.25);
  b.Bold(false);
  b.NewLine();
  b.NewLine();
}

std::vector<Page> CalculatorPage(const std::string& caption,
                                 const std::vector<std::string>& lines,
                                 const std::string& fontName, int fontPoints) {
  PageBuilder b(fontName, fontPoints);
  BeginCalculatorPage(b, caption);
  for (const std::string& line : lines) {
    b.PrintTabbed(line);
    b.NewLine();
  }
  return b.Finish();
}

}  // namespace brevika
