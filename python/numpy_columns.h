// NumPy columns filled from C++ sequences: one array per field, of the field's own type.
#pragma once

#include <pybind11/numpy.h>

#include <algorithm>
#include <concepts>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace ravelin::python {

namespace py = pybind11;

inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// One value per item, as get gives it, in an array of T.
template <typename T, typename Items, typename Get>
py::array_t<T> column_of(const Items &items, Get get) {
    py::array_t<T> out(static_cast<py::ssize_t>(items.size()));
    T *data = out.mutable_data();
    for (const auto &item : items)
        *data++ = static_cast<T>(get(item));
    return out;
}

// A member of every item (or of the record it extends), in an array of the member's own type.
template <typename Item, typename T, typename Owner>
requires std::derived_from<Item, Owner> py::array_t<T> column(const std::vector<Item> &items,
                                                              T Owner::*member) {
    return column_of<T>(items, [member](const Item &item) { return item.*member; });
}

// The M channels of readings as rows, as channels_of gives them; a reading with fewer channels
// than the most any reading carries has NaN in the rest of its row.
template <typename Reading, typename Channels>
py::array_t<float> channels(const std::vector<Reading> &readings, Channels channels_of) {
    std::size_t width = 0;
    for (const Reading &r : readings)
        width = std::max(width, channels_of(r).size());
    py::array_t<float> out(
        {static_cast<py::ssize_t>(readings.size()), static_cast<py::ssize_t>(width)});
    auto cells = out.template mutable_unchecked<2>();
    for (std::size_t i = 0; i < readings.size(); ++i) {
        const std::vector<float> &m = channels_of(readings[i]);
        for (std::size_t k = 0; k < width; ++k)
            cells(i, k) = k < m.size() ? m[k] : std::numeric_limits<float>::quiet_NaN();
    }
    return out;
}

inline double or_nan(const std::optional<double> &value) {
    return value.value_or(kNaN);
}

// Moments in milliseconds since 1970-01-01 00:00 as datetime64[ms]; an empty one is NaT.
py::array moments(const std::vector<std::optional<std::int64_t>> &milliseconds);

// Texts as a NumPy array of str.
py::array texts(const std::vector<std::string> &values);

// A pandas DataFrame of equal-length columns; a 2-D column "m" becomes "m1", "m2", ...
// Raises ImportError with what to install when pandas is missing.
py::object data_frame(const py::dict &columns);

} // namespace ravelin::python
