#include "records/ui/loan_info_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QStackedWidget>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include <QCoreApplication>
#include <QFile>

#include "components/app_services.h"
#include "components/busy_cursor.h"
#include "components/help_keys.h"
#include "components/masked_fields.h"
#include "components/messages.h"
#include "components/qt_strings.h"
#include "finance/format.h"
#include "records/loan_tables.h"
#include "records/ui/loan_info_models.h"

namespace brevika {
namespace {

std::string S(const QLineEdit* e) { return e->text().trimmed().toStdString(); }

// Help contexts of the controls.
constexpr int kHelpAccountNo = 170;
constexpr int kHelpSearch = 171;
constexpr int kHelpSortOrder = 172;
constexpr int kHelpNew = 173;
constexpr int kHelpPrior = 174;
constexpr int kHelpNext = 175;
constexpr int kHelpNavigator = 176;
constexpr int kHelpAuto = 177;
constexpr int kHelpUser = 178;
// The dialog's own topic (Help button, F1 on a control without one).
constexpr int kHelpDialog = kHelpAccountNo;

constexpr int kDialogWidth = 620;
constexpr int kDialogHeight = 470;

QTableView* MakeGrid(QWidget* parent, const char* name) {
  auto* g = new QTableView(parent);
  g->setObjectName(name);
  g->setSelectionBehavior(QAbstractItemView::SelectRows);
  g->setSelectionMode(QAbstractItemView::SingleSelection);
  g->setEditTriggers(QAbstractItemView::NoEditTriggers);
  g->setWordWrap(false);
  g->setAlternatingRowColors(true);
  g->verticalHeader()->hide();
  g->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  g->verticalHeader()->setDefaultSectionSize(g->fontMetrics().height() + 4);
  g->horizontalHeader()->setHighlightSections(false);
  g->horizontalHeader()->setSectionsClickable(false);
  g->horizontalHeader()->setStretchLastSection(true);
  return g;
}

QLineEdit* MakeField(QWidget* parent, const char* name, int width) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(name);
  e->setMaxLength(width);
  return e;
}

}  // namespace

std::string LoanTablesFolderOf(const AppServices* services) {
  const std::string folder = services ? services->LoanTablesFolder() : std::string();
  if (!folder.empty()) return folder;
  return records::TablesFolder(QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
}

TLoanInfo::TLoanInfo(const std::string& folder, Mode mode, AppServices* services, QWidget* parent)
    : WindowBase(services, parent,
                 Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                     Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      mode_(mode) {
  setObjectName("TLoanInfo");
  setWindowTitle("Loan Information");
  setModal(true);

  Outcome opened;
  records::RecordsOptions options;
  options.readOnly = mode == LoadMode;  // loading writes nothing in the folder
  records_ = records::LoanRecords::Open(folder, opened, options);
  if (!records_) ShowMessages(parent ? parent : this, opened);

  accounts_ = new AccountsModel(this);
  loans_ = new LoansModel(this);

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 8);
  outer->setSpacing(6);

  // Status header: messages and record position (three quarters), then the step.
  auto* header = new QFrame(this);
  header->setObjectName("StatusHeader");
  auto* headerRow = new QHBoxLayout(header);
  headerRow->setContentsMargins(2, 2, 2, 2);
  headerRow->setSpacing(2);
  Status0 = new QLabel(header);
  Status1 = new QLabel(header);
  Status0->setObjectName("Status0");
  Status1->setObjectName("Status1");
  for (QLabel* l : {Status0, Status1}) {
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setMinimumHeight(l->fontMetrics().height() + 6);
    l->setTextFormat(Qt::PlainText);
  }
  Status0->setFixedWidth(kDialogWidth * 3 / 4 - 4);
  Status1->setContentsMargins(4, 0, 0, 0);
  headerRow->addWidget(Status0);
  headerRow->addWidget(Status1, 1);
  outer->addWidget(header);

  auto* body = new QVBoxLayout;
  body->setContentsMargins(12, 0, 12, 0);
  body->setSpacing(4);
  PageTitle = new QLabel(this);
  PageTitle->setObjectName("PageTitle");
  QFont titleFont = PageTitle->font();
  titleFont.setBold(true);
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
  PageTitle->setFont(titleFont);
  StepText = new QLabel(this);
  StepText->setObjectName("StepText");
  StepText->setWordWrap(true);
  body->addWidget(PageTitle);
  body->addWidget(StepText);

  Notebook = new QStackedWidget(this);
  Notebook->setObjectName("Notebook");
  Notebook->addWidget(BuildAccountsPage());
  Notebook->addWidget(BuildAccountPage());
  Notebook->addWidget(BuildLoansPage());
  Notebook->addWidget(BuildLoanPage());
  body->addWidget(Notebook, 1);
  outer->addLayout(body, 1);
  outer->addWidget(BuildButtons());

  setFixedSize(kDialogWidth, kDialogHeight);
  SetHelpTopic(kHelpDialog, ZeroContext::WindowTopic);
}

TLoanInfo::~TLoanInfo() = default;

QWidget* TLoanInfo::BuildAccountsPage() {
  auto* page = new QWidget;
  page->setObjectName("BrowseAccounts");
  auto* box = new QVBoxLayout(page);
  box->setContentsMargins(0, 0, 0, 0);
  auto* row = new QHBoxLayout;
  Search = new QLineEdit(page);
  Search->setObjectName("Search");
  Search->setMaxLength(20);
  Search->setToolTip("Type the first characters of an account number.");
  auto* lSearch = new QLabel("&Search Account No:", page);
  lSearch->setBuddy(Search);
  SortOrder = new QComboBox(page);
  SortOrder->setObjectName("SortOrder");
  SortOrder->addItem("Account No");
  SortOrder->addItem("Last Name");
  auto* lSort = new QLabel("S&ort By:", page);
  lSort->setBuddy(SortOrder);
  row->addWidget(lSearch);
  row->addWidget(Search, 1);
  row->addSpacing(16);
  row->addWidget(lSort);
  row->addWidget(SortOrder);
  box->addLayout(row);
  AccountsGrid = MakeGrid(page, "AccountsGrid");
  AccountsGrid->setModel(accounts_);
  const int widths[AccountsModel::kColumnCount] = {100, 100, 90, 100, 90, 100};
  for (int c = 0; c < AccountsModel::kColumnCount; ++c) AccountsGrid->setColumnWidth(c, widths[c]);
  box->addWidget(AccountsGrid, 1);

  SetHelpContext(Search, kHelpSearch);
  SetHelpContext(SortOrder, kHelpSortOrder);
  connect(Search, &QLineEdit::textEdited, this, &TLoanInfo::SearchChange);
  connect(SortOrder, &QComboBox::currentIndexChanged, this, &TLoanInfo::SortOrderChange);
  connect(AccountsGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& now) {
            if (now.isValid()) currentAccountNo_ = accounts_->account(now.row()).accountNo;
            if (this->page() == kBrowseAccounts) ShowPosition();
          });
  connect(AccountsGrid, &QTableView::doubleClicked, this, [this] { NextBTNClick(); });
  return page;
}

