#pragma once

#include <cstdint>
#include <vector>

#include "abi/mesh_record.h"

namespace lumetra::translate {

// The library's spline kind for the host's outline setting.
int32_t LibrarySplineKind(std::uint32_t hostKind);

// The library's (x, y, w) outline of the host's points; w is 0 for a corner of an
// outline whose points carry corners. A sweep's outline is closed: the last point the
// host gives is dropped and the first repeats in its place. A lathe's outline is open
// and drops the last point as well.
std::vector<double> ProfileOutline(const std::vector<abi::ProfilePoint>& points, std::uint32_t hostKind,
                                   bool closed);

}  // namespace lumetra::translate
