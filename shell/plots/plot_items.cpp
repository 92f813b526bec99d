#include "plot_items.h"

#include "plot_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <utility>

namespace plots {

std::string line_name(const survey::ProfileHeader &header) {
    const bool positive = header.line_pos > 0;
    const char letter =
        header.line_pos_is_easting() ? (positive ? 'E' : 'W') : (positive ? 'N' : 'S');
    char text[48];
    std::snprintf(text, sizeof text, "%.3f%c", std::fabs(header.line_pos), letter);
    return text;
}

namespace {

std::string survey_name(const survey::Survey &s, std::size_t index) {
    if (s.has_header && !s.header.name.empty()) return s.header.name;
    return "Survey " + std::to_string(index + 1);
}

std::string line_title(const survey::Line &line, std::size_t index) {
    switch (line.kind) {
    case survey::LineKind::Profile:
        return "Line " + line_name(line.profile);
    case survey::LineKind::Sounding:
        return "Sounding " + line.sounding.name;
    case survey::LineKind::BoreHole:
        return "Bore hole " + line.bore_hole.name;
    case survey::LineKind::Unheaded:
        break;
    }
    return "Readings " + std::to_string(index + 1);
}

} // namespace

std::vector<PlotItem> plot_items(const survey::Database &database) {
    std::vector<PlotItem> items;
    for (std::size_t s = 0; s < database.surveys.size(); ++s) {
        const survey::Survey &sv = database.surveys[s];
        const std::string prefix = survey_name(sv, s) + " - ";
        for (std::size_t l = 0; l < sv.lines.size(); ++l) {
            const survey::Line &line = sv.lines[l];
            const std::string title = prefix + line_title(line, l);
            if (!line.ip_readings.empty()) {
                const bool sounding = line.kind == survey::LineKind::Sounding;
                items.push_back(
                    {sounding ? PlotKind::Sounding : PlotKind::PseudoSection, s, l,
                     title + " - " + survey::array_name(line.ip_readings[0].array_code)});
            }
            if (!line.gravity_readings.empty())
                items.push_back({PlotKind::GravityLine, s, l, title + " - gravity"});
        }
        if (!repeated_stations(sv).empty())
            items.push_back({PlotKind::GravityDrift, s, 0, prefix + "gravity drift"});
    }
    return items;
}

std::vector<RepeatedStation> repeated_stations(const survey::Survey &survey) {
    std::map<std::pair<float, float>, RepeatedStation> stations;
    for (const survey::Line &line : survey.lines)
        for (const survey::GravityReading &g : line.gravity_readings) {
            RepeatedStation &station = stations[{g.y, g.x}];
            if (station.readings.empty()) {
                char name[64];
                std::snprintf(name, sizeof name, "line %g station %g", g.y, g.x);
                station.name = name;
            }
            station.readings.push_back(&g);
        }
    std::vector<RepeatedStation> repeated;
    for (auto &[key, station] : stations)
        if (station.readings.size() > 1) repeated.push_back(std::move(station));
    return repeated;
}

} // namespace plots

namespace plots {

std::optional<LineFit> straight_line_fit(const std::vector<double> &x,
                                         const std::vector<double> &y) {
    const std::size_t count = std::min(x.size(), y.size());
    if (count < 2) return std::nullopt;
    double mean_x = 0, mean_y = 0;
    for (std::size_t i = 0; i < count; ++i) {
        mean_x += x[i];
        mean_y += y[i];
    }
    mean_x /= static_cast<double>(count);
    mean_y /= static_cast<double>(count);
    double sxx = 0, sxy = 0;
    for (std::size_t i = 0; i < count; ++i) {
        sxx += (x[i] - mean_x) * (x[i] - mean_x);
        sxy += (x[i] - mean_x) * (y[i] - mean_y);
    }
    if (!(sxx > 0)) return std::nullopt;
    const double slope = sxy / sxx;
    return LineFit{slope, mean_y - slope * mean_x};
}

} // namespace plots

