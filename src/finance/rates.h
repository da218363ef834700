// Rate conversion, rounding to cents and the level-payment formulas.
#pragma once
#include <cstdint>

#include "finance/items.h"

namespace brevika {

// Annual rate in percent, nominal for `a` payments a year, of an annual rate
// `r` (percent) compounded `c` times a year. The rate really is a float:
// callers that hold a double lose precision on the way in, as intended.
double ConvertNominalRate(std::uint16_t a, std::uint16_t c, float r);

// Periodic rate (fraction per payment period) of a loan.
long double PeriodicRate(std::uint16_t a, std::uint16_t c, float r);

// Rounds through decimal text: nearest text with `decimals` places (halves
// away from zero), cut to `maxChars` characters, read back.
double RoundThroughText(long double x, int decimals, int maxChars);
// Two decimals; amounts keep their cents up to 14 integer digits.
double RoundToCents(long double x);
// Two decimals through text cut to 10 characters: from 10,000,000 up the
// last decimal is dropped, not rounded; whole units are never cut.
double RoundToCentsShort(long double x);

// The annuity formula, unrounded: the level payment that repays
// `principal` in n payments at the periodic rate i, in arrears
// P i / (1 - (1 + i)^-n), in advance P / (1 + (1 - (1 + i)^(1 - n)) / i);
// and its inverse, the amount that n payments of `payment` repay.
long double AnnuityPayment(long double principal, long double i, long double n, bool arrears);
long double AnnuityAmount(long double payment, long double i, long double n, bool arrears);

double LevelPaymentArrears(std::int16_t n, std::uint16_t a, std::uint16_t c,
                           double principal, float r);
// The same at a periodic rate already worked out (PeriodicRate(a, c, r)).
double LevelPaymentArrearsAt(std::int16_t n, long double i, double principal);
double LevelPaymentAdvance(std::int16_t n, std::uint16_t a, std::uint16_t c,
                           double principal, float r);
// First payment by amortizing method; i is the periodic rate.
double FirstPaymentArrears(AmortMethod method, long double i, std::int16_t n, double principal);
double FirstPaymentAdvance(AmortMethod method, long double i, std::int16_t n, double principal);

}  // namespace brevika
