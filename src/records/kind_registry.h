// Every calculator kind, in the order of the main window's menus and of
// brevika-calc's commands. It sits at the top of the core so that it sees
// every folder a kind may be defined in (calculators/, amortization/).
//
// Adding a kind:
//   1. its record, New/Reset/Calc and its description (KindDescription in
//      calculators/kind.h), in the core folder of its layer;
//   2. its value in CalcKind (calculators/kinds.h);
//   3. its window in the window folder of that layer: a KindWindow<R>
//      (calculators/ui/kind_window.h) that adds only what is special, with
//      its KindWindowOf<R> line, included in app/main_form.cpp;
//   4. one line below.
// The main window then offers it in its menu with its slots, and
// brevika-calc has its command, options and JSON (cli/cli_kinds.cpp, where a
// kind with more than fields and one Calc adds its KindCommandOf<R>).
#pragma once

#include "calculators/accelerated.h"
#include "calculators/balloon.h"
#include "calculators/interest_due.h"
#include "calculators/loan.h"
#include "calculators/refinance.h"
#include "calculators/remaining_balance.h"

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
  visit(RefinanceKind());
}

}  // namespace brevika
