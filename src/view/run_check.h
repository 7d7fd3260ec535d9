// What the mesher's run record says about the files the viewer shows: a run that did
// not end normally, a run that ended on a message, or files that the last run did not
// leave as they are now. A job without a record (meshed before records were kept) gets
// no warning.
#pragma once

#include <string>
#include <vector>

namespace gencampi::view {

// The files shown: the program directory's campi.txt (or the job directory's
// triang.txt for a rigid floor) and the job directory's punti.dis.
std::vector<std::string> record_warnings(const std::string& progra, const std::string& job,
                                         bool rigid);

}  // namespace gencampi::view
