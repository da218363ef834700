// One loan offer written as text, the form the command line takes:
// "amount=300000,rate=6.5,periods=360,points=1,fees=2500". Keys (any case):
// amount, rate, periods (required), points, fees, payment-period,
// compounding, amortizing (defaults as for a schedule: no points or fees,
// "Monthly", "Monthly", "Normal"). Numbers are read as the entry fields read
// them; a piece without "=" continues the value before it, so thousands
// separators may be written ("amount=300,000"). List items by their text,
// any case. No Qt.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "amortization/compare.h"

namespace brevika {

// The offer, or nothing with `error` set to one line that names the offer
// by its 1-based `number` ("Offer 2: rate: '6.5%' is not a rate ...").
std::optional<LoanOffer> ParseOfferText(std::string_view text, int number, std::string& error);

}  // namespace brevika
