#include "tables/csv_writer.h"

#include "finance/format.h"
#include "finance/rates.h"

namespace brevika::tables {

namespace {
constexpr std::string_view kLineEnd = "\r\n";
}  // namespace

CsvWriter::CsvWriter(std::string_view heading, std::size_t reserve) {
  out_.reserve(heading.size() + kLineEnd.size() + reserve);
  out_ += heading;
  out_ += kLineEnd;
}

void CsvWriter::Separate() {
  if (!lineStart_) out_ += ',';
  lineStart_ = false;
}

CsvWriter& CsvWriter::Field(std::string_view plain) {
  Separate();
  out_ += plain;
  return *this;
}

CsvWriter& CsvWriter::Text(std::string_view text) {
  Separate();
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
    out_ += text;
    return *this;
  }
  out_ += '"';
  for (char ch : text) {
    if (ch == '"') out_ += '"';
    out_ += ch;
  }
  out_ += '"';
  return *this;
}

CsvWriter& CsvWriter::Money(double v) { return Field(PlainAmount(RoundToCents(v))); }

CsvWriter& CsvWriter::Empty(int count) {
  for (int k = 0; k < count; ++k) Separate();
  return *this;
}

void CsvWriter::EndLine() {
  out_ += kLineEnd;
  lineStart_ = true;
}

}  // namespace brevika::tables
