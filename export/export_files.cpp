#include "export_files.h"

#include "atomic_file.h"
#include "exclusions.h"
#include "gravity_csv_writer.h"
#include "line_names.h"
#include "ohm_writer.h"
#include "output_name.h"
#include "plot_geometry.h"
#include "profile_electrodes.h"
#include "profile_readings.h"
#include "res2dinv_writer.h"
#include "survey_reader.h"
#include "table_csv_writer.h"

#include <cmath>
#include <functional>
#include <set>

namespace exports {

std::optional<Format> format_named(std::string_view name) {
    for (Format f : {Format::Res2dinv, Format::Ohm, Format::GravityCsv, Format::Csv})
        if (format_name(f) == name) return f;
    return std::nullopt;
}

std::string_view format_name(Format format) {
    switch (format) {
    case Format::Res2dinv:
        return "res2dinv";
    case Format::Ohm:
        return "ohm";
    case Format::GravityCsv:
        return "gravity-csv";
    case Format::Csv:
        return "csv";
    }
    return "";
}

std::optional<ErrorChoice> error_choice_named(std::string_view name) {
    if (name == "pairs") return ErrorChoice::Pairs;
    if (name == "model") return ErrorChoice::Model;
    if (name == "stdev") return ErrorChoice::Stdev;
    return std::nullopt;
}

namespace {

class Exporter {
  public:
    Exporter(const std::string &tvd_path, ExportOutcome &outcome)
        : tvd_path_(tvd_path), base_(ravelin::output_name(tvd_path, "")), outcome_(outcome) {}

    // The file of the text write gives; dropped when write answers false.
    void write(const std::string &suffix, const std::function<bool(TextOut &)> &write) {
        if (const std::string error = files_.stage(base_ + suffix, write); !error.empty())
            outcome_.failures.push_back(error);
    }

    // write() for a file small enough to hold whole: it is put on the disk while the next is
    // made (FileBatch::stage_in_background).
    void write_in_background(const std::string &suffix,
                             const std::function<bool(TextOut &)> &write) {
        files_.stage_in_background(base_ + suffix, write);
    }

    // Every file written takes its name now, complete, or not at all.
    void finish() {
        FileBatch::Committed committed = files_.commit();
        outcome_.written = std::move(committed.named);
        outcome_.failures.insert(outcome_.failures.end(), committed.errors.begin(),
                                 committed.errors.end());
    }

    // A name not yet used by this export: "-2", "-3" ... for a line measured twice.
    std::string unique(const std::string &stem) {
        std::string name = stem;
        for (int i = 2; !used_.insert(name).second; ++i)
            name = stem + "-" + std::to_string(i);
        return name;
    }

    void fail(const std::string &why) { outcome_.failures.push_back(tvd_path_ + ": " + why); }
    void note(const std::string &what) { outcome_.notes.push_back(tvd_path_ + ": " + what); }
    void lose(const std::string &what) { outcome_.lost.push_back(tvd_path_ + ": " + what); }

