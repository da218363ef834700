// The calculator kinds, their window titles and slot counts: one table for
// the windows, the slot bookkeeping and the command line.
#pragma once
#include <string>

namespace brevika {

enum class CalcKind { Loan, InterestDue, RemainingBalance, Accelerated, Balloon, Refinance };
inline constexpr int kCalcKindCount = 6;
inline constexpr int kMaxSlots = 2;

// "Loan Calculator", "Interest Due Calculator", ... "Refinance Advisor".
const char* KindTitle(CalcKind kind);
// Two slots per calculator kind, one for the refinance advisor.
int KindSlotCount(CalcKind kind);
// Caption of a slot's window: the title, a blank and the slot ("Loan Calculator 1").
std::string SlotCaption(CalcKind kind, int slot);

}  // namespace brevika
