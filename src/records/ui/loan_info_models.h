// Grid models of the loan information dialog: the accounts, and the loans
// of one account as the cross-reference lists them. Both read the tables
// through LoanRecords and hold a copy until the next Reload.
#pragma once
#include <QAbstractTableModel>
#include <string>
#include <vector>

#include "records/loan_records.h"

namespace brevika {

class AccountsModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column { kAccountNo, kLastName, kFirstName, kBusiness, kCity, kPhone, kColumnCount };

  explicit AccountsModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

  // Reads every account in the given order; no records shows none.
  void Reload(const records::LoanRecords* records, records::AccountOrder order);
  const records::Account& account(int row) const { return rows_[static_cast<std::size_t>(row)]; }
  // Row of an account number; -1 when absent.
  int RowOf(const std::string& accountNo) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  std::vector<records::Account> rows_;
};

class LoansModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column { kLoanNo, kCollateral, kFirstPmtDate, kAmount, kTerm, kRate, kColumnCount };

  explicit LoansModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

  // Reads the loans of one account.
  void Reload(const records::LoanRecords* records, const std::string& accountNo);
  const records::LoanSummary& loan(int row) const { return rows_[static_cast<std::size_t>(row)]; }
  int RowOf(const std::string& loanNo) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  std::vector<records::LoanSummary> rows_;
};

}  // namespace brevika
