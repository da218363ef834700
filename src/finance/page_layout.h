// A small page model for printed output: positioned text runs on pages,
// built through tab stops, bold and centring. A Qt painter draws it; the
// layout itself is plain data so it can be checked without a printer.
#pragma once
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace brevika {

enum class Align { Left, Right, Center };

// A run of text. x is the anchor in inches from the left edge of the paper
// (left edge, right edge or centre by align); y the baseline in inches
// from the top edge.
struct PageText {
  double x = 0, y = 0;
  std::string text;
  bool bold = false;
  Align align = Align::Left;
  bool underline = false;
};

// A horizontal rule from x1 to x2 at y, inches from the paper's top left.
struct PageRule {
  double x1 = 0, x2 = 0, y = 0;
};

// A rectangle the painter fills with a picture it knows by `name` (the
// schedule chart, say); inches from the paper's top left.
struct PagePicture {
  double x = 0, y = 0, width = 0, height = 0;
  std::string name;
};

struct Page {
  std::vector<PageText> texts;
  std::vector<PageRule> rules;
  std::vector<PagePicture> pictures;
};

// Paper sizes in inches, portrait.
struct PaperSize {
  double width = 8.5, height = 11.0;
  bool operator==(const PaperSize&) const = default;
};
inline constexpr PaperSize kLetterPaper{8.5, 11.0};
inline constexpr PaperSize kA4Paper{210 / 25.4, 297 / 25.4};

// The paper of a locale, by its LC_PAPER name ("en_US.UTF-8"): Letter in
// the territories whose locales print on it in the C library's locale data
// (the United States, Canada, Mexico, the Philippines and Central and South
// American countries), A4 elsewhere. The C/POSIX locale, or none, counts as
// US English.
PaperSize LocalePaper(std::string_view localeName);
// The one rule of every printout's paper: the printer's default paper
// when there is a printer, else the locale's.
PaperSize DefaultPaper(const std::optional<PaperSize>& printerPaper, std::string_view localeName);
// The locale that decides the paper: LC_ALL, else LC_PAPER, else LANG.
std::string PaperLocaleName();

struct TabStop {
  double left = 0;   // inches
  double width = 0;  // inches
  Align align = Align::Left;
  double marginPct = 0;  // inner margin, per cent of the width
};

class PageBuilder {
 public:
  static constexpr double kPageWidth = 8.5;
  static constexpr double kPageHeight = 11.0;
  static constexpr double kBottomMargin = 0.75;

  PageBuilder(std::string fontName, int fontPoints);

  const std::string& fontName() const { return fontName_; }
  int fontPoints() const { return fontPoints_; }
  double LineHeight() const;

  // Paper and margins; by default Letter, new pages starting at 1 in and a
  // line end past 0.75 in above the bottom edge starting a new page.
  // `top` is the first baseline of a new page; `bottom` the distance from
  // the bottom edge below which no baseline goes.
  void SetPaper(const PaperSize& paper) { paper_ = paper; }
  const PaperSize& paper() const { return paper_; }
  void SetMargins(double top, double bottom);
  double topMargin() const { return top_; }
  // Lowest baseline of the page body.
  double BodyBottom() const { return paper_.height - bottom_; }
  // Lines that still fit on the page, the one at the current position
  // included.
  int LinesLeft() const;

  // Called on every page break: `leave` with the position still on the old
  // page, `enter` on the new page at its top margin. Their own printing
  // never breaks a page. `leave` also runs for the last page in Finish().
  void SetPageHead(std::function<void(PageBuilder&)> enter) { head_ = std::move(enter); }
  void SetPageFoot(std::function<void(PageBuilder&)> leave) { foot_ = std::move(leave); }
  int pageCount() const { return static_cast<int>(pages_.size()); }

  void ClearTabs() { tabs_.clear(); }
  void SetTab(const TabStop& tab) { tabs_.push_back(tab); }
  const std::vector<TabStop>& tabs() const { return tabs_; }

  void GotoY(double inches) { y_ = inches; }
  double y() const { return y_; }
  void Bold(bool on) { bold_ = on; }
  void Underline(bool on) { underline_ = on; }
  // A rule from x1 to x2, `below` inches under the current baseline.
  void Rule(double x1, double x2, double below);
  // A picture area on the current page.
  void Picture(const PagePicture& picture);

  void PrintCenter(const std::string& text, double x);
  void PrintLeft(const std::string& text, double x);
  void PrintRight(const std::string& text, double x);
  // Text before the first tab starts at the left margin; segment k after it
  // goes into tab stop k-1, aligned and inset by the stop's margin.
  void PrintTabbed(const std::string& line);
  void NewLine();
  void NewPage();

  std::vector<Page> Finish();

 private:
  void Add(const std::string& text, double x, Align align);
  void RunHandler(const std::function<void(PageBuilder&)>& handler);
  std::string fontName_;
  int fontPoints_;
  std::vector<TabStop> tabs_;
  std::vector<Page> pages_;
  PaperSize paper_ = kLetterPaper;
  double top_ = 1.0;
  double bottom_ = kBottomMargin;
  double y_ = 1.0;
  bool bold_ = false;
  bool underline_ = false;
  bool inHandler_ = false;
  std::function<void(PageBuilder&)> head_, foot_;
};

// Width of each of the two print columns for a printer font size.
double PrintColumnWidth(int fontPoints);

// The columns of a report's table, centred on the paper: column i is
// chars[i] average character widths (0.6 of the font size) wide, and all
// are narrowed alike where the table would come nearer than `sideMargin`
// to an edge of the paper. Inches from the paper's left edge.
struct TableColumns {
  std::vector<double> left, width;
  double tableLeft = 0, tableRight = 0;
};
TableColumns CentredColumns(std::span<const double> chars, int fontPoints, double paperWidth,
                            double sideMargin);

// The head of the pages of a long report after its first: "Prepared On:"
// and the date at the table's left and the title centred on the paper, in
// bold; once the pages are built, "Page: N of M" on the same line at the
// table's right.
class RunningHead {
 public:
  RunningHead(std::string preparedOn, std::string title, double left, double right)
      : preparedOn_(std::move(preparedOn)), title_(std::move(title)), left_(left), right_(right) {}
  // Prints the line at the builder's position and leaves bold on.
  void Print(PageBuilder& b);
  // Numbers the pages from index `first` on, the pages whose heads were
  // printed in turn.
  void NumberPages(std::vector<Page>& pages, std::size_t first) const;

 private:
  std::string preparedOn_, title_;
  double left_, right_;
  std::vector<double> ys_;  // the baseline of each head printed
};

// The head of a calculator page: the two print columns meeting at the page
// centre, the caption centred in bold at 1.5 in, then two line ends.
void BeginCalculatorPage(PageBuilder& b, const std::string& caption);

// A calculator's one-page printout: caption centred in bold at 1.5 in, then
// the tab-separated lines in two columns meeting at the page centre.
std::vector<Page> CalculatorPage(const std::string& caption,
                                 const std::vector<std::string>& lines,
                                 const std::string& fontName, int fontPoints);

}  // namespace brevika
