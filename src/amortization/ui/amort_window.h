// The modal "Amortization Schedule" window: loan terms, Calc, and the
// schedule paged year by year with annual and running totals. Built on the
// window base (buttons, F1, position) with the terms moved by the transfer
// component; Save and Load go through the store the application gives it.
#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "amortization/amort_records.h"
#include "amortization/apr.h"
#include "amortization/schedule.h"
#include "amortization/schedule_report.h"
#include "amortization/ui/schedule_store.h"
#include "components/window_base.h"

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QMenuBar;
class QPushButton;
class QShortcut;
class QTabBar;
class QTabWidget;
class QTableView;

namespace brevika {

class AppServices;
class CountField;
class DateField;
class MoneyField;
class RateField;
class ScheduleChart;
class ScheduleModel;
class TAmortOpt;
class TMeterFrm;

// Opens the Truth in Lending calculator with a loan, usable in front of the
// modal window `over`; false when it could not. The application gives it.
using TruthInLendingOpener = std::function<bool(QWidget* over, const TilRecord& loan)>;

class TcLoAmort : public WindowBase {
  Q_OBJECT
 public:
  // The records outlive the window (the application owns them); `services`
  // may be null (no help, hints or positions), `store` too (no Save or Load).
  TcLoAmort(AmortInputs* inputs, AmortOptValues* optValues, AppServices* services,
            QWidget* parent = nullptr, ScheduleStore* store = nullptr);
  ~TcLoAmort() override;

  TAmortOpt* options() const { return AmortOpt; }
  const Schedule& schedule() const { return *schedule_; }
  ScheduleModel* model() const { return model_; }
  // True while grid, totals and year tabs are shown.
  bool scheduleShown() const { return shown_; }
  int selectedYear() const;
  const std::string& accountNo() const { return accountNo_; }
  const std::string& loanNo() const { return loanNo_; }
  // The account holder the report prints, set after a save or load ties the
  // schedule to an account; each Calc clears it.
  void SetBorrower(std::optional<Borrower> borrower);
  const std::optional<Borrower>& borrower() const { return borrower_; }
  // APR of the schedule shown, with the other fees of the last Calc.
  const AprResult& apr() const { return apr_; }

  // Commands (buttons, menu, keys).
  void CalcBTNClick();
  // Save and Load through the store.
  void SaveBTNClick();
  void OpenBTNClick();
  void OptionsClick();
  // The events dialog; OK there calculates the schedule with its events.
  void EventsClick();
  void FirstBTNClick();
  void PrevBTNClick();
  void NextBTNClick();
  void LastBTNClick();
  void HelpBTNClick();
  // The report of the whole schedule in the print preview.
  void PrintBTNClick();
  // File > Export...: asks for a file, then ExportTo.
  void ExportClick();
  // Writes the whole schedule as CSV to `path`; a failure is reported in a
  // message box and leaves any old file whole.
  bool ExportTo(const QString& path);
  // File > Payments... and the Payments button: the actual payments of the
  // loan the schedule was saved to or loaded from, through the store.
  void PaymentsClick();

  // "Truth in &Lending...": the advance and the payments of the schedule
  // shown, in the Truth in Lending calculator (through the opener; the
  // item is enabled while a schedule is shown and an opener is given).
  void SetTruthInLendingOpener(TruthInLendingOpener open);
  void TruthInLendingClick();

