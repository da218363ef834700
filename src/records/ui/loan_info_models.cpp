#include "records/ui/loan_info_models.h"

#include "components/qt_strings.h"
#include "finance/format.h"
#include "finance/periods.h"

namespace brevika {

// ---- accounts

void AccountsModel::Reload(const records::LoanRecords* records, records::AccountOrder order) {
  beginResetModel();
  rows_ = records ? records->Accounts(order) : std::vector<records::Account>{};
  endResetModel();
}

int AccountsModel::RowOf(const std::string& accountNo) const {
  for (std::size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i].accountNo == accountNo) return static_cast<int>(i);
  return -1;
}

int AccountsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int AccountsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant AccountsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  if (role != Qt::DisplayRole) return {};
  const records::Account& a = account(index.row());
  switch (index.column()) {
    case kAccountNo: return Q(a.accountNo);
    case kLastName: return Q(a.lastName);
    case kFirstName: return Q(a.firstName);
    case kBusiness: return Q(a.business);
    case kCity: return Q(a.city);
    case kPhone: return Q(a.phone1);
    default: return {};
  }
}

QVariant AccountsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const char* const heads[kColumnCount] = {"Account No", "Last Name", "First Name",
                                                  "Business",   "City",      "Phone"};
  return section >= 0 && section < kColumnCount ? QVariant(QString::fromLatin1(heads[section])) : QVariant();
}

// ---- loans of an account

void LoansModel::Reload(const records::LoanRecords* records, const std::string& accountNo) {
  beginResetModel();
  rows_ = records ? records->LoansOfAccount(accountNo) : std::vector<records::LoanSummary>{};
  endResetModel();
}

int LoansModel::RowOf(const std::string& loanNo) const {
  for (std::size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i].loanNo == loanNo) return static_cast<int>(i);
  return -1;
}

int LoansModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int LoansModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant LoansModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const int c = index.column();
  if (role == Qt::TextAlignmentRole)
    return QVariant::fromValue(c >= kAmount ? Qt::AlignRight | Qt::AlignVCenter
                                            : (c == kFirstPmtDate ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter));
  if (role != Qt::DisplayRole) return {};
  const records::LoanSummary& l = loan(index.row());
  switch (c) {
    case kLoanNo: return Q(l.loanNo);
    case kCollateral: return Q(l.collateral);
    case kFirstPmtDate: return l.firstPmtDate == kBadDate ? QString() : Q(FormatShortDate(l.firstPmtDate));
    case kAmount: return Q(FormatNumber(l.amount, 2));
    case kTerm: return Q(FormatNumber(l.term, 0));
    case kRate: return Q(RateText(l.rate));
    default: return {};
  }
}

QVariant LoansModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const char* const heads[kColumnCount] = {"Loan No.", "Collaterial", "1st Pmt Date",
                                                  "Amount",   "Initial Term", "Initial Rate"};
  return section >= 0 && section < kColumnCount ? QVariant(QString::fromLatin1(heads[section])) : QVariant();
}

}  // namespace brevika
