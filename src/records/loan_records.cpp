#include "records/loan_records.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "finance/rates.h"
#include "records/loan_ledger.h"

namespace brevika::records {
namespace {

using tables::Table;
using tables::Transaction;

std::string Trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return std::string(s);
}

// The text as a field of `width` characters keeps it, trailing blanks trimmed.
std::string Fit(std::string_view s, int width) {
  std::string b = tables::Utf8ToCp1252(Trim(s));
  if (b.size() > static_cast<std::size_t>(width)) b.resize(static_cast<std::size_t>(width));
  while (!b.empty() && b.back() == ' ') b.pop_back();
  return tables::Cp1252ToUtf8(b);
}

// First `n` characters in upper case (cp1252 letters).
std::string UpperPrefix(std::string_view s, std::size_t n) {
  std::string b = tables::Utf8ToCp1252(s);
  if (b.size() > n) b.resize(n);
  for (char& ch : b) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 32);
    else if (c >= 0xE0 && c <= 0xFE && c != 0xF7) c = static_cast<unsigned char>(c - 32);
    else if (c == 0x9A || c == 0x9C || c == 0x9E) c = static_cast<unsigned char>(c - 16);
    else if (c == 0xFF) c = 0x9F;
    ch = static_cast<char>(c);
  }
  return tables::Cp1252ToUtf8(b);
}

// Refusals of the engine that say what is wrong with the folder as a whole
// (in use, not writable, left broken) pass through as they are.
bool IsEngineText(const Outcome& o) {
  const std::string t = o.FirstText();
  return t.rfind("The loan records ", 0) == 0 || t == tables::kMsgTablesBroken;
}

Outcome SaveFailure(const Outcome& o) {
  if (IsEngineText(o)) return o;
  // A table that could not be made (EVENTS.DBF, made by its first save)
  // failed as a write does.
  if (o.FirstText() == tables::kMsgWriteFailed || o.FirstText() == tables::kMsgTableOpenFailed)
    return Outcome::Refuse({kMsgSaveFailed, BoxType::Error});
  return Outcome::Refuse({"Save failed.\n\n" + o.FirstText(), BoxType::Error});
}

Outcome DeleteFailure(const Outcome& o) {
  if (IsEngineText(o)) return o;
  return Outcome::Refuse({kMsgDeleteFailed, BoxType::Information});
}

// Collects the first refusal of a run of field writes.
struct FirstFailure {
  Outcome result;
  void operator()(const Outcome& o) {
    if (!o.ok() && result.ok()) result = o;
  }
};

Account ReadAccount(const Table& t) {
  Account a;
  a.accountNo = t.GetTrimString("ACCOUNTNO");
  a.lastName = t.GetTrimString("LASTNAME");
  a.firstName = t.GetTrimString("FIRSTNAME");
  a.mi = t.GetTrimString("MI");
  a.business = t.GetTrimString("BUSINESS");
  a.address1 = t.GetTrimString("ADDRESS1");
  a.address2 = t.GetTrimString("ADDRESS2");
  a.city = t.GetTrimString("CITY");
  a.state = t.GetTrimString("STATE");
  a.zip = t.GetTrimString("ZIP");
  a.country = t.GetTrimString("COUNTRY");
  a.phone1 = t.GetTrimString("PHONE1");
  a.phone2 = t.GetTrimString("PHONE2");
  a.phone2Ext = t.GetTrimString("PHONE2EXT");
  a.comment = t.GetTrimString("COMMENT");
  a.userId = t.GetTrimString("USERID");
  a.recordDate = t.GetDate("RECORDDATE");
  a.recordTime = t.GetTrimString("RECORDTIME");
  return a;
}

Loan ReadLoan(const Table& t) {
  Loan l;
  l.loanNo = t.GetTrimString("LOANNO");
  l.collateral = t.GetTrimString("COLLATERIA");
  l.propAddress = t.GetTrimString("PROPADDRES");
  l.blockNo = t.GetTrimString("BLOCKNO");
  l.lotNo = t.GetTrimString("LOTNO");
  l.propState = t.GetTrimString("PROPSTATE");
  l.propCity = t.GetTrimString("PROPCITY");
  l.propZip = t.GetTrimString("PROPZIP");
  l.propCountry = t.GetTrimString("PROPCNTRY");
  LoanTerms& m = l.terms;
  m.amount = t.GetNumber("INITAMT");
  m.term = static_cast<std::uint16_t>(std::clamp(t.GetNumber("INITTERM"), 0.0, 65535.0));
  m.origDate = t.GetDate("ORIGDATE");
  m.firstPmtDate = t.GetDate("FRSTPMTDT");
  m.pmtsPerYr = static_cast<int>(t.GetNumber("PMTSPERYR"));
  m.cmpPerYr = static_cast<int>(t.GetNumber("CMPPERYR"));
  m.points = static_cast<float>(t.GetNumber("POINTS"));
  m.rate = static_cast<float>(t.GetNumber("INITRATE"));
  m.amortMthd = static_cast<int>(t.GetNumber("AMORTMTHD"));
  m.rateBasis = static_cast<int>(t.GetNumber("RATEBASIS"));
  return l;
}

// Record numbers of the rows of `t` whose `tag` key is `key`, in key order.
std::vector<std::uint32_t> RowsWithKey(Table& t, const char* tag, const std::string& key) {
  t.SetOrder(t.TagArea(tag));
  const std::string padded = t.PadKey(key);
  std::vector<std::uint32_t> rows;
  t.SetScope(padded, padded);
  for (t.GoTop(); !t.Eof(); t.Skip()) rows.push_back(t.RecNo());
  t.ClearScope();
  return rows;
}

Outcome DeleteRows(Table& t, const std::vector<std::uint32_t>& rows) {
  for (std::uint32_t r : rows) {
    t.Go(r);
    Outcome o = t.Delete();
    if (!o.ok()) return o;
  }
  return Outcome::Ok();
}

// Puts `count` rows in the place of a loan's `old` rows of `t`: old rows
// are blanked and rewritten in order, more are appended, surplus ones
// deleted, so a replace leaves no old row and moves as few bytes as it
// can. `fill(k, f)` writes row k at the current record.
template <class Fill>
Outcome ReplaceRows(Table& t, const std::vector<std::uint32_t>& old, std::size_t count, Fill fill) {
  FirstFailure f;
  for (std::size_t k = 0; k < count && f.result.ok(); ++k) {
    if (k < old.size()) {
      t.Go(old[k]);
      f(t.BlankRecord());
    } else {
      f(t.AppendBlank());
    }
    if (!f.result.ok()) break;
    fill(k, f);
  }
  if (!f.result.ok()) return f.result;
  if (old.size() > count) {
    f(DeleteRows(t, std::vector<std::uint32_t>(old.begin() + static_cast<std::ptrdiff_t>(count), old.end())));
    f(t.Pack());
  }
  return f.result;
}

