// The transfer records of every calculator kind: each is made with the
// kind's first window, shared by its windows and kept for the whole run.
#pragma once
#include <memory>
#include <new>

#include "calculators/accelerated.h"
#include "calculators/balloon.h"
#include "calculators/interest_due.h"
#include "calculators/kinds.h"
#include "calculators/loan.h"
#include "calculators/refinance.h"
#include "calculators/remaining_balance.h"

namespace brevika {

class TransferRecords {
 public:
  // The kind's record, made with its initial values the first time it is
  // asked for; nullptr when it cannot be made.
  LoanRecord* Loan() { return Get(loan_, NewLoanRecord); }
  // The interest due record starts at today's date, named in the locale.
  IntDueRecord* InterestDue(Date today, const WeekdayNames& names) {
    return Get(intDue_, [&] { return NewIntDueRecord(today, names); });
  }
  RemBalRecord* RemainingBalance() { return Get(remBal_, NewRemBalRecord); }
  AccelRecord* Accelerated() { return Get(accel_, NewAccelRecord); }
  BalloonRecord* Balloon() { return Get(balloon_, NewBalloonRecord); }
  RefiRecord* Refinance() { return Get(refi_, NewRefiRecord); }

  bool Has(CalcKind kind) const;

 private:
  template <class R, class Init>
  static R* Get(std::unique_ptr<R>& slot, Init init) {
    if (!slot) {
      try {
        slot = std::make_unique<R>(init());
      } catch (const std::bad_alloc&) {
        return nullptr;
      }
    }
    return slot.get();
  }

  std::unique_ptr<LoanRecord> loan_;
  std::unique_ptr<IntDueRecord> intDue_;
  std::unique_ptr<RemBalRecord> remBal_;
  std::unique_ptr<AccelRecord> accel_;
  std::unique_ptr<BalloonRecord> balloon_;
  std::unique_ptr<RefiRecord> refi_;
};

}  // namespace brevika
