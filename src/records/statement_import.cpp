#include "records/statement_import.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "finance/parse.h"

namespace brevika::records {

namespace {

bool Digit(char c) { return c >= '0' && c <= '9'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Blanks a statement may put around a value: space, tab, and the no-break
// spaces (U+00A0, U+202F) that some locales group digits with.
std::string_view Trim(std::string_view s) {
  for (bool again = true; again;) {
    again = false;
    for (std::string_view blank : {" ", "\t", "\xC2\xA0", "\xE2\x80\xAF"}) {
      if (s.substr(0, blank.size()) == blank) {
        s.remove_prefix(blank.size());
        again = true;
      }
      if (s.size() >= blank.size() && s.substr(s.size() - blank.size()) == blank) {
        s.remove_suffix(blank.size());
        again = true;
      }
    }
  }
  return s;
}

std::string Folded(std::string_view s) {
  s = Trim(s);
  std::string out(s);
  for (char& c : out) c = Lower(c);
  return out;
}

// A value as the messages quote it: in single quotes, cut to 40 bytes.
std::string Quote(std::string_view s) {
  std::string text(s.substr(0, 40));
  if (s.size() > 40) text += "...";
  return "'" + text + "'";
}

std::string LineText(int line, const std::string& what) { return "Line " + std::to_string(line) + ": " + what; }

std::string Plural(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

Outcome Refuse(const std::string& text) { return Outcome::Refuse(Message{text, BoxType::Warning}); }

const char kNothingImported[] = "Nothing was imported.\n\n";

std::string ColumnList(const CsvRecord& header) {
  std::string out;
  for (const std::string& f : header.fields) out += (out.empty() ? "" : ", ") + std::string(Trim(f));
  return out;
}

}  // namespace

Outcome ParseCsv(std::string_view text, CsvDocument& out) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  enum class State { FieldStart, Unquoted, Quoted, AfterQuote };
  CsvDocument doc;
  bool haveHeader = false;
  CsvRecord record;
  std::string field;
  State state = State::FieldStart;
  int line = 1, quoteLine = 1;
  record.line = 1;
  auto endRecord = [&] {
    record.fields.push_back(std::move(field));
    field.clear();
    const bool blank = std::all_of(record.fields.begin(), record.fields.end(),
                                   [](const std::string& f) { return Trim(f).empty(); });
    if (!blank) {
      if (!haveHeader) {
        doc.header = std::move(record);
        haveHeader = true;
      } else {
        doc.records.push_back(std::move(record));
      }
    }
    record = CsvRecord{};
  };
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char c = text[i];
    if (state == State::Quoted) {
      if (c == '"') {
        if (i + 1 < n && text[i + 1] == '"') {
          field += '"';
          ++i;
        } else {
          state = State::AfterQuote;
        }
      } else {
        if (c == '\n' || (c == '\r' && (i + 1 >= n || text[i + 1] != '\n'))) ++line;
        field += c;
      }
      continue;
    }
    if (c == ',') {
      record.fields.push_back(std::move(field));
      field.clear();
      state = State::FieldStart;
    } else if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
      endRecord();
      ++line;
      record.line = line;
      state = State::FieldStart;
    } else if (state == State::AfterQuote) {
      return Refuse("The statement can't be read as CSV.\n\n" +
                    LineText(line, "a closing quote is followed by other text.") + "\n\n" + kNothingImported);
    } else if (c == '"' && state == State::FieldStart) {
      state = State::Quoted;
      quoteLine = line;
    } else {
      field += c;
      state = State::Unquoted;
    }
  }
  if (state == State::Quoted)
    return Refuse("The statement can't be read as CSV.\n\n" + LineText(quoteLine, "a quoted field is not closed.") +
                  "\n\n" + kNothingImported);
  // The last record, unless the text ended with its line end.
  if (!record.fields.empty() || !field.empty() || state != State::FieldStart) endRecord();
  out = std::move(doc);
  return Outcome::Ok();
}

