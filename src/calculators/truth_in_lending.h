// Truth in Lending calculator: the annual percentage rate of a loan as it is
// quoted (one or more advances, one or more series of equal payments) by the
// actuarial method of the U.S. Truth in Lending rules, with the figures of
// the disclosure box and whether a disclosed APR is accurate.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calculators/calc_record.h"
#include "calculators/kind.h"
#include "calculators/interest_due.h"
#include "finance/actuarial_apr.h"
#include "finance/outcome.h"
#include "finance/periods.h"

namespace brevika {

// The interval of a payment series (item index of PaymentIntervalItems).
enum class PaymentInterval : int {
  Weekly = 0, Biweekly, FourWeekly, Semimonthly, Monthly, Bimonthly, Quarterly, Semiannually,
  Annually
};
inline constexpr int kPaymentIntervalCount = 9;

// "Weekly", "BiWeekly", "4-Weekly", "SemiMonthly", "Monthly", "BiMonthly",
// "Quarterly", "SemiAnnually", "Annually".
const ItemList& PaymentIntervalItems();
// The same in lower case, as the command line and JSON write them
// ("4-weekly", "semimonthly").
std::string IntervalName(PaymentInterval interval);
// The unit period of the same length.
UnitPeriod UnitPeriodOf(PaymentInterval interval);

// Date of payment k of a series (0 is its first date; k may be negative).
// Weekly, biweekly and 4-weekly step 7, 14 and 28 days; monthly and the
// multi-month intervals fall on the first date's day of each month, or on
// the last day of a shorter month; semimonthly pays on days d and d + 15
// (d the first date's day, less 15 when it is above 15). kBadDate beyond
// the dates there are.
Date SeriesPaymentDate(Date first, PaymentInterval interval, int k);

struct TilAdvance {
  double amount = 0;
  Date date = kBadDate;
};

struct TilPaymentSeries {
  std::int16_t count = 0;  // 1 is a single payment
  double amount = 0;
  Date firstDate = kBadDate;
  PaymentInterval interval = PaymentInterval::Monthly;
};

// A row of the grids the user left empty: ignored by Calc.
bool IsBlank(const TilAdvance& a);
bool IsBlank(const TilPaymentSeries& s);

// One payment of the loan, in date order.
struct TilPayment {
  double amount = 0;
  Date date = kBadDate;
  int series = 0;  // index of its series
  int number = 0;  // 0 for the first payment of its series
};
// Every payment of the series, by date (series order on the same date).
std::vector<TilPayment> TilPayments(const std::vector<TilPaymentSeries>& series);

// The unit period of a loan, and whether it counts as irregular for the
// tolerance of a disclosed APR.
struct TilLoanShape {
  UnitPeriod unit;
  bool single = false;     // repaid by a single payment
  bool irregular = false;  // several advances, or irregular payments
};
// A single payment: its term when under a year, else a year. Otherwise the
// interval that occurs most often between consecutive payments (within a
// series its own; between two series the interval of either that fits the
// dates, else the shortest that does), the shorter one on a tie; when no
// interval fits at all, the standard interval nearest the average time
// between payments. Irregular: more than one advance,
// an interval between payments other than the unit period, or a payment
// amount that differs from the others other than the first or the last.
// `payments` as TilPayments gives them, at least one; dates valid.
TilLoanShape ShapeOfLoan(Date firstAdvance, int advances, const std::vector<TilPayment>& payments,
                         const std::vector<TilPaymentSeries>& series);

enum class TilVerdict { None, Accurate, NotAccurate };

// Transfer record of the Truth in Lending calculator kind.
struct TilRecord {
  std::string lAdvances = "&Advances:";
  std::string lAdvanceAmount = "Amount";
  std::string lAdvanceDate = "Date";
  std::string lPayments = "Payme&nts:";
  std::string lPaymentCount = "Number";
  std::string lPaymentAmount = "Amount";
  std::string lPaymentDate = "First Date";
  std::string lPaymentInterval = "Interval";
  std::string lDisclosed = "&Disclosed APR?:";
  std::string lAPR = "ANNUAL PERCENTAGE RATE";
  std::string lAPRNote = "The cost of your credit as a yearly rate.";
  std::string lFinanceCharge = "FINANCE CHARGE";
  std::string lFinanceChargeNote = "The dollar amount the credit will cost you.";
  std::string lAmountFinanced = "Amount Financed";
  std::string lAmountFinancedNote = "The amount of credit provided to you or on your behalf.";
  std::string lTotalOfPayments = "Total of Payments";
  std::string lTotalOfPaymentsNote =
      "The amount you will have paid after you have made all payments as scheduled.";
  std::string lUnitPeriod = "Unit Period:";
  std::string lVerdict = "Disclosed APR Is:";

