#include "amortization/ui/compare_window.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <algorithm>
#include <tuple>
#include <vector>

#include "amortization/ui/compare_chart.h"
#include "components/help_keys.h"
#include "components/locale_info.h"
#include "components/masked_fields.h"
#include "components/page_painter.h"

namespace brevika {

namespace {

// Help of the columns: the window's topic, and the topics of the terms the
// columns share with the calculators.
constexpr int kWindowTopic = 280;
constexpr int kAmountTopic = 1, kPeriodsTopic = 97, kRateTopic = 9, kPaymentPeriodTopic = 16,
              kCompoundingTopic = 13, kAmortizingTopic = 14;
// Lines of the break-even and verdict box.
constexpr int kMemoLines = 8;
constexpr int kChartHeight = 260;

// A framed panel with its grid, as the advisor's panels.
QFrame* Panel(QWidget* parent, const char* name, QGridLayout*& grid) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(QString::fromLatin1(name) + QStringLiteral("Panel"));
  panel->setFrameShape(QFrame::StyledPanel);
  grid = new QGridLayout(panel);
  grid->setContentsMargins(10, 8, 10, 8);
  grid->setHorizontalSpacing(12);
  grid->setVerticalSpacing(6);
  return panel;
}

QLabel* Heading(QWidget* parent, const QString& name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  return label;
}

void Name(QWidget* w, const QString& name, int help) {
  w->setObjectName(name);
  SetHelpContext(w, help);
}

}  // namespace

TcLoCompare::TcLoCompare(CompareRecord* record, int slot, AppServices* services, QWidget* parent)
    : KindWindow(CompareKind(), record, slot, services, parent) {
  setObjectName(QStringLiteral("TcLoCompare"));
  shown_.fill(NewCompareOffer());
  BeginEntryPage();
  auto* book = findChild<QStackedWidget*>(QStringLiteral("Notebook1"));
  QWidget* entry = book->widget(0);
  auto* entryLayout = static_cast<QVBoxLayout*>(entry->layout());

  // The columns' copy of the record's offers is filled first and read back
  // into the record last, around the bindings of the columns themselves.
  QGridLayout* offersGrid = nullptr;
  QFrame* offers = Panel(entry, "Offers", offersGrid);
  transfer().Own(offers, [this] { LoadColumns(); }, nullptr);
  BuildOffers(offersGrid, offers);
  entryLayout->addWidget(offers);

  CompareRecord& r = rec();
  QGridLayout* termsGrid = nullptr;
  QFrame* terms = Panel(entry, "Panel3", termsGrid);
  Horizon_ = new CountField(terms);
  DiscRate_ = new RateField(terms);
  Name(Horizon_, QStringLiteral("Horizon"), description().Find("Horizon")->help);
  Name(DiscRate_, QStringLiteral("DiscRate"), description().Find("DiscRate")->help);
  const std::tuple<QWidget*, const char*, std::string*> termRows[] = {{Horizon_, "Horizon", &r.lHorizon},
                                                                       {DiscRate_, "DiscRate", &r.lDiscRate}};
  int row = 0;
  for (const auto& [field, name, caption] : termRows) {
    field->setFixedWidth(FieldWidth());
    termsGrid->addWidget(Caption(terms, name, *caption, field), row, 0, Qt::AlignLeft | Qt::AlignVCenter);
    termsGrid->addWidget(field, row, 1, Qt::AlignLeft);
    ++row;
  }
  termsGrid->setColumnStretch(2, 1);
  transfer().Count(Horizon_, &r.Horizon);
  transfer().Rate(DiscRate_, &r.DiscRate);
  entryLayout->addWidget(terms);
  entryLayout->addStretch(1);

  // The results page: the figures under the offers' headings, the
  // break-even lines and the verdict, the chart.
  auto* results = new QWidget(book);
  results->setObjectName(QStringLiteral("Results"));
  book->addWidget(results);
  auto* resultsLayout = new QVBoxLayout(results);
  resultsLayout->setContentsMargins(0, 0, 0, 0);
  resultsLayout->setSpacing(8);
  QGridLayout* figuresGrid = nullptr;
  QFrame* figures = Panel(results, "Figures", figuresGrid);
  BuildFigures(figuresGrid, figures);
  resultsLayout->addWidget(figures);

  memo_ = new QPlainTextEdit(results);
  memo_->setObjectName(QStringLiteral("Memo1"));
  memo_->setReadOnly(true);
  memo_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  memo_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  memo_->setFixedHeight(QFontMetrics(memo_->font()).lineSpacing() * kMemoLines + 14);
  transfer().Own(
      memo_,
      [this] {
        // The verdict first: it is the answer, and the box shows it without scrolling.
        QStringList lines;
        for (const std::string& line : rec().Verdict) lines << QString::fromStdString(line);
        if (!rec().BreakEven.empty() && !rec().Verdict.empty()) lines << QString();
        for (const std::string& line : rec().BreakEven) lines << QString::fromStdString(line);
        memo_->setPlainText(lines.join(QLatin1Char('\n')));
      },
      nullptr);
  resultsLayout->addWidget(memo_);

  chart_ = new CompareChart(results);
  chart_->setFixedHeight(kChartHeight);
  resultsLayout->addWidget(chart_);
  dataEntry_ = MakeButton(results, "BitBtn1", QStringLiteral("&Data Entry"), -1, &CalcWindow::BitBtn1Click);
  resultsLayout->addWidget(dataEntry_, 0, Qt::AlignLeft);
  body()->addWidget(book);
  transfer().Own(figures, nullptr, [this] { StoreColumns(); });

  // The captions of the three panels in one column as wide as the widest.
  int captionWidth = 0;
  for (QGridLayout* g : {offersGrid, termsGrid, figuresGrid})
    for (int k = 0; k < g->rowCount(); ++k)
      if (QLayoutItem* item = g->itemAtPosition(k, 0); item && item->widget())
        captionWidth = std::max(captionWidth, item->widget()->sizeHint().width());
  for (QGridLayout* g : {offersGrid, termsGrid, figuresGrid}) g->setColumnMinimumWidth(0, captionWidth);

  FinishRows();
  SetTabChain();
}

