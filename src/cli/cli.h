// brevika-calc: the calculators and the schedule from the command line.
// Each command is a CLI11 subcommand; its values are read by the same rules
// as the entry fields, and its exit code comes from the calculation's outcome.
#pragma once
#include <CLI/CLI.hpp>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>

#include "finance/format.h"
#include "finance/items.h"
#include "finance/outcome.h"
#include "finance/parse.h"
#include "finance/periods.h"
#include "amortization/schedule_events.h"
#include "amortization/schedule_report.h"
#include "calculators/calc_record.h"

namespace brevika {
class Schedule;
struct ScheduleInputs;
namespace records {
class LoanRecords;
}
}  // namespace brevika

namespace brevika::cli {

// Exit codes: 0 ran, 1 the calculation or the change of the loan records
// refused, 2 bad arguments.
inline constexpr int kExitOk = 0;
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;

using Json = nlohmann::ordered_json;

// A value the entry fields would not accept; main prints it on one line.
struct BadArgument : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Values of options, read as the fields read them; each throws BadArgument.
double MoneyArg(const std::string& option, const std::string& text);
float RateArg(const std::string& option, const std::string& text);
std::int16_t CountArg(const std::string& option, const std::string& text);
Date DateArg(const std::string& option, const std::string& text);
// Item index by text, case-insensitive.
int ChoiceArg(const std::string& option, const std::string& text, const ItemList& items);

// The options of a list, for --help.
std::string ChoiceHelp(const ItemList& items, int defaultIndex);

// Prints the outcome's messages on standard error; its exit code.
int Finish(const Outcome& outcome);
// Exit code of an outcome: 1 when refused, else 0.
int ExitCode(const Outcome& outcome);

// JSON values: a float by its shortest text, the first message or null.
Json FloatJson(float value);
Json DoubleJson(double value);
// An amount, rounded to the cent.
Json MoneyJson(double value);
Json MessageJson(const Outcome& outcome);

// The user's money format for copy texts (the JSON stays locale-free).
const LocaleFormat& UserLocale();

// Options of a subcommand bound to the fields of a record: each value is
// kept as text by CLI11 and read into its field by Apply(), by the rules of
// the entry fields. Fields whose option is not given keep their value.
class Options {
 public:
  explicit Options(CLI::App* sub) : sub_(sub) {}
  void Money(const char* name, const char* help, double& field, bool required = false);
  void Rate(const char* name, const char* help, float& field, bool required = false);
  void Count(const char* name, const char* help, std::int16_t& field, bool required = false);
  void Day(const char* name, const char* help, Date& field, bool required = false);
  void Choice(const char* name, ListEntry& field, int defaultIndex);
  void Flag(const char* name, const char* help, bool& field);
  bool Given(const char* name) const { return sub_->count(name) > 0; }
  // The text given for an option, to be read by Apply(); nullptr if not given.
  std::string* Text(const char* name);
  // Reads every given option into its field; throws BadArgument.
  void Apply() const;

 private:
  enum class Kind { Money, Rate, Count, Day, Choice };
  struct Binding {
    std::string name;
    Kind kind;
    void* field;
    std::shared_ptr<std::string> text;
  };
  void Add(const char* name, const char* help, Kind kind, void* field, bool required);
  CLI::App* sub_;
  std::vector<Binding> bindings_;
};

// Dates as the command line prints them: MM/DD/YYYY.
std::string DateText(Date d);

// The options that write the printed schedule report as a PDF.
struct PdfOptions {
  std::string file, paper, font, fontSize;
};
// The report's terms of a schedule, with its APR when one exists.
ScheduleReportTerms ReportTermsWithApr(const Schedule& schedule, const ScheduleInputs& in);
// Adds --pdf, --paper, --font, --font-size; returns --pdf.
CLI::Option* AddPdfOptions(CLI::App* sub, PdfOptions& o);
// The page setup those options give (bad values throw BadArgument).
ScheduleReportSetup ReportSetupOf(const CLI::App* sub, const PdfOptions& o);
// Writes the report; a failed write throws BadArgument.
void WritePdf(const PdfOptions& o, const Schedule& schedule, const ScheduleReportTerms& terms,
              const std::optional<Borrower>& borrower, const ScheduleReportSetup& setup);

// The options of `schedule` that save its rows into the loan records.
struct SaveOptions {
  bool save = false, replace = false;
  std::string account, loan, dir;
};
void AddSaveOptions(CLI::App* sub, SaveOptions& o);
// Saves a calculated schedule as a new loan of the account, or into the
// given loan; prints the loan number. Its exit code.
int SaveToRecords(const SaveOptions& o, const ScheduleInputs& in, const Schedule& schedule);

// The what-if event options of `schedule`: --extra, --lump, --rate-change,
// --holiday (repeatable), --events FILE, --lower-payment, --keep-payment.
struct EventOptions {
  std::vector<std::string> extra, lump, rateChange, holiday;
  std::string file;
  bool lowerPayment = false, keepPayment = false;
};
void AddEventOptions(CLI::App* sub, EventOptions& o);
// The events given, in the order given (a file's list where --events
// stands); the two choices set every event that names none of its own.
// Throws BadArgument.
std::vector<ScheduleEvent> EventsOf(const CLI::App* sub, const EventOptions& o);
// The --events form: a JSON list of {"kind", "from"/"at", "to", "amount",
// "rate", "how"}; `source` names it in messages. Throws BadArgument.
std::vector<ScheduleEvent> ParseEventsJson(const std::string& text, const std::string& source,
                                           std::vector<bool>* namedHow = nullptr);
Json EventsJson(const std::vector<ScheduleEvent>& events);
// Where the desktop program beside this executable keeps its tables.
std::string DefaultFolder();
// --dir, the folder of the tables. Commands that only read or delete, and
// those that need a loan, refuse a folder that does not exist rather than
// make empty tables there (a mistyped name would otherwise look like a book
// without loans).
void AddDirOption(CLI::App* sub, std::string& dir, bool mustExist = false);
// A text option that must fit a character field: at most `width`
// characters, each one the tables can hold.
CLI::Validator FitsField(int width);
// A loan number (LOANNO).
CLI::Validator LoanNumber();
// --loan N, required.
void AddLoanOption(CLI::App* sub, std::string& loan);
// The records of the folder, or null after printing why they can't be
// opened. Commands that only read open them so: nothing is written in the
// folder.
std::unique_ptr<records::LoanRecords> OpenRecords(const std::string& dir, int& exitCode, bool readOnly = false);

// Each command registers its subcommand; the callback sets `exitCode`.
// The calculators, one command per kind, with the schedule after the loan
// calculator's.
void AddKindCommands(CLI::App& app, int& exitCode);
void AddScheduleCommand(CLI::App& app, int& exitCode);
// accounts add, records, load, delete: the loan records.
void AddRecordsCommands(CLI::App& app, int& exitCode);
// pay, ledger, payoff, import, interest-paid: the actual payments of a
// saved loan (`delete --payment` removes one).
void AddLedgerCommands(CLI::App& app, int& exitCode);
// `delete --loan N --payment DATE [--amount A]`: removes the loan's payment
// of that date (of that amount, when given); prints it. Its exit code.
int DeleteRecordedPayment(const std::string& dir, const std::string& loanNo, Date date,
                          std::optional<double> amount);

}  // namespace brevika::cli
