// The calculator kinds. Each kind's description (calculators/kind.h) says
// everything else about it; records/kind_registry.h lists them in order.
#pragma once

namespace brevika {

enum class CalcKind { Loan, InterestDue, RemainingBalance, Accelerated, Balloon, Refinance,
                      CompareLoans, TruthInLending };
inline constexpr int kCalcKindCount = 8;
inline constexpr int kMaxSlots = 2;

}  // namespace brevika