QLabel* TcLoCompare::Caption(QWidget* parent, const char* name, std::string& caption, QWidget* buddy) {
  auto* label = new QLabel(QString::fromStdString(caption), parent);
  label->setObjectName(QStringLiteral("l") + QString::fromLatin1(name));
  if (buddy) label->setBuddy(buddy);
  transfer().Label(label, &caption);
  return label;
}

MoneyField* TcLoCompare::NewMoney(QWidget* parent, const QString& name, int help) {
  auto* f = new MoneyField(parent);
  // Money fields follow the country's mask unless the country is the US.
  const int country = CurrentLocaleInfo().countryCode;
  if (country != 1) f->SetMask(MoneyMaskForCountry(country));
  Name(f, name, help);
  f->setFixedWidth(FieldWidth());
  return f;
}

void TcLoCompare::BuildOffers(QGridLayout* grid, QWidget* panel) {
  for (int k = 0; k < kMaxOffers; ++k) {
    Column& c = columns_[static_cast<std::size_t>(k)];
    CompareOfferEntry& e = shown_[static_cast<std::size_t>(k)];
    const QString n = QString::number(k + 1);
    c.heading = Heading(panel, QStringLiteral("lOffer") + n, QStringLiteral("Offer ") + n);
    grid->addWidget(c.heading, 0, k + 1, Qt::AlignCenter);
    c.PV = NewMoney(panel, QStringLiteral("PV") + n, kAmountTopic);
    c.NumPmts = new CountField(panel);
    c.Rate = new RateField(panel);
    c.Points = new RateField(panel);
    c.Fees = NewMoney(panel, QStringLiteral("Fees") + n, kWindowTopic);
    c.PYR = new QComboBox(panel);
    c.CmpPYR = new QComboBox(panel);
    c.AmortMthd = new QComboBox(panel);
    Name(c.NumPmts, QStringLiteral("NumPmts") + n, kPeriodsTopic);
    Name(c.Rate, QStringLiteral("Rate") + n, kRateTopic);
    Name(c.Points, QStringLiteral("Points") + n, kWindowTopic);
    Name(c.PYR, QStringLiteral("PYR") + n, kPaymentPeriodTopic);
    Name(c.CmpPYR, QStringLiteral("CmpPYR") + n, kCompoundingTopic);
    Name(c.AmortMthd, QStringLiteral("AmortMthd") + n, kAmortizingTopic);
    QWidget* const fields[] = {c.PV, c.NumPmts, c.Rate, c.Points, c.Fees, c.PYR, c.CmpPYR, c.AmortMthd};
    for (int row = 0; row < 8; ++row) {
      fields[row]->setFixedWidth(FieldWidth());
      grid->addWidget(fields[row], row + 1, k + 1);
    }
    transfer().Money(c.PV, &e.PV);
    transfer().Count(c.NumPmts, &e.NumPmts);
    transfer().Rate(c.Rate, &e.Rate);
    transfer().Rate(c.Points, &e.Points);
    transfer().Money(c.Fees, &e.Fees);
    transfer().List(c.PYR, &e.PYR);
    transfer().List(c.CmpPYR, &e.CmpPYR);
    transfer().List(c.AmortMthd, &e.AmortMthd);
    c.remove = MakeButton(panel, QByteArray("RemoveBTN" + n.toLatin1()).constData(), QStringLiteral("Remo&ve"),
                          kWindowTopic);
    c.remove->setMinimumWidth(84);
    connect(c.remove, &QPushButton::clicked, this, [this, k] { RemoveBTNClick(k); });
    grid->addWidget(c.remove, 9, k + 1, Qt::AlignRight);
  }
  // The captions, each the buddy of its field in the first column.
  CompareRecord& r = rec();
  const Column& first = columns_[0];
  const std::tuple<const char*, std::string*, QWidget*> rows[] = {
      {"PV", &r.lPV, first.PV},           {"NumPmts", &r.lNumPmts, first.NumPmts},
      {"Rate", &r.lRate, first.Rate},     {"Points", &r.lPoints, first.Points},
      {"Fees", &r.lFees, first.Fees},     {"PYR", &r.lPYR, first.PYR},
      {"CmpPYR", &r.lCmpPYR, first.CmpPYR}, {"AmortMthd", &r.lAmortMthd, first.AmortMthd}};
  int row = 1;
  for (const auto& [name, caption, buddy] : rows)
    grid->addWidget(Caption(panel, name, *caption, buddy), row++, 0, Qt::AlignLeft | Qt::AlignVCenter);
  AddBTN_ = MakeButton(panel, "AddBTN", QStringLiteral("Add &Offer"), kWindowTopic, &TcLoCompare::AddBTNClick);
  AddBTN_->setMinimumWidth(84);
  grid->addWidget(AddBTN_, 9, 0, Qt::AlignLeft);
}