// The fields of TRANS.DBF by their index.
struct TransFields {
  explicit TransFields(const Table& t)
      : loan(t.FieldIndex("LOANNO")), date(t.FieldIndex("TRANSDATE")), actual(t.FieldIndex("ACTUAL")),
        no(t.FieldIndex("TRANSNO")), label(t.FieldIndex("PMTNOYR")), pmt(t.FieldIndex("PMT")),
        calculated(t.FieldIndex("CALCULATED")), how(t.FieldIndex("APPLIEDHOW")),
        principal(t.FieldIndex("PRINCIPAL")), interest(t.FieldIndex("INTEREST")), balance(t.FieldIndex("PRINBAL")),
        runPmt(t.FieldIndex("RUNPMT")), runPrin(t.FieldIndex("RUNPRIN")), runInt(t.FieldIndex("RUNINT")) {}
  int loan, date, actual, no, label, pmt, calculated, how, principal, interest, balance, runPmt, runPrin, runInt;
};

// The current TRANS record into `r`; what a saved row does not keep (its
// days and rates) stays as it is.
void ReadTransRow(const Table& t, const TransFields& f, ScheduleRow& r) {
  r.date = t.GetDate(f.date);
  r.pmtNo = static_cast<std::int16_t>(std::clamp(t.GetNumber(f.no), -32768.0, 32767.0));
  const std::string label = t.GetTrimString(f.label);
  std::memset(r.periodLabel, 0, sizeof r.periodLabel);
  std::memcpy(r.periodLabel, label.data(), std::min(label.size(), sizeof r.periodLabel - 1));
  r.payment = t.GetNumber(f.pmt);
  r.principal = t.GetNumber(f.principal);
  r.interest = t.GetNumber(f.interest);
  r.balance = t.GetNumber(f.balance);
  r.runPayment = t.GetNumber(f.runPmt);
  r.runPrincipal = t.GetNumber(f.runPrin);
  r.runInterest = t.GetNumber(f.runInt);
}

}  // namespace

std::unique_ptr<LoanRecords> LoanRecords::Open(const std::string& folder, Outcome& outcome,
                                               RecordsOptions options) {
  std::error_code ec;
  if (!options.readOnly) std::filesystem::create_directories(folder, ec);
  tables::DatabaseOptions dbo;
  dbo.fs = options.fs;
  dbo.today = options.today;
  dbo.readOnly = options.readOnly;
  for (const tables::TableDef* def : RecordTables()) dbo.tableFiles.push_back(def->fileName);
  auto db = tables::Database::Open(folder, outcome, dbo);
  if (!db) return nullptr;
  std::unique_ptr<LoanRecords> r(new LoanRecords);
  r->db_ = std::move(db);
  r->today_ = std::move(options.today);
  r->timeText_ = std::move(options.timeText);
  const std::pair<Table**, const tables::TableDef*> slots[] = {
      {&r->accounts_, &AccountsTable()}, {&r->loans_, &LoansTable()}, {&r->xref_, &XrefTable()},
      {&r->sysInfo_, &SysInfoTable()},   {&r->trans_, &TransTable()}};
  for (const auto& [slot, def] : slots) {
    *slot = r->db_->Use(*def, outcome, true);
    if (!*slot) return nullptr;
  }
  // A book may lack the events table: it reads empty until a save needs it.
  r->events_ = r->db_->Use(EventsTable(), outcome, false);
  if (!r->events_) return nullptr;
  // Made by the first payment recorded in the folder.
  r->payments_ = r->db_->Use(PaymentsTable(), outcome, false);
  if (!r->payments_) return nullptr;
  if (r->writable()) {
    outcome = r->EnsureFirstRows();
    if (!outcome.ok()) {
      outcome = Outcome::Refuse({tables::kMsgTableOpenFailed, BoxType::Error});
      return nullptr;
    }
  }
  return r;
}

Outcome LoanRecords::EnsureFirstRows() {
  Transaction tx(*db_);
  if (!tx.began().ok()) return tx.began();
  FirstFailure f;
  if (!SeekAccount(kDefaultAccount)) {
    Account a;
    a.accountNo = kDefaultAccount;
    f(accounts_->AppendBlank());
    if (f.result.ok()) f(WriteAccount(a));
  }
  sysInfo_->SetOrder(0);
  sysInfo_->GoTop();
  if (sysInfo_->Eof()) {
    f(sysInfo_->AppendBlank());
    f(sysInfo_->ReplaceNumber("LASTLOANNO", 0));
    f(sysInfo_->ReplaceNumber("SAVECNTS", 0));
  }
  if (!f.result.ok()) return f.result;
  return tx.Commit();
}

std::string LoanRecords::Stamp() const {
  if (timeText_) return timeText_();
  const std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", tm.tm_hour, tm.tm_min, tm.tm_sec);
  return buf;
}

bool LoanRecords::SeekAccount(const std::string& accountNo) const {
  accounts_->SetOrder(accounts_->TagArea(kTagAccounts));
  return accounts_->Seek(accounts_->PadKey(accountNo));
}

bool LoanRecords::SeekLoan(const std::string& loanNo) const {
  loans_->SetOrder(loans_->TagArea(kTagLoanNo));
  return loans_->Seek(loans_->PadKey(loanNo));
}

// ---- accounts

std::vector<Account> LoanRecords::Accounts(AccountOrder order) const {
  tables::ReadGuard guard(*db_);
  std::vector<Account> out;
  accounts_->SetOrder(accounts_->TagArea(kTagAccounts));
  for (accounts_->GoTop(); !accounts_->Eof(); accounts_->Skip()) out.push_back(ReadAccount(*accounts_));
  // A book only read, never opened for a change, lacks the account every
  // book has.
  if (!writable() && !SeekAccount(kDefaultAccount)) {
    Account d;
    d.accountNo = kDefaultAccount;
    out.insert(std::upper_bound(out.begin(), out.end(), d,
                                [](const Account& a, const Account& b) { return a.accountNo < b.accountNo; }),
               d);
  }
  if (order == AccountOrder::LastName) {
    std::stable_sort(out.begin(), out.end(), [](const Account& a, const Account& b) {
      return std::tie(a.lastName, a.firstName) < std::tie(b.lastName, b.firstName);
    });
  } else if (order == AccountOrder::Business) {
    std::stable_sort(out.begin(), out.end(),
                     [](const Account& a, const Account& b) { return a.business < b.business; });
  }
  return out;
}

