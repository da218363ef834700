// Every calculator kind, in the order of the main window's menus and of
// brevika-calc's commands. It sits at the top of the core so that it sees
// every folder a kind may be defined in (calculators/, amortization/).
//
// Adding a kind:
//   1. its record, New/Reset/Calc and its description (KindDescription in
//      calculators/kind.h) in the core folder of its layer (calculators/,
//      or amortization/ for a kind that runs the schedule engine), with
//      its include below;
//   2. its value in CalcKind and kCalcKindCount (calculators/kinds.h);
//   3. its window in the window folder of that layer: a KindWindow<R>
//      (calculators/ui/kind_window.h) that calls Build(), or BuildFields(),
//      its own widgets (bound with transfer(), Own() for a grid) and
//      FinishRows(); with its KindWindowOf<R> line, its header included in
//      app/main_form.cpp;
//   4. one line below, at its place in the menus and commands.
// The main window then offers it in its menu with its slots, and
// brevika-calc has its command, options and JSON (cli/cli_kinds.cpp; a kind
// whose command does more than read its fields' options, Calc and print its
// record specialises KindCommandOf<R> there: repeatable options, checks,
// its own JSON). A kind whose rows of Copy and Print are more than its
// fields gives `rows`; one with a page of its own gives `copyText` and
// `printPages`. Its help topics go in help/, its command in the manual page
// man/brevika-calc.1 (a test compares it with --help).
#pragma once

#include "amortization/compare_record.h"
#include "calculators/accelerated.h"
#include "calculators/balloon.h"
#include "calculators/interest_due.h"
#include "calculators/loan.h"
#include "calculators/refinance.h"
#include "calculators/remaining_balance.h"
#include "calculators/truth_in_lending.h"

namespace brevika {

// Calls `visit` with each kind's description (a KindDescription<R> of the
// kind's record type), in order.
template <class Visit>
void ForEachKind(Visit&& visit) {
  visit(LoanKind());
  visit(IntDueKind());
  visit(RemBalKind());
  visit(AccelKind());
  visit(BalloonKind());
  visit(TilKind());
  visit(RefinanceKind());
  visit(CompareKind());
}

}  // namespace brevika
