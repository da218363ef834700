// The transfer records of every calculator kind: each is made with the
// kind's first window, shared by its windows and kept for the whole run.
#pragma once
#include <memory>
#include <new>

#include "calculators/kinds.h"
#include "calculators/loan.h"

namespace brevika {

class TransferRecords {
 public:
  // The kind's record, made with its initial values the first time it is
  // asked for; nullptr when it cannot be made.
  LoanRecord* Loan() { return Get(loan_, NewLoanRecord); }

  bool Has(CalcKind kind) const;

 private:
  template <class R>
  static R* Get(std::unique_ptr<R>& slot, R (*init)()) {
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
};

}  // namespace brevika
