// brevika-calc refinance: the refinance advisor's analysis and verdict.
#include <iostream>
#include <memory>

#include "calculators/kinds.h"
#include "calculators/refinance.h"
#include "calculators/refinance_narrative.h"
#include "cli/cli.h"

namespace brevika::cli {

void AddRefinanceCommand(CLI::App& app, int& exitCode) {
  auto rec = std::make_shared<RefiRecord>(NewRefiRecord());
  auto json = std::make_shared<bool>(false);
  CLI::App* sub = app.add_subcommand("refinance", "compare the current loan with a possible new one");
  auto o = std::make_shared<Options>(sub);
  o->Money("--balance", "remaining balance of the current loan", rec->RemBal, true);
  o->Count("--periods-remaining", "payments remaining on the current loan", rec->PmtsRem, true);
  o->Rate("--rate", "annual rate of the current loan", rec->Rate, true);
  o->Choice("--payment-period", rec->PYR, LoanDefaults.pyrIndex());
  o->Money("--new-amount", "amount of the new loan", rec->NewPV, true);
  o->Count("--periods", "payments of the new loan", rec->NumPmts, true);
  o->Rate("--new-rate", "annual rate of the new loan", rec->Rate2, true);
  o->Choice("--new-payment-period", rec->PYR2, LoanDefaults.pyrIndex());
  o->Rate("--points", "points, per cent of the new loan", rec->Points);
  o->Money("--misc", "miscellaneous closing costs", rec->Misc);
  o->Money("--penalty", "prepayment penalty", rec->Penalty);
  o->Choice("--deductible", rec->Deduct, LoanDefaults.deductibility);
  o->Choice("--points-are", rec->PntsAre, LoanDefaults.pointsTreatment);
  o->Count("--sold-after", "years until the property is sold (default 1)", rec->SldAfter);
  o->Rate("--tax-bracket", "projected tax bracket in percent", rec->ProTaxBracket);
  o->Rate("--discount-rate", "discount rate in percent a year", rec->DiscRate);
  o->Flag("--json", "print the results as one JSON object", *json);
  sub->callback([=, &exitCode] {
    // "yes" and "no" stand for the two deductibility items.
    if (std::string* t = o->Text("--deductible")) {
      if (FindItem({"yes"}, *t) == 0) *t = rec->Deduct.items[0];
      else if (FindItem({"no"}, *t) == 0) *t = rec->Deduct.items[1];
    }
    o->Apply();
    RefiResults res;
    const Outcome outcome = CalcRefinance(*rec, &res, *json ? UsLocaleFormat() : UserLocale());
    if (*json) {
      Json j;
      j["PmtCur"] = DoubleJson(res.PmtCur);
      j["PmtNew"] = DoubleJson(res.PmtNew);
      j["HoldCur"] = res.HoldCur;
      j["HoldNew"] = res.HoldNew;
      j["Horizon"] = res.Horizon;
      j["BalCurAtSale"] = DoubleJson(res.BalCurAtSale);
      j["BalNewAtSale"] = DoubleJson(res.BalNewAtSale);
      j["PaidDownCur"] = DoubleJson(res.PaidDownCur);
      j["PaidDownNew"] = DoubleJson(res.PaidDownNew);
      j["CostCur"] = DoubleJson(res.CostCur);
      j["CostNew"] = DoubleJson(res.CostNew);
      j["ReinvestValue"] = DoubleJson(res.ReinvestValue);
      j["ExtraCapitalValue"] = DoubleJson(res.ExtraCapitalValue);
      j["LostDeduction"] = DoubleJson(res.LostDeduction);
      j["NetSavings"] = DoubleJson(res.NetSavings);
      j["memo"] = rec->Memo1;
      j["message"] = MessageJson(outcome);
      std::cout << j.dump() << "\n";
      exitCode = ExitCode(outcome);
      return;
    }
    const std::string text = RefiCopyText(SlotCaption(CalcKind::Refinance, 1), *rec, UserLocale());
    std::cout << text << (text.empty() || text.back() == '\n' ? "" : "\n");
    exitCode = Finish(outcome);
  });
}

}  // namespace brevika::cli
