// CSV text for export files and the command line (RFC 4180): fields
// separated by commas, every line ended by CR LF, a field quoted where it
// holds a comma, a quote or a line end, its quotes doubled. No Qt.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace brevika::tables {

class CsvWriter {
 public:
  // Starts with the heading line, given without its line end; room for
  // `reserve` bytes more.
  explicit CsvWriter(std::string_view heading, std::size_t reserve = 0);

  // A field written as it is: numbers, ISO dates.
  CsvWriter& Field(std::string_view plain);
  // A field of free text, quoted where it needs to be.
  CsvWriter& Text(std::string_view text);
  // An amount rounded to the cent with every digit and no grouping.
  CsvWriter& Money(double v);
  // `count` empty fields.
  CsvWriter& Empty(int count);
  void EndLine();

  // The text written; the writer is left empty.
  std::string Take() { return std::move(out_); }

 private:
  void Separate();
  std::string out_;
  bool lineStart_ = true;
};

}  // namespace brevika::tables
