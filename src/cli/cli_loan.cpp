// brevika-calc loan: the loan calculator's solve.
#include <iostream>
#include <memory>

#include "calculators/kinds.h"
#include "calculators/loan.h"
#include "cli/cli.h"

namespace brevika::cli {

namespace {
struct LoanOptions {
  std::string amount, periods, rate, payment, paymentPeriod, compounding, paymentMethod, amortizing;
  bool json = false;
};
}  // namespace

void AddLoanCommand(CLI::App& app, int& exitCode) {
  auto o = std::make_shared<LoanOptions>();
  CLI::App* sub = app.add_subcommand("loan", "solve a level-payment loan for the value left at 0");
  sub->add_option("--amount", o->amount, "amount of the loan");
  sub->add_option("--periods", o->periods, "total number of payments");
  sub->add_option("--rate", o->rate, "annual rate in percent");
  sub->add_option("--payment", o->payment, "periodic payment");
  sub->add_option("--payment-period", o->paymentPeriod,
                  ChoiceHelp(PaymentPeriodItems(), LoanDefaults.pyrIndex()));
  sub->add_option("--compounding", o->compounding,
                  ChoiceHelp(CompoundingPeriodItems(), LoanDefaults.compoundingPeriod));
  sub->add_option("--payment-method", o->paymentMethod,
                  ChoiceHelp(PaymentMethodItems(), LoanDefaults.paymentMethod));
  sub->add_option("--amortizing", o->amortizing,
                  ChoiceHelp(AmortizingMethodItems(), LoanDefaults.amortizingMethod));
  sub->add_flag("--json", o->json, "print the record as one JSON object");
  sub->footer("A value left out is 0, the unknown.");

  sub->callback([o, sub, &exitCode] {
    LoanRecord rec = NewLoanRecord();
    auto given = [sub](const char* name) { return sub->count(name) > 0; };
    if (given("--amount")) rec.PV = MoneyArg("--amount", o->amount);
    if (given("--periods")) rec.NumPmts = CountArg("--periods", o->periods);
    if (given("--rate")) rec.Rate = RateArg("--rate", o->rate);
    if (given("--payment")) rec.Pmt = MoneyArg("--payment", o->payment);
    if (given("--payment-period"))
      rec.PYR.Select(ChoiceArg("--payment-period", o->paymentPeriod, rec.PYR.items));
    if (given("--compounding"))
      rec.CmpPYR.Select(ChoiceArg("--compounding", o->compounding, rec.CmpPYR.items));
    if (given("--payment-method"))
      rec.PmtMthd.Select(ChoiceArg("--payment-method", o->paymentMethod, rec.PmtMthd.items));
    if (given("--amortizing"))
      rec.AmortMthd.Select(ChoiceArg("--amortizing", o->amortizing, rec.AmortMthd.items));

    const Outcome outcome = CalcLoan(rec);
    if (o->json) {
      Json j;
      j["PV"] = DoubleJson(rec.PV);
      j["NumPmts"] = rec.NumPmts;
      j["Rate"] = FloatJson(rec.Rate);
      j["Pmt"] = DoubleJson(rec.Pmt);
      j["TotInt"] = DoubleJson(rec.TotInt);
      j["PaymentPeriod"] = rec.PYR.text;
      j["Compounding"] = rec.CmpPYR.text;
      j["PaymentMethod"] = rec.PmtMthd.text;
      j["Amortizing"] = rec.AmortMthd.text;
      j["message"] = MessageJson(outcome);
      std::cout << j.dump() << "\n";
      exitCode = ExitCode(outcome);
      return;
    }
    std::cout << CopyText(SlotCaption(CalcKind::Loan, 1), LoanRows(rec), UserLocale());
    exitCode = Finish(outcome);
  });
}

}  // namespace brevika::cli
