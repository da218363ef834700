// The transfer records of the calculator kinds, keyed by kind: each is made
// with the kind's first window, shared by its windows and kept for the
// whole run.
#pragma once
#include <array>
#include <memory>
#include <new>

#include "calculators/kind.h"
#include "calculators/kinds.h"

namespace brevika {

class TransferRecords {
 public:
  // The kind's record, made with its initial values (New in `context`) the
  // first time it is asked for; nullptr when it cannot be made.
  template <class R>
  R* Get(const KindDescription<R>& kind, const KindContext& context = {}) {
    std::shared_ptr<void>& slot = records_[static_cast<std::size_t>(kind.info.kind)];
    if (!slot) {
      try {
        slot = std::make_shared<R>(kind.make(context));
      } catch (const std::bad_alloc&) {
        return nullptr;
      }
    }
    return static_cast<R*>(slot.get());
  }

  bool Has(CalcKind kind) const { return records_[static_cast<std::size_t>(kind)] != nullptr; }

 private:
  std::array<std::shared_ptr<void>, kCalcKindCount> records_;
};

}  // namespace brevika
