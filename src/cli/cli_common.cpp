#include <charconv>
#include <cmath>
#include <iostream>

#include "cli/cli.h"
#include "finance/parse.h"
#include "finance/rates.h"

namespace brevika::cli {

namespace {
[[noreturn]] void Bad(const std::string& option, const std::string& text, const std::string& what) {
  throw BadArgument(option + ": " + Quoted(text) + " " + what);
}

template <class T>
T Checked(const std::string& option, const std::string& text, const std::optional<T>& value, const std::string& why) {
  if (!value) Bad(option, text, why);
  return *value;
}
}  // namespace

double MoneyArg(const std::string& option, const std::string& text) {
  std::string why;
  return Checked(option, text, ReadAmount(text, why), why);
}

float RateArg(const std::string& option, const std::string& text) {
  std::string why;
  return Checked(option, text, ReadRate(text, why), why);
}

std::int16_t CountArg(const std::string& option, const std::string& text) {
  std::string why;
  return static_cast<std::int16_t>(Checked(option, text, ReadCount(text, -32768, 32767, why), why));
}

Date DateArg(const std::string& option, const std::string& text) {
  const Date d = ParseDateText(text, -1);
  if (d == kBadDate) Bad(option, text, "is not a date MM/DD/YYYY from 01/01/1600 to 12/31/3999");
  return d;
}

int ChoiceArg(const std::string& option, const std::string& text, const ItemList& items) {
  std::string why;
  return Checked(option, text, ReadItem(text, items, why), why);
}

std::string ChoiceHelp(const ItemList& items, int defaultIndex) {
  std::string out;
  for (const auto& it : items) out += (out.empty() ? "" : ", ") + it;
  if (defaultIndex >= 0 && defaultIndex < static_cast<int>(items.size()))
    out += " (default " + items[static_cast<std::size_t>(defaultIndex)] + ")";
  return out;
}

int ExitCode(const Outcome& outcome) { return outcome.refused ? kExitRefused : kExitOk; }

int Finish(const Outcome& outcome) {
  for (const Message& m : outcome.messages) std::cerr << ShownText(m.text) << "\n";
  return ExitCode(outcome);
}

Json FloatJson(float value) {
  if (!std::isfinite(value)) return nullptr;
  char buf[32];
  auto res = std::to_chars(buf, buf + sizeof buf, value);
  double d = 0;
  std::from_chars(buf, res.ptr, d);
  return d == 0 ? Json(0) : Json(d);
}

Json DoubleJson(double value) {
  if (!std::isfinite(value)) return nullptr;
  if (value == 0) return 0;  // no "-0"
  return value;
}

Json MoneyJson(double value) { return DoubleJson(RoundToCents(value)); }

Json MessageJson(const Outcome& outcome) {
  if (outcome.messages.empty()) return nullptr;
  return outcome.messages.front().text;
}

const LocaleFormat& UserLocale() {
  static const LocaleFormat format = EnvironmentLocaleFormat();
  return format;
}

void Options::Add(const char* name, const char* help, Kind kind, void* field, bool required) {
  auto text = std::make_shared<std::string>();
  CLI::Option* opt = sub_->add_option(name, *text, help);
  if (required) opt->required();
  bindings_.push_back({name, kind, field, text});
}

void Options::Money(const char* name, const char* help, double& field, bool required) {
  Add(name, help, Kind::Money, &field, required);
}
void Options::Rate(const char* name, const char* help, float& field, bool required) {
  Add(name, help, Kind::Rate, &field, required);
}
void Options::Count(const char* name, const char* help, std::int16_t& field, bool required) {
  Add(name, help, Kind::Count, &field, required);
}
void Options::Day(const char* name, const char* help, Date& field, bool required) {
  Add(name, help, Kind::Day, &field, required);
}
void Options::Choice(const char* name, ListEntry& field, int defaultIndex) {
  auto text = std::make_shared<std::string>();
  sub_->add_option(name, *text, ChoiceHelp(field.items, defaultIndex));
  bindings_.push_back({name, Kind::Choice, &field, text});
}
void Options::Flag(const char* name, const char* help, bool& field) {
  sub_->add_flag(name, field, help);
}

std::string* Options::Text(const char* name) {
  if (!Given(name)) return nullptr;
  for (Binding& b : bindings_)
    if (b.name == name) return b.text.get();
  return nullptr;
}

void Options::Apply() const {
  for (const Binding& b : bindings_) {
    if (!Given(b.name.c_str())) continue;
    const std::string& t = *b.text;
    switch (b.kind) {
      case Kind::Money: *static_cast<double*>(b.field) = MoneyArg(b.name, t); break;
      case Kind::Rate: *static_cast<float*>(b.field) = RateArg(b.name, t); break;
      case Kind::Count: *static_cast<std::int16_t*>(b.field) = CountArg(b.name, t); break;
      case Kind::Day: *static_cast<Date*>(b.field) = DateArg(b.name, t); break;
      case Kind::Choice: {
        auto* entry = static_cast<ListEntry*>(b.field);
        entry->Select(ChoiceArg(b.name, t, entry->items));
        break;
      }
    }
  }
}

std::string DateText(Date d) { return d == kBadDate ? std::string() : FormatShortDate(d, true); }

}  // namespace brevika::cli