std::optional<Account> LoanRecords::FindAccount(std::string_view accountNo) const {
  tables::ReadGuard guard(*db_);
  const std::string no = Fit(accountNo, 20);
  if (!no.empty() && no == kDefaultAccount && !writable() && !SeekAccount(no)) {
    Account d;
    d.accountNo = kDefaultAccount;
    return d;
  }
  if (no.empty() || !SeekAccount(no)) return std::nullopt;
  return ReadAccount(*accounts_);
}

int LoanRecords::SearchAccount(std::string_view prefix) const {
  tables::ReadGuard guard(*db_);
  accounts_->SetOrder(accounts_->TagArea(kTagAccounts));
  if (!accounts_->SoftSeek(prefix)) return -1;
  const std::uint32_t found = accounts_->RecNo();
  int index = 0;
  for (accounts_->GoTop(); !accounts_->Eof() && accounts_->RecNo() != found; accounts_->Skip()) ++index;
  return index;
}

std::string LoanRecords::GenerateAccountNumber(std::string_view lastName,
                                               std::string_view firstName) const {
  tables::ReadGuard guard(*db_);
  const std::string last = Trim(lastName), first = Trim(firstName);
  if (last.empty() || first.empty()) return {};
  const std::string base = UpperPrefix(last, 4) + UpperPrefix(first, 3);
  for (int counter = 1; counter <= 999; ++counter) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%03d", counter);
    const std::string candidate = base + digits;
    if (!SeekAccount(candidate)) return candidate;
  }
  return {};
}

Outcome LoanRecords::WriteAccount(const Account& a) {
  Table& t = *accounts_;
  FirstFailure f;
  f(t.ReplaceString("ACCOUNTNO", a.accountNo));
  f(t.ReplaceString("LASTNAME", a.lastName));
  f(t.ReplaceString("FIRSTNAME", a.firstName));
  f(t.ReplaceString("MI", a.mi));
  f(t.ReplaceString("BUSINESS", a.business));
  f(t.ReplaceString("ADDRESS1", a.address1));
  f(t.ReplaceString("ADDRESS2", a.address2));
  f(t.ReplaceString("CITY", a.city));
  f(t.ReplaceString("STATE", a.state));
  f(t.ReplaceString("ZIP", a.zip));
  f(t.ReplaceString("COUNTRY", a.country));
  f(t.ReplaceString("PHONE1", a.phone1));
  f(t.ReplaceString("PHONE2", a.phone2));
  f(t.ReplaceString("PHONE2EXT", a.phone2Ext));
  f(t.ReplaceString("COMMENT", a.comment));
  f(t.ReplaceString("USERID", a.userId));
  f(t.ReplaceDate("RECORDDATE", today_ ? today_() : TodayDate()));
  f(t.ReplaceString("RECORDTIME", Stamp()));
  return f.result;
}

Outcome LoanRecords::AddAccount(Account& account, IdMode mode) {
  std::string no;
  if (mode == IdMode::Generate) {
    if (Trim(account.lastName).empty() || Trim(account.firstName).empty())
      return Outcome::Refuse({kMsgNamesRequired, BoxType::Warning});
    no = GenerateAccountNumber(account.lastName, account.firstName);
    if (no.empty()) return Outcome::Refuse({kMsgNoFreeAccountNumber, BoxType::Warning});
  } else {
    no = Fit(account.accountNo, 20);
    if (no.empty()) return Outcome::Refuse({kMsgAccountNumberRequired, BoxType::Warning});
    if (SeekAccount(no)) return Outcome::Refuse({AccountExistsText(no), BoxType::Warning});
  }
  Transaction tx(*db_);
  if (!tx.began().ok()) return tx.began();
  Account a = account;
  a.accountNo = no;
  FirstFailure f;
  f(accounts_->AppendBlank());
  if (f.result.ok()) f(WriteAccount(a));
  if (mode == IdMode::Generate) {
    sysInfo_->SetOrder(0);
    sysInfo_->GoTop();
    f(sysInfo_->ReplaceString("LASTACCTNO", no));
  }
  if (f.result.ok()) f(tx.Commit());
  if (!f.result.ok()) return SaveFailure(f.result);
  account = ReadAccount(*accounts_);
  return Outcome::Ok();
}

Outcome LoanRecords::UpdateAccount(Account& account) {
  const std::string no = Fit(account.accountNo, 20);
  if (no.empty() || !SeekAccount(no)) return Outcome::Refuse({kMsgAccountNotFound, BoxType::Error});
  Transaction tx(*db_);
  if (!tx.began().ok()) return tx.began();
  Account a = account;
  a.accountNo = no;
  FirstFailure f;
  f(WriteAccount(a));
  if (f.result.ok()) f(tx.Commit());
  if (!f.result.ok()) return SaveFailure(f.result);
  SeekAccount(no);
  account = ReadAccount(*accounts_);
  return Outcome::Ok();
}

Outcome LoanRecords::PackAll() {
  FirstFailure f;
  // A table without deleted rows is left as it is (and an absent one absent).
  for (Table* t : {events_, trans_, xref_, loans_, accounts_}) f(t->Pack());
  if (paymentsDeleted_) f(payments_->Pack());
  paymentsDeleted_ = false;
  return f.result;
}

Outcome LoanRecords::DeleteLoanRows(const std::string& loanNo) {
  FirstFailure f;
  f(DeleteRows(*events_, RowsWithKey(*events_, kTagLoanNo, loanNo)));
  const std::vector<std::uint32_t> payments = RowsWithKey(*payments_, kTagLoanNo, loanNo);
  if (!payments.empty()) {
    f(DeleteRows(*payments_, payments));
    paymentsDeleted_ = true;
  }
  f(DeleteRows(*trans_, RowsWithKey(*trans_, kTagLoanNo, loanNo)));
  f(DeleteRows(*xref_, RowsWithKey(*xref_, kTagLoanNo, loanNo)));
  f(DeleteRows(*loans_, RowsWithKey(*loans_, kTagLoanNo, loanNo)));
  return f.result;
}

Outcome LoanRecords::DeleteAccount(std::string_view accountNo) {
  const std::string no = Fit(accountNo, 20);
  if (no == kDefaultAccount) return Outcome::Refuse({kMsgDefaultUndeletable, BoxType::Information});
  if (no.empty() || !SeekAccount(no)) return Outcome::Refuse({kMsgAccountNotFound, BoxType::Error});
  Transaction tx(*db_);
  if (!tx.began().ok()) return tx.began();
  FirstFailure f;
  std::vector<std::string> loans;
  for (std::uint32_t r : RowsWithKey(*xref_, kTagAccountNo, no)) {
    xref_->Go(r);
    loans.push_back(xref_->GetTrimString("LOANNO"));
  }
  for (const std::string& loan : loans) f(DeleteLoanRows(loan));
  f(DeleteRows(*xref_, RowsWithKey(*xref_, kTagAccountNo, no)));
  f(DeleteRows(*accounts_, RowsWithKey(*accounts_, kTagAccounts, no)));
  f(PackAll());
  if (f.result.ok()) f(tx.Commit());
  return f.result.ok() ? Outcome::Ok() : DeleteFailure(f.result);
}

