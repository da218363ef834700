// The what-if events of the schedule window: "Events", the list with Add,
// Edit and Delete, and "Event", the dialog that edits one event (its kind,
// the payments it applies to, typed as payment numbers or as dates, its
// amount or rate, and the choice of what the payment does). Both are
// modal, built on the window base with their values moved by the transfer
// component. The list works on a copy: OK hands back the edited list
// (checked as a whole), Cancel leaves the caller's list as it was.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "amortization/schedule_events.h"
#include "components/window_base.h"
#include "finance/items.h"
#include "finance/periods.h"

class QComboBox;
class QLabel;
class QTableWidget;

namespace brevika {

class AppServices;
class CountField;
class DateField;
class MoneyField;
class RateField;

// Help topics of the two dialogs and of the event's fields.
inline constexpr int kHelpEvents = 220;
inline constexpr int kHelpEvent = 221;
inline constexpr int kHelpEventKind = 222;
inline constexpr int kHelpEventPayments = 223;
inline constexpr int kHelpEventAmount = 224;
inline constexpr int kHelpEventRate = 225;
inline constexpr int kHelpEventChoice = 226;

// Where the payments of the loan fall, for turning dates into payment
// numbers and back: the first payment date and payments a year.
struct PaymentDates {
  Date firstPayment = kBadDate;
  std::uint16_t paymentsPerYear = 12;
  // Date of payment k (k >= 1); kBadDate when there is no first payment.
  Date DateOf(int k) const;
  // Payment a date falls on (the first on or after it); 0 when none.
  int PaymentOn(Date date) const;
};

// The question before an event leaves the list.
std::string DeleteEventQuestion(const ScheduleEvent& ev);

// Values of the "Event" dialog, in control order.
struct EventEditRecord {
  std::string lKind = "&Kind?:";
  std::string lFrom = "&From Payment?:";
  std::string lFromDate = "or &Date?:";
  std::string lTo = "&To Payment?:";
  std::string lToDate = "or D&ate?:";
  std::string lAmount = "A&mount?:";
  std::string lRate = "&Rate (%)?:";
  std::string lHow = "&Choice?:";
  ListEntry Kind;
  std::int16_t From = 1;
  Date FromDate = kBadDate;
  std::int16_t To = 0;  // 0: none (an extra to the end)
  Date ToDate = kBadDate;
  double Amount = 0;
  float Rate = 0;
  ListEntry How;
};

class TEventEdit : public WindowBase {
  Q_OBJECT
 public:
  TEventEdit(const ScheduleEvent& event, const PaymentDates& dates, AppServices* services,
             QWidget* parent = nullptr);

  // The event as the fields hold it.
  ScheduleEvent event() const;

  // OK: the event is checked (a message box says what is wrong and the
  // dialog stays) and the dialog closes.
  void OKBTNClick();

  QComboBox* Kind;
  CountField* From;
  DateField* FromDate;
  CountField* To;
  DateField* ToDate;
  MoneyField* Amount;
  RateField* Rate;
  QComboBox* How;
  QLabel* lFrom;
  QLabel* lTo;
  QLabel* lToDate;
  QLabel* lAmount;
  QLabel* lRate;
  QLabel* lToNote;
  QPushButton* OKBTN;
  QPushButton* CancelBTN;
  QPushButton* HelpBTN;

 private:
  void KindChange();
  void FromChange();
  void ToChange();
  void FromDateChange();
  void ToDateChange();
  EventKind kind() const;

  EventEditRecord rec_;
  PaymentDates dates_;
};

class TEventList : public WindowBase {
  Q_OBJECT
 public:
  TEventList(std::vector<ScheduleEvent> events, const PaymentDates& dates, AppServices* services,
             QWidget* parent = nullptr);

  const std::vector<ScheduleEvent>& events() const { return events_; }
  // The row selected in the list, -1 when none.
  int currentEvent() const;

  // Commands: buttons, Insert, Enter, Delete and double click.
  void AddBTNClick();
  void EditBTNClick();
  void DeleteBTNClick();
  // OK: the whole list is checked (a message box says what is wrong and
  // the dialog stays) and the dialog closes.
  void OKBTNClick();

  QTableWidget* EventGrid;
  QPushButton* AddBTN;
  QPushButton* EditBTN;
  QPushButton* DeleteBTN;
  QPushButton* OKBTN;
  QPushButton* CancelBTN;
  QPushButton* HelpBTN;

  // Tests replace the "Event" dialog: given the event to edit, they return
  // the edited one, or nothing for Cancel. Empty: the dialog.
  using EditHook = std::function<std::optional<ScheduleEvent>(const ScheduleEvent&)>;
  static void SetEditHook(EditHook hook);

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void FillGrid();
  void Select(int row);
  std::optional<ScheduleEvent> Edit(const ScheduleEvent& ev, const QString& title);

  std::vector<ScheduleEvent> events_;
  PaymentDates dates_;
};

}  // namespace brevika