int DefaultDateColumn(const CsvRecord& header) {
  const int n = static_cast<int>(header.fields.size());
  for (int k = 0; k < n; ++k)
    if (Folded(header.fields[static_cast<std::size_t>(k)]) == "date") return k;
  for (int k = 0; k < n; ++k)
    if (Folded(header.fields[static_cast<std::size_t>(k)]).find("date") != std::string::npos) return k;
  return -1;
}

int DefaultAmountColumn(const CsvRecord& header, int dateColumn) {
  const int n = static_cast<int>(header.fields.size());
  for (int k = 0; k < n; ++k)
    if (Folded(header.fields[static_cast<std::size_t>(k)]) == "amount") return k;
  for (const char* word : {"amount", "payment"})
    for (int k = 0; k < n; ++k)
      if (k != dateColumn && Folded(header.fields[static_cast<std::size_t>(k)]).find(word) != std::string::npos)
        return k;
  return -1;
}

int FindColumn(const CsvRecord& header, std::string_view spec) {
  spec = Trim(spec);
  if (spec.empty()) return -1;
  const int n = static_cast<int>(header.fields.size());
  if (std::all_of(spec.begin(), spec.end(), Digit)) {
    if (spec.size() > 6) return -1;
    int k = 0;
    for (char c : spec) k = k * 10 + (c - '0');
    return k >= 1 && k <= n ? k - 1 : -1;
  }
  const std::string want = Folded(spec);
  for (int k = 0; k < n; ++k)
    if (Folded(header.fields[static_cast<std::size_t>(k)]) == want) return k;
  return -1;
}

Date ParseStatementDate(std::string_view text) {
  text = Trim(text);
  // YYYY-MM-DD: rewritten as M/D/YYYY for the one date parser.
  const std::size_t dash1 = text.find('-');
  if (dash1 != std::string_view::npos) {
    const std::size_t dash2 = text.find('-', dash1 + 1);
    if (dash1 != 4 || dash2 == std::string_view::npos) return kBadDate;
    const std::string_view y = text.substr(0, 4), m = text.substr(5, dash2 - 5), d = text.substr(dash2 + 1);
    for (std::string_view part : {y, m, d})
      if (part.empty() || !std::all_of(part.begin(), part.end(), Digit)) return kBadDate;
    if (m.size() > 2 || d.size() > 2) return kBadDate;
    return ParseDateText(std::string(m) + "/" + std::string(d) + "/" + std::string(y), -1);
  }
  return ParseDateText(text, 1960);
}

namespace {

// The number with the locale's thousands separator written ',' and its
// decimal mark '.'.
std::string LocaleToUs(std::string_view s, const LocaleFormat& loc) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t k = 0; k < s.size();) {
    if (!loc.thousands.empty() && s.substr(k, loc.thousands.size()) == loc.thousands) {
      out += ',';
      k += loc.thousands.size();
    } else if (!loc.decimal.empty() && s.substr(k, loc.decimal.size()) == loc.decimal) {
      out += '.';
      k += loc.decimal.size();
    } else {
      out += s[k++];
    }
  }
  return out;
}

// "1,234.56": digits grouped by three when grouped at all.
std::optional<double> UsAmount(const std::string& s, const NumberPicture& pic) {
  const std::string whole = s.substr(0, s.find('.'));
  if (whole.find(',') != std::string::npos) {
    std::size_t start = 0, group = 0;
    while (true) {
      const std::size_t comma = whole.find(',', start);
      const std::size_t len = (comma == std::string::npos ? whole.size() : comma) - start;
      if (group == 0 ? (len < 1 || len > 3) : len != 3) return std::nullopt;
      if (comma == std::string::npos) break;
      start = comma + 1;
      ++group;
    }
  }
  return ParseNumberText(s, pic, ".", ",");
}

}  // namespace

