// ravelin.convert(): one raw database converted by the decoder, as ravelin-convert does it.
#include "conversion_line.h"
#include "convert.h"
#include "module_parts.h"

#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>

#include <filesystem>
#include <string>
#include <vector>

namespace ravelin::python {

namespace {

struct Conversion {
    std::vector<std::string> files;
    bool partial = false;
    std::string reason;
    bool raw_deleted = false;
};

Conversion convert(const std::filesystem::path &raw_path, bool keep) {
    const std::int16_t keep_flag = keep ? 1 : 0;
    dumpdec::ConversionReport report;
    {
        py::gil_scoped_release unlocked; // other Python threads run while the decoder does
        try {
            report = dumpdec::convert(raw_path.string(), &keep_flag);
        } catch (const std::exception &error) { // out of memory
            report.result = 0;
            report.failure = error.what();
        }
    }
    if (report.result != 1) throw Error(report.failure);
    Conversion done{.files = report.files_written,
                    .partial = !report.read_whole,
                    .reason = {},
                    .raw_deleted = report.raw_deleted};
    if (done.partial) done.reason = convert_tool::stop_note(report.pass_end);
    return done;
}

} // namespace

void bind_conversion(py::module_ &module) {
    py::class_<Conversion>(module, "Conversion",
                           "What ravelin.convert() wrote. Iterating over it, or len(), goes over "
                           "the paths of the files written.")
        .def_readonly("files", &Conversion::files,
                      "The paths of the files written, the converted database (.tvd) first.")
        .def_readonly("partial", &Conversion::partial,
                      "True when the raw database was not read whole: the conversion stopped at "
                      "a damaged record, or the file ends inside one. The raw database is then "
                      "kept.")
        .def_readonly("reason", &Conversion::reason,
                      "Why the conversion is partial, such as \"stopped at an unknown record\"; "
                      "empty when it is not.")
        .def_readonly("raw_deleted", &Conversion::raw_deleted,
                      "True when the raw database was deleted (keep=False and read whole).")
        .def(
            "__iter__",
            [](const Conversion &c) { return py::make_iterator(c.files.begin(), c.files.end()); },
            py::keep_alive<0, 1>())
        .def("__len__", [](const Conversion &c) { return c.files.size(); })
        .def("__repr__", [](const Conversion &c) {
            std::string text = "<ravelin.Conversion of " + std::to_string(c.files.size()) +
                               " files" + (c.partial ? ", partial: " + c.reason : "") + ">";
            return text;
        });

    module.def("convert", &convert, py::arg("raw_path"), py::arg("keep") = false,
               R"(Converts a raw database (.raw) into the files written beside it.

The files are named after the raw database's own name up to its first "."
(survey.2006/line7.raw gives survey.2006/line7.tvd, line7.txt, ...): the
converted database, the survey text, the listing, the KX-4 raw samples, the
pseudo-section and the bore hole logs, as the database holds them.

keep=False deletes the listing (.log) and the raw database afterwards; a raw
database that was not read whole is never deleted.

Returns a Conversion: its files, and whether it is partial and why.
Raises ravelin.Error with the decoder's reason when the file cannot be
converted (it cannot be opened, or an output cannot be written).)");
}

} // namespace ravelin::python