// ---- loans

std::vector<LoanSummary> LoanRecords::LoansOfAccount(std::string_view accountNo) const {
  tables::ReadGuard guard(*db_);
  std::vector<LoanSummary> out;
  const std::string no = Fit(accountNo, 20);
  for (std::uint32_t r : RowsWithKey(*xref_, kTagAccountNo, no)) {
    xref_->Go(r);
    LoanSummary s;
    s.loanNo = xref_->GetTrimString("LOANNO");
    if (SeekLoan(s.loanNo)) {
      s.collateral = loans_->GetTrimString("COLLATERIA");
      s.firstPmtDate = loans_->GetDate("FRSTPMTDT");
      s.amount = loans_->GetNumber("INITAMT");
      s.term = static_cast<int>(loans_->GetNumber("INITTERM"));
      s.rate = loans_->GetNumber("INITRATE");
    }
    out.push_back(std::move(s));
  }
  return out;
}

std::optional<Loan> LoanRecords::FindLoan(std::string_view loanNo) const {
  tables::ReadGuard guard(*db_);
  const std::string no = Fit(loanNo, 9);
  if (no.empty() || !SeekLoan(no)) return std::nullopt;
  return ReadLoan(*loans_);
}

std::string LoanRecords::AccountOfLoan(std::string_view loanNo) const {
  tables::ReadGuard guard(*db_);
  const auto rows = RowsWithKey(*xref_, kTagLoanNo, Fit(loanNo, 9));
  if (rows.empty()) return {};
  xref_->Go(rows.front());
  return xref_->GetTrimString("ACCOUNTNO");
}

int LoanRecords::TransactionCount(std::string_view loanNo) const {
  tables::ReadGuard guard(*db_);
  return static_cast<int>(RowsWithKey(*trans_, kTagLoanNo, Fit(loanNo, 9)).size());
}

// Numbers in use are skipped, so a counter behind the loans never repeats
// one. Of any n + 1 numbers at least one is free when n loans exist, so the
// search ends after that many tries.
std::uint64_t LoanRecords::FreeLoanNumber() const {
  sysInfo_->SetOrder(0);
  sysInfo_->GoTop();
  const double last = std::max(0.0, sysInfo_->GetNumber("LASTLOANNO"));
  std::uint64_t candidate = static_cast<std::uint64_t>(std::min(last, 999999999.0)) + 1;
  for (std::uint64_t tries = 0; tries <= std::uint64_t{loans_->RecCount()}; ++tries, ++candidate) {
    if (candidate > 999999999) return 0;
    if (!SeekLoan(std::to_string(candidate))) return candidate;
  }
  return 0;
}

std::string LoanRecords::PredictedLoanNumber() const {
  tables::ReadGuard guard(*db_);
  const std::uint64_t n = FreeLoanNumber();
  return n == 0 ? std::string() : std::to_string(n);
}

Outcome LoanRecords::NextLoanNumber(std::string& loanNo) {
  sysInfo_->SetOrder(0);
  sysInfo_->GoTop();
  if (sysInfo_->Eof()) return Outcome::Refuse({tables::kMsgWriteFailed, BoxType::Error});
  const std::uint64_t candidate = FreeLoanNumber();
  if (candidate == 0) return Outcome::Refuse({kMsgNoFreeLoanNumber, BoxType::Error});
  sysInfo_->GoTop();
  Outcome o = sysInfo_->ReplaceNumber("LASTLOANNO", static_cast<double>(candidate));
  if (o.ok()) loanNo = std::to_string(candidate);
  return o;
}

Outcome LoanRecords::BumpSaveCount() {
  sysInfo_->SetOrder(0);
  sysInfo_->GoTop();
  if (sysInfo_->Eof()) return Outcome::Ok();
  const double n = sysInfo_->GetNumber("SAVECNTS");
  return sysInfo_->ReplaceNumber("SAVECNTS", n >= 9999999999.0 ? 0.0 : n + 1);
}

Outcome LoanRecords::WriteLoan(const Loan& loan, bool termsOnly) {
  Table& t = *loans_;
  FirstFailure f;
  if (!termsOnly) {
    f(t.ReplaceString("LOANNO", loan.loanNo));
    f(t.ReplaceString("COLLATERIA", loan.collateral));
    f(t.ReplaceString("PROPADDRES", loan.propAddress));
    f(t.ReplaceString("BLOCKNO", loan.blockNo));
    f(t.ReplaceString("LOTNO", loan.lotNo));
    f(t.ReplaceString("PROPSTATE", loan.propState));
    f(t.ReplaceString("PROPCITY", loan.propCity));
    f(t.ReplaceString("PROPZIP", loan.propZip));
    f(t.ReplaceString("PROPCNTRY", loan.propCountry));
  }
  const LoanTerms& m = loan.terms;
  f(t.ReplaceNumber("INITAMT", m.amount));
  f(t.ReplaceNumber("INITTERM", m.term));
  f(t.ReplaceDate("ORIGDATE", m.origDate));
  f(t.ReplaceNumber("INITRATE", m.rate));
  f(t.ReplaceDate("FRSTPMTDT", m.firstPmtDate));
  f(t.ReplaceNumber("POINTS", m.points));
  f(t.ReplaceNumber("AMORTMTHD", m.amortMthd));
  f(t.ReplaceNumber("RATEBASIS", m.rateBasis));
  f(t.ReplaceNumber("PMTSPERYR", m.pmtsPerYr));
  f(t.ReplaceNumber("CMPPERYR", m.cmpPerYr));
  return f.result;
}

Outcome LoanRecords::NewLoan(std::string_view accountNo, Loan& loan) {
  return AppendLoan(accountNo, loan, nullptr);
}

Outcome LoanRecords::UpdateLoan(const Loan& loan) {
  const std::string no = Fit(loan.loanNo, 9);
  if (no.empty() || !SeekLoan(no)) return Outcome::Refuse({kMsgLoanNotFound, BoxType::Error});
  Transaction tx(*db_);
  if (!tx.began().ok()) return tx.began();
  Loan l = loan;
  l.loanNo = no;
  FirstFailure f;
  f(WriteLoan(l, false));
  if (f.result.ok()) f(tx.Commit());
  return f.result.ok() ? Outcome::Ok() : SaveFailure(f.result);
}

