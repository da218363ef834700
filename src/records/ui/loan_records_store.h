// The loan records as the schedule window's store: Save and Load go through
// the loan information dialog over the tables of the services' folder;
// Payments opens the loan's payment ledger there.
#pragma once
#include "amortization/ui/schedule_store.h"

namespace brevika {

class AppServices;

class LoanRecordsStore : public ScheduleStore {
 public:
  explicit LoanRecordsStore(AppServices* services) : services_(services) {}

  std::optional<Tie> Save(QWidget* window, const std::string& accountNo, const ScheduleInputs& terms,
                          const Schedule* schedule) override;
  Loaded Load(QWidget* window, const std::string& accountNo, const ScheduleInputs& current,
              Schedule& schedule) override;
  // The payment ledger of the tied loan.
  bool KeepsPayments() const override { return true; }
  void ShowPayments(QWidget* window, const Tie& tie) override;
  // The tied loan is still in the tables (true when they can't be read).
  bool StillSaved(const Tie& tie) override;

 private:
  AppServices* services_;
};

}  // namespace brevika