QWidget* TLoanInfo::BuildAccountPage() {
  auto* page = new QWidget;
  page->setObjectName("EditAccount");
  auto* grid = new QGridLayout(page);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(4);

  AccountNo = MakeField(page, "AccountNo", 20);
  AutoGenerate = new QRadioButton("Auto Generate ID Number", page);
  UserEnters = new QRadioButton("User Enters ID Number", page);
  AutoGenerate->setObjectName("AutoGenerate");
  UserEnters->setObjectName("UserEnters");
  auto* idMode = new QButtonGroup(page);
  idMode->addButton(AutoGenerate);
  idMode->addButton(UserEnters);
  AutoGenerate->setChecked(true);
  LastName = MakeField(page, "LastName", 25);
  FirstName = MakeField(page, "FirstName", 25);
  MI = MakeField(page, "MI", 1);
  Business = MakeField(page, "Business", 40);
  Address1 = MakeField(page, "Address1", 40);
  Address2 = MakeField(page, "Address2", 40);
  City = MakeField(page, "City", 40);
  State = MakeField(page, "State", 2);
  Zip = MakeField(page, "Zip", 10);
  Country = MakeField(page, "Country", 40);
  Phone1 = MakeField(page, "Phone1", 12);
  Phone2 = MakeField(page, "Phone2", 12);
  Phone2Ext = MakeField(page, "Phone2Ext", 4);
  Comment = MakeField(page, "Comment", 254);
  MI->setFixedWidth(30);
  State->setFixedWidth(40);
  Phone2Ext->setFixedWidth(50);
  records::Account& a = fieldsAccount_;
  const std::pair<QLineEdit*, std::string*> fields[] = {
      {AccountNo, &a.accountNo}, {LastName, &a.lastName}, {FirstName, &a.firstName},
      {MI, &a.mi},               {Business, &a.business}, {Address1, &a.address1},
      {Address2, &a.address2},   {City, &a.city},         {State, &a.state},
      {Zip, &a.zip},             {Country, &a.country},   {Phone1, &a.phone1},
      {Phone2, &a.phone2},       {Phone2Ext, &a.phone2Ext}, {Comment, &a.comment}};
  for (const auto& [edit, value] : fields) accountFields_.Edit(edit, value);

  auto label = [page](const char* text, QWidget* buddy) {
    auto* l = new QLabel(text, page);
    l->setBuddy(buddy);
    return l;
  };
  // Columns: label, field, label, field, label, field.
  int r = 0;
  grid->addWidget(label("Account N&o", AccountNo), r, 0);
  grid->addWidget(AccountNo, r, 1);
  auto* modes = new QHBoxLayout;
  modes->addWidget(AutoGenerate);
  modes->addWidget(UserEnters);
  modes->addStretch(1);
  grid->addLayout(modes, r, 2, 1, 4);
  ++r;
  grid->addWidget(label("&Last Name", LastName), r, 0);
  grid->addWidget(LastName, r, 1);
  grid->addWidget(label("&First Name", FirstName), r, 2);
  grid->addWidget(FirstName, r, 3);
  grid->addWidget(label("MI", MI), r, 4);
  grid->addWidget(MI, r, 5);
  ++r;
  grid->addWidget(label("&Business", Business), r, 0);
  grid->addWidget(Business, r, 1, 1, 5);
  ++r;
  grid->addWidget(label("&Address", Address1), r, 0);
  grid->addWidget(Address1, r, 1, 1, 5);
  ++r;
  grid->addWidget(label("Address", Address2), r, 0);
  grid->addWidget(Address2, r, 1, 1, 5);
  ++r;
  grid->addWidget(label("&City", City), r, 0);
  grid->addWidget(City, r, 1);
  grid->addWidget(label("Sta&te", State), r, 2);
  auto* stateZip = new QHBoxLayout;
  stateZip->addWidget(State);
  stateZip->addSpacing(16);
  stateZip->addWidget(label("&Zip", Zip));
  stateZip->addWidget(Zip, 1);
  grid->addLayout(stateZip, r, 3, 1, 3);
  ++r;
  grid->addWidget(label("Co&untry", Country), r, 0);
  grid->addWidget(Country, r, 1, 1, 5);
  ++r;
  grid->addWidget(label("Phon&e", Phone1), r, 0);
  grid->addWidget(Phone1, r, 1);
  grid->addWidget(label("Phone &2", Phone2), r, 2);
  grid->addWidget(Phone2, r, 3);
  grid->addWidget(label("Ext", Phone2Ext), r, 4);
  grid->addWidget(Phone2Ext, r, 5);
  ++r;
  grid->addWidget(label("Co&mment", Comment), r, 0);
  grid->addWidget(Comment, r, 1, 1, 5);
  ++r;
  grid->setRowStretch(r, 1);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);

  SetHelpContext(AccountNo, kHelpAccountNo);
  SetHelpContext(AutoGenerate, kHelpAuto);
  SetHelpContext(UserEnters, kHelpUser);
  connect(AutoGenerate, &QRadioButton::toggled, this, [this] { IdModeChange(); });
  connect(LastName, &QLineEdit::textEdited, this, [this] { UpdateGeneratedNumber(); });
  connect(FirstName, &QLineEdit::textEdited, this, [this] { UpdateGeneratedNumber(); });
  return page;
}

