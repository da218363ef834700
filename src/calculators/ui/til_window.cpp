#include "calculators/ui/til_window.h"

#include <QBoxLayout>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <algorithm>
#include <cmath>

#include "components/help_keys.h"
#include "components/locale_info.h"
#include "components/masked_fields.h"
#include "components/page_painter.h"

namespace brevika {

namespace {

constexpr int kAdvancesHelp = 261;
constexpr int kPaymentsHelp = 262;
constexpr int kDisclosedHelp = 263;
constexpr int kGridRows = 4;
constexpr int kBoxWidth = 150;

QString Q(const std::string& s) { return QString::fromStdString(s); }

GridRow RowOf(const TilAdvance& a) { return {a.amount, static_cast<double>(a.date)}; }
GridRow RowOf(const TilPaymentSeries& s) {
  return {static_cast<double>(s.count), s.amount, static_cast<double>(s.firstDate),
          static_cast<double>(static_cast<int>(s.interval))};
}

TilAdvance AdvanceOf(const GridRow& r) { return {r[0], static_cast<Date>(r[1])}; }
TilPaymentSeries SeriesOf(const GridRow& r) {
  const int interval = static_cast<int>(r[3]);
  return {static_cast<std::int16_t>(r[0]), r[1], static_cast<Date>(r[2]),
          interval >= 0 && interval < kPaymentIntervalCount ? static_cast<PaymentInterval>(interval)
                                                            : PaymentInterval::Monthly};
}

// A display-only value of the disclosure box or under it.
void MakeResult(QLineEdit* field, const char* name, Qt::Alignment align) {
  field->setObjectName(QString::fromLatin1(name));
  ShowAsResult(field);
  field->setAlignment(align);
}

}  // namespace

// ---------------------------------------------------------------------------
// PercentField

PercentField::PercentField(QWidget* parent) : NumberField(3, 4, parent) { Refresh(); }

QString PercentField::DisplayForm() const { return Q(FormatNumber(value_, 4, format_)); }

QString PercentField::EditForm() const { return PlainNumber(value_, 4); }

bool PercentField::ParseEdit(const QString& text) {
  double v = 0;
  if (!numberValidator()->Parse(text, v)) v = 0;
  value_ = v;
  return true;
}

bool PercentField::setValue(double v) {
  if (!std::isfinite(v)) return false;
  value_ = v;
  Refresh();
  emit valueChanged();
  return true;
}

// ---------------------------------------------------------------------------
// TcLoTIL

TcLoTIL::TcLoTIL(TilRecord* record, int slot, AppServices* services, QWidget* parent)
    : KindWindow(TilKind(), record, slot, services, parent), names_(LocaleWeekdayNames()) {
  setObjectName(QStringLiteral("TcLoTIL"));
  TilRecord& r = rec();
  const QFontMetrics fm(font());
  const int dateWidth = fm.horizontalAdvance(QStringLiteral("09/30/2026")) + 24;
  const int countWidth = fm.horizontalAdvance(QStringLiteral("32,767")) + 20;
  const int intervalWidth = fm.horizontalAdvance(QStringLiteral("SemiAnnually")) + 44;

  auto* entries = new QVBoxLayout;
  entries->setSpacing(4);

  Advances = new EntryGrid({{GridColumnKind::Money, FieldWidth()}, {GridColumnKind::Date, dateWidth}},
                           kGridRows, this);
  Advances->setObjectName(QStringLiteral("Advances"));
  SetHelpContext(Advances, kAdvancesHelp);
  entries->addWidget(Caption(r.lAdvances, "Advances", Advances));
  entries->addWidget(Advances, 0, Qt::AlignLeft);
  transfer().Own(
      Advances,
      [this] {
        TilRecord& t = rec();
        Advances->SetHeadings({Q(t.lAdvanceAmount), Q(t.lAdvanceDate)});
        std::vector<GridRow> rows;
        for (const TilAdvance& a : t.Advances) rows.push_back(RowOf(a));
        Advances->SetRows(rows);
      },
      [this] {
        std::vector<TilAdvance> advances;
        for (const GridRow& row : Advances->Rows()) advances.push_back(AdvanceOf(row));
        rec().Advances = std::move(advances);
      });

  entries->addSpacing(6);
  Payments = new EntryGrid({{GridColumnKind::Count, countWidth},
                            {GridColumnKind::Money, FieldWidth()},
                            {GridColumnKind::Date, dateWidth},
                            {GridColumnKind::Choice, intervalWidth, &PaymentIntervalItems(),
                             static_cast<int>(PaymentInterval::Monthly)}},
                           kGridRows, this);
  Payments->setObjectName(QStringLiteral("Payments"));
  // Both grids as wide as the disclosure box under them.
  Advances->WidenTo(4 * kBoxWidth);
  Payments->WidenTo(4 * kBoxWidth);
  SetHelpContext(Payments, kPaymentsHelp);
  entries->addWidget(Caption(r.lPayments, "Payments", Payments));
  entries->addWidget(Payments, 0, Qt::AlignLeft);
  transfer().Own(
      Payments,
      [this] {
        TilRecord& t = rec();
        Payments->SetHeadings({Q(t.lPaymentCount), Q(t.lPaymentAmount), Q(t.lPaymentDate),
                               Q(t.lPaymentInterval)});
        std::vector<GridRow> rows;
        for (const TilPaymentSeries& s : t.Payments) rows.push_back(RowOf(s));
        Payments->SetRows(rows);
      },
      [this] {
        std::vector<TilPaymentSeries> series;
        for (const GridRow& row : Payments->Rows()) series.push_back(SeriesOf(row));
        rec().Payments = std::move(series);
      });
  auto* keys = new QLabel(QStringLiteral("[Ins] inserts a row, [Ctrl][Del] deletes it, [Del] clears a cell."),
                          this);
  keys->setObjectName(QStringLiteral("Hint"));
  entries->addWidget(keys, 0, Qt::AlignLeft);

  entries->addSpacing(6);
  auto* disclosedRow = new QGridLayout;
  disclosedRow->setHorizontalSpacing(12);
  Disclosed = new PercentField(this);
  Disclosed->setObjectName(QStringLiteral("Disclosed"));
  Disclosed->setFixedWidth(FieldWidth());
  SetHelpContext(Disclosed, kDisclosedHelp);
  disclosedRow->addWidget(Caption(r.lDisclosed, "Disclosed", Disclosed), 0, 0, Qt::AlignLeft);
  disclosedRow->addWidget(Disclosed, 0, 1, Qt::AlignLeft);
  disclosedRow->setColumnStretch(2, 1);
  entries->addLayout(disclosedRow);
  transfer().Own(
      Disclosed, [this] { Disclosed->setValue(rec().Disclosed); },
      [this] { rec().Disclosed = Disclosed->value(); });

  auto* rule = new QFrame(this);
  rule->setFrameShape(QFrame::HLine);
  rule->setFrameShadow(QFrame::Sunken);
  entries->addSpacing(4);
  entries->addWidget(rule);
  entries->addSpacing(4);
  entries->addWidget(DisclosureBox());

  auto* lines = new QGridLayout;
  lines->setHorizontalSpacing(12);
  lines->setVerticalSpacing(6);
  UnitPeriod = new QLineEdit(this);
  Verdict = new QLineEdit(this);
  MakeResult(UnitPeriod, "UnitPeriod", Qt::AlignLeft | Qt::AlignVCenter);
  MakeResult(Verdict, "Verdict", Qt::AlignLeft | Qt::AlignVCenter);
  for (QLineEdit* f : {UnitPeriod, Verdict}) f->setFixedWidth(FieldWidth());
  lines->addWidget(Caption(r.lUnitPeriod, "UnitPeriod"), 0, 0, Qt::AlignLeft);
  lines->addWidget(UnitPeriod, 0, 1, Qt::AlignLeft);
  lines->addWidget(Caption(r.lVerdict, "Verdict"), 1, 0, Qt::AlignLeft);
  lines->addWidget(Verdict, 1, 1, Qt::AlignLeft);
  lines->setColumnStretch(2, 1);
  entries->addSpacing(4);
  entries->addLayout(lines);
  // A unit period only once a loan has been worked out (every loan has
  // payments above zero).
  transfer().Own(
      UnitPeriod,
      [this] { UnitPeriod->setText(rec().TotalOfPayments > 0 ? Q(UnitPeriodText(rec())) : QString()); },
      [] {});
  transfer().Own(Verdict, [this] { Verdict->setText(Q(VerdictText(rec().Verdict))); }, [] {});

  // The fields above and under the box line up.
  int labels = 0;
  for (QLabel* l : {findChild<QLabel*>(QStringLiteral("lDisclosed")), findChild<QLabel*>(QStringLiteral("lUnitPeriod")),
                    findChild<QLabel*>(QStringLiteral("lVerdict"))})
    labels = std::max(labels, l->sizeHint().width());
  disclosedRow->setColumnMinimumWidth(0, labels);
  lines->setColumnMinimumWidth(0, labels);

  body()->insertLayout(0, entries);
  FinishRows();
}

QLabel* TcLoTIL::Caption(std::string& caption, const char* name, QWidget* buddy) {
  auto* label = new QLabel(Q(caption), this);
  label->setObjectName(QStringLiteral("l") + QString::fromLatin1(name));
  if (buddy) label->setBuddy(buddy);
  transfer().Label(label, &caption);
  return label;
}

// Four boxes side by side, as on the disclosure a borrower is given: the
// heading, its one-line explanation, the figure.
QWidget* TcLoTIL::DisclosureBox() {
  TilRecord& r = rec();
  auto* box = new QFrame(this);
  box->setObjectName(QStringLiteral("DisclosureBox"));
  auto* row = new QHBoxLayout(box);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);