  std::vector<TilAdvance> Advances;
  std::vector<TilPaymentSeries> Payments;
  double Disclosed = 0;  // percent a year; 0: none to check

  // Results of the last Calc.
  double APR = 0;  // percent a year, not rounded (shown with 2 decimals)
  UnitPeriod Unit;
  bool Single = false;
  double UnitPeriodsPerYear = 0;
  double AmountFinanced = 0, FinanceCharge = 0, TotalOfPayments = 0;
  bool Irregular = false;
  double Tolerance = 0;  // percentage points, with a disclosed APR: 0.125 or 0.25
  TilVerdict Verdict = TilVerdict::None;
};

// No rows, no disclosed APR, no results.
TilRecord NewTilRecord();
// The initial values again (captions stay).
void ResetTil(TilRecord& rec);

// Most payments a loan can have, over all its series.
inline constexpr int kMaxTilPayments = 32767;
// Highest APR worked out, in percent.
inline constexpr double kMaxTilApr = 999.0;
// Tolerance of a disclosed APR, in percentage points.
inline constexpr double kRegularTolerance = 0.125;
inline constexpr double kIrregularTolerance = 0.25;

// Calc: the APR, the unit period, the amount financed (the advances), the
// total of payments, the finance charge (their difference) and, with a
// disclosed APR, the tolerance and the verdict. Blank rows are left out.
// Refused with a warning, the record unchanged: no advance, no payment, an
// advance or a payment series that is not above zero, a date that is not
// valid, more than kMaxTilPayments payments or one past 12/31/3999, a
// payment before the first advance, payments that do not repay the
// advances, an APR above kMaxTilApr, a negative disclosed APR, and any
// result that is not finite.
Outcome CalcTil(TilRecord& rec);

// "Unit period" as the window shows it (the interval's item text, "Single
// Payment"; empty before a Calc has worked a loan out) and as the command
// line writes it ("monthly", "single").
std::string UnitPeriodText(const TilRecord& rec);
std::string UnitPeriodName(const TilRecord& rec);
// "Accurate", "Not Accurate", or empty without a disclosed APR.
std::string VerdictText(TilVerdict verdict);

// Rows of the copy text and print page: each advance (amount, date), each
// payment series (number, amount, first date, interval), the disclosed APR
// when there is one, then the results.
std::vector<CalcRow> TilRows(const TilRecord& rec,
                             const WeekdayNames& names = EnglishWeekdayNames());

// The command line's forms. On failure the result is empty and `error`
// says what is wrong, as a phrase that follows the quoted text
// ("is not AMOUNT@MM/DD/YYYY").
// "AMOUNT@MM/DD/YYYY": an amount above 0 and a date.
std::optional<TilAdvance> ParseAdvanceText(std::string_view text, std::string& error);
// "COUNTxAMOUNT@MM/DD/YYYY[/INTERVAL]": 1 to 32767 payments of an amount
// above 0 from a first date, every INTERVAL (an IntervalName, any case;
// monthly when left out).
std::optional<TilPaymentSeries> ParsePaymentSeriesText(std::string_view text, std::string& error);

// The kind: "Truth in Lending", its menu item, help topics and command
// `apr`. Its window and command bring their own grids and options (the
// record's lists do not fit one field each); its rows are TilRows.
const KindDescription<TilRecord>& TilKind();

}  // namespace brevika