std::optional<double> ParseStatementAmount(std::string_view text, const LocaleFormat& loc) {
  std::string_view s = Trim(text);
  bool negative = false;
  if (s.size() >= 2 && s.front() == '(' && s.back() == ')') {
    negative = true;
    s = Trim(s.substr(1, s.size() - 2));
  }
  auto sign = [&] {
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
      if (s.front() == '-') negative = !negative;
      s = Trim(s.substr(1));
      return true;
    }
    return false;
  };
  static const std::string_view kSigns[] = {"US$", "USD", "CA$", "C$", "CAD", "A$", "AUD", "EUR",
                                            "GBP", "CHF", "JPY", "$", "€", "£", "¥"};
  auto currency = [&](bool front) {
    std::string_view found;
    auto consider = [&](std::string_view sym) {
      if (sym.empty() || sym.size() > s.size() || sym.size() <= found.size()) return;
      if ((front ? s.substr(0, sym.size()) : s.substr(s.size() - sym.size())) == sym) found = sym;
    };
    consider(loc.currencySymbol);
    for (std::string_view sym : kSigns) consider(sym);
    if (found.empty()) return;
    s = Trim(front ? s.substr(found.size()) : s.substr(0, s.size() - found.size()));
  };
  const bool signed1 = sign();
  currency(true);
  if (!signed1) sign();
  currency(false);
  if (s.empty()) return std::nullopt;
  const NumberPicture pic{kMoneyPicture.intDigits, kMoneyPicture.decimals, false};
  // The locale's marks first, else US marks; either way the thousands
  // separators must group the digits by three, so that "386.66" is never
  // read as 38,666 where '.' groups thousands.
  std::optional<double> v = UsAmount(LocaleToUs(s, loc), pic);
  if (!v && (loc.decimal != "." || loc.thousands != ",")) v = UsAmount(std::string(s), pic);
  if (!v) return std::nullopt;
  return negative ? -*v : *v;
}