Outcome LoanRecords::DeleteLoan(std::string_view loanNo) {
  const std::string no = Fit(loanNo, 9);
  if (no.empty() || !SeekLoan(no)) return Outcome::Refuse({kMsgLoanNotFound, BoxType::Error});
  Transaction tx(*db_);
  if (!tx.began().ok()) return tx.began();
  FirstFailure f;
  f(DeleteLoanRows(no));
  f(PackAll());
  if (f.result.ok()) f(tx.Commit());
  return f.result.ok() ? Outcome::Ok() : DeleteFailure(f.result);
}

// ---- schedules

Outcome LoanRecords::WriteRows(const std::string& loanNo, const Schedule& schedule, bool replace) {
  Table& t = *trans_;
  const std::vector<std::uint32_t> old = RowsWithKey(t, kTagLoanNo, loanNo);
  if (!old.empty() && !replace) return Outcome::Refuse({ReplaceLoanQuestion(loanNo), BoxType::Warning});
  const TransFields fields(t);
  const std::size_t rows = static_cast<std::size_t>(schedule.lastRow()) + 1;
  return ReplaceRows(t, old, rows, [&](std::size_t k, FirstFailure& f) {
    const ScheduleRow& r = schedule.row(static_cast<int>(k));
    f(t.ReplaceString(fields.loan, loanNo));
    f(t.ReplaceDate(fields.date, r.date));
    f(t.ReplaceLogical(fields.actual, false));
    f(t.ReplaceNumber(fields.no, r.pmtNo));
    f(t.ReplaceString(fields.label, std::string(r.periodLabel, strnlen(r.periodLabel, sizeof r.periodLabel))));
    f(t.ReplaceNumber(fields.pmt, r.payment));
    f(t.ReplaceLogical(fields.calculated, true));
    f(t.ReplaceString(fields.how, "PI"));
    f(t.ReplaceNumber(fields.principal, r.principal));
    f(t.ReplaceNumber(fields.interest, r.interest));
    f(t.ReplaceNumber(fields.balance, r.balance));
    f(t.ReplaceNumber(fields.runPmt, r.runPayment));
    f(t.ReplaceNumber(fields.runPrin, r.runPrincipal));
    f(t.ReplaceNumber(fields.runInt, r.runInterest));
  });
}

// The events take the place of the loan's saved ones. No events and none
// saved: no change at all, so a book without EVENTS.DBF stays without it.
Outcome LoanRecords::WriteEvents(const std::string& loanNo, const std::vector<ScheduleEvent>& events) {
  Table& t = *events_;
  const std::vector<std::uint32_t> old = RowsWithKey(t, kTagLoanNo, loanNo);
  if (old.empty() && events.empty()) return Outcome::Ok();
  const int fLoan = t.FieldIndex("LOANNO"), fSeq = t.FieldIndex("SEQ"), fKind = t.FieldIndex("KIND"),
            fFrom = t.FieldIndex("FROMPMT"), fTo = t.FieldIndex("TOPMT"), fAmount = t.FieldIndex("AMOUNT"),
            fRate = t.FieldIndex("RATE"), fHow = t.FieldIndex("HOW");
  return ReplaceRows(t, old, events.size(), [&](std::size_t k, FirstFailure& f) {
    const ScheduleEvent& ev = events[k];
    const bool money = ev.kind == EventKind::Extra || ev.kind == EventKind::Lump;
    f(t.ReplaceString(fLoan, loanNo));
    f(t.ReplaceNumber(fSeq, static_cast<double>(k + 1)));
    f(t.ReplaceString(fKind, EventKindName(ev.kind)));
    f(t.ReplaceNumber(fFrom, ev.from));
    f(t.ReplaceNumber(fTo, ev.to ? *ev.to : 0));
    f(t.ReplaceNumber(fAmount, money ? ev.amount : 0.0));
    f(t.ReplaceNumber(fRate, ev.kind == EventKind::Rate ? static_cast<double>(ev.rate) : 0.0));
    f(t.ReplaceString(fHow, EventHowName(ev.how)));
  });
}

// The loan's events in their order; rows that can't be read leave all of
// them out, with a remark saying why.
Outcome LoanRecords::ReadEvents(const std::string& loanNo, std::vector<ScheduleEvent>& events) const {
  events.clear();
  Table& t = *events_;
  const std::vector<std::uint32_t> rows = RowsWithKey(t, kTagLoanNo, loanNo);
  if (rows.empty()) return Outcome::Ok();
  // More events than a schedule takes can't be a saved list.
  if (rows.size() > static_cast<std::size_t>(kMaxEvents))
    return Outcome::Ok().Say(
        {EventsUnreadableText(loanNo, "more than " + std::to_string(kMaxEvents) + " events."), BoxType::Information});
  const int fSeq = t.FieldIndex("SEQ"), fKind = t.FieldIndex("KIND"), fFrom = t.FieldIndex("FROMPMT"),
            fTo = t.FieldIndex("TOPMT"), fAmount = t.FieldIndex("AMOUNT"), fRate = t.FieldIndex("RATE"),
            fHow = t.FieldIndex("HOW");
  std::vector<std::pair<double, ScheduleEvent>> read;
  read.reserve(rows.size());
  for (std::uint32_t r : rows) {
    t.Go(r);
    const std::string kindName = t.GetTrimString(fKind), howName = t.GetTrimString(fHow);
    const auto kind = EventKindNamed(kindName);
    const auto how = EventHowNamed(howName);
    if (!kind || !how) {
      events.clear();
      const std::string bad = !kind ? "KIND " + kindName : "HOW " + howName;
      return Outcome::Ok().Say({EventsUnreadableText(loanNo, "unknown " + bad + "."), BoxType::Information});
    }
    ScheduleEvent ev;
    ev.kind = *kind;
    ev.how = *how;
    const double from = t.GetNumber(fFrom), to = t.GetNumber(fTo);
    ev.from = static_cast<int>(std::clamp(from, -1.0, 99999.0));
    if (to > 0) ev.to = static_cast<int>(std::clamp(to, 0.0, 99999.0));
    if (ev.kind == EventKind::Extra || ev.kind == EventKind::Lump) ev.amount = t.GetNumber(fAmount);
    if (ev.kind == EventKind::Rate) ev.rate = static_cast<float>(t.GetNumber(fRate));
    read.emplace_back(t.GetNumber(fSeq), ev);
  }
  std::stable_sort(read.begin(), read.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [seq, ev] : read) events.push_back(ev);
  if (auto refusal = CheckEvents(events)) {
    events.clear();
    return Outcome::Ok().Say({EventsUnreadableText(loanNo, refusal->text), BoxType::Information});
  }
  return Outcome::Ok();
}