  private:
    const std::string &tvd_path_;
    std::string base_;
    ExportOutcome &outcome_;
    std::set<std::string> used_;
    FileBatch files_;
};

std::string_view family_suffix(ArrayFamily family) {
    switch (family) {
    case ArrayFamily::FourElectrode:
        return "";
    case ArrayFamily::PoleDipole:
        return "-pole-dipole";
    case ArrayFamily::PolePole:
        return "-pole-pole";
    }
    return "";
}

std::string left_out(int count, const char *why) {
    return std::to_string(count) + (count == 1 ? " reading" : " readings") + " left out: " + why;
}

// "no file: its 3 readings all left out (2 electrodes at one place, 1 Ro not positive)".
std::string lost_whole(const std::vector<std::pair<int, const char *>> &reasons) {
    int total = 0;
    std::string why;
    for (const auto &[count, reason] : reasons) {
        if (count == 0) continue;
        total += count;
        why += (why.empty() ? "" : ", ") + std::to_string(count) + " " + reason;
    }
    return "no file: " +
           (total == 1 ? std::string("its reading")
                       : "its " + std::to_string(total) + " readings all") +
           " left out (" + why + ")";
}

// The errors of each reading of a group, by the source the options choose; the chargeability's
// where every reading has a pair whose readings both carry M channels: |M1 - M2|.
GroupErrors group_errors(const ReadingGroup &group, const survey::Line &line,
                         const qc::ProfileQc &profile, const ExportOptions &options) {
    GroupErrors errors;
    errors.relative.reserve(group.readings.size());
    bool ip_known = true;
    for (const survey::IpReading *r : group.readings) {
        const auto i = static_cast<std::size_t>(r - line.ip_readings.data());
        errors.relative.push_back(
            qc::chosen_error(profile, *r, i, *options.errors, options.checks.error_floor).relative);
        if (!ip_known) continue;
        const std::optional<std::size_t> pair = profile.pair_of[i];
        if (!pair || r->m.empty()) {
            ip_known = false;
            continue;
        }
        const qc::Pair &p = profile.pairs[*pair];
        const survey::IpReading &other = line.ip_readings[p.first == i ? p.second : p.first];
        if (other.m.empty()) {
            ip_known = false;
            continue;
        }
        errors.ip.push_back(
            std::fabs(survey::chargeability(*r, -1) - survey::chargeability(other, -1)));
    }
    if (!ip_known) errors.ip.clear();
    return errors;
}

// Why each reading of a profile is left out by choice: -1 for none, the first rule of the
// drop set it falls under, or kByHand.
constexpr int kByHand = static_cast<int>(qc::kRules.size());

std::vector<int> chosen_reasons(const std::vector<bool> &by_hand, const qc::ProfileQc *profile,
                                qc::Rules drop) {
    std::vector<int> reasons(by_hand.size(), -1);
    for (std::size_t i = 0; i < reasons.size(); ++i) {
        if (by_hand[i]) {
            reasons[i] = kByHand;
            continue;
        }
        if (!profile) continue;
        const qc::Rules flagged = static_cast<qc::Rules>(profile->flags[i] & drop);
        for (qc::Rule rule : qc::kRules)
            if (flagged & qc::bit(rule)) {
                reasons[i] = static_cast<int>(rule);
                break;
            }
    }
    return reasons;
}

std::string_view chosen_reason_text(std::size_t reason) {
    if (reason == static_cast<std::size_t>(kByHand)) return "excluded by hand";
    switch (qc::kRules[reason]) {
    case qc::Rule::Ro:
        return "Ro not positive (ro)";
    case qc::Rule::Nan:
        return "a value not a number (nan)";
    case qc::Rule::Stdev:
        return "Stdev above its limit (stdev)";
    case qc::Rule::Decay:
        return "a doubtful decay (decay)";
    case qc::Rule::Reciprocal:
        return "its repeat or reciprocal more than 20 % off (reciprocal)";
    case qc::Rule::ResCon:
        return "contact resistance above its limit (rescon)";
    }
    return "";
}

void export_profiles(const survey::Database &database, const std::string &tvd_path,
                     const ExportOptions &options, Exporter &exporter) {
    const char *extension = options.format == Format::Res2dinv ? ".dat" : ".ohm";
    const qc::Rules drop = options.drop.value_or(options.errors ? qc::kDefaultDrop : 0);
    // Checks are worked out for the whole database at once: a survey's error model may take the
    // pairs of every profile.
    std::optional<qc::DatabaseQc> checked;
    if (options.errors || drop != 0) checked = qc::check_database(database, options.checks);
    const Exclusions exclusions = read_exclusions(exclusions_path(tvd_path));
    for (const std::string &error : exclusions.errors)
        exporter.fail(error);
    std::size_t next_checked = 0;
    int files = 0, lost = 0, soundings = 0, unheaded = 0, free_electrodes = 0;
    for (std::size_t s = 0; s < database.surveys.size(); ++s) {
        const survey::Survey &survey = database.surveys[s];
        for (std::size_t l = 0; l < survey.lines.size(); ++l) {
            const survey::Line &line = survey.lines[l];
            free_electrodes += static_cast<int>(line.ip_user_readings.size());
            if (line.ip_readings.empty()) continue;
            if (line.kind == survey::LineKind::Sounding) ++soundings;
            if (line.kind == survey::LineKind::Unheaded) ++unheaded;
            if (line.kind != survey::LineKind::Profile) continue;

            const qc::ProfileQc *profile_qc = nullptr;
            if (checked) {
                while (next_checked < checked->profiles.size() &&
                       (checked->profiles[next_checked].survey != s ||
                        checked->profiles[next_checked].line != l))
                    ++next_checked;
                if (next_checked < checked->profiles.size())
                    profile_qc = &checked->profiles[next_checked];
            }
            std::optional<std::vector<int>> chosen;
            if (profile_qc || !exclusions.entries.empty())
                chosen = chosen_reasons(
                    excluded_readings(exclusions, s, line_key(survey, l), line.ip_readings),
                    drop != 0 ? profile_qc : nullptr, drop);
            const std::string stem = "-S" + std::to_string(s + 1) + "-" + line_file_part(line);
            const ProfileReadings selected =
                select_profile_readings(line.ip_readings, chosen ? &*chosen : nullptr);
            const std::string profile = stem.substr(1) + ": ";
            if (selected.groups.empty()) {
                std::vector<std::pair<int, const char *>> reasons{
                    {selected.unsound, "not a number or out of reach"},
                    {selected.coincident, "electrodes at one place"},
                    {selected.not_positive, "Ro not positive"}};
                for (std::size_t r = 0; r < selected.chosen.size(); ++r)
                    reasons.emplace_back(selected.chosen[r], chosen_reason_text(r).data());
                exporter.lose(profile + lost_whole(reasons));
                ++lost;
                continue;
            }
            if (selected.unsound)
                exporter.note(profile + left_out(selected.unsound,
                                                 "a value that is not a number, or out of reach"));
            if (selected.coincident)
                exporter.note(profile + left_out(selected.coincident, "electrodes at one place"));
            if (selected.not_positive)
                exporter.note(profile +
                              left_out(selected.not_positive,
                                       "Ro not positive, which an inversion cannot take"));
            for (std::size_t r = 0; r < selected.chosen.size(); ++r)
                if (selected.chosen[r])
                    exporter.note(profile +
                                  left_out(selected.chosen[r], chosen_reason_text(r).data()));
            for (const ReadingGroup &group : selected.groups) {
                // A profile whose array changed mid-line gives one file per form.
                const std::string name = exporter.unique(
                    selected.groups.size() > 1 ? stem + std::string(family_suffix(group.family))
                                               : stem);
                const ProfileElectrodes electrodes(group.readings);
                std::optional<GroupErrors> errors;
                if (options.errors && profile_qc)
                    errors = group_errors(group, line, *profile_qc, options);
                const GroupErrors *with_errors = errors ? &*errors : nullptr;
                // The text is made here; only its writing is left to the background.
                if (options.format == Format::Res2dinv) {
                    std::string title = survey.header.name + " " + line_title(line) + " " +
                                        survey::array_name(group.readings[0]->array_code);
                    // A damaged name field must not break the title line.
                    for (char &c : title)
                        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
                    exporter.write_in_background(name + extension, [&](TextOut &out) {
                        res2dinv_text(title, group, electrodes, out, with_errors);
                        return true;
                    });
                } else {
                    exporter.write_in_background(name + extension, [&](TextOut &out) {
                        ohm_text(group, electrodes, out, with_errors);
                        return true;
                    });
                }
                ++files;
            }
        }
    }
    if (soundings)
        exporter.note(std::to_string(soundings) +
                      " sounding(s) left out: a profile format holds profiles only");
    if (unheaded)
        exporter.note("IP readings before any line header left out: they belong to no profile");
    if (free_electrodes)
        exporter.note(
            left_out(free_electrodes, "free electrode positions; the spreadsheet CSV has them"));
    if (files == 0 && lost == 0) exporter.fail("no IP profile readings to export");
}

bool has_gravity(const survey::Database &database) {
    for (const survey::Survey &s : database.surveys)
        for (const survey::Line &line : s.lines)
            if (!line.gravity_readings.empty()) return true;
    return false;
}

bool has_ip(const survey::Database &database) {
    for (const survey::Survey &s : database.surveys)
        for (const survey::Line &line : s.lines)
            if (!line.ip_readings.empty() || !line.ip_user_readings.empty()) return true;
    return false;
}

void export_gravity_csv(const survey::Database &database, const ExportOptions &options,
                        Exporter &exporter) {
    if (!has_gravity(database)) return exporter.fail("no KX-4 gravity readings to export");
    const GravityCsvOptions csv_options{.utc_offset_hours = options.utc_offset_hours};
    // Written as it is made; a file without a sound reading is dropped.
    std::optional<GravityCsv> written;
    exporter.write("-gravity.csv", [&](TextOut &out) {
        written = gravity_csv(database, csv_options, out);
        return written->readings > 0;
    });
    // A file that could not be created still has its readings counted for the notes.
    TextOut unused;
    const GravityCsv csv = written ? *written : gravity_csv(database, csv_options, unused);
    if (csv.readings == 0)
        return exporter.lose("gravity: " +
                             lost_whole({{csv.not_finite, "not a number"},
                                         {csv.beyond_a_day, "a time of day of 24 h or more"},
                                         {csv.invalid_dates, "no calendar date"}}));
    if (csv.not_finite) exporter.note(left_out(csv.not_finite, "a value that is not a number"));
    if (csv.beyond_a_day)
        exporter.note(left_out(csv.beyond_a_day, "a time of day of 24 h or more"));
    // An adjustment program's import stops at the first date that cannot exist.
    if (csv.invalid_dates)
        exporter.note(left_out(csv.invalid_dates,
                               "a date that is no calendar date; the spreadsheet CSV has them"));
}

void export_tables(const survey::Database &database, const ExportOptions &options,
                   Exporter &exporter) {
    const bool ip = has_ip(database), gravity = has_gravity(database);
    if (!ip && !gravity) return exporter.fail("no IP or gravity readings to export");
    // The QC column names what the profiles' checks find: pairs far apart, decays off their
    // dipole's master curve.
    const qc::DatabaseQc checked =
        ip ? qc::check_database(database, options.checks) : qc::DatabaseQc{};
    const IpTableOptions table{.limits = options.checks.limits,
                               .checked = &checked,
                               .errors = options.errors,
                               .error_floor = options.checks.error_floor};
    if (ip)
        exporter.write("-ip.csv", [&](TextOut &out) {
            ip_table_csv(database, table, out);
            return true;
        });
    if (gravity)
        exporter.write("-kx4.csv", [&](TextOut &out) {
            gravity_table_csv(database, out);
            return true;
        });
}

} // namespace

ExportOutcome export_read(const survey::Database &database, const std::string &stop_reason,
                          const std::string &tvd_path, const ExportOptions &options) {
    ExportOutcome outcome;
    Exporter exporter(tvd_path, outcome);
    switch (options.format) {
    case Format::Res2dinv:
    case Format::Ohm:
        export_profiles(database, tvd_path, options, exporter);
        break;
    case Format::GravityCsv:
        export_gravity_csv(database, options, exporter);
        break;
    case Format::Csv:
        export_tables(database, options, exporter);
        break;
    }
    exporter.finish();
    // What came before the damage is exported; the rest of the memory is not, which is no success.
    if (!stop_reason.empty())
        exporter.fail(stop_reason + " Exported the readings before that point.");
    return outcome;
}

ExportOutcome export_loaded(const survey::LoadResult &loaded, const std::string &tvd_path,
                            const ExportOptions &options) {
    if (loaded.stop == survey::LoadStop::CannotOpen) {
        ExportOutcome outcome;
        outcome.failures.push_back(tvd_path + ": " + survey::stop_reason(loaded));
        return outcome;
    }
    return export_read(loaded.database, loaded.complete() ? "" : survey::stop_reason(loaded),
                       tvd_path, options);
}

ExportOutcome export_database(const std::string &tvd_path, const ExportOptions &options) {
    return export_loaded(survey::load_database(tvd_path), tvd_path, options);
}

} // namespace exports
