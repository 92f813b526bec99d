#include "utc_time.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace gravity {

using namespace std::chrono;

UtcMs utc_moment(int y, int mo, int d, int h, int mi, double s) {
    const year_month_day date{year{y}, month{static_cast<unsigned>(mo)},
                              day{static_cast<unsigned>(d)}};
    return sys_days{date}.time_since_epoch().count() * kDayMs + (h * 60LL + mi) * 60000 +
           std::llround(s * 1000);
}

std::string utc_date_text(UtcMs moment) {
    const survey::UtcDay date = survey::utc_day(moment);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

std::string utc_time_text(UtcMs moment) {
    const std::int64_t seconds = survey::utc_day(moment).ms / 1000;
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(seconds / 3600),
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    return text;
}

} // namespace gravity
