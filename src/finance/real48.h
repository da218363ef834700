// Six-byte reals: the running values of the balance walks are kept at this
// precision (a 40-bit mantissa, about 12 significant digits, exponents of
// 2^-128 to 2^127), which decides cents at half-cent ties.
#pragma once

namespace brevika {

// x rounded to the nearest six-byte real (ties to even). Values below the
// smallest six-byte real become zero; values past the largest become
// infinite, and so does anything that is not finite already.
double RoundToReal48(long double x);

}  // namespace brevika