void TcLoCompare::BuildFigures(QGridLayout* grid, QWidget* panel) {
  CompareRecord& r = rec();
  const std::pair<const char*, std::string*> captions[] = {
      {"Pmt", &r.lPmt},
      {"APR", &r.lAPR},
      {"PaymentsToHorizon", &r.lPaymentsToHorizon},
      {"InterestToHorizon", &r.lInterestToHorizon},
      {"BalanceAtHorizon", &r.lBalanceAtHorizon},
      {"UpfrontCost", &r.lUpfrontCost},
      {"CostToHorizon", &r.lCostToHorizon},
      {"PresentCost", &r.lPresentCost}};
  for (int k = 0; k < kMaxOffers; ++k) {
    Column& c = columns_[static_cast<std::size_t>(k)];
    CompareOfferEntry& e = shown_[static_cast<std::size_t>(k)];
    const QString n = QString::number(k + 1);
    c.figureHeading = Heading(panel, QStringLiteral("lResult") + n, QStringLiteral("Offer ") + n);
    grid->addWidget(c.figureHeading, 0, k + 1, Qt::AlignCenter);
    double* money[] = {&e.Pmt,           nullptr,         &e.PaymentsToHorizon, &e.InterestToHorizon,
                       &e.BalanceAtHorizon, &e.UpfrontCost, &e.CostToHorizon,     &e.PresentCost};
    for (int row = 0; row < 8; ++row) {
      const QString name = QString::fromLatin1(captions[row].first) + n;
      QWidget* field;
      if (money[row]) {
        MoneyField* f = NewMoney(panel, name, 0);
        transfer().Money(f, money[row]);
        field = f;
      } else {
        auto* f = new RateField(panel);
        Name(f, name, 0);
        f->setFixedWidth(FieldWidth());
        transfer().Rate(f, &apr_[static_cast<std::size_t>(k)]);
        field = f;
      }
      ShowAsResult(field);
      c.figures[static_cast<std::size_t>(row)] = field;
      grid->addWidget(field, row + 1, k + 1);
    }
  }
  for (int row = 0; row < 8; ++row) {
    QLabel* label = Caption(panel, captions[row].first, *captions[row].second, nullptr);
    grid->addWidget(label, row + 1, 0, Qt::AlignLeft | Qt::AlignVCenter);
  }
}