QWidget* TLoanInfo::BuildLoansPage() {
  auto* page = new QWidget;
  page->setObjectName("BrowseLoans");
  auto* box = new QVBoxLayout(page);
  box->setContentsMargins(0, 0, 0, 0);
  LoansCaption = new QLabel(page);
  LoansCaption->setObjectName("LoansCaption");
  box->addWidget(LoansCaption);
  LoansGrid = MakeGrid(page, "LoansGrid");
  LoansGrid->setModel(loans_);
  const int widths[LoansModel::kColumnCount] = {70, 150, 90, 110, 80, 80};
  for (int c = 0; c < LoansModel::kColumnCount; ++c) LoansGrid->setColumnWidth(c, widths[c]);
  box->addWidget(LoansGrid, 1);
  connect(LoansGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
    if (this->page() == kBrowseLoans) ShowPosition();
  });
  connect(LoansGrid, &QTableView::doubleClicked, this, [this] { NextBTNClick(); });
  return page;
}

QWidget* TLoanInfo::BuildLoanPage() {
  auto* page = new QWidget;
  page->setObjectName("EditLoan");
  auto* grid = new QGridLayout(page);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(4);
  LoanNo = MakeField(page, "LoanNo", 9);
  // The number comes from the counter; it is never typed.
  LoanNo->setEnabled(false);
  Collateral = MakeField(page, "Collateral", 25);
  PropAddress = MakeField(page, "PropAddress", 40);
  PropCity = MakeField(page, "PropCity", 40);
  PropState = MakeField(page, "PropState", 2);
  PropZip = MakeField(page, "PropZip", 10);
  PropCountry = MakeField(page, "PropCountry", 40);
  BlockNo = MakeField(page, "BlockNo", 8);
  LotNo = MakeField(page, "LotNo", 8);
  PropState->setFixedWidth(40);
  records::Loan& l = fieldsLoan_;
  const std::pair<QLineEdit*, std::string*> fields[] = {
      {LoanNo, &l.loanNo},         {Collateral, &l.collateral}, {PropAddress, &l.propAddress},
      {PropCity, &l.propCity},     {PropState, &l.propState},   {PropZip, &l.propZip},
      {PropCountry, &l.propCountry}, {BlockNo, &l.blockNo},     {LotNo, &l.lotNo}};
  for (const auto& [edit, value] : fields) loanFields_.Edit(edit, value);
  auto label = [page](const char* text, QWidget* buddy) {
    auto* l = new QLabel(text, page);
    l->setBuddy(buddy);
    return l;
  };
  int r = 0;
  grid->addWidget(label("Loan No", LoanNo), r, 0);
  grid->addWidget(LoanNo, r, 1);
  ++r;
  grid->addWidget(label("Co&llateral", Collateral), r, 0);
  grid->addWidget(Collateral, r, 1, 1, 3);
  ++r;
  grid->addWidget(label("Property &Address", PropAddress), r, 0);
  grid->addWidget(PropAddress, r, 1, 1, 3);
  ++r;
  grid->addWidget(label("&City", PropCity), r, 0);
  grid->addWidget(PropCity, r, 1);
  grid->addWidget(label("Sta&te", PropState), r, 2);
  auto* stateZip = new QHBoxLayout;
  stateZip->addWidget(PropState);
  stateZip->addSpacing(16);
  stateZip->addWidget(label("&Zip", PropZip));
  stateZip->addWidget(PropZip, 1);
  grid->addLayout(stateZip, r, 3);
  ++r;
  grid->addWidget(label("Co&untry", PropCountry), r, 0);
  grid->addWidget(PropCountry, r, 1, 1, 3);
  ++r;
  grid->addWidget(label("&Block No", BlockNo), r, 0);
  grid->addWidget(BlockNo, r, 1);
  grid->addWidget(label("L&ot No", LotNo), r, 2);
  grid->addWidget(LotNo, r, 3);
  ++r;
  auto* terms = new QGroupBox("Saved Terms", page);
  auto* termsBox = new QVBoxLayout(terms);
  LoanTerms = new QLabel(terms);
  LoanTerms->setObjectName("LoanTerms");
  LoanTerms->setTextFormat(Qt::PlainText);
  LoanTerms->setFont(EntryFont(LoanTerms->font()));
  termsBox->addWidget(LoanTerms);
  grid->addWidget(terms, r, 0, 1, 4);
  ++r;
  grid->setRowStretch(r, 1);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);
  return page;
}

