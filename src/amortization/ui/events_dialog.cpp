#include "amortization/ui/events_dialog.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "amortization/amort_records.h"
#include "amortization/schedule_report.h"
#include "components/help_keys.h"
#include "components/locale_info.h"
#include "components/masked_fields.h"
#include "components/messages.h"
#include "components/qt_strings.h"

namespace brevika {

namespace {

// The kinds in the order of EventKind, as the "Kind" list shows them.
const ItemList& KindItems() {
  static const ItemList items = {"Extra Principal", "Lump Sum", "Rate Change", "Payment Holiday"};
  return items;
}

bool MoneyKind(EventKind k) { return k == EventKind::Extra || k == EventKind::Lump; }

// The two choices of a kind, as the "Choice" list shows them.
ItemList HowItems(EventKind k) {
  if (MoneyKind(k)) return {EventHowCaption(EventHow::ShorterTerm), EventHowCaption(EventHow::LowerPayment)};
  return {EventHowCaption(EventHow::KeepTerm), EventHowCaption(EventHow::KeepPayment)};
}

EventHow HowOf(EventKind k, int index) {
  if (MoneyKind(k)) return index == 1 ? EventHow::LowerPayment : EventHow::ShorterTerm;
  return index == 1 ? EventHow::KeepPayment : EventHow::KeepTerm;
}

int HowIndex(EventHow how) { return how == EventHow::LowerPayment || how == EventHow::KeepPayment ? 1 : 0; }

constexpr int kFieldWidth = 120;
constexpr int kButtonWidth = 80;

TEventList::EditHook& Hook() {
  static TEventList::EditHook hook;
  return hook;
}

void CentreOn(QWidget* dialog, const QWidget* over) {
  if (!over) return;
  dialog->adjustSize();
  dialog->move(over->geometry().center() - QPoint(dialog->width() / 2, dialog->height() / 2));
}

}  // namespace

// ---- dates and payment numbers

Date PaymentDates::DateOf(int k) const {
  if (firstPayment == kBadDate || k < 1) return kBadDate;
  Date d = firstPayment;
  for (int i = 1; i < k; ++i) {
    const Date next = StepPeriodForward(d, paymentsPerYear);
    if (next <= d) return kBadDate;  // no step for this period
    d = next;
  }
  return d;
}

int PaymentDates::PaymentOn(Date date) const {
  if (firstPayment == kBadDate || date == kBadDate) return 0;
  return PaymentNumberOn(date, firstPayment, paymentsPerYear, 32767).value_or(0);
}

std::string DeleteEventQuestion(const ScheduleEvent& ev) {
  return "You are about to delete the event\r\r" + EventText(ev) + ".\r\r" +
         "Are you sure that you want to continue?" + "\r";
}

// ---- one event

TEventEdit::TEventEdit(const ScheduleEvent& event, const PaymentDates& dates, AppServices* services,
                       QWidget* parent)
    : WindowBase(services, parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                                       Qt::WindowCloseButtonHint),
      dates_(dates) {
  setObjectName("TEventEdit");
  setWindowTitle("Event");
  rec_.Kind = ListEntry::Of(KindItems(), static_cast<int>(event.kind));
  rec_.How = ListEntry::Of(HowItems(event.kind), HowIndex(event.how));
  rec_.From = static_cast<std::int16_t>(std::clamp(event.from, -32768, 32767));
  rec_.To = static_cast<std::int16_t>(event.to ? std::clamp(*event.to, -32768, 32767) : 0);
  rec_.FromDate = dates_.DateOf(event.from);
  rec_.ToDate = event.to ? dates_.DateOf(*event.to) : kBadDate;
  rec_.Amount = event.amount;
  rec_.Rate = event.rate;

  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(6);
  Kind = new QComboBox(this);
  From = new CountField(this);
  FromDate = new DateField(this);
  To = new CountField(this);
  ToDate = new DateField(this);
  Amount = new MoneyField(this);
  Rate = new RateField(this);
  How = new QComboBox(this);
  const LocaleInfo& loc = CurrentLocaleInfo();
  Amount->SetLocaleFormat(loc.format);
  if (loc.countryCode != 1) Amount->SetMask(CurrentMoneyMask());
  for (DateField* d : {FromDate, ToDate}) d->SetEpoch(kAmortCenturyEpoch);
  struct Row {
    QWidget* field;
    const char* name;
    int help;
    std::string* caption;
    int row, col;
  };
  const Row rows[] = {
      {Kind, "Kind", kHelpEventKind, &rec_.lKind, 0, 0},
      {From, "From", kHelpEventPayments, &rec_.lFrom, 1, 0},
      {FromDate, "FromDate", kHelpEventPayments, &rec_.lFromDate, 1, 2},
      {To, "To", kHelpEventPayments, &rec_.lTo, 2, 0},
      {ToDate, "ToDate", kHelpEventPayments, &rec_.lToDate, 2, 2},
      {Amount, "Amount", kHelpEventAmount, &rec_.lAmount, 4, 0},
      {Rate, "Rate", kHelpEventRate, &rec_.lRate, 5, 0},
      {How, "How", kHelpEventChoice, &rec_.lHow, 6, 0},
  };
  Transfer& t = transfer();
  for (const Row& r : rows) {
    r.field->setObjectName(r.name);
    SetHelpContext(r.field, r.help);
    if (r.field != Kind && r.field != How) {
      ShowAsEntry(r.field, font());
      r.field->setFixedWidth(kFieldWidth);
    }
    auto* label = new QLabel(this);
    label->setObjectName(QString("l") + r.name);
    label->setBuddy(r.field);
    t.Label(label, r.caption);
    grid->addWidget(label, r.row, r.col, Qt::AlignRight | Qt::AlignVCenter);
    if (r.field == Kind || r.field == How) grid->addWidget(r.field, r.row, r.col + 1, 1, 3);
    else grid->addWidget(r.field, r.row, r.col + 1, Qt::AlignLeft | Qt::AlignVCenter);
    if (r.field == From) lFrom = label;
    if (r.field == To) lTo = label;
    if (r.field == ToDate) lToDate = label;
    if (r.field == Amount) lAmount = label;
    if (r.field == Rate) lRate = label;
  }
  lToNote = new QLabel("0: to the end of the loan", this);
  lToNote->setObjectName("lToNote");
  grid->addWidget(lToNote, 3, 1, 1, 3, Qt::AlignLeft | Qt::AlignTop);
  t.List(Kind, &rec_.Kind);
  t.Count(From, &rec_.From);
  t.Day(FromDate, &rec_.FromDate);
  t.Count(To, &rec_.To);
  t.Day(ToDate, &rec_.ToDate);
  t.Money(Amount, &rec_.Amount);
  t.Rate(Rate, &rec_.Rate);
  t.List(How, &rec_.How);
  grid->setColumnStretch(4, 1);
  // Without a first payment date there is no date to turn into a payment.
  const bool haveDates = dates_.firstPayment != kBadDate;
  FromDate->setEnabled(haveDates);
  ToDate->setEnabled(haveDates);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  OKBTN = MakeButton(this, "OKBTN", "&OK", -1, &TEventEdit::OKBTNClick);
  CancelBTN = MakeButton(this, "CancelBTN", "Cancel", -1, &QDialog::reject);
  HelpBTN = MakeButton(this, "HelpBTN", "&Help", -1, &TEventEdit::ShowWindowHelp);
  for (QPushButton* b : {OKBTN, CancelBTN, HelpBTN}) {
    b->setFixedWidth(kButtonWidth);
    buttons->addWidget(b);
  }
  OKBTN->setDefault(true);
  buttons->addStretch(1);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(16, 14, 16, 12);
  outer->addLayout(grid);
  outer->addSpacing(10);
  outer->addLayout(buttons);
  setTabOrder(Kind, From);
  setTabOrder(From, FromDate);
  setTabOrder(FromDate, To);
  setTabOrder(To, ToDate);
  setTabOrder(ToDate, Amount);
  setTabOrder(Amount, Rate);
  setTabOrder(Rate, How);
  setTabOrder(How, OKBTN);
  setTabOrder(OKBTN, CancelBTN);
  setTabOrder(CancelBTN, HelpBTN);
  SetHelpTopic(kHelpEvent, ZeroContext::WindowTopic);

  t.ToControls();
  // The first caption changes with the kind; its column keeps the width of
  // the longer one so that the fields stay in place.
  lFrom->setMinimumWidth(lFrom->sizeHint().width());
  connect(Kind, &QComboBox::currentIndexChanged, this, &TEventEdit::KindChange);
  connect(From, &MaskedField::valueChanged, this, &TEventEdit::FromChange);
  connect(To, &MaskedField::valueChanged, this, &TEventEdit::ToChange);
  connect(FromDate, &MaskedField::valueChanged, this, &TEventEdit::FromDateChange);
  connect(ToDate, &MaskedField::valueChanged, this, &TEventEdit::ToDateChange);
  // A date typed shows the date of the payment it fell on once left.
  // (after the field has shown its value formatted).
  connect(FromDate, &QLineEdit::editingFinished, this, [this] { QTimer::singleShot(0, this, &TEventEdit::FromChange); });
  connect(ToDate, &QLineEdit::editingFinished, this, [this] { QTimer::singleShot(0, this, &TEventEdit::ToChange); });
  KindChange();
  setFixedSize(sizeHint());
  Kind->setFocus();
}

EventKind TEventEdit::kind() const {
  const int i = Kind->currentIndex();
  return static_cast<EventKind>(i >= 0 && i <= 3 ? i : 0);
}

void TEventEdit::KindChange() {
  const EventKind k = kind();
  const bool money = MoneyKind(k);
  const bool range = k == EventKind::Extra || k == EventKind::Holiday;
  lFrom->setText(range ? "&From Payment?:" : "&At Payment?:");
  const bool dates = dates_.firstPayment != kBadDate;
  for (QWidget* w : std::initializer_list<QWidget*>{lTo, To, lToDate}) w->setEnabled(range);
  ToDate->setEnabled(range && dates);
  lToNote->setVisible(k == EventKind::Extra);
  lAmount->setEnabled(money);
  Amount->setEnabled(money);
  lRate->setEnabled(k == EventKind::Rate);
  Rate->setEnabled(k == EventKind::Rate);
  ListToControl(ListEntry::Of(HowItems(k), std::max(0, How->currentIndex())), How);
}

void TEventEdit::FromChange() {
  const QSignalBlocker block(FromDate);
  FromDate->setValue(dates_.DateOf(From->value()));
}

void TEventEdit::ToChange() {
  const QSignalBlocker block(ToDate);
  ToDate->setValue(dates_.DateOf(To->value()));
}

void TEventEdit::FromDateChange() {
  const int k = dates_.PaymentOn(FromDate->value());
  if (k < 1) return;
  const QSignalBlocker block(From);
  From->setValue(static_cast<std::int16_t>(k));
}

void TEventEdit::ToDateChange() {
  const int k = dates_.PaymentOn(ToDate->value());
  if (k < 1) return;
  const QSignalBlocker block(To);
  To->setValue(static_cast<std::int16_t>(k));
}

ScheduleEvent TEventEdit::event() const {
  const EventKind k = kind();
  ScheduleEvent ev;
  ev.kind = k;
  ev.from = From->value();
  if (k == EventKind::Extra && To->value() != 0) ev.to = To->value();
  if (k == EventKind::Holiday && To->value() != 0) ev.to = To->value();
  if (MoneyKind(k)) ev.amount = Amount->value();
  if (k == EventKind::Rate) ev.rate = Rate->value();
  ev.how = HowOf(k, How->currentIndex());
  return ev;
}

void TEventEdit::OKBTNClick() {
  // A date typed that is no date is not taken for the payment beside it.
  const bool range = kind() == EventKind::Extra || kind() == EventKind::Holiday;
  const std::pair<DateField*, const char*> dates[] = {
      {FromDate, range ? "From Payment Date" : "At Payment Date"}, {ToDate, "To Payment Date"}};
  for (const auto& [field, name] : dates) {
    if (!field->isEnabled() || !field->showsBadDate()) continue;
    ShowMessage(this, NotADateMessage(name));
    field->setFocus();
    return;
  }
  transfer().FromControls();
  if (auto refusal = CheckEvents({event()})) {
    ShowMessage(this, *refusal);
    return;
  }
  accept();
}

// ---- the list

TEventList::TEventList(std::vector<ScheduleEvent> events, const PaymentDates& dates, AppServices* services,
                       QWidget* parent)
    : WindowBase(services, parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                                       Qt::WindowCloseButtonHint),
      events_(std::move(events)),
      dates_(dates) {
  setObjectName("TEventList");
  setWindowTitle("Events");

  EventGrid = new QTableWidget(0, 5, this);
  EventGrid->setObjectName("EventGrid");
  EventGrid->setHorizontalHeaderLabels({"Event", "Payments", "Amount", "Rate", "Choice"});
  EventGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
  EventGrid->setSelectionMode(QAbstractItemView::SingleSelection);
  EventGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  EventGrid->setTabKeyNavigation(false);
  EventGrid->setWordWrap(false);
  EventGrid->verticalHeader()->hide();
  EventGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  EventGrid->verticalHeader()->setDefaultSectionSize(EventGrid->fontMetrics().height() + 6);
  QHeaderView* head = EventGrid->horizontalHeader();
  head->setSectionResizeMode(QHeaderView::Fixed);
  head->setSectionsClickable(false);
  head->setHighlightSections(false);
  const int widths[5] = {80, 80, 110, 70, 110};
  for (int c = 0; c < 5; ++c) head->resizeSection(c, widths[c]);
  EventGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  EventGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  EventGrid->setFixedSize(450 + EventGrid->verticalScrollBar()->sizeHint().width() + 2 * EventGrid->frameWidth(),
                          220);
  EventGrid->installEventFilter(this);
  SetHelpContext(EventGrid, kHelpEvents);
  connect(EventGrid, &QTableWidget::cellDoubleClicked, this, [this](int, int) { EditBTNClick(); });
  transfer().Own(EventGrid, [this] { FillGrid(); }, [] {});

  auto* side = new QVBoxLayout;
  AddBTN = MakeButton(this, "AddBTN", "&Add...", kHelpEvents, &TEventList::AddBTNClick);
  EditBTN = MakeButton(this, "EditBTN", "&Edit...", kHelpEvents, &TEventList::EditBTNClick);
  DeleteBTN = MakeButton(this, "DeleteBTN", "&Delete", kHelpEvents, &TEventList::DeleteBTNClick);
  for (QPushButton* b : {AddBTN, EditBTN, DeleteBTN}) {
    b->setFixedWidth(kButtonWidth);
    side->addWidget(b);
  }
  side->addStretch(1);
  OKBTN = MakeButton(this, "OKBTN", "&OK", -1, &TEventList::OKBTNClick);
  CancelBTN = MakeButton(this, "CancelBTN", "Cancel", -1, &QDialog::reject);
  HelpBTN = MakeButton(this, "HelpBTN", "&Help", -1, &TEventList::ShowWindowHelp);
  for (QPushButton* b : {OKBTN, CancelBTN, HelpBTN}) {
    b->setFixedWidth(kButtonWidth);
    side->addWidget(b);
  }
  OKBTN->setDefault(true);
  auto* note = new QLabel(
      "OK calculates the schedule with these events;\n"
      "Cancel leaves the events as they were.",
      this);
  note->setObjectName("lNote");
  auto* left = new QVBoxLayout;
  left->addWidget(EventGrid);
  left->addWidget(note);
  auto* outer = new QHBoxLayout(this);
  outer->setContentsMargins(12, 12, 12, 12);
  outer->setSpacing(10);
  outer->addLayout(left);
  outer->addLayout(side);
  setTabOrder(EventGrid, AddBTN);
  setTabOrder(AddBTN, EditBTN);
  setTabOrder(EditBTN, DeleteBTN);
  setTabOrder(DeleteBTN, OKBTN);
  setTabOrder(OKBTN, CancelBTN);
  setTabOrder(CancelBTN, HelpBTN);
  SetHelpTopic(kHelpEvents, ZeroContext::WindowTopic);
  if (ShowsHints()) {
    AddBTN->setToolTip("Add an event [Ins]");
    EditBTN->setToolTip("Edit the event [Enter]");
    DeleteBTN->setToolTip("Delete the event [Del]");
  }
  transfer().ToControls();
  Select(events_.empty() ? -1 : 0);
  setFixedSize(sizeHint());
  EventGrid->setFocus();
}

void TEventList::SetEditHook(EditHook hook) { Hook() = std::move(hook); }

void TEventList::FillGrid() {
  const LocaleFormat& loc = CurrentLocaleInfo().format;
  EventGrid->setRowCount(static_cast<int>(events_.size()));
  for (int r = 0; r < static_cast<int>(events_.size()); ++r) {
    const ScheduleEvent& ev = events_[static_cast<std::size_t>(r)];
    const QString cells[5] = {
        QString::fromLatin1(EventKindCaption(ev.kind)), Q(EventPaymentsText(ev)),
        MoneyKind(ev.kind) ? Q(FormatMoney(ev.amount, 2, loc)) : QString(),
        ev.kind == EventKind::Rate ? Q(RateText(ev.rate, loc)) : QString(),
        QString::fromLatin1(EventHowCaption(ev.how))};
    for (int c = 0; c < 5; ++c) {
      auto* item = new QTableWidgetItem(cells[c]);
      item->setTextAlignment(c == 0 || c == 4 ? (Qt::AlignLeft | Qt::AlignVCenter)
                             : c == 1         ? Qt::AlignCenter
                                              : (Qt::AlignRight | Qt::AlignVCenter));
      item->setToolTip(Q(EventText(ev)));
      EventGrid->setItem(r, c, item);
    }
  }
  const bool any = !events_.empty();
  EditBTN->setEnabled(any);
  DeleteBTN->setEnabled(any);
}

void TEventList::Select(int row) {
  if (row < 0 || row >= EventGrid->rowCount()) {
    EventGrid->clearSelection();
    return;
  }
  EventGrid->setCurrentCell(row, 0);
  EventGrid->selectRow(row);
}

int TEventList::currentEvent() const {
  const int r = EventGrid->currentRow();
  return r >= 0 && r < static_cast<int>(events_.size()) && !EventGrid->selectedItems().isEmpty() ? r : -1;
}

std::optional<ScheduleEvent> TEventList::Edit(const ScheduleEvent& ev, const QString& title) {
  if (Hook()) return Hook()(ev);
  TEventEdit dialog(ev, dates_, services(), this);
  dialog.setWindowTitle(title);
  CentreOn(&dialog, this);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.event();
}

void TEventList::AddBTNClick() {
  ScheduleEvent fresh;
  fresh.kind = EventKind::Extra;
  fresh.from = 1;
  fresh.how = DefaultHow(EventKind::Extra);
  const auto added = Edit(fresh, "Add Event");
  if (!added) return;
  events_.push_back(*added);
  FillGrid();
  Select(static_cast<int>(events_.size()) - 1);
}

void TEventList::EditBTNClick() {
  const int r = currentEvent();
  if (r < 0) return;
  const auto edited = Edit(events_[static_cast<std::size_t>(r)], "Edit Event");
  if (!edited) return;
  events_[static_cast<std::size_t>(r)] = *edited;
  FillGrid();
  Select(r);
}

void TEventList::DeleteBTNClick() {
  const int r = currentEvent();
  if (r < 0) return;
  if (!AskYesNo(this, Message{DeleteEventQuestion(events_[static_cast<std::size_t>(r)]), BoxType::Warning}))
    return;
  events_.erase(events_.begin() + r);
  FillGrid();
  Select(std::min(r, static_cast<int>(events_.size()) - 1));
}

void TEventList::OKBTNClick() {
  if (auto refusal = CheckEvents(events_)) {
    ShowMessage(this, *refusal);
    return;
  }
  accept();
}

bool TEventList::eventFilter(QObject* watched, QEvent* e) {
  if (watched == EventGrid && e->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(e);
    if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier) {
      switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
          // On an empty list Enter is OK, as everywhere else in the dialog.
          if (currentEvent() < 0) break;
          EditBTNClick();
          return true;
        case Qt::Key_Insert:
          AddBTNClick();
          return true;
        case Qt::Key_Delete:
          DeleteBTNClick();
          return true;
        default: break;
      }
    }
  }
  return WindowBase::eventFilter(watched, e);
}

}  // namespace brevika
