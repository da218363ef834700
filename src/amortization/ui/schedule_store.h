// Where the schedule window saves a schedule and loads one from. The
// window knows only this; the application gives it the loan records
// (records/ui/loan_records_store.h), which ask for the account and the loan
// in their own dialog.
#pragma once
#include <optional>
#include <string>

#include "amortization/borrower.h"
#include "amortization/schedule.h"
#include "finance/outcome.h"

class QWidget;

namespace brevika {

class ScheduleStore {
 public:
  virtual ~ScheduleStore() = default;

  // The account and loan a schedule is tied to after a save or a load, and
  // the account's holder for the printed report (none when not found).
  struct Tie {
    std::string accountNo, loanNo;
    std::optional<Borrower> borrower;
  };

  // Save: the user picks the account (starting at `accountNo`) and the
  // loan, and the schedule is written with its terms; every message is
  // shown over `window`. The tie when the schedule was saved. Without a
  // schedule (none calculated or loaded) it says so and saves nothing.
  virtual std::optional<Tie> Save(QWidget* window, const std::string& accountNo,
                                  const ScheduleInputs& terms, const Schedule* schedule) = 0;

  struct Loaded {
    bool chosen = false;  // the user picked a loan
    // The load's refusal or remarks, for the window to show.
    Outcome outcome;
    // The loan's terms over `current` (how points are paid and other fees
    // stay); given when the schedule loaded and when only its terms could
    // be (its rows refused as too many, or none saved).
    std::optional<ScheduleInputs> terms;
    bool termsOnly = false;
    Tie tie;
  };
  // Load: the user picks the account and the loan, whose rows go into
  // `schedule` when the load succeeds (it changes only then).
  virtual Loaded Load(QWidget* window, const std::string& accountNo, const ScheduleInputs& current,
                      Schedule& schedule) = 0;

  // Payments: the actual payments of the loan a schedule is tied to, in a
  // window of their own over `window`. A store that keeps none offers no
  // Payments command.
  virtual bool KeepsPayments() const { return false; }
  virtual void ShowPayments(QWidget* /*window*/, const Tie& /*tie*/) {}

  // Whether the loan a schedule is tied to is still saved: the Save and
  // Load dialogs may delete it, or its account, and then be cancelled.
  virtual bool StillSaved(const Tie& /*tie*/) { return true; }
};

}  // namespace brevika
