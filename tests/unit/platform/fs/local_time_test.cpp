// The local-time conversion held to mktime(), the plain reference it replaces, in zones
// that move their clocks both ways and by half hours, on every quarter hour of a year.

#include "platform/fs/local_time_posix.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace ludrin::fs {
namespace {

// Sets TZ for one test and puts the process's zone back afterwards.
class ZoneGuard {
public:
    explicit ZoneGuard(const char* zone) {
        if (const char* old = std::getenv("TZ")) {
            old_ = old;
        }
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~ZoneGuard() {
        if (old_) {
            ::setenv("TZ", old_->c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
    }
    ZoneGuard(const ZoneGuard&) = delete;
    ZoneGuard& operator=(const ZoneGuard&) = delete;

private:
    std::optional<std::string> old_;
};

std::tm Fields(int year, int month, int day, int hour, int minute, int second) {
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    return fields;
}

bool ShowsAs(std::time_t moment, const std::tm& fields) {
    std::tm shown{};
    return ::localtime_r(&moment, &shown) != nullptr && shown.tm_year == fields.tm_year &&
           shown.tm_mon == fields.tm_mon && shown.tm_mday == fields.tm_mday &&
           shown.tm_hour == fields.tm_hour && shown.tm_min == fields.tm_min &&
           shown.tm_sec == fields.tm_sec;
}

// mktime()'s answer where it has one answer; where the clock shows the time twice, its
// choice depends on its earlier calls, so the first showing is asked for explicitly.
std::time_t Reference(const std::tm& fields) {
    std::tm plain = fields;
    plain.tm_isdst = -1;
    const std::time_t answer = std::mktime(&plain);
    std::tm dayBefore{};
    std::tm dayAfter{};
    const std::time_t before = answer - 86400;
    const std::time_t after = answer + 86400;
    if (::localtime_r(&before, &dayBefore) != nullptr && ::localtime_r(&after, &dayAfter) &&
        dayBefore.tm_gmtoff == dayAfter.tm_gmtoff) {
        return answer; // no change near: one showing (and asking for DST here is slow)
    }
    std::vector<std::time_t> shown;
    for (const int dst : {0, 1}) {
        std::tm asked = fields;
        asked.tm_isdst = dst;
        const std::time_t moment = std::mktime(&asked);
        if (ShowsAs(moment, fields) && (shown.empty() || shown.front() != moment)) {
            shown.push_back(moment);
        }
    }
    return shown.size() == 2 ? std::min(shown[0], shown[1]) : answer;
}

class LocalTimeTest : public ::testing::TestWithParam<const char*> {};

TEST_P(LocalTimeTest, EveryQuarterHourOfAYearMatchesMktime) {
    const ZoneGuard zone(GetParam());
    int mismatches = 0;
    for (int day = 1; day <= 366; ++day) {
        for (int minute = 0; minute < 24 * 60; minute += 15) {
            // Day numbers past a month's end carry over, as they do for mktime().
            const std::tm fields = Fields(2020, 1, day, minute / 60, minute % 60, 0);
            const auto ours = LocalTimeToSeconds(fields);
            ASSERT_TRUE(ours.has_value());
            if (*ours != Reference(fields) && ++mismatches <= 5) {
                ADD_FAILURE() << "day " << day << " minute " << minute << ": " << *ours
                              << " against " << Reference(fields);
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST_P(LocalTimeTest, FieldsOutOfRangeCarryOverAsMktimeCarriesThem) {
    const ZoneGuard zone(GetParam());
    // What a DOS date-time can hold: month 0 and 13-15, day 0, hour up to 31, minute up to
    // 63, second up to 62, and the first and last years.
    const std::tm cases[] = {
        Fields(1980, 1, 1, 0, 0, 0),    Fields(2107, 12, 31, 23, 59, 58),
        Fields(2020, 0, 15, 12, 0, 0),  Fields(2020, 13, 15, 12, 0, 0),
        Fields(2020, 15, 31, 12, 0, 0), Fields(2021, 3, 0, 12, 0, 0),
        Fields(2020, 2, 31, 12, 0, 0),  Fields(2020, 6, 30, 31, 63, 62),
        Fields(2020, 3, 29, 1, 63, 62), Fields(2020, 10, 31, 25, 30, 0),
    };
    for (const std::tm& fields : cases) {
        const auto ours = LocalTimeToSeconds(fields);
        ASSERT_TRUE(ours.has_value());
        EXPECT_EQ(*ours, Reference(fields))
            << fields.tm_year + 1900 << '-' << fields.tm_mon + 1 << '-' << fields.tm_mday << ' '
            << fields.tm_hour << ':' << fields.tm_min << ':' << fields.tm_sec;
    }
}

// POSIX zone rules, so no zone database is needed: no change, the two hemispheres, a
// change late at night, a half-hour change and a zone east of UTC by a quarter hour.
INSTANTIATE_TEST_SUITE_P(Zones, LocalTimeTest,
                         ::testing::Values("UTC0", "EST5EDT,M3.2.0,M11.1.0",
                                           "CET-1CEST,M3.5.0,M10.5.0/3",
                                           "AEST-10AEDT,M10.1.0,M4.1.0/3",
                                           "LHST-10:30LHDT-11,M10.1.0,M4.1.0", "<+0545>-5:45"));

} // namespace
} // namespace ludrin::fs