void TcLoCompare::LoadColumns() {
  const std::vector<CompareOfferEntry>& offers = rec().Offers;
  const int count = std::min(static_cast<int>(offers.size()), kMaxOffers);
  for (int k = 0; k < kMaxOffers; ++k) {
    const std::size_t i = static_cast<std::size_t>(k);
    shown_[i] = k < count ? offers[i] : NewCompareOffer();
    apr_[i] = static_cast<float>(shown_[i].APR);
  }
  const bool wider = count > shownColumns_;
  ShowColumns(count);
  if (wider) KeepOnScreen();
  // Figures cleared (Reset, a column added or removed): no chart either.
  if (rec().Verdict.empty()) chart_->Clear();
}

void TcLoCompare::StoreColumns() {
  std::vector<CompareOfferEntry>& offers = rec().Offers;
  const std::size_t count = std::min<std::size_t>(offers.size(), kMaxOffers);
  for (std::size_t k = 0; k < count; ++k) {
    const CompareOfferEntry& from = shown_[k];
    CompareOfferEntry& to = offers[k];
    to.PV = from.PV;
    to.NumPmts = from.NumPmts;
    to.Rate = from.Rate;
    to.Points = from.Points;
    to.Fees = from.Fees;
    to.PYR = from.PYR;
    to.CmpPYR = from.CmpPYR;
    to.AmortMthd = from.AmortMthd;
  }
}

void TcLoCompare::ShowColumns(int count) {
  shownColumns_ = count;
  for (int k = 0; k < kMaxOffers; ++k) {
    const Column& c = columns_[static_cast<std::size_t>(k)];
    const bool shown = k < count;
    for (QWidget* w : {static_cast<QWidget*>(c.heading), static_cast<QWidget*>(c.PV),
                       static_cast<QWidget*>(c.NumPmts), static_cast<QWidget*>(c.Rate),
                       static_cast<QWidget*>(c.Points), static_cast<QWidget*>(c.Fees),
                       static_cast<QWidget*>(c.PYR), static_cast<QWidget*>(c.CmpPYR),
                       static_cast<QWidget*>(c.AmortMthd), static_cast<QWidget*>(c.remove),
                       static_cast<QWidget*>(c.figureHeading)})
      w->setVisible(shown);
    for (QWidget* w : c.figures) w->setVisible(shown);
    c.remove->setEnabled(count > kMinOffers);
  }
  AddBTN_->setEnabled(count < kMaxOffers);
}

