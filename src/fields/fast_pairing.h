// Merge partners for a whole pairing step, found through the fields that share nodes.
#pragma once

#include "core/job.h"

namespace gencampi {

// The same as calling cercacoppie(corr) for corr = primo..ultimo in increasing order:
// only fields holding two corners of corr can share a side with it, so only those are
// examined, in increasing number, with the same temporary sides and the same tests.
void cercacoppie_veloce(Job& job, int primo, int ultimo);

}  // namespace gencampi