Outcome ReadStatement(const CsvDocument& doc, const StatementColumns& columns, const LedgerTerms& terms,
                      const std::vector<ActualPayment>& recorded, StatementImport& out, const LocaleFormat& loc) {
  StatementImport im;
  const CsvRecord& header = doc.header;
  if (header.fields.empty()) return Refuse(std::string("The statement is empty.\n\n") + kNothingImported);

  auto column = [&](const std::string& spec, int byDefault, const char* what, int& col) -> std::optional<Message> {
    if (Trim(spec).empty()) {
      col = byDefault;
      if (col < 0)
        return Message{std::string("No column of the statement is named like ") + what +
                           ".\n\nChoose the column by its name or its number.\n\nIts columns: " + ColumnList(header) +
                           "\n\n" + kNothingImported,
                       BoxType::Warning};
    } else {
      col = FindColumn(header, spec);
      if (col < 0)
        return Message{"The statement has no column " + Quote(Trim(spec)) + ".\n\nIts columns: " +
                           ColumnList(header) + "\n\n" + kNothingImported,
                       BoxType::Warning};
    }
    return std::nullopt;
  };
  const int dateDefault = DefaultDateColumn(header);
  if (auto m = column(columns.date, dateDefault, "a date", im.dateColumn)) return Outcome::Refuse(*m);
  const int amountDefault = DefaultAmountColumn(header, im.dateColumn);
  if (auto m = column(columns.amount, amountDefault, "an amount", im.amountColumn)) return Outcome::Refuse(*m);
  if (im.dateColumn == im.amountColumn)
    return Refuse(std::string("The date and the amount must be different columns.\n\n") + kNothingImported);
  if (doc.records.empty()) {
    out = std::move(im);
    return Refuse(std::string("The statement has no lines after its header.\n\n") + kNothingImported);
  }

  // Each recorded payment accounts for one equal statement line.
  std::map<std::pair<Date, long long>, int> already;
  for (const ActualPayment& p : recorded) ++already[{p.date, std::llround(p.amount * 100.0)}];

  const auto dateCol = static_cast<std::size_t>(im.dateColumn);
  const auto amountCol = static_cast<std::size_t>(im.amountColumn);
  const std::string dateColText = std::to_string(im.dateColumn + 1);
  const std::string amountColText = std::to_string(im.amountColumn + 1);
  for (const CsvRecord& r : doc.records) {
    auto problem = [&](const std::string& what) { im.problems.push_back({r.line, LineText(r.line, what)}); };
    const std::string_view dateText = dateCol < r.fields.size() ? Trim(r.fields[dateCol]) : std::string_view();
    const std::string_view amountText =
        amountCol < r.fields.size() ? Trim(r.fields[amountCol]) : std::string_view();
    if (dateText.empty()) {
      problem("no date in column " + dateColText + ".");
      continue;
    }
    const Date date = ParseStatementDate(dateText);
    if (date == kBadDate) {
      problem(Quote(dateText) + " is not a date (MM/DD/YYYY or YYYY-MM-DD).");
      continue;
    }
    if (date < terms.origination) {
      problem(FormatShortDate(date, true) + " is before Origination Date " + FormatShortDate(terms.origination, true) +
              ".");
      continue;
    }
    if (amountText.empty()) {
      problem("no amount in column " + amountColText + ".");
      continue;
    }
    const std::optional<double> amount = ParseStatementAmount(amountText, loc);
    if (!amount) {
      problem(Quote(amountText) + " is not an amount (at most 12 integer digits and 2 decimals).");
      continue;
    }
    const long long cents = std::llround(*amount * 100.0);
    if (cents <= 0) {
      problem(Quote(amountText) + " is not more than zero.");
      continue;
    }
    auto found = already.find({date, cents});
    if (found != already.end() && found->second > 0) {
      --found->second;
      im.skipped.push_back({r.line, date, *amount});
      continue;
    }
    im.payments.push_back(ActualPayment{date, *amount, {}});
    im.paymentLines.push_back(r.line);
  }

  if (!im.problems.empty()) {
    std::string text = std::string(kNothingImported) +
                       Plural(im.problems.size(), "line", "lines") + " of the statement can't be read:\n\n";
    const std::size_t shown = std::min(im.problems.size(), kStatementLinesListed);
    for (std::size_t k = 0; k < shown; ++k) text += im.problems[k].text + "\n";
    if (im.problems.size() > shown) text += "\nand " + std::to_string(im.problems.size() - shown) + " more.\n";
    text += "\n";
    im.payments.clear();
    im.paymentLines.clear();
    out = std::move(im);
    return Refuse(text);
  }

  std::string text = im.payments.empty() ? std::string("No payment imported.")
                                         : Plural(im.payments.size(), "payment", "payments") + " imported.";
  if (!im.skipped.empty()) {
    text += "\n\n" + Plural(im.skipped.size(), "line", "lines") + " already recorded, skipped:\n\n";
    const std::size_t shown = std::min(im.skipped.size(), kStatementLinesListed);
    for (std::size_t k = 0; k < shown; ++k) {
      const StatementLine& s = im.skipped[k];
      text += LineText(s.line, FormatShortDate(s.date, true) + "  " + FormatMoney(s.amount, 2, loc)) + "\n";
    }
    if (im.skipped.size() > shown) text += "\nand " + std::to_string(im.skipped.size() - shown) + " more.\n";
  }
  text += "\n";
  out = std::move(im);
  Outcome ok;
  ok.Say(Message{text, BoxType::Information});
  return ok;
}

Outcome ImportStatement(std::string_view text, const StatementColumns& columns, const LedgerTerms& terms,
                        const std::vector<ActualPayment>& recorded, StatementImport& out, const LocaleFormat& loc) {
  CsvDocument doc;
  if (Outcome o = ParseCsv(text, doc); o.refused) return o;
  return ReadStatement(doc, columns, terms, recorded, out, loc);
}

}  // namespace brevika::records