void TcLoCompare::KeepOnScreen() {
  if (!isVisible() || !screen()) return;
  layout()->activate();  // the size of the new columns, now
  const QRect free = screen()->availableGeometry();
  const QRect frame = frameGeometry();
  QPoint shift;
  if (frame.right() > free.right()) shift.setX(free.right() - frame.right());
  if (frame.left() + shift.x() < free.left()) shift.setX(free.left() - frame.left());
  if (frame.bottom() > free.bottom()) shift.setY(free.bottom() - frame.bottom());
  if (frame.top() + shift.y() < free.top()) shift.setY(free.top() - frame.top());
  if (!shift.isNull()) move(pos() + shift);
}

void TcLoCompare::SetTabChain() {
  std::vector<QWidget*> chain;
  for (const Column& c : columns_)
    for (QWidget* w : {static_cast<QWidget*>(c.PV), static_cast<QWidget*>(c.NumPmts),
                       static_cast<QWidget*>(c.Rate), static_cast<QWidget*>(c.Points),
                       static_cast<QWidget*>(c.Fees), static_cast<QWidget*>(c.PYR),
                       static_cast<QWidget*>(c.CmpPYR), static_cast<QWidget*>(c.AmortMthd),
                       static_cast<QWidget*>(c.remove)})
      chain.push_back(w);
  for (QWidget* w : {static_cast<QWidget*>(AddBTN_), static_cast<QWidget*>(Horizon_),
                     static_cast<QWidget*>(DiscRate_), static_cast<QWidget*>(dataEntry_),
                     static_cast<QWidget*>(memo_)})
    chain.push_back(w);
  for (QPushButton* b : {CalcBTN, CloseBTN, HelpBTN, PrintBTN, CopyBTN, ResetBTN, UndoBTN}) chain.push_back(b);
  for (std::size_t k = 1; k < chain.size(); ++k) setTabOrder(chain[k - 1], chain[k]);
}

void TcLoCompare::FocusRefusal(int offer) {
  BitBtn1Click();
  QWidget* target = nullptr;
  if (offer >= 1 && offer <= shownColumns_) target = columns_[static_cast<std::size_t>(offer - 1)].PV;
  else if (rec().Horizon < kMinHorizonYears || rec().Horizon > kMaxHorizonYears) target = Horizon_;
  else if (rec().DiscRate < 0) target = DiscRate_;
  if (target) target->setFocus(Qt::OtherFocusReason);
}

Outcome TcLoCompare::Calculate() {
  const KindContext context = WindowKindContext();
  CompareResults results;
  int offer = 0;
  const Outcome outcome = CalcCompare(rec(), context.today, &results, context.format, &offer);
  if (outcome.refused) {
    // The message box gives the focus back to where this puts it.
    FocusRefusal(offer);
    return outcome;
  }
  chart_->SetResults(results, context.format);
  ShowResultsPage();
  return outcome;
}

void TcLoCompare::ResetRecord() {
  KindWindow::ResetRecord();
  chart_->Clear();
  BitBtn1Click();
}

void TcLoCompare::AddBTNClick() {
  if (!HasRecord()) return;
  ControlsToRecord();
  if (!AddCompareOffer(rec())) return;
  RecordToControls();
  columns_[static_cast<std::size_t>(shownColumns_ - 1)].PV->setFocus(Qt::OtherFocusReason);
}

void TcLoCompare::RemoveBTNClick(int column) {
  if (!HasRecord()) return;
  ControlsToRecord();
  if (!RemoveCompareOffer(rec(), column)) return;
  RecordToControls();
  const int next = std::min(column, shownColumns_ - 1);
  columns_[static_cast<std::size_t>(next)].PV->setFocus(Qt::OtherFocusReason);
}

bool TcLoCompare::SendPages(const std::vector<Page>& pages, const QString& title, const QFont& font) {
  return PreviewThroughHandler(this, pages, title, font);
}

}  // namespace brevika