  // Entry fields and lists.
  MoneyField* PV;
  CountField* NumPmts;
  DateField* OrgDate;
  DateField* FrstPmtDate;
  QComboBox* PYR;
  QComboBox* CmpPYR;
  RateField* Points;
  RateField* Rate;
  MoneyField* OtherFees;
  QLabel* lOtherFees;
  // Schedule.
  QTableView* TransGrid;
  QFrame* TotalPanel;
  QLabel* lAnnualTotals;
  QLabel* lRunningTotals;
  QLabel* TotalPmt;
  QLabel* TotalPrincipal;
  QLabel* TotalInterest;
  QLabel* RunningTotalPmt;
  QLabel* RunningTotalPrincipal;
  QLabel* RunningTotalInterest;
  QTabBar* Years;
  QLabel* lAPR;
  QLabel* APR;
  // What-if events: the button in the terms, and the comparison under the
  // totals (shown only for a schedule with events).
  QPushButton* EventsBTN;
  QLabel* lEvents;
  QLabel* lInterestSaved;
  QLabel* InterestSaved;
  QLabel* lPayoff;
  QLabel* Payoff;
  QLabel* BasePayoff;
  // "Schedule" and "Chart" pages.
  QTabWidget* Pages;
  ScheduleChart* Chart;
  // Buttons.
  QPushButton* FirstBTN;
  QPushButton* PrevBTN;
  QPushButton* NextBTN;
  QPushButton* LastBTN;
  QPushButton* CalcBTN;
  QPushButton* SaveBTN;
  QPushButton* OpenBTN;
  QPushButton* PrintBTN;
  QPushButton* HelpBTN;
  QPushButton* CloseBTN;
  QPushButton* PaymentsBTN;  // beside the page tabs
  // Menu.
  QMenuBar* MainMenu;
  QAction* LoadItem;
  QAction* SaveItem;
  QAction* ExportItem;
  QAction* PaymentsItem;
  QAction* PrinterSetupItem;
  QAction* PrintItem;
  QAction* ExitItem;
  QAction* CalcItem;
  QAction* OptionsItem;
  QAction* EventsItem;
  QAction* HelpItem;
  QAction* TruthInLendingItem;

 protected:
  void showEvent(QShowEvent* e) override;
  void done(int result) override;

 private:
  void BuildTerms(QWidget* panel);
  void BuildSchedule(QWidget* panel);
  void BuildButtons(QWidget* panel);
  void BuildMenu();
  void FormShow();
  void LoadControls();
  void StoreControls();
  void SetHints();
  void ShowSchedule();
  void HideSchedule();
  void EnableSchedule(bool on);
  void RebuildYearTabs();
  void SelectYear(int tab);
  void YearsChange(int tab);
  void PYRChange(int index);
  void CtrlPgUp();
  void CtrlPgDn();
  void RefreshChartAndApr();
  void ShowEventsCaption();
  void ShowSavings();
  void ApplyLoadedTerms(const ScheduleInputs& terms);
  void TieTo(const ScheduleStore::Tie& tie);
  // After a Save or Load dialog that changed no tie: a tied loan deleted
  // there unties the schedule (no Payments for a loan that is gone).
  void UntieWhenDeleted();
  // Payments is offered while the schedule is tied to a saved loan.
  void UpdatePaymentsCommand();

  AmortInputs* inputs_;
  AmortOptValues* optValues_;
  ScheduleStore* store_;
  TAmortOpt* AmortOpt;
  std::unique_ptr<Schedule> schedule_;
  ScheduleModel* model_;
  QShortcut* prevYearKey_;
  QShortcut* nextYearKey_;
  bool shown_ = false;
  bool calculated_ = false;  // a schedule exists (buttons enabled)
  bool memoryNoticeShown_ = false;
  std::uint16_t paymentsPerYear_ = 12;
  std::string accountNo_, loanNo_;
  AprResult apr_;
  bool chartStale_ = false;  // the chart waits for its page to be shown
  QString exportPath_;
  // Terms the shown schedule was calculated or loaded with: what Save writes
  // and the report prints.
  ScheduleInputs scheduleTerms_;
  std::optional<Borrower> borrower_;
  TruthInLendingOpener openTil_;
};

// The main window's "&Amortization..." command: creates the window and its
// options dialog, shows them modally and destroys both when closed.
void OpenAmortizationSchedule(QWidget* parent, AmortInputs* inputs, AmortOptValues* optValues,
                              AppServices* services, ScheduleStore* store = nullptr,
                              TruthInLendingOpener openTil = {});

}  // namespace brevika
