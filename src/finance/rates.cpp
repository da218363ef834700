#include "finance/rates.h"

#include <charconv>
#include <cmath>

#include "finance/items.h"

namespace brevika {

double ConvertNominalRate(std::uint16_t a, std::uint16_t c, float r) {
  const long double rate = r;
  const long double base = 1.0L + rate / (100.0L * c);
  const long double grown = std::exp(std::log(base) * (static_cast<long double>(c) / a));
  return static_cast<double>(100.0L * a * (grown - 1.0L));
}

long double PeriodicRate(std::uint16_t a, std::uint16_t c, float r) {
  return static_cast<long double>(ConvertNominalRate(a, c, r)) * 0.01L / a;
}

namespace {
// The decimal text round trip done in arithmetic, for cents of amounts whose
// text fits 15 characters. y = x * 100 is off by far less than 1e-4 there,
// so unless y lies next to a half the nearest integer is the nearest text,
// and dividing that exact integer by 100 in double precision reads back the
// same value the text would. Returns false for the slow path.
bool FastCents(long double x, double& out) {
  if (!(std::fabs(x) < 1e11L)) return false;
  const long double y = x * 100.0L;
  long double whole = std::floor(y);
  const long double frac = y - whole;
  if (std::fabs(frac - 0.5L) < 1e-4L) return false;
  if (frac > 0.5L) whole += 1.0L;
  out = static_cast<double>(whole) / 100.0;
  if (out == 0.0 && x < 0) out = -0.0;
  return true;
}
}  // namespace

double RoundThroughText(long double x, int decimals, int maxChars) {
  if (!std::isfinite(x)) return static_cast<double>(x);
  double fast;
  if (decimals == 2 && maxChars >= 15 && FastCents(x, fast)) return fast;
  long double scale = 1.0L;
  for (int k = 0; k < decimals; ++k) scale *= 10.0L;
  // An exact binary half (x * 10^d * 2 odd integer) goes away from zero; every
  // other value takes the nearest decimal text.
  const long double twice = x * scale * 2.0L;
  if (std::fabs(twice) < 1e18L && twice == std::trunc(twice) &&
      std::fmod(std::fabs(twice), 2.0L) == 1.0L) {
    x = (std::trunc(x * scale) + (x < 0 ? -1.0L : 1.0L)) / scale;
  }
  // Cutting the text must only ever drop decimals: a value whose whole
  // part alone is longer than the cut keeps its magnitude, rounded to units.
  if (std::fabs(x) >= 1e14L) {
    long double whole = std::fabs(x) >= 1e18L ? x : std::round(x);
    char probe[32];
    auto p = std::to_chars(probe, probe + sizeof probe, std::fabs(whole) >= 1e18L ? 0.0L : whole,
                           std::chars_format::fixed, 0);
    if (std::fabs(whole) >= 1e18L || p.ptr - probe >= maxChars) return static_cast<double>(whole);
  }
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, decimals);
  if (res.ec != std::errc()) return static_cast<double>(x);
  std::size_t len = static_cast<std::size_t>(res.ptr - buf);
  if (len > static_cast<std::size_t>(maxChars)) len = static_cast<std::size_t>(maxChars);
  if (len > 0 && buf[len - 1] == '.') --len;
  double out = 0.0;
  std::from_chars(buf, buf + len, out);
  return out;
}

// Eighteen characters hold a sign, 14 integer digits, the point and the
// cents: a 13-digit payment of a 12-digit loan keeps its cents.
double RoundToCents(long double x) { return RoundThroughText(x, 2, 18); }

double RoundToCentsShort(long double x) {
  if (!std::isfinite(x)) return static_cast<double>(x);
  // While the whole part of the two-decimal text fits 10 characters the cut
  // only drops decimals; a longer whole part keeps its units.
  const double cents = RoundToCents(x);
  const bool wholeFits = cents < 0 ? cents > -1e9 : cents < 1e10;
  return wholeFits ? RoundThroughText(x, 2, 10) : std::trunc(cents);
}

long double AnnuityPayment(long double principal, long double i, long double n, bool arrears) {
  if (arrears) return principal * i / (1.0L - std::pow(1.0L / (1.0L + i), n));
  return principal / (1.0L + (1.0L - std::pow(1.0L + i, 1.0L - n)) / i);
}

long double AnnuityAmount(long double payment, long double i, long double n, bool arrears) {
  if (arrears) return payment * (1.0L - std::pow(1.0L + i, -n)) / i;
  return payment * (1.0L + (1.0L - std::pow(1.0L + i, 1.0L - n)) / i);
}

double LevelPaymentArrears(std::int16_t n, std::uint16_t a, std::uint16_t c,
                           double principal, float r) {
  return LevelPaymentArrearsAt(n, PeriodicRate(a, c, r), principal);
}

double LevelPaymentArrearsAt(std::int16_t n, long double i, double principal) {
  return RoundToCents(AnnuityPayment(principal, i, n, true));
}

double LevelPaymentAdvance(std::int16_t n, std::uint16_t a, std::uint16_t c,
                           double principal, float r) {
  return RoundToCents(AnnuityPayment(principal, PeriodicRate(a, c, r), n, false));
}

double FirstPaymentArrears(AmortMethod method, long double i, std::int16_t n, double principal) {
  long double p = 0.0L;
  switch (method) {
    case AmortMethod::InterestOnly: p = principal * i; break;
    case AmortMethod::FixedPrincipal: p = principal / static_cast<long double>(n) + principal * i; break;
    case AmortMethod::Canadian: case AmortMethod::Normal: case AmortMethod::RuleOf78: case AmortMethod::USRule:
      p = AnnuityPayment(principal, i, n, true);
      break;
    default: break;
  }
  return RoundToCents(p);
}

double FirstPaymentAdvance(AmortMethod method, long double i, std::int16_t n, double principal) {
  long double p = 0.0L;
  switch (method) {
    case AmortMethod::InterestOnly: p = 0.0L; break;
    case AmortMethod::FixedPrincipal: p = principal / static_cast<long double>(n); break;
    case AmortMethod::Canadian: case AmortMethod::Normal: case AmortMethod::RuleOf78: case AmortMethod::USRule:
      p = AnnuityPayment(principal, i, n, false);
      break;
    default: break;
  }
  return RoundToCents(p);
}

}  // namespace brevika
