#include "utc_time.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace gravity {

namespace {

using namespace std::chrono;

std::int64_t floor_div(std::int64_t a, std::int64_t b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

} // namespace

std::optional<UtcMs> to_utc(const survey::Date &date, std::uint32_t time_ms,
                            std::int64_t utc_offset_ms) {
    if (time_ms >= kDayMs) return std::nullopt;
    const year_month_day local{year{date.year}, month{static_cast<unsigned>(date.month())},
                               day{static_cast<unsigned>(date.day())}};
    if (!local.ok()) return std::nullopt;
    const std::int64_t midnight = sys_days{local}.time_since_epoch().count() * kDayMs;
    return midnight + static_cast<std::int64_t>(time_ms) - utc_offset_ms;
}

UtcMs utc_moment(int y, int mo, int d, int h, int mi, double s) {
    const year_month_day date{year{y}, month{static_cast<unsigned>(mo)},
                              day{static_cast<unsigned>(d)}};
    return sys_days{date}.time_since_epoch().count() * kDayMs + (h * 60LL + mi) * 60000 +
           std::llround(s * 1000);
}

std::string utc_date_text(UtcMs moment) {
    const year_month_day date{sys_days{days{floor_div(moment, kDayMs)}}};
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}

std::string utc_time_text(UtcMs moment) {
    const std::int64_t seconds = (moment - floor_div(moment, kDayMs) * kDayMs) / 1000;
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(seconds / 3600),
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    return text;
}

} // namespace gravity
