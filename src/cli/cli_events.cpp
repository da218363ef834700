// The what-if events of `schedule` on the command line: --extra, --lump,
// --rate-change, --holiday (each repeatable), --events FILE with the same
// list as JSON, and the two choices --lower-payment and --keep-payment.
// `load --json` writes a loan's saved events in the --events form.
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>

#include "amortization/schedule_events.h"
#include "cli/cli.h"
#include "finance/parse.h"
#include "finance/rates.h"

namespace brevika::cli {

namespace {

// A file of events is small; anything larger is not one.
constexpr long long kMaxEventsFileBytes = 1 << 20;

// The option of each event kind, in the order --help lists them.
struct EventOption {
  const char* name;
  EventKind kind;
  const char* form;
  const char* help;
};
constexpr EventOption kEventOptions[] = {
    {"--extra", EventKind::Extra, "AMOUNT@K[-M]",
     "extra principal paid with payments K to M, or from payment K to the end (repeatable)"},
    {"--lump", EventKind::Lump, "AMOUNT@K", "a lump sum of extra principal paid with payment K (repeatable)"},
    {"--rate-change", EventKind::Rate, "RATE@K", "the annual rate in percent from payment K on (repeatable)"},
    {"--holiday", EventKind::Holiday, "K-M",
     "payments K to M are not paid; their interest joins the balance (repeatable)"},
};

std::string ReadEventsFile(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0)
    throw BadArgument("--events: cannot read " + Quoted(path) + ": " + std::strerror(errno));
  if (!S_ISREG(st.st_mode)) throw BadArgument("--events: " + Quoted(path) + " is not a plain file");
  if (st.st_size > kMaxEventsFileBytes)
    throw BadArgument("--events: " + Quoted(path) + " is larger than 1 MB");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw BadArgument("--events: cannot read " + Quoted(path) + ": " + std::strerror(errno));
  std::string text;
  text.reserve(static_cast<std::size_t>(st.st_size));
  char buf[4096];
  while (in.read(buf, sizeof buf) || in.gcount() > 0) {
    text.append(buf, static_cast<std::size_t>(in.gcount()));
    if (static_cast<long long>(text.size()) > kMaxEventsFileBytes)
      throw BadArgument("--events: " + Quoted(path) + " is larger than 1 MB");
  }
  return text;
}

// The keys each kind takes, besides "kind" and "how".
const std::set<std::string>& KeysOf(EventKind kind) {
  static const std::map<EventKind, std::set<std::string>> keys = {
      {EventKind::Extra, {"from", "to", "amount"}},
      {EventKind::Lump, {"at", "amount"}},
      {EventKind::Rate, {"at", "rate"}},
      {EventKind::Holiday, {"from", "to"}},
  };
  return keys.at(kind);
}

// What is wrong with one element of the list.
struct EventProblem {
  std::string what;
};
[[noreturn]] void fail(const std::string& what) { throw EventProblem{what}; }

// One element of the list.
ScheduleEvent EventOfJson(const Json& j, bool& namedHow) {
  if (!j.is_object()) fail("is not an object");
  const auto kindIt = j.find("kind");
  const std::optional<EventKind> kind =
      kindIt != j.end() && kindIt->is_string() ? EventKindNamed(kindIt->get<std::string>()) : std::nullopt;
  if (!kind) fail("'kind' is not extra, lump, rate or holiday");
  const std::string kindName = EventKindName(*kind);
  for (const auto& [key, value] : j.items())
    if (key != "kind" && key != "how" && !KeysOf(*kind).count(key))
      fail("a " + kindName + " event has no key " + Quoted(key));
  ScheduleEvent ev;
  ev.kind = *kind;
  ev.how = DefaultHow(*kind);
  auto payment = [&](const char* key) -> std::optional<int> {
    const auto it = j.find(key);
    if (it == j.end()) return std::nullopt;
    if (!it->is_number_integer() || it->get<long long>() < 1 || it->get<long long>() > 32767)
      fail(std::string("'") + key + "' is not a payment number from 1 to 32767");
    return static_cast<int>(it->get<long long>());
  };
  auto number = [&](const char* key, const NumberPicture& picture, const char* what) {
    const auto it = j.find(key);
    if (it == j.end()) fail("a " + kindName + " event needs '" + key + "'");
    const std::optional<double> v = it->is_number() ? ParseNumberText(it->dump(), picture) : std::nullopt;
    if (!v || *v <= 0) fail(std::string("'") + key + "' is not " + what);
    return *v;
  };
  const char* first = *kind == EventKind::Lump || *kind == EventKind::Rate ? "at" : "from";
  const std::optional<int> from = payment(first);
  if (!from) fail("a " + kindName + " event needs '" + first + "'");
  ev.from = *from;
  if (*kind == EventKind::Extra || *kind == EventKind::Holiday) {
    ev.to = payment("to");
    if (!ev.to && *kind == EventKind::Holiday) fail("a holiday event needs 'to'");
    if (ev.to && *ev.to < ev.from) fail("'to' comes before 'from'");
  }
  if (*kind == EventKind::Extra || *kind == EventKind::Lump)
    ev.amount = number("amount", kMoneyPicture, "an amount above 0 with at most 12 integer digits and 2 decimals");
  if (*kind == EventKind::Rate)
    ev.rate = static_cast<float>(
        number("rate", kRatePicture, "a rate above 0 with at most 2 integer digits and 4 decimals"));
  namedHow = false;
  if (const auto it = j.find("how"); it != j.end()) {
    const std::optional<EventHow> how = it->is_string() ? EventHowNamed(it->get<std::string>()) : std::nullopt;
    const bool money = *kind == EventKind::Extra || *kind == EventKind::Lump;
    if (!how || money != (*how == EventHow::ShorterTerm || *how == EventHow::LowerPayment))
      fail(money ? "'how' of a " + kindName + " event is shorter-term or lower-payment"
                 : "'how' of a " + kindName + " event is keep-term or keep-payment");
    ev.how = *how;
    namedHow = true;
  }
  return ev;
}

}  // namespace

