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