  APR = new QLineEdit(box);
  MakeResult(APR, "APR", Qt::AlignCenter);
  FinanceCharge = new MoneyField(box);
  AmountFinanced = new MoneyField(box);
  TotalOfPayments = new MoneyField(box);
  const int country = CurrentLocaleInfo().countryCode;
  const char* names[] = {"FinanceCharge", "AmountFinanced", "TotalOfPayments"};
  MoneyField* money[] = {FinanceCharge, AmountFinanced, TotalOfPayments};
  for (int k = 0; k < 3; ++k) {
    if (country != 1) money[k]->SetMask(MoneyMaskForCountry(country));
    MakeResult(money[k], names[k], Qt::AlignCenter);
  }

  struct Part {
    std::string* heading;
    std::string* note;
    QLineEdit* value;
    const char* name;
  };
  const Part parts[] = {{&r.lAPR, &r.lAPRNote, APR, "APR"},
                        {&r.lFinanceCharge, &r.lFinanceChargeNote, FinanceCharge, "FinanceCharge"},
                        {&r.lAmountFinanced, &r.lAmountFinancedNote, AmountFinanced, "AmountFinanced"},
                        {&r.lTotalOfPayments, &r.lTotalOfPaymentsNote, TotalOfPayments, "TotalOfPayments"}};
  for (const Part& p : parts) {
    auto* cell = new QFrame(box);
    cell->setObjectName(QString::fromLatin1(p.name) + QStringLiteral("Box"));
    cell->setFrameStyle(QFrame::Box | QFrame::Plain);
    cell->setFixedWidth(kBoxWidth);
    auto* column = new QVBoxLayout(cell);
    column->setContentsMargins(8, 6, 8, 8);
    column->setSpacing(4);
    auto* heading = new QLabel(Q(*p.heading), cell);
    heading->setObjectName(QStringLiteral("l") + QString::fromLatin1(p.name));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    heading->setWordWrap(true);
    transfer().Label(heading, p.heading);
    auto* note = new QLabel(Q(*p.note), cell);
    note->setObjectName(QStringLiteral("l") + QString::fromLatin1(p.name) + QStringLiteral("Note"));
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    transfer().Label(note, p.note);
    column->addWidget(heading);
    column->addWidget(note, 1);
    column->addWidget(p.value);
    row->addWidget(cell);
  }
  row->addStretch(1);

  transfer().Own(
      APR, [this] { APR->setText(Q(FormatNumber(rec().APR, 2, CurrentLocaleInfo().format)) + "%"); }, [] {});
  transfer().Money(FinanceCharge, &r.FinanceCharge);
  transfer().Money(AmountFinanced, &r.AmountFinanced);
  transfer().Money(TotalOfPayments, &r.TotalOfPayments);
  return box;
}

std::string TcLoTIL::CopyTextOf(const std::string& caption, const LocaleFormat& loc) const {
  return CopyText(caption, TilRows(rec(), names_), loc);
}

std::vector<Page> TcLoTIL::PrintPagesOf(const std::string& caption, const std::string& fontName,
                                        int points, const LocaleFormat& loc) const {
  return CalculatorPage(caption, PrintLines(TilRows(rec(), names_), loc), fontName, points);
}

}  // namespace brevika
