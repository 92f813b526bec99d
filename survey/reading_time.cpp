#include "reading_time.h"

#include <chrono>

namespace survey {

using namespace std::chrono;

std::optional<UtcMs> to_utc(const Date &date, std::uint32_t time_ms, std::int64_t utc_offset_ms) {
    if (time_ms >= kDayMs) return std::nullopt;
    const year_month_day local{year{date.year}, month{static_cast<unsigned>(date.month())},
                               day{static_cast<unsigned>(date.day())}};
    if (!local.ok()) return std::nullopt;
    const std::int64_t midnight = sys_days{local}.time_since_epoch().count() * kDayMs;
    return midnight + static_cast<std::int64_t>(time_ms) - utc_offset_ms;
}

UtcDay utc_day(UtcMs moment) {
    const std::int64_t days = moment >= 0 ? moment / kDayMs : -((-moment + kDayMs - 1) / kDayMs);
    const year_month_day date{sys_days{std::chrono::days{days}}};
    return {days, static_cast<int>(date.year()),
            static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day())), moment - days * kDayMs};
}

} // namespace survey
