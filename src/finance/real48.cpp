#include "finance/real48.h"

#include <cmath>
#include <limits>

namespace brevika {

namespace {
constexpr int kMantissaBits = 40;  // 39 stored bits and the hidden one
constexpr int kMinExponent = -127;  // frexp form: smallest value 0.5 x 2^-127 = 2^-128
constexpr int kMaxExponent = 128;   // largest value just below 2^128
}  // namespace

double RoundToReal48(long double x) {
  if (std::isnan(x)) return std::numeric_limits<double>::quiet_NaN();
  if (x == 0.0L) return 0.0;
  if (std::isinf(x)) return static_cast<double>(x);
  int e = 0;
  const long double m = std::frexp(x, &e);  // 0.5 <= |m| < 1
  if (e < kMinExponent) return std::signbit(x) ? -0.0 : 0.0;
  // The scaled mantissa fits a long double exactly; nearbyint rounds halves
  // to the even neighbour in the default rounding mode.
  const long double scaled = std::nearbyint(std::ldexp(m, kMantissaBits));
  const long double r = std::ldexp(scaled, e - kMantissaBits);
  int re = 0;
  std::frexp(r, &re);
  if (re > kMaxExponent) return std::signbit(x) ? -std::numeric_limits<double>::infinity()
                                                : std::numeric_limits<double>::infinity();
  return static_cast<double>(r);  // 40 bits fit a double exactly
}

}  // namespace brevika
