// The margins of the accelerated engines. A fast engine skips a node, a cell or a check
// only where a bound proves that the straightforward procedure would give the same
// answer there, and every such bound is widened by one of these, so that the rounding
// of the bound's own arithmetic can never make it too tight. No margin decides an answer:
// a wider one only makes an engine look at more.
#pragma once

namespace gencampi::margine {

// Relative widening of a bound worked out in a few operations.
inline constexpr double relativo = 1e-9;
// Relative widening of a bound with more rounding in it (square roots, sines, quotients).
inline constexpr double largo = 1e-6;
// A hair, per unit of the largest coordinate: room for the rounding of a coordinate.
inline constexpr double capello = 1e-12;
// The rounding of a cross product of coordinates up to M is below this times M^2 (its
// terms are at most 8 M^2, and five roundings of 2^-53 each leave under 5e-15 M^2).
inline constexpr double arrotondamento = 1e-14;
// Keep a bound above zero when every coordinate is zero: the first where it is a
// square, the second where it is a length.
inline constexpr double minimo = 1e-290;
inline constexpr double minimo_assoluto = 1e-300;
// A cross product beyond this, plus its rounding, has the sign exact arithmetic gives it;
// far above the 1e-8 of the crossing test, so that test answers it the same way.
inline constexpr double prodotto_certo = 2e-4;

}  // namespace gencampi::margine
