#include "components/transfer.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QStringList>
#include <algorithm>

#include "components/masked_fields.h"

namespace brevika {

void ListToControl(const ListEntry& entry, QComboBox* combo) {
  const QSignalBlocker block(combo);
  QStringList items;
  for (const std::string& s : entry.items) items << QString::fromStdString(s);
  QStringList shown;
  for (int k = 0; k < combo->count(); ++k) shown << combo->itemText(k);
  if (shown != items) {
    combo->clear();
    combo->addItems(items);
  }
  combo->setCurrentIndex(entry.index >= 0 && entry.index < combo->count() ? entry.index : -1);
}

void ControlToList(const QComboBox* combo, ListEntry& entry) { entry.Select(combo->currentIndex()); }

void Transfer::Bind(Kind kind, QWidget* control, void* value) {
  bindings_.push_back({kind, control, value, {}, {}});
  if (kind != Kind::Label) controls_.push_back(control);
}

void Transfer::Own(QWidget* control, std::function<void()> toControl, std::function<void()> fromControl) {
  Bind(Kind::Own, control, nullptr);
  bindings_.back().toControl = std::move(toControl);
  bindings_.back().fromControl = std::move(fromControl);
}

void Transfer::Label(QLabel* label, std::string* caption) { Bind(Kind::Label, label, caption); }
void Transfer::Money(MoneyField* f, double* v) { Bind(Kind::Money, f, v); }
void Transfer::Rate(RateField* f, float* v) { Bind(Kind::Rate, f, v); }
void Transfer::Count(CountField* f, std::int16_t* v) { Bind(Kind::Count, f, v); }
void Transfer::Count(CountField* f, std::uint16_t* v) { Bind(Kind::UCount, f, v); }
void Transfer::Day(DateField* f, Date* v, bool keepWhenEmpty) {
  Bind(keepWhenEmpty ? Kind::KeptDay : Kind::Day, f, v);
}
void Transfer::List(QComboBox* c, ListEntry* e) { Bind(Kind::List, c, e); }
void Transfer::Text(QLineEdit* box, std::string* text) { Bind(Kind::Text, box, text); }
void Transfer::Edit(QLineEdit* edit, std::string* text) { Bind(Kind::Edit, edit, text); }
void Transfer::Memo(QPlainTextEdit* memo, std::vector<std::string>* lines) {
  Bind(Kind::Memo, memo, lines);
}

void Transfer::ToControls() const {
  for (const Binding& b : bindings_) {
    const QSignalBlocker block(b.control);
    // The fields refuse values that are not finite numbers and keep theirs.
    switch (b.kind) {
      case Kind::Label: {
        // An '&' before a blank is a plain ampersand, not an access key.
        QString caption = QString::fromStdString(*static_cast<std::string*>(b.value));
        caption.replace(QStringLiteral("& "), QStringLiteral("&& "));
        static_cast<QLabel*>(b.control)->setText(caption);
        break;
      }
      case Kind::Money:
        static_cast<MoneyField*>(b.control)->setValue(*static_cast<double*>(b.value));
        break;
      case Kind::Rate:
        static_cast<RateField*>(b.control)->setValue(*static_cast<float*>(b.value));
        break;
      case Kind::Count:
        static_cast<CountField*>(b.control)->setValue(*static_cast<std::int16_t*>(b.value));
        break;
      case Kind::UCount:
        static_cast<CountField*>(b.control)->setValue(
            static_cast<std::int16_t>(*static_cast<std::uint16_t*>(b.value)));
        break;
      case Kind::Day:
      case Kind::KeptDay: {
        // A record without a date leaves a field that shows no date as it
        // is: text typed that is no date stays in sight.
        auto* field = static_cast<DateField*>(b.control);
        const Date date = *static_cast<Date*>(b.value);
        if (date != kBadDate || field->value() != kBadDate) field->setValue(date);
        break;
      }
      case Kind::List:
        ListToControl(*static_cast<ListEntry*>(b.value), static_cast<QComboBox*>(b.control));
        break;
      case Kind::Text:
      case Kind::Edit:
        static_cast<QLineEdit*>(b.control)->setText(
            QString::fromStdString(*static_cast<std::string*>(b.value)));
        break;
      case Kind::Memo: {
        QStringList lines;
        for (const std::string& line : *static_cast<std::vector<std::string>*>(b.value))
          lines << QString::fromStdString(line);
        static_cast<QPlainTextEdit*>(b.control)->setPlainText(lines.join(QLatin1Char('\n')));
        break;
      }
      case Kind::Own:
        if (b.toControl) b.toControl();
        break;
    }
  }
}

void Transfer::FromControls() const {
  for (const Binding& b : bindings_) {
    switch (b.kind) {
      case Kind::Label:
        break;  // captions go from the record to the labels only
      case Kind::Money:
        *static_cast<double*>(b.value) = static_cast<MoneyField*>(b.control)->value();
        break;
      case Kind::Rate:
        *static_cast<float*>(b.value) = static_cast<RateField*>(b.control)->value();
        break;
      case Kind::Count:
        *static_cast<std::int16_t*>(b.value) = static_cast<CountField*>(b.control)->value();
        break;
      case Kind::UCount:
        *static_cast<std::uint16_t*>(b.value) = static_cast<std::uint16_t>(
            std::max<int>(0, static_cast<CountField*>(b.control)->value()));
        break;
      case Kind::Day:
        *static_cast<Date*>(b.value) = static_cast<DateField*>(b.control)->value();
        break;
      case Kind::KeptDay: {
        auto* field = static_cast<DateField*>(b.control);
        Date& value = *static_cast<Date*>(b.value);
        if (field->value() != kBadDate) value = field->value();
        else if (!field->showsBadDate()) field->setValue(value);
        break;
      }
      case Kind::List:
        ControlToList(static_cast<QComboBox*>(b.control), *static_cast<ListEntry*>(b.value));
        break;
      case Kind::Text:
        *static_cast<std::string*>(b.value) = static_cast<QLineEdit*>(b.control)->text().toStdString();
        break;
      case Kind::Edit:
        *static_cast<std::string*>(b.value) =
            static_cast<QLineEdit*>(b.control)->text().trimmed().toStdString();
        break;
      case Kind::Memo: {
        auto& lines = *static_cast<std::vector<std::string>*>(b.value);
        lines.clear();
        const QString text = static_cast<QPlainTextEdit*>(b.control)->toPlainText();
        if (!text.isEmpty())
          for (const QString& line : text.split(QLatin1Char('\n'))) lines.push_back(line.toStdString());
        break;
      }
      case Kind::Own:
        if (b.fromControl) b.fromControl();
        break;
    }
  }
}

std::vector<MoneyField*> Transfer::moneyFields() const {
  std::vector<MoneyField*> out;
  for (const Binding& b : bindings_)
    if (b.kind == Kind::Money) out.push_back(static_cast<MoneyField*>(b.control));
  return out;
}

}  // namespace brevika