namespace plots {

std::optional<CommonDrift> common_drift(const std::vector<RepeatedStation> &stations) {
    struct Sums {
        double mean_t = 0, mean_g = 0, sxx = 0, sxy = 0;
    };
    std::vector<Sums> sums(stations.size());
    double sxx = 0, sxy = 0, sd_squares = 0;
    std::size_t readings = 0;
    for (std::size_t k = 0; k < stations.size(); ++k) {
        Sums &s = sums[k];
        const auto &r = stations[k].readings;
        for (const survey::GravityReading *g : r) {
            s.mean_t += survey::reading_hours(*g) / static_cast<double>(r.size());
            s.mean_g += g->gravity / static_cast<double>(r.size());
            sd_squares += double{g->standard_deviation} * g->standard_deviation;
        }
        for (const survey::GravityReading *g : r) {
            const double dt = survey::reading_hours(*g) - s.mean_t;
            s.sxx += dt * dt;
            s.sxy += dt * (g->gravity - s.mean_g);
        }
        sxx += s.sxx;
        sxy += s.sxy;
        readings += r.size();
    }
    if (!(sxx > 0) || !std::isfinite(sxy)) return std::nullopt;
    CommonDrift drift;
    drift.slope = sxy / sxx;
    // Scatter about the common fit (degrees of freedom: every reading, less an offset per station
    // and the slope), and about each station's own line, which is the readings' noise alone.
    double common_squares = 0, own_squares = 0, own_freedom = 0;
    for (std::size_t k = 0; k < stations.size(); ++k) {
        const Sums &s = sums[k];
        const double own_slope = s.sxx > 0 ? s.sxy / s.sxx : 0;
        for (const survey::GravityReading *g : stations[k].readings) {
            const double dt = survey::reading_hours(*g) - s.mean_t, dg = g->gravity - s.mean_g;
            common_squares += (dg - drift.slope * dt) * (dg - drift.slope * dt);
            own_squares += (dg - own_slope * dt) * (dg - own_slope * dt);
        }
        own_freedom += std::max(0.0, static_cast<double>(stations[k].readings.size()) - 2);
    }
    const double freedom = static_cast<double>(readings) - static_cast<double>(stations.size()) - 1;
    // Never below what the readings' own SD gives.
    const double stated = std::sqrt(sd_squares / static_cast<double>(readings));
    const double common_scatter =
        std::max(freedom > 0 ? std::sqrt(common_squares / freedom) : 0.0, stated);
    const double noise =
        std::max(own_freedom > 0 ? std::sqrt(own_squares / own_freedom) : 0.0, stated);
    drift.error = common_scatter / std::sqrt(sxx);
    for (const Sums &s : sums) {
        StationDrift &station = drift.stations.emplace_back();
        if (!(s.sxx > 0)) continue;
        station.slope = s.sxy / s.sxx;
        station.error = noise / std::sqrt(s.sxx);
        station.departs = std::fabs(*station.slope - drift.slope) > 3 * station.error;
    }
    return drift;
}

namespace {

bool x_is_station(std::uint16_t mode) {
    return mode == 0 || mode == 1 || mode == 4 || mode == 5;
}

} // namespace

GravityProfile gravity_profile(const survey::Line &line) {
    GravityProfile profile;
    std::map<std::pair<float, float>, ProfileStation> by_place;
    std::map<float, std::size_t> line_counts;
    for (const survey::GravityReading &g : line.gravity_readings) {
        if (!std::isfinite(g.gravity) || !std::isfinite(g.x) || !std::isfinite(g.y)) continue;
        ProfileStation &station = by_place[{g.y, g.x}];
        station.line = g.y;
        station.station = g.x;
        station.readings.push_back(&g);
        ++line_counts[g.y];
    }
    if (by_place.empty()) return profile;
    profile.by_station = x_is_station(line.gravity_readings.front().coordinate_mode);
    // The line is the line number most readings give; a base elsewhere stands off it.
    const float own_line =
        std::max_element(line_counts.begin(), line_counts.end(), [](const auto &a, const auto &b) {
            return a.second < b.second;
        })->first;
    std::vector<ProfileStation> places;
    for (auto &[key, station] : by_place) {
        double sum = 0;
        for (const survey::GravityReading *g : station.readings)
            sum += g->gravity;
        station.mean = sum / static_cast<double>(station.readings.size());
        station.position = station.station;
        if (profile.by_station && station.line != own_line)
            profile.bases.push_back(std::move(station));
        else
            places.push_back(std::move(station));
    }
    if (!profile.by_station) {
        // Distance along the line's main direction (of the places' spread), from the first place
        // read, pointing on to the last.
        double mx = 0, my = 0;
        for (const ProfileStation &p : places) {
            mx += p.station / static_cast<double>(places.size());
            my += p.line / static_cast<double>(places.size());
        }
        double cxx = 0, cyy = 0, cxy = 0;
        for (const ProfileStation &p : places) {
            cxx += (p.station - mx) * (p.station - mx);
            cyy += (p.line - my) * (p.line - my);
            cxy += (p.station - mx) * (p.line - my);
        }
        const double angle = 0.5 * std::atan2(2 * cxy, cxx - cyy);
        double ux = std::cos(angle), uy = std::sin(angle);
        const survey::GravityReading *first = nullptr, *last = nullptr;
        for (const survey::GravityReading &g : line.gravity_readings)
            if (std::isfinite(g.gravity) && std::isfinite(g.x) && std::isfinite(g.y))
                (first ? last : first) = &g;
        if (first && last && (last->x - first->x) * ux + (last->y - first->y) * uy < 0)
            ux = -ux, uy = -uy;
        double lowest = INFINITY;
        for (ProfileStation &p : places) {
            p.position = (p.station - mx) * ux + (p.line - my) * uy;
            lowest = std::min(lowest, p.position);
        }
        for (ProfileStation &p : places)
            p.position -= lowest;
    }
    std::stable_sort(
        places.begin(), places.end(),
        [](const ProfileStation &a, const ProfileStation &b) { return a.position < b.position; });
    profile.stations = std::move(places);
    return profile;
}

} // namespace plots