QWidget* TLoanInfo::BuildButtons() {
  auto* panel = new QWidget(this);
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(12, 0, 12, 0);
  row->setSpacing(4);

  Navigator = new QFrame(panel);
  Navigator->setObjectName("Navigator");
  auto* nav = new QHBoxLayout(Navigator);
  nav->setContentsMargins(0, 0, 0, 0);
  nav->setSpacing(1);
  QStyle* st = style();
  auto tool = [&](QToolButton*& b, const char* name, QStyle::StandardPixmap icon, const char* hint) {
    b = new QToolButton(Navigator);
    b->setObjectName(name);
    b->setIcon(st->standardIcon(icon));
    b->setToolTip(hint);
    b->setAutoRaise(false);
    b->setFixedSize(28, 26);
    nav->addWidget(b);
  };
  tool(NavFirst, "NavFirst", QStyle::SP_MediaSkipBackward, "First record");
  tool(NavPrior, "NavPrior", QStyle::SP_MediaSeekBackward, "Prior record");
  tool(NavNext, "NavNext", QStyle::SP_MediaSeekForward, "Next record");
  tool(NavLast, "NavLast", QStyle::SP_MediaSkipForward, "Last record");
  tool(NavDelete, "NavDelete", QStyle::SP_TrashIcon, "Delete record");
  SetHelpContext(Navigator, kHelpNavigator);
  row->addWidget(Navigator);
  row->addStretch(1);

  auto make = [&](QPushButton*& b, const char* name, const char* text, int help, auto handler) {
    b = MakeButton(panel, name, text, help, handler);
    row->addWidget(b);
  };
  make(NewBTN, "NewBTN", "&New", kHelpNew, &TLoanInfo::NewBTNClick);
  make(PriorBTN, "PriorBTN", "&Prior Step", kHelpPrior, &TLoanInfo::PriorBTNClick);
  make(NextBTN, "NextBTN", "Ne&xt Step", kHelpNext, &TLoanInfo::NextBTNClick);
  make(CancelBTN, "CancelBTN", "Cancel", -1, &TLoanInfo::CancelBTNClick);
  make(HelpBTN, "HelpBTN", "&Help", -1, &TLoanInfo::HelpBTNClick);
  NextBTN->setDefault(true);
  NextBTN->setMinimumWidth(NextBTN->fontMetrics().horizontalAdvance("Next Step") + 24);

  connect(NavFirst, &QToolButton::clicked, this, &TLoanInfo::NavFirstClick);
  connect(NavPrior, &QToolButton::clicked, this, &TLoanInfo::NavPriorClick);
  connect(NavNext, &QToolButton::clicked, this, &TLoanInfo::NavNextClick);
  connect(NavLast, &QToolButton::clicked, this, &TLoanInfo::NavLastClick);
  connect(NavDelete, &QToolButton::clicked, this, &TLoanInfo::NavDeleteClick);
  return panel;
}

