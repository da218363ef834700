// The account holder a schedule is tied to, as the printed report names
// it. The loan records make it from an account. No Qt.
#pragma once
#include <string>

namespace brevika {

// Plain texts, blank-trimmed or not: the report trims the lines it prints.
struct Borrower {
  std::string firstName, lastName, mi, business;
  std::string address1, address2, city, state, zip;
  std::string phone;
  bool operator==(const Borrower&) const = default;
};

}  // namespace brevika
