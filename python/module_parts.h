// What the parts of the Python module share: its exception, the database its objects look into,
// and the functions each part adds its bindings with.
#pragma once

#include "reading_errors.h"
#include "survey_model.h"

#include <pybind11/pybind11.h>

#include <cstddef>
#include <map>
#include <memory>
#include <stdexcept>
#include <utility>

namespace ravelin::python {

namespace py = pybind11;

// Raised in Python as ravelin.Error: a file that cannot be converted or read, nothing to reduce.
struct Error : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A converted database read once, shared by the Database, Survey and Line objects of Python.
struct LoadedDatabase {
    survey::LoadResult result;
    // The quality control of the database by the options it was asked with, kept for the next
    // line's errors(): with one model per survey every line needs the whole database's pairs.
    std::map<std::pair<qc::ErrorScope, double>, std::shared_ptr<const qc::DatabaseQc>> checks;

    const qc::DatabaseQc &check(const qc::QcOptions &options);
};
using DatabasePtr = std::shared_ptr<LoadedDatabase>;

struct SurveyRef {
    DatabasePtr database;
    std::size_t survey = 0;

    const survey::Survey &get() const { return database->result.database.surveys[survey]; }
};

struct LineRef {
    DatabasePtr database;
    std::size_t survey = 0, line = 0;

    const survey::Line &get() const {
        return database->result.database.surveys[survey].lines[line];
    }
};

void bind_conversion(py::module_ &module);
void bind_database(py::module_ &module);
// Adds reduce_gravity() to the module and to its Database class.
void bind_gravity_reduction(py::module_ &module, py::class_<LoadedDatabase, DatabasePtr> &database);

// The errors of a line's IP readings (quality.cpp).
py::dict line_errors(const LineRef &line, const std::string &scope, double error_floor);

} // namespace ravelin::python