// ---- showing and pages

std::string TLoanInfo::ChooseLoan(std::string& accountNo) {
  if (!records_) return {};
  currentAccountNo_ = accountNo;
  loanChosen_ = false;
  chosenLoanNo_.clear();
  exec();
  accountNo = currentAccountNo_;
  return loanChosen_ ? chosenLoanNo_ : std::string();
}

void TLoanInfo::showEvent(QShowEvent* e) {
  if (!e->spontaneous()) FormShow();
  QDialog::showEvent(e);
}

void TLoanInfo::FormShow() {
  newAccount_ = newLoan_ = false;
  AutoGenerate->setChecked(true);
  CancelBTN->setToolTip(mode_ == SaveMode ? "Cancel saving data." : "Cancel loading data.");
  NewBTN->setEnabled(mode_ == SaveMode && records_ != nullptr);
  ReloadAccounts(currentAccountNo_);
  EnterPage(kBrowseAccounts);
  SetStatus(kLoanInfoWatchStatus);
}

int TLoanInfo::page() const { return Notebook->currentIndex(); }
QString TLoanInfo::statusMessage() const { return Status0->text(); }
QString TLoanInfo::statusStep() const { return Status1->text(); }
void TLoanInfo::SetStatus(const QString& text) { Status0->setText(text); }

void TLoanInfo::EnterPage(int p) {
  Notebook->setCurrentIndex(p);
  PageTitle->setText(p <= kEditAccount ? "Personal Information" : "Loan Information");
  Status1->setText(QString("Step: %1/4").arg(p + 1));
  const bool saving = mode_ == SaveMode;
  PriorBTN->setEnabled(p > kBrowseAccounts);
  NextBTN->setEnabled(records_ != nullptr);
  NextBTN->setText(p == kEditLoan ? (saving ? "&Save" : "&Get") : "Ne&xt Step");
  NewBTN->setToolTip(p <= kEditAccount ? "Create new account record." : "Create a new loan record.");
  const bool moves = p != kEditLoan;
  for (QToolButton* b : {NavFirst, NavPrior, NavNext, NavLast}) b->setEnabled(moves);
  switch (p) {
    case kBrowseAccounts:
      PriorBTN->setToolTip(QString());
      NextBTN->setToolTip("Edit account details.");
      NextBTN->setEnabled(accounts_->rowCount() > 0);
      StepText->setText(saving ? "Pick the account to save the schedule under, or press New for a new "
                                 "one. Type in Search to find an account number."
                               : "Pick the account whose loan you want to load. Type in Search to "
                                 "find an account number.");
      AccountsGrid->setFocus();
      break;
    case kEditAccount:
      PriorBTN->setToolTip("Browse accounts.");
      NextBTN->setToolTip("Edit/Enter loan details.");
      StepText->setText(newAccount_ ? "Enter the new account. With Auto Generate ID Number the account "
                                      "number is made from the last and first names."
                                    : "Check the account's details; changes are kept when you go on.");
      (AccountNo->isEnabled() ? AccountNo : LastName)->setFocus();
      break;
    case kBrowseLoans:
      PriorBTN->setToolTip("Edit account details.");
      NextBTN->setToolTip("Edit/Enter loan details.");
      LoansCaption->setText(QString("Loans of account %1").arg(Q(currentAccountNo_)));
      ReloadLoans(loan_.loanNo);
      NextBTN->setEnabled(loans_->rowCount() > 0);
      StepText->setText(saving ? "Pick the loan to save the schedule into, or press New for a new loan."
                               : "Pick the loan to load.");
      LoansGrid->setFocus();
      break;
    case kEditLoan:
      PriorBTN->setToolTip("Browse loans for current account.");
      NextBTN->setToolTip(saving ? "Save current account and loan data." : "Get current account and loan data.");
      StepText->setText(saving ? "Check the loan's details and press Save to save the schedule."
                               : "Press Get to load this loan's terms and schedule.");
      Collateral->setFocus();
      break;
    default: break;
  }
  ShowPosition();
}

