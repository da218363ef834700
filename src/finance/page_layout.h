// A small page model for printed output: positioned text runs on pages,
// built through tab stops, bold and centring. A Qt painter draws it; the
// layout itself is plain data so it can be checked without a printer.
#pragma once
#include <string>
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
};

struct Page {
  std::vector<PageText> texts;
};

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

  void ClearTabs() { tabs_.clear(); }
  void SetTab(const TabStop& tab) { tabs_.push_back(tab); }
  const std::vector<TabStop>& tabs() const { return tabs_; }

  void GotoY(double inches) { y_ = inches; }
  double y() const { return y_; }
  void Bold(bool on) { bold_ = on; }

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
  std::string fontName_;
  int fontPoints_;
  std::vector<TabStop> tabs_;
  std::vector<Page> pages_;
  double y_ = 1.0;
  bool bold_ = false;
};

// Width of each of the two print columns for a printer font size.
double PrintColumnWidth(int fontPoints);

// The head of a calculator page: the two print columns meeting at the page
// centre, the caption centred in bold at 1.5 in, then two line ends.
void BeginCalculatorPage(PageBuilder& b, const std::string& caption);

// A calculator's one-page printout: caption centred in bold at 1.5 in, then
// the tab-separated lines in two columns meeting at the page centre.
std::vector<Page> CalculatorPage(const std::string& caption,
                                 const std::vector<std::string>& lines,
                                 const std::string& fontName, int fontPoints);

}  // namespace brevika
