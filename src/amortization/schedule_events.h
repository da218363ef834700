// What-if events of an amortization schedule: extra principal (recurring or
// a lump sum), rate changes and payment holidays, each tied to payment
// numbers (1 = the first payment). The event type, its names, its checks,
// the command line's textual forms, dates turned into payment numbers, and
// the figures that compare a schedule with events against the same loan
// without them. No Qt.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "finance/outcome.h"
#include "finance/periods.h"

namespace brevika {

class Schedule;

enum class EventKind : std::uint8_t {
  Extra,    // extra principal with every payment from `from` to `to`
  Lump,     // one extra payment with payment `from`
  Rate,     // the annual rate from payment `from` on
  Holiday,  // payments `from` to `to` are not paid
};

// What the payment does after an event. Extra principal: ShorterTerm (the
// payment stays, the loan ends early) or LowerPayment (the payment is
// recomputed over the payments left). Rate changes and holidays: KeepTerm
// (the payment is recomputed so that the loan still ends on its original
// last payment) or KeepPayment (the payment stays, the term moves).
enum class EventHow : std::uint8_t { ShorterTerm, LowerPayment, KeepTerm, KeepPayment };

struct ScheduleEvent {
  EventKind kind = EventKind::Extra;
  int from = 1;           // payment K
  std::optional<int> to;  // payment M: extra (none: to the end) and holiday
  double amount = 0;      // extra and lump, in cents' precision
  float rate = 0;         // rate change: annual rate in percent
  EventHow how = EventHow::ShorterTerm;
  bool operator==(const ScheduleEvent&) const = default;
};

// The usual choice of a kind: ShorterTerm for extra principal, KeepTerm for
// rate changes and holidays.
EventHow DefaultHow(EventKind kind);

// Textual names, as files and the command line write them: "extra",
// "lump", "rate", "holiday"; "shorter-term", "lower-payment", "keep-term",
// "keep-payment". The readers take exactly these names.
const char* EventKindName(EventKind kind);
std::optional<EventKind> EventKindNamed(std::string_view name);
const char* EventHowName(EventHow how);
std::optional<EventHow> EventHowNamed(std::string_view name);

// The event in words, as messages name it: "Extra principal with payments
// 13 to 60", "Extra principal from payment 13", "Lump sum with payment 60",
// "Rate change at payment 61", "Payment holiday of payments 100 to 102".
std::string EventText(const ScheduleEvent& ev);

// The most events a schedule takes (one per payment of the longest loan).
inline constexpr int kMaxEvents = 1560;

// Refusals that need no schedule, the first one found: more than
// kMaxEvents events, each event's own values, then two rate changes at one
// payment, overlapping holidays and a lump sum inside a holiday.
// Information boxes, like the engine's.
std::optional<Message> CheckEvents(const std::vector<ScheduleEvent>& events);

// The command line's forms, parsed into an event with its kind's usual
// choice: "AMOUNT@K" and "AMOUNT@K-M" (extra principal; K alone: to the
// end), "AMOUNT@K" (lump sum), "RATE@K" (rate change), "K-M" (holiday).
// Amounts and rates follow the entry fields' pictures. `error` says what
// is wrong with the text, without naming the option.
struct ParsedEvent {
  std::optional<ScheduleEvent> event;
  std::string error;
};
ParsedEvent ParseEventText(EventKind kind, std::string_view text);

// The user's two choices applied to a whole list: extras lower the payment
// (else they shorten the term); rate changes and holidays keep the payment
// (else the term).
void SetEventChoices(std::vector<ScheduleEvent>& events, bool lowerPayment, bool keepPayment);

// The number of the payment a date falls on: the first payment dated on or
// after it (payment dates step from the first payment as the schedule's
// do), 1 for a date on or before the first payment. Empty past payment
// `maxPayment`.
std::optional<int> PaymentNumberOn(Date date, Date firstPayment, std::uint16_t paymentsPerYear,
                                   int maxPayment);

// Which events a payment carries, as bits.
enum EventMark : std::uint8_t {
  kMarkExtra = 1,         // recurring extra principal paid with it
  kMarkLump = 2,          // a lump sum paid with it
  kMarkRate = 4,          // a new rate from it
  kMarkHoliday = 8,       // not paid (its interest joins the balance)
  kMarkNewPayment = 16,   // the payment (or fixed principal) was recomputed for it
};

// A schedule against the same loan without events. Without events the
// savings are 0 and both payoff dates are the last row's.
struct EventSavings {
  double interestSaved = 0;  // base total interest less total interest
  int paymentsSaved = 0;     // base payments less payments made
  int basePayments = 0;      // payments of the schedule without events
  int paymentsMade = 0;      // payments with events; a skipped one is not made
  Date basePayoffDate = 0, payoffDate = 0;
};
EventSavings SavingsOf(const Schedule& schedule);

}  // namespace brevika