void TLoanInfo::ShowPosition() {
  auto position = [](int n, int count) { return QString(" %1/%2").arg(n).arg(count); };
  switch (page()) {
    case kBrowseAccounts:
      SetStatus(position(CurrentAccountRow() + 1, accounts_->rowCount()));
      break;
    case kEditAccount: {
      const int count = accounts_->rowCount();
      SetStatus(newAccount_ ? position(count + 1, count + 1)
                            : position(accounts_->RowOf(account_.accountNo) + 1, count));
      break;
    }
    case kBrowseLoans:
      if (loans_->rowCount() == 0) SetStatus(kLoanInfoNoLoansStatus);
      else SetStatus(position(CurrentLoanRow() + 1, loans_->rowCount()));
      break;
    case kEditLoan:
      SetStatus(position(1, 1));
      break;
    default: break;
  }
}

// ---- buttons

void TLoanInfo::NewBTNClick() {
  if (mode_ != SaveMode || !records_) return;
  switch (page()) {
    case kBrowseAccounts:
    case kEditAccount:
      ShowAccount(records::Account{}, true);
      EnterPage(kEditAccount);
      break;
    case kBrowseLoans:
    case kEditLoan: {
      records::Loan l;
      l.loanNo = PredictedLoanNumber();
      ShowLoan(l, true);
      EnterPage(kEditLoan);
      break;
    }
    default: break;
  }
}

void TLoanInfo::PriorBTNClick() {
  switch (page()) {
    case kEditAccount:
      // An account not yet posted is dropped.
      newAccount_ = false;
      ReloadAccounts(currentAccountNo_);
      EnterPage(kBrowseAccounts);
      break;
    case kBrowseLoans:
      if (auto a = records_->FindAccount(currentAccountNo_)) ShowAccount(*a, false);
      EnterPage(kEditAccount);
      break;
    case kEditLoan:
      // A new loan exists only in the fields until the schedule is saved.
      if (newLoan_) loan_ = records::Loan{};
      newLoan_ = false;
      EnterPage(kBrowseLoans);
      break;
    default: break;
  }
}

void TLoanInfo::NextBTNClick() {
  if (!records_) return;
  switch (page()) {
    case kBrowseAccounts: {
      const int row = CurrentAccountRow();
      if (row < 0) return;
      ShowAccount(accounts_->account(row), false);
      EnterPage(kEditAccount);
      break;
    }
    case kEditAccount:
      if (!PostAccount()) return;
      loan_ = records::Loan{};
      EnterPage(kBrowseLoans);
      break;
    case kBrowseLoans: {
      const int row = CurrentLoanRow();
      if (row < 0) return;
      const auto l = records_->FindLoan(loans_->loan(row).loanNo);
      if (!l) {
        ShowMessage(this, Message{records::kMsgLoanNotFound, BoxType::Error});
        return;
      }
      ShowLoan(*l, false);
      EnterPage(kEditLoan);
      break;
    }
    case kEditLoan:
      if (!PostLoan()) return;
      chosenLoanNo_ = loan_.loanNo;
      loanChosen_ = true;
      accept();
      break;
    default: break;
  }
}

void TLoanInfo::CancelBTNClick() {
  // Nothing is written before Next posts it, so cancelling drops the edits.
  newAccount_ = newLoan_ = false;
  reject();
}

void TLoanInfo::HelpBTNClick() { ShowWindowHelp(); }

// ---- accounts

void TLoanInfo::ReloadAccounts(const std::string& select) {
  const auto order = SortOrder->currentIndex() == 1 ? records::AccountOrder::LastName
                                                    : records::AccountOrder::Number;
  const std::string keep = select;
  accounts_->Reload(records_.get(), order);
  const int row = accounts_->RowOf(keep);
  SelectAccountRow(row >= 0 ? row : 0);
}

int TLoanInfo::CurrentAccountRow() const {
  const QModelIndex i = AccountsGrid->currentIndex();
  return i.isValid() ? i.row() : -1;
}

void TLoanInfo::SelectAccountRow(int row) {
  if (row < 0 || row >= accounts_->rowCount()) return;
  AccountsGrid->setCurrentIndex(accounts_->index(row, 0));
  AccountsGrid->scrollTo(accounts_->index(row, 0));
  currentAccountNo_ = accounts_->account(row).accountNo;
}

void TLoanInfo::SearchChange(const QString& text) {
  if (!records_ || text.isEmpty()) return;
  auto find = [this](const QString& prefix) -> std::string {
    const int index = records_->SearchAccount(prefix.toStdString());
    if (index < 0) return {};
    const auto all = records_->Accounts(records::AccountOrder::Number);
    return all[static_cast<std::size_t>(index)].accountNo;
  };
  std::string no = find(text);
  // Account numbers are mostly upper case; a lower-case prefix finds them too.
  if (!QString::fromStdString(no).startsWith(text) && text != text.toUpper()) {
    const std::string upper = find(text.toUpper());
    if (QString::fromStdString(upper).startsWith(text.toUpper())) no = upper;
  }
  // Past the last account number: the last row.
  const int row = no.empty() ? accounts_->rowCount() - 1 : accounts_->RowOf(no);
  SelectAccountRow(row);
}

