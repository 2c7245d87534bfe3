#include "platform/fs/local_time_posix.hpp"

namespace ludrin::fs {
namespace {

constexpr std::time_t kDay = 86400;

// Days from 1970-01-01 to the given proleptic Gregorian date (month 1-12).
std::time_t DaysFromCivil(std::time_t year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const std::time_t era = (year >= 0 ? year : year - 399) / 400;
    const std::time_t yearOfEra = year - era * 400;
    const std::time_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::time_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// The fields read as if the zone were UTC, carried over as mktime() carries them.
std::time_t FieldsAsUtc(const std::tm& fields) {
    std::time_t year = static_cast<std::time_t>(fields.tm_year) + 1900 + fields.tm_mon / 12;
    int month = fields.tm_mon % 12;
    if (month < 0) {
        month += 12;
        --year;
    }
    const std::time_t days = DaysFromCivil(year, month + 1, 1) + fields.tm_mday - 1;
    return days * kDay + static_cast<std::time_t>(fields.tm_hour) * 3600 +
           static_cast<std::time_t>(fields.tm_min) * 60 + fields.tm_sec;
}

// The zone's offset from UTC at that moment, in seconds east.
std::optional<long> OffsetAt(std::time_t moment) {
    std::tm local{};
    if (::localtime_r(&moment, &local) == nullptr) {
        return std::nullopt;
    }
    return local.tm_gmtoff;
}

} // namespace

std::optional<std::time_t> LocalTimeToSeconds(const std::tm& local) {
    const std::time_t wall = FieldsAsUtc(local);
    // No zone changes its offset twice within two days: the offsets a day either side are
    // the ones before and after any change near this time.
    const auto before = OffsetAt(wall - kDay);
    const auto after = OffsetAt(wall + kDay);
    if (!before || !after) {
        return std::nullopt;
    }
    const std::time_t underBefore = wall - *before;
    if (*before == *after || OffsetAt(underBefore) == before) {
        return underBefore; // no change near, before the change, or the first of two showings
    }
    const std::time_t underAfter = wall - *after;
    if (OffsetAt(underAfter) == after) {
        return underAfter;
    }
    return underBefore; // skipped by the clock
}

} // namespace ludrin::fs
