#pragma once
// Local wall-clock time to seconds since the epoch, as mktime() with tm_isdst = -1 but
// without its cost: glibc's mktime looks at the zone file again on every call (a path
// lookup per extracted file), while localtime_r() keeps the zone it has read.

#include <ctime>
#include <optional>

namespace ludrin::fs {

// The moment the fields name in the process's zone (the one read by the first conversion or
// the last tzset()). Fields out of range carry over as mktime() carries them (month 13 is
// January of the next year, day 0 the last day of the month before). A time the clock shows
// twice is its first showing; a time it skips counts with the offset before the change, so
// it lands as far past the change as it was asked for. Nothing when the zone cannot tell.
std::optional<std::time_t> LocalTimeToSeconds(const std::tm& local);

} // namespace ludrin::fs