void TLoanInfo::SortOrderChange(int) { ReloadAccounts(currentAccountNo_); }

void TLoanInfo::ShowAccount(const records::Account& a, bool isNew) {
  account_ = a;
  newAccount_ = isNew;
  fieldsAccount_ = a;
  accountFields_.ToControls();
  if (isNew) AutoGenerate->setChecked(true);
  // The number of a stored account is its key: it is chosen only for a new one.
  AutoGenerate->setEnabled(isNew);
  UserEnters->setEnabled(isNew);
  IdModeChange();
}

records::Account TLoanInfo::AccountFromFields() {
  // The fields over the account as loaded; its number is typed only for a new one.
  fieldsAccount_ = account_;
  accountFields_.FromControls();
  if (!newAccount_) fieldsAccount_.accountNo = account_.accountNo;
  return fieldsAccount_;
}

void TLoanInfo::IdModeChange() {
  AccountNo->setEnabled(newAccount_ && UserEnters->isChecked());
  if (newAccount_ && AutoGenerate->isChecked()) UpdateGeneratedNumber();
}

void TLoanInfo::UpdateGeneratedNumber() {
  if (!newAccount_ || !AutoGenerate->isChecked() || !records_) return;
  AccountNo->setText(Q(records_->GenerateAccountNumber(S(LastName), S(FirstName))));
}

bool TLoanInfo::PostAccount() {
  records::Account a = AccountFromFields();
  Outcome o;
  if (newAccount_) {
    o = records_->AddAccount(a, AutoGenerate->isChecked() ? records::IdMode::Generate
                                                          : records::IdMode::UserEntered);
  } else if (!(a == account_)) {
    o = records_->UpdateAccount(a);
  }
  if (!o.ok()) {
    ShowMessages(this, o);
    return false;
  }
  account_ = a;
  newAccount_ = false;
  currentAccountNo_ = a.accountNo;
  ShowAccount(a, false);
  ReloadAccounts(a.accountNo);
  return true;
}

// ---- loans

void TLoanInfo::ReloadLoans(const std::string& select) {
  loans_->Reload(records_.get(), currentAccountNo_);
  const int row = loans_->RowOf(select);
  SelectLoanRow(row >= 0 ? row : 0);
}

int TLoanInfo::CurrentLoanRow() const {
  const QModelIndex i = LoansGrid->currentIndex();
  return i.isValid() ? i.row() : -1;
}

void TLoanInfo::SelectLoanRow(int row) {
  if (row < 0 || row >= loans_->rowCount()) return;
  LoansGrid->setCurrentIndex(loans_->index(row, 0));
  LoansGrid->scrollTo(loans_->index(row, 0));
}

std::string TLoanInfo::PredictedLoanNumber() const {
  // The number the counter will give: the next one not in use.
  return records_->PredictedLoanNumber();
}

void TLoanInfo::ShowLoan(const records::Loan& loan, bool isNew) {
  loan_ = loan;
  newLoan_ = isNew;
  fieldsLoan_ = loan;
  loanFields_.ToControls();
  if (isNew) {
    LoanTerms->setText("A new loan of account " + Q(currentAccountNo_) +
                       ".\nIts terms and schedule are written when you press Save.");
    return;
  }
  const records::LoanTerms& t = loan.terms;
  auto date = [](Date d) { return d == kBadDate ? QString("--/--/--") : Q(FormatShortDate(d)); };
  const int rows = records_->TransactionCount(loan.loanNo);
  LoanTerms->setText(QString("Amount of Loan: %1   Initial Periods: %2   Initial Rate: %3 %\n"
                             "Origination:    %4   1st Payment:     %5   Saved rows: %6")
                         .arg(Q(FormatNumber(t.amount, 2)), Q(FormatNumber(t.term, 0)),
                              Q(RateText(t.rate)), date(t.origDate), date(t.firstPmtDate))
                         .arg(rows));
}

records::Loan TLoanInfo::LoanFromFields() {
  // The fields over the loan as loaded; its number comes from the counter.
  fieldsLoan_ = loan_;
  loanFields_.FromControls();
  fieldsLoan_.loanNo = loan_.loanNo;
  return fieldsLoan_;
}

bool TLoanInfo::PostLoan() {
  records::Loan l = LoanFromFields();
  // A new loan is written by the save, with its schedule, in one change.
  if (!newLoan_ && !(l == loan_)) {
    const Outcome o = records_->UpdateLoan(l);
    if (!o.ok()) {
      ShowMessages(this, o);
      return false;
    }
  }
  loan_ = l;
  return true;
}

