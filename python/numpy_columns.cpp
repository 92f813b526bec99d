#include "numpy_columns.h"

#include <pybind11/stl.h>

namespace ravelin::python {

py::array moments(const std::vector<std::optional<std::int64_t>> &milliseconds) {
    py::array out(py::dtype("datetime64[ms]"),
                  std::vector<py::ssize_t>{static_cast<py::ssize_t>(milliseconds.size())});
    auto *data = static_cast<std::int64_t *>(out.mutable_data());
    for (const std::optional<std::int64_t> &ms : milliseconds)
        *data++ = ms.value_or(std::numeric_limits<std::int64_t>::min()); // NumPy's NaT
    return out;
}

py::array texts(const std::vector<std::string> &values) {
    using namespace pybind11::literals;
    return py::module_::import("numpy").attr("array")(py::cast(values), "dtype"_a = "str");
}

py::object data_frame(const py::dict &columns) {
    py::module_ pandas;
    try {
        pandas = py::module_::import("pandas");
    } catch (py::error_already_set &error) {
        if (!error.matches(PyExc_ImportError)) throw;
        throw py::import_error("to_pandas() needs pandas (Debian package python3-pandas)");
    }
    py::dict flat;
    for (const auto &[key, value] : columns) {
        const auto array = py::reinterpret_borrow<py::array>(value);
        if (array.ndim() != 2) {
            flat[key] = value;
            continue;
        }
        for (py::ssize_t k = 0; k < array.shape(1); ++k)
            flat[py::str(key.cast<std::string>() + std::to_string(k + 1))] =
                array[py::make_tuple(py::slice(py::none(), py::none(), py::none()), k)];
    }
    return pandas.attr("DataFrame")(flat);
}

} // namespace ravelin::python
