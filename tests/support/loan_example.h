// The worked loan example: 100,000 over 360 months at 7.5 %, payment solved.
#pragma once
#include <string>

namespace brevika::testing {

// The copy text of that loan under a caption, byte for byte (US format).
inline std::string LoanExampleCopyText(const std::string& caption) {
  return caption +
         "\r\n\r\n"
         "Amount of Loan?:              $100,000.00\r\n"
         "Total Periods? (#):                   360\r\n"
         "Annual Rate? (%):                    7.50\r\n"
         "Periodic Payment:                 $699.21\r\n"
         "Payment Period?:                  Monthly\r\n"
         "Compounding Period?:              Monthly\r\n"
         "Payment Method?:                  Arrears\r\n"
         "Amortizing Method?:                Normal\r\n"
         "Total Interest:               $151,715.60\r\n";
}

}  // namespace brevika::testing
