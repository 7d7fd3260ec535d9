// The arc tangent of glibc 2.36 on x86-64, to the last bit, for a build that has no
// glibc. The angles of the field stage come from it, and the C runtimes of other systems
// round differently in the last bit for some arguments: enough to change the fields of
// several floors in a thousand.
#pragma once

namespace gencampi {

// As glibc computes it on this processor: with fused multiply-adds where the processor
// has them (and AVX2), as glibc chooses at load time, otherwise without.
double arcotangente_glibc(double x);

// One of the two ways, chosen by the caller; the fused one only where the processor has
// fused multiply-adds.
double arcotangente_glibc(double x, bool fusa);
bool processore_con_fma();

}  // namespace gencampi
