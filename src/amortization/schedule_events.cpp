#include "amortization/schedule_events.h"

#include <cmath>

#include "amortization/schedule.h"
#include "finance/parse.h"
#include "finance/rates.h"

namespace brevika {

namespace {

constexpr int kMaxPaymentNumber = 32767;

Message Refuse(const ScheduleEvent& ev, const std::string& what) {
  return Message{EventText(ev) + ": " + what, BoxType::Information};
}

bool InRange(int k, const ScheduleEvent& holiday) {
  return k >= holiday.from && holiday.to && k <= *holiday.to;
}

// The event's own values.
std::optional<Message> CheckOne(const ScheduleEvent& ev) {
  if (ev.from < 1 || ev.from > kMaxPaymentNumber)
    return Refuse(ev, "payment numbers go from 1 to 32767.");
  if (ev.to && *ev.to > kMaxPaymentNumber) return Refuse(ev, "payment numbers go from 1 to 32767.");
  const bool money = ev.kind == EventKind::Extra || ev.kind == EventKind::Lump;
  if (money) {
    if (!(std::isfinite(ev.amount) && ev.amount >= 0.005)) return Refuse(ev, "the amount must be above 0.");
    if (ev.how != EventHow::ShorterTerm && ev.how != EventHow::LowerPayment)
      return Refuse(ev, "choose a shorter term or a lower payment.");
  } else if (ev.how != EventHow::KeepTerm && ev.how != EventHow::KeepPayment) {
    return Refuse(ev, "choose to keep the term or the payment.");
  }
  switch (ev.kind) {
    case EventKind::Extra:
      if (ev.to && *ev.to < ev.from) return Refuse(ev, "the last payment comes before the first.");
      break;
    case EventKind::Lump:
      if (ev.to && *ev.to != ev.from) return Refuse(ev, "a lump sum goes with one payment.");
      break;
    case EventKind::Rate:
      if (ev.to && *ev.to != ev.from) return Refuse(ev, "a rate change starts at one payment.");
      if (!(std::isfinite(ev.rate) && ev.rate > 0)) return Refuse(ev, "the rate must be above 0.");
      break;
    case EventKind::Holiday:
      if (!ev.to) return Refuse(ev, "give the last payment skipped.");
      if (*ev.to < ev.from) return Refuse(ev, "the last payment comes before the first.");
      break;
  }
  return std::nullopt;
}

// Cuts "a<sep>b" at the first separator after the first character.
bool Split(std::string_view text, char sep, std::string_view& a, std::string_view& b) {
  const auto at = text.find(sep, 1);
  if (at == std::string_view::npos) return false;
  a = text.substr(0, at);
  b = text.substr(at + 1);
  return true;
}

std::optional<int> PaymentNumber(std::string_view text) {
  const auto v = ParseNumberText(text, kCountPicture);
  if (!v || *v < 1 || *v > kMaxPaymentNumber) return std::nullopt;
  return static_cast<int>(*v);
}

const char kNumbersText[] = "payment numbers are whole numbers from 1 to 32767";
const char kOrderText[] = "the last payment comes before the first";

}  // namespace

EventHow DefaultHow(EventKind kind) {
  return kind == EventKind::Extra || kind == EventKind::Lump ? EventHow::ShorterTerm
                                                               : EventHow::KeepTerm;
}

const char* EventKindName(EventKind kind) {
  switch (kind) {
    case EventKind::Extra: return "extra";
    case EventKind::Lump: return "lump";
    case EventKind::Rate: return "rate";
    case EventKind::Holiday: return "holiday";
  }
  return "";
}

std::optional<EventKind> EventKindNamed(std::string_view name) {
  for (EventKind k : {EventKind::Extra, EventKind::Lump, EventKind::Rate, EventKind::Holiday})
    if (name == EventKindName(k)) return k;
  return std::nullopt;
}

const char* EventHowName(EventHow how) {
  switch (how) {
    case EventHow::ShorterTerm: return "shorter-term";
    case EventHow::LowerPayment: return "lower-payment";
    case EventHow::KeepTerm: return "keep-term";
    case EventHow::KeepPayment: return "keep-payment";
  }
  return "";
}

std::optional<EventHow> EventHowNamed(std::string_view name) {
  for (EventHow h : {EventHow::ShorterTerm, EventHow::LowerPayment, EventHow::KeepTerm,
                     EventHow::KeepPayment})
    if (name == EventHowName(h)) return h;
  return std::nullopt;
}

std::string EventText(const ScheduleEvent& ev) {
  const std::string from = std::to_string(ev.from);
  const std::string range = ev.to ? "payments " + from + " to " + std::to_string(*ev.to) : std::string();
  switch (ev.kind) {
    case EventKind::Extra:
      return ev.to ? "Extra principal with " + range : "Extra principal from payment " + from;
    case EventKind::Lump: return "Lump sum with payment " + from;
    case EventKind::Rate: return "Rate change at payment " + from;
    case EventKind::Holiday:
      return ev.to ? "Payment holiday of " + range : "Payment holiday from payment " + from;
  }
  return {};
}

std::optional<Message> CheckEvents(const std::vector<ScheduleEvent>& events) {
  // Also bounds the pairs compared below.
  if (events.size() > static_cast<std::size_t>(kMaxEvents))
    return Message{"A schedule takes at most " + std::to_string(kMaxEvents) + " events.", BoxType::Information};
  for (const ScheduleEvent& ev : events)
    if (auto refusal = CheckOne(ev)) return refusal;
  for (std::size_t a = 0; a < events.size(); ++a) {
    const ScheduleEvent& x = events[a];
    for (std::size_t b = a + 1; b < events.size(); ++b) {
      const ScheduleEvent& y = events[b];
      if (x.kind == EventKind::Rate && y.kind == EventKind::Rate && x.from == y.from)
        return Message{"Two rate changes at payment " + std::to_string(x.from) + ".", BoxType::Information};
      if (x.kind == EventKind::Holiday && y.kind == EventKind::Holiday && x.from <= *y.to &&
          y.from <= *x.to)
        return Message{"Payment holidays of payments " + std::to_string(x.from) + " to " +
                           std::to_string(*x.to) + " and " + std::to_string(y.from) + " to " +
                           std::to_string(*y.to) + " overlap.",
                       BoxType::Information};
      const ScheduleEvent* lump = x.kind == EventKind::Lump ? &x : y.kind == EventKind::Lump ? &y : nullptr;
      const ScheduleEvent* holiday =
          x.kind == EventKind::Holiday ? &x : y.kind == EventKind::Holiday ? &y : nullptr;
      if (lump && holiday && InRange(lump->from, *holiday)) {
        std::string h = EventText(*holiday);
        h[0] = 'p';
        return Message{EventText(*lump) + " falls in the " + h + ".", BoxType::Information};
      }
    }
  }
  return std::nullopt;
}

ParsedEvent ParseEventText(EventKind kind, std::string_view text) {
  ParsedEvent out;
  const char* form = kind == EventKind::Extra  ? "is not AMOUNT@K or AMOUNT@K-M"
                     : kind == EventKind::Lump ? "is not AMOUNT@K"
                     : kind == EventKind::Rate ? "is not RATE@K"
                                               : "is not K-M";
  auto fail = [&](const char* detail) {
    out.error = std::string(form) + (detail ? std::string(": ") + detail : std::string());
    return out;
  };
  ScheduleEvent ev;
  ev.kind = kind;
  ev.how = DefaultHow(kind);
  std::string_view payments = text;
  if (kind != EventKind::Holiday) {
    std::string_view value;
    if (!Split(text, '@', value, payments)) return fail(nullptr);
    if (kind == EventKind::Rate) {
      const auto rate = ParseNumberText(value, kRatePicture);
      if (!rate || *rate <= 0) return fail("the rate is above 0, with at most 2 integer digits and 4 decimals");
      ev.rate = static_cast<float>(*rate);
    } else {
      const auto amount = ParseNumberText(value, kMoneyPicture);
      if (!amount || *amount <= 0)
        return fail("the amount is above 0, with at most 12 integer digits and 2 decimals");
      ev.amount = *amount;
    }
  }
  std::string_view first = payments, last;
  const bool range = Split(payments, '-', first, last);
  if (range != (kind == EventKind::Holiday) && kind != EventKind::Extra) return fail(nullptr);
  const auto k = PaymentNumber(first);
  if (!k) return fail(kNumbersText);
  ev.from = *k;
  if (range) {
    const auto m = PaymentNumber(last);
    if (!m) return fail(kNumbersText);
    if (*m < *k) return fail(kOrderText);
    ev.to = *m;
  }
  out.event = ev;
  return out;
}

void SetEventChoices(std::vector<ScheduleEvent>& events, bool lowerPayment, bool keepPayment) {
  for (ScheduleEvent& ev : events) {
    if (ev.kind == EventKind::Extra || ev.kind == EventKind::Lump)
      ev.how = lowerPayment ? EventHow::LowerPayment : EventHow::ShorterTerm;
    else
      ev.how = keepPayment ? EventHow::KeepPayment : EventHow::KeepTerm;
  }
}

std::optional<int> PaymentNumberOn(Date date, Date firstPayment, std::uint16_t paymentsPerYear,
                                   int maxPayment) {
  Date d = firstPayment;
  for (int k = 1; k <= maxPayment; ++k) {
    if (date <= d) return k;
    const Date next = StepPeriodForward(d, paymentsPerYear);
    if (next <= d) return std::nullopt;  // no date step for this period
    d = next;
  }
  return std::nullopt;
}

EventSavings SavingsOf(const Schedule& s) {
  EventSavings out;
  if (!s.calculated()) return out;
  const int last = s.lastRow();
  const int baseLast = s.baseLastRow();
  int skipped = 0;
  for (int k = 1; k <= last; ++k)
    if (s.eventMarks(k) & kMarkHoliday) ++skipped;
  out.basePayments = baseLast;
  out.paymentsMade = last - skipped;
  out.paymentsSaved = out.basePayments - out.paymentsMade;
  out.interestSaved = RoundToCents(static_cast<long double>(s.baseRow(baseLast).runInterest) -
                                   s.row(last).runInterest);
  out.basePayoffDate = s.baseRow(baseLast).date;
  out.payoffDate = s.row(last).date;
  return out;
}

}  // namespace brevika