// ---- navigator

void TLoanInfo::MoveTo(int row) {
  switch (page()) {
    case kBrowseAccounts:
      SelectAccountRow(std::clamp(row, 0, accounts_->rowCount() - 1));
      break;
    case kEditAccount: {
      // Moving leaves an account not yet posted and shows the other one.
      const int count = accounts_->rowCount();
      if (count == 0) return;
      SelectAccountRow(std::clamp(row, 0, count - 1));
      ShowAccount(accounts_->account(CurrentAccountRow()), false);
      ShowPosition();
      break;
    }
    case kBrowseLoans:
      SelectLoanRow(std::clamp(row, 0, loans_->rowCount() - 1));
      break;
    default: break;
  }
}

namespace {
int CurrentRowOf(const TLoanInfo& d, int accountRow, int loanRow) {
  return d.page() == TLoanInfo::kBrowseLoans ? loanRow : accountRow;
}
}  // namespace

void TLoanInfo::NavFirstClick() { MoveTo(0); }
void TLoanInfo::NavPriorClick() { MoveTo(CurrentRowOf(*this, CurrentAccountRow(), CurrentLoanRow()) - 1); }
void TLoanInfo::NavNextClick() { MoveTo(CurrentRowOf(*this, CurrentAccountRow(), CurrentLoanRow()) + 1); }
void TLoanInfo::NavLastClick() {
  MoveTo(page() == kBrowseLoans ? loans_->rowCount() - 1 : accounts_->rowCount() - 1);
}

void TLoanInfo::NavDeleteClick() {
  if (!records_) return;
  switch (page()) {
    case kBrowseAccounts: {
      const int row = CurrentAccountRow();
      if (row >= 0) DeleteAccount(accounts_->account(row).accountNo);
      break;
    }
    case kEditAccount:
      if (newAccount_) {
        // Deleting an account not yet posted only drops it.
        PriorBTNClick();
        return;
      }
      DeleteAccount(account_.accountNo);
      if (accounts_->RowOf(account_.accountNo) < 0) {
        newAccount_ = false;
        EnterPage(kBrowseAccounts);
        SetStatus(Q(records::AccountDeletedStatus(account_.accountNo)));
      }
      break;
    case kBrowseLoans:
      ShowMessage(this, Message{records::kMsgCantDeleteHere, BoxType::Information});
      break;
    case kEditLoan:
      if (newLoan_) {
        PriorBTNClick();
        return;
      }
      DeleteLoan(loan_.loanNo);
      if (!records_->FindLoan(loan_.loanNo)) {
        const std::string gone = loan_.loanNo;
        loan_ = records::Loan{};
        EnterPage(kBrowseLoans);
        SetStatus(Q(records::AccountDeletedStatus(gone)));
      }
      break;
    default: break;
  }
}

// By value: the reload below replaces the row the number came from.
void TLoanInfo::DeleteAccount(std::string no) {
  if (no == records::kDefaultAccount) {
    ShowMessage(this, Message{records::kMsgDefaultUndeletable, BoxType::Information});
    return;
  }
  if (!AskYesNo(this, Message{records::DeleteAccountQuestion(no), BoxType::Warning}) ||
      AskYesNo(this, Message{records::kMsgSecondChance, BoxType::Information}, true)) {
    ShowMessage(this, Message{records::DeleteAccountCanceledText(no), BoxType::Information});
    return;
  }
  Outcome o;
  {
    BusyCursor busy;
    o = records_->DeleteAccount(no);
  }
  if (!o.ok()) {
    ShowMessages(this, o);
    return;
  }
  const int row = std::max(0, CurrentAccountRow() - 1);
  accounts_->Reload(records_.get(), SortOrder->currentIndex() == 1 ? records::AccountOrder::LastName
                                                                   : records::AccountOrder::Number);
  SelectAccountRow(std::min(row, accounts_->rowCount() - 1));
  if (accounts_->rowCount() == 0) currentAccountNo_.clear();
  SetStatus(Q(records::AccountDeletedStatus(no)));
}

void TLoanInfo::DeleteLoan(std::string no) {
  if (!AskYesNo(this, Message{records::DeleteLoanQuestion(no), BoxType::Warning}) ||
      AskYesNo(this, Message{records::kMsgSecondChance, BoxType::Information}, true)) {
    ShowMessage(this, Message{records::DeleteLoanCanceledText(no), BoxType::Information});
    return;
  }
  Outcome o;
  {
    BusyCursor busy;
    o = records_->DeleteLoan(no);
  }
  if (!o.ok()) ShowMessages(this, o);
}

}  // namespace brevika