void AddEventOptions(CLI::App* sub, EventOptions& o) {
  std::vector<std::string>* lists[] = {&o.extra, &o.lump, &o.rateChange, &o.holiday};
  for (std::size_t i = 0; i < std::size(kEventOptions); ++i) {
    const EventOption& e = kEventOptions[i];
    sub->add_option(e.name, *lists[i], e.help)
        ->type_name(e.form)
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  }
  sub->add_option("--events", o.file, "the events as a JSON list of objects with kind, from or at, to, amount, rate and how")
      ->type_name("FILE");
  sub->add_flag("--lower-payment", o.lowerPayment,
                "extra principal lowers the payment instead of shortening the term");
  sub->add_flag("--keep-payment", o.keepPayment,
                "rate changes and holidays keep the payment and move the term instead");
}

std::vector<ScheduleEvent> ParseEventsJson(const std::string& text, const std::string& source,
                                           std::vector<bool>* namedHow) {
  Json list;
  try {
    list = Json::parse(text);
  } catch (const Json::parse_error& e) {
    throw BadArgument("--events: " + source + " is not JSON (at byte " + std::to_string(e.byte) + ")");
  }
  if (!list.is_array()) throw BadArgument("--events: " + source + " is not a list of events");
  if (list.size() > static_cast<std::size_t>(kMaxEvents))
    throw BadArgument("--events: " + source + " has more than " + std::to_string(kMaxEvents) + " events");
  std::vector<ScheduleEvent> out;
  for (std::size_t i = 0; i < list.size(); ++i) {
    bool named = false;
    try {
      out.push_back(EventOfJson(list[i], named));
    } catch (const EventProblem& p) {
      throw BadArgument("--events: " + source + ": event " + std::to_string(i + 1) + ": " + p.what);
    }
    if (namedHow) namedHow->push_back(named);
  }
  return out;
}

std::vector<ScheduleEvent> EventsOf(const CLI::App* sub, const EventOptions& o) {
  const std::vector<std::string>* lists[] = {&o.extra, &o.lump, &o.rateChange, &o.holiday};
  std::size_t next[std::size(kEventOptions)] = {};
  std::vector<ScheduleEvent> events;
  std::vector<bool> namedHow;
  // In the order given on the command line.
  for (const CLI::Option* opt : sub->parse_order()) {
    if (opt->get_name() == "--events") {
      const std::vector<ScheduleEvent> file = ParseEventsJson(ReadEventsFile(o.file), Quoted(o.file), &namedHow);
      events.insert(events.end(), file.begin(), file.end());
      continue;
    }
    for (std::size_t i = 0; i < std::size(kEventOptions); ++i) {
      if (opt->get_name() != kEventOptions[i].name || next[i] >= lists[i]->size()) continue;
      const std::string& text = (*lists[i])[next[i]++];
      const ParsedEvent parsed = ParseEventText(kEventOptions[i].kind, text);
      if (!parsed.event)
        throw BadArgument(std::string(kEventOptions[i].name) + ": " + Quoted(text) + " " + parsed.error);
      events.push_back(*parsed.event);
      namedHow.push_back(false);
    }
  }
  if (events.size() > static_cast<std::size_t>(kMaxEvents))
    throw BadArgument("more than " + std::to_string(kMaxEvents) + " events");
  // The two choices go to every event that does not name its own.
  for (std::size_t k = 0; k < events.size(); ++k) {
    if (namedHow[k]) continue;
    std::vector<ScheduleEvent> one{events[k]};
    SetEventChoices(one, o.lowerPayment, o.keepPayment);
    events[k] = one.front();
  }
  return events;
}

Json EventsJson(const std::vector<ScheduleEvent>& events) {
  Json list = Json::array();
  for (const ScheduleEvent& ev : events) {
    Json j;
    j["kind"] = EventKindName(ev.kind);
    const bool at = ev.kind == EventKind::Lump || ev.kind == EventKind::Rate;
    j[at ? "at" : "from"] = ev.from;
    if (!at && ev.to) j["to"] = *ev.to;
    if (ev.kind == EventKind::Extra || ev.kind == EventKind::Lump) j["amount"] = DoubleJson(RoundToCents(ev.amount));
    if (ev.kind == EventKind::Rate) j["rate"] = FloatJson(ev.rate);
    j["how"] = EventHowName(ev.how);
    list.push_back(std::move(j));
  }
  return list;
}

}  // namespace brevika::cli
