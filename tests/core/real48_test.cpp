#include <gtest/gtest.h>

#include <cmath>

#include "finance/real48.h"
#include "finance/rates.h"

namespace brevika {
namespace {

TEST(Real48, FortyBitMantissaRoundedToNearest) {
  EXPECT_EQ(RoundToReal48(699.21L), 0x1.5d9ae147ae000p+9);  // 699.2099999999627
  EXPECT_EQ(RoundToReal48(1.0L + std::ldexp(1.0L, -39)), 1.0 + std::ldexp(1.0, -39));
  // Halfway cases go to the even neighbour.
  EXPECT_EQ(RoundToReal48(1.0L + std::ldexp(1.0L, -40)), 1.0);
  EXPECT_EQ(RoundToReal48(1.0L + 3 * std::ldexp(1.0L, -40)), 1.0 + std::ldexp(1.0, -38));
  EXPECT_EQ(RoundToReal48(-(1.0L + 3 * std::ldexp(1.0L, -40))), -(1.0 + std::ldexp(1.0, -38)));
  // 7.5 % a year paid monthly: the six-byte rate lies above 0.00625.
  EXPECT_EQ(RoundToReal48(PeriodicRate(12, 12, 7.5f)), 0x1.999999999a000p-8);
  EXPECT_EQ(RoundToReal48(0.0L), 0.0);
}

TEST(Real48, RangeEnds) {
  EXPECT_EQ(RoundToReal48(std::ldexp(1.0L, -128)), std::ldexp(1.0, -128));
  EXPECT_EQ(RoundToReal48(std::ldexp(1.0L, -129)), 0.0);
  EXPECT_EQ(RoundToReal48(std::ldexp(1.0L, 127)), std::ldexp(1.0, 127));
  EXPECT_TRUE(std::isinf(RoundToReal48(std::ldexp(1.0L, 128))));
  // Just below 2^128 rounds up past the largest six-byte real.
  EXPECT_TRUE(std::isinf(RoundToReal48(std::ldexp(1.0L, 128) * (1 - std::ldexp(1.0L, -50)))));
  EXPECT_TRUE(std::isnan(RoundToReal48(NAN)));
}

}  // namespace
}  // namespace brevika