Outcome LoanRecords::SaveSchedule(std::string_view loanNo, const LoanTerms& terms,
                                  const Schedule& schedule, bool replace) {
  if (!schedule.calculated()) return Outcome::Refuse({kMsgNotCalculated, BoxType::Information});
  const std::string no = Fit(loanNo, 9);
  Transaction tx(*db_);
  if (!tx.began().ok()) return tx.began();
  // The loan must exist before any row is written.
  if (no.empty() || !SeekLoan(no)) return Outcome::Refuse({kMsgLoanNotFoundOnSave, BoxType::Error});
  // The loan's payments stay; new terms must still carry them.
  for (std::uint32_t row : PaymentRows(no)) {
    const ActualPayment p = ReadPayment(row);
    if (terms.origDate != kBadDate && p.date < terms.origDate)
      return Outcome::Refuse({PaymentBeforeNewOriginationText(no, p.date, terms.origDate), BoxType::Warning});
  }
  Outcome o = WriteRows(no, schedule, replace);
  if (!o.ok()) return o.FirstText() == ReplaceLoanQuestion(no) ? o : SaveFailure(o);
  FirstFailure f;
  f(WriteEvents(no, terms.events));
  SeekLoan(no);
  Loan l;
  l.terms = terms;
  f(WriteLoan(l, true));
  f(BumpSaveCount());
  if (f.result.ok()) f(tx.Commit());
  return f.result.ok() ? Outcome::Ok() : SaveFailure(f.result);
}

Outcome LoanRecords::SaveNewLoan(std::string_view accountNo, Loan& loan, const Schedule& schedule) {
  if (!schedule.calculated()) return Outcome::Refuse({kMsgNotCalculated, BoxType::Information});
  return AppendLoan(accountNo, loan, &schedule);
}

// A new loan of an account with its cross-reference row, and the
// schedule's rows when given, in one change.
Outcome LoanRecords::AppendLoan(std::string_view accountNo, Loan& loan, const Schedule* schedule) {
  const std::string account = Fit(accountNo, 20);
  if (account.empty() || !SeekAccount(account)) return Outcome::Refuse({kMsgAccountNotFound, BoxType::Error});
  Transaction tx(*db_);
  if (!tx.began().ok()) return tx.began();
  std::string no;
  FirstFailure f;
  f(NextLoanNumber(no));
  if (f.result.ok()) {
    Loan l = loan;
    l.loanNo = no;
    f(loans_->AppendBlank());
    if (f.result.ok()) f(WriteLoan(l, false));
    f(xref_->AppendBlank());
    if (f.result.ok()) {
      f(xref_->ReplaceString("LOANNO", no));
      f(xref_->ReplaceString("ACCOUNTNO", account));
    }
    if (schedule) {
      if (f.result.ok()) f(WriteRows(no, *schedule, false));
      if (f.result.ok()) f(WriteEvents(no, loan.terms.events));
      f(BumpSaveCount());
    }
  }
  if (f.result.ok()) f(tx.Commit());
  if (!f.result.ok()) return SaveFailure(f.result);
  loan.loanNo = no;
  return Outcome::Ok();
}

Outcome LoanRecords::LoadSchedule(std::string_view loanNo, Loan& loan, Schedule& schedule) {
  tables::ReadGuard guard(*db_);
  if (!guard.held()) return Outcome::Refuse({tables::kMsgTablesBusy, BoxType::Error});
  const std::string no = Fit(loanNo, 9);
  if (no.empty() || !SeekLoan(no)) return Outcome::Refuse({kMsgLoanNotFound, BoxType::Error});
  loan = ReadLoan(*loans_);
  const Outcome eventsRead = ReadEvents(no, loan.terms.events);
  if (loan.terms.term > schedule.maxPeriods())
    return Outcome::Refuse({kMsgTooManyPeriods, BoxType::Error});
  Table& t = *trans_;
  const std::vector<std::uint32_t> rows = RowsWithKey(t, kTagLoanNo, no);
  if (rows.empty()) return Outcome::Refuse({kMsgNoTransactions, BoxType::Error});
  const std::size_t capacity = static_cast<std::size_t>(schedule.maxPeriods()) + 1;
  if (rows.size() > capacity)
    return Outcome::Refuse({TooManyRowsText(no, static_cast<int>(rows.size()), static_cast<int>(capacity)),
                            BoxType::Error});
  const TransFields fields(t);
  for (std::size_t k = 0; k < rows.size(); ++k) {
    t.Go(rows[k]);
    ReadTransRow(t, fields, schedule.mutableRow(static_cast<int>(k)));
  }
  schedule.SetLoaded(static_cast<int>(rows.size()) - 1);
  return eventsRead;
}

// ---- actual payments

namespace {

long long CentsOf(double v) { return std::llround(v * 100.0); }

bool SamePayment(const ActualPayment& a, const ActualPayment& b) {
  return a.date == b.date && CentsOf(a.amount) == CentsOf(b.amount) && a.note == b.note;
}

// A note as PAYMENTS.DBF keeps it: blanks around it gone.
std::string NoteOf(const ActualPayment& p) { return Trim(p.note); }

}  // namespace

std::vector<std::uint32_t> LoanRecords::PaymentRows(const std::string& loanNo) const {
  std::vector<std::uint32_t> rows = RowsWithKey(*payments_, kTagLoanNo, loanNo);
  std::vector<std::pair<Date, std::uint32_t>> dated;
  dated.reserve(rows.size());
  const int fDate = payments_->FieldIndex("PMTDATE");
  for (std::uint32_t r : rows) {
    payments_->Go(r);
    dated.emplace_back(payments_->GetDate(fDate), r);
  }
  // Record order within a date is the order of recording.
  std::stable_sort(dated.begin(), dated.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (std::size_t k = 0; k < rows.size(); ++k) rows[k] = dated[k].second;
  return rows;
}

ActualPayment LoanRecords::ReadPayment(std::uint32_t row) const {
  Table& t = *payments_;
  t.Go(row);
  return ActualPayment{t.GetDate("PMTDATE"), t.GetNumber("AMOUNT"), t.GetTrimString("NOTE")};
}

Outcome LoanRecords::WritePayment(const std::string& loanNo, const ActualPayment& p) {
  Table& t = *payments_;
  FirstFailure f;
  f(t.ReplaceString("LOANNO", loanNo));
  f(t.ReplaceDate("PMTDATE", p.date));
  f(t.ReplaceNumber("AMOUNT", RoundToCents(p.amount)));
  f(t.ReplaceString("NOTE", NoteOf(p)));
  return f.result;
}

std::vector<ActualPayment> LoanRecords::PaymentsOf(const std::string& loanNo) const {
  std::vector<ActualPayment> out;
  for (std::uint32_t r : PaymentRows(loanNo)) out.push_back(ReadPayment(r));
  return out;
}

std::vector<ActualPayment> LoanRecords::Payments(std::string_view loanNo) const {
  tables::ReadGuard guard(*db_);
  const std::string no = Fit(loanNo, 9);
  if (no.empty()) return {};
  return PaymentsOf(no);
}

std::vector<RateChange> LoanRecords::RateChangesOfLoan(const std::string& loanNo,
                                                       const std::vector<ScheduleRow>& scheduled,
                                                       const LedgerTerms& terms) const {
  // The rate changes of a loan's ledger are its saved rate-change events;
  // saved events that can't be read leave the loan's own rate throughout.
  std::vector<ScheduleEvent> savedEvents;
  if (!ReadEvents(loanNo, savedEvents).messages.empty()) savedEvents.clear();
  return RateChangesOf(savedEvents, scheduled, terms);
}

Outcome LoanRecords::LoadLedgerInputs(std::string_view loanNo, Loan& loan, LedgerInputs& in) const {
  tables::ReadGuard guard(*db_);
  if (!guard.held()) return Outcome::Refuse({tables::kMsgTablesBusy, BoxType::Error});
  const std::string no = Fit(loanNo, 9);
  if (no.empty() || !SeekLoan(no)) return Outcome::Refuse({kMsgLoanNotFound, BoxType::Error});
  Loan found = ReadLoan(*loans_);
  LedgerInputs li;
  li.terms = LedgerTermsOf(found.terms);
  Table& t = *trans_;
  const TransFields fields(t);
  const std::vector<std::uint32_t> rows = RowsWithKey(t, kTagLoanNo, no);
  li.scheduled.resize(rows.size());
  for (std::size_t k = 0; k < rows.size(); ++k) {
    t.Go(rows[k]);
    ReadTransRow(t, fields, li.scheduled[k]);
  }
  li.rateChanges = RateChangesOfLoan(no, li.scheduled, li.terms);
  li.payments = PaymentsOf(no);
  loan = std::move(found);
  in = std::move(li);
  return Outcome::Ok();
}

Outcome LoanRecords::CheckPayments(const LoanTerms& terms, const std::vector<ActualPayment>& changed,
                                   const std::vector<ActualPayment>& all) const {
  const LedgerTerms lt = LedgerTermsOf(terms);
  for (const ActualPayment& p : changed) {
    if (Outcome o = CheckPayment(lt, p); !o.ok()) return o;
    const std::string note = NoteOf(p);
    const std::string bytes = tables::Utf8ToCp1252(note);
    if (tables::Cp1252ToUtf8(bytes) != note ||
        std::any_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
      return Outcome::Refuse({kMsgPaymentNoteChars, BoxType::Warning});
    if (bytes.size() > static_cast<std::size_t>(kPaymentNoteWidth))
      return Outcome::Refuse({kMsgPaymentNoteTooLong, BoxType::Warning});
  }
  // The ledger must take the loan's terms with every payment.
  LedgerInputs in;
  in.terms = lt;
  in.payments = all;
  Ledger ledger;
  return ComputeLedger(in, ledger);
}

Outcome LoanRecords::AddPayments(std::string_view loanNo, const std::vector<ActualPayment>& payments) {
  const std::string no = Fit(loanNo, 9);
  Transaction tx(*db_);
  if (!tx.began().ok()) return tx.began();
  if (no.empty() || !SeekLoan(no)) return Outcome::Refuse({kMsgLoanNotFound, BoxType::Error});
  const LoanTerms terms = ReadLoan(*loans_).terms;
  std::vector<ActualPayment> all = PaymentsOf(no);
  all.insert(all.end(), payments.begin(), payments.end());
  if (Outcome o = CheckPayments(terms, payments, all); !o.ok()) return o;
  FirstFailure f;
  for (const ActualPayment& p : payments) {
    f(payments_->AppendBlank());
    if (!f.result.ok()) break;
    f(WritePayment(no, p));
  }
  if (f.result.ok()) f(tx.Commit());
  return f.result.ok() ? Outcome::Ok() : SaveFailure(f.result);
}

Outcome LoanRecords::ReplacePayment(std::string_view loanNo, const ActualPayment& old, const ActualPayment& now) {
  const std::string no = Fit(loanNo, 9);
  Transaction tx(*db_);
  if (!tx.began().ok()) return tx.began();
  if (no.empty() || !SeekLoan(no)) return Outcome::Refuse({kMsgLoanNotFound, BoxType::Error});
  const LoanTerms terms = ReadLoan(*loans_).terms;
  std::vector<ActualPayment> all;
  std::uint32_t target = 0;
  for (std::uint32_t r : PaymentRows(no)) {
    ActualPayment p = ReadPayment(r);
    if (target == 0 && SamePayment(p, ActualPayment{old.date, old.amount, NoteOf(old)})) {
      target = r;
      p = now;
    }
    all.push_back(std::move(p));
  }
  if (target == 0) return Outcome::Refuse({kMsgPaymentNotFound, BoxType::Warning});
  if (Outcome o = CheckPayments(terms, {now}, all); !o.ok()) return o;
  payments_->Go(target);
  FirstFailure f;
  f(WritePayment(no, now));
  if (f.result.ok()) f(tx.Commit());
  return f.result.ok() ? Outcome::Ok() : SaveFailure(f.result);
}

Outcome LoanRecords::DeletePayment(std::string_view loanNo, const ActualPayment& which) {
  const std::string no = Fit(loanNo, 9);
  Transaction tx(*db_);
  if (!tx.began().ok()) return tx.began();
  if (no.empty() || !SeekLoan(no)) return Outcome::Refuse({kMsgLoanNotFound, BoxType::Error});
  const ActualPayment wanted{which.date, which.amount, NoteOf(which)};
  std::uint32_t target = 0;
  for (std::uint32_t r : PaymentRows(no)) {
    if (SamePayment(ReadPayment(r), wanted)) {
      target = r;
      break;
    }
  }
  if (target == 0) return Outcome::Refuse({kMsgPaymentNotFound, BoxType::Warning});
  FirstFailure f;
  payments_->Go(target);
  f(payments_->Delete());
  f(payments_->Pack());
  if (f.result.ok()) f(tx.Commit());
  return f.result.ok() ? Outcome::Ok() : DeleteFailure(f.result);
}

std::uint32_t LoanRecords::LastLoanNumber() const {
  tables::ReadGuard guard(*db_);
  sysInfo_->SetOrder(0);
  sysInfo_->GoTop();
  return static_cast<std::uint32_t>(std::max(0.0, sysInfo_->GetNumber("LASTLOANNO")));
}

std::string LoanRecords::LastAccountNumber() const {
  tables::ReadGuard guard(*db_);
  sysInfo_->SetOrder(0);
  sysInfo_->GoTop();
  return sysInfo_->GetTrimString("LASTACCTNO");
}

std::uint32_t LoanRecords::SaveCount() const {
  tables::ReadGuard guard(*db_);
  sysInfo_->SetOrder(0);
  sysInfo_->GoTop();
  return static_cast<std::uint32_t>(std::max(0.0, sysInfo_->GetNumber("SAVECNTS")));
}

// ---- terms of the schedule window

LoanTerms TermsOf(const ScheduleInputs& in) {
  LoanTerms t;
  t.amount = in.PV;
  t.term = in.NumPmts;
  t.origDate = in.OrgDate;
  t.firstPmtDate = in.FrstPmtDate;
  t.pmtsPerYr = in.PYR;
  t.cmpPerYr = in.CmpPYR;
  t.points = in.Points;
  t.rate = in.Rate;
  t.amortMthd = in.AmortMthd;
  t.rateBasis = in.RateBasis;
  t.events = in.events;
  return t;
}

void ApplyTerms(const LoanTerms& t, ScheduleInputs& in) {
  in.PV = t.amount;
  in.NumPmts = t.term;
  in.OrgDate = t.origDate;
  in.FrstPmtDate = t.firstPmtDate;
  in.PYR = t.pmtsPerYr;
  in.CmpPYR = t.cmpPerYr;
  in.Points = t.points;
  in.Rate = t.rate;
  in.AmortMthd = t.amortMthd;
  in.RateBasis = t.rateBasis;
  in.events = t.events;
}

namespace {

bool SameCents(double a, double b) { return std::llround(a * 100) == std::llround(b * 100); }

// The rows of two schedules agree as saved rows do: dates, numbers,
// labels and every amount to the cent.
bool SameSavedRows(const Schedule& a, const Schedule& b) {
  if (a.lastRow() != b.lastRow()) return false;
  for (int k = 0; k <= a.lastRow(); ++k) {
    const ScheduleRow &x = a.row(k), &y = b.row(k);
    if (x.date != y.date || x.pmtNo != y.pmtNo || std::strncmp(x.periodLabel, y.periodLabel, sizeof x.periodLabel) != 0 ||
        !SameCents(x.payment, y.payment) || !SameCents(x.principal, y.principal) ||
        !SameCents(x.interest, y.interest) || !SameCents(x.balance, y.balance) ||
        !SameCents(x.runPayment, y.runPayment) || !SameCents(x.runPrincipal, y.runPrincipal) ||
        !SameCents(x.runInterest, y.runInterest))
      return false;
  }
  return true;
}

}  // namespace

Outcome ReapplyEvents(const ScheduleInputs& terms, Schedule& schedule) {
  if (terms.events.empty() || !schedule.calculated()) return Outcome::Ok();
  int choices[3] = {terms.PointsPaidMthd, -1, -1};
  if (terms.Points > 0) {
    int n = 1;
    for (int c = kAtOrigination; c <= kPointsAmortized; ++c)
      if (c != terms.PointsPaidMthd) choices[n++] = c;
  }
  auto again = std::make_unique<Schedule>(schedule.maxPeriods());
  for (int c : choices) {
    if (c < 0) break;
    ScheduleInputs in = terms;
    in.PointsPaidMthd = c;
    if (!again->Calculate(in).ok()) continue;
    // The loaded first payment date is never before origination, so the
    // engine changed nothing in `in` that the rows would not show.
    if (SameSavedRows(*again, schedule)) {
      schedule = std::move(*again);
      return Outcome::Ok();
    }
  }
  return Outcome::Ok().Say({kMsgEventsNotReapplied, BoxType::Information});
}

// ---- texts

std::string ReplaceLoanQuestion(std::string_view loanNo) {
  return "This loan number already exists!\r\rReplace loan number " + std::string(loanNo) + "\r" + "\r" +
         "with new data?" + "\r";
}
std::string SaveCanceledText(std::string_view loanNo) {
  return "Save of " + std::string(loanNo) + "\r" + "\r" + "canceled by user." + "\r";
}
std::string DeleteAccountQuestion(std::string_view accountNo) {
  return "You are about to permanently delete all " + std::string(accountNo) + "\r\r" +
         "account records and their associated loans." + "\r\r" +
         "Are you sure that you want to continue?" + "\r";
}
std::string DeleteAccountCanceledText(std::string_view accountNo) {
  return "Deletion of account number\r\r" + std::string(accountNo) + "\r\r" + "was canceled by the user." + "\r";
}
std::string DeleteLoanQuestion(std::string_view loanNo) {
  return "You are about to permanently delete loan " + std::string(loanNo) + "\r\r" +
         "and all of the associated transaction details." + "\r\r" +
         "Are you sure that you want to continue?" + "\r";
}
std::string DeleteLoanCanceledText(std::string_view loanNo) {
  return "Deletion of loan number\r\r" + std::string(loanNo) + "\r\r" + "was canceled by the user." + "\r";
}
std::string AccountDeletedStatus(std::string_view accountNo) { return std::string(accountNo) + " deleted."; }
std::string AccountExistsText(std::string_view accountNo) {
  return "Account number " + std::string(accountNo) + " already exists.";
}
std::string EventsUnreadableText(std::string_view loanNo, const std::string& why) {
  return "The events saved with loan " + std::string(loanNo) + " can't be read:\n\n" + why +
         "\n\nThe loan is loaded without them.";
}
std::string TooManyRowsText(std::string_view loanNo, int rows, int maxRows) {
  return "Loan " + std::string(loanNo) + " has " + std::to_string(rows) +
         " transaction records;\n\na schedule holds at most " + std::to_string(maxRows) +
         ".\n\nCanceling load.";
}

std::string PaymentBeforeNewOriginationText(std::string_view loanNo, Date payment, Date origination) {
  return "Loan " + std::string(loanNo) + " has a payment on " + FormatShortDate(payment, true) +
         ", before\n\nthe new Origination Date " + FormatShortDate(origination, true) +
         ".\n\nDelete or change that payment first.\n\n";
}

Borrower BorrowerOf(const Account& a) {
  return Borrower{a.firstName, a.lastName, a.mi,   a.business, a.address1,
                  a.address2,  a.city,     a.state, a.zip,     a.phone1.empty() ? a.phone2 : a.phone1};
}

}  // namespace brevika::records
