// The readings of a line as a dict of NumPy arrays, one per field, keyed by the survey model's
// field names; see docs/python.md for the keys and their types.
#pragma once

#include "survey_model.h"

#include <pybind11/pybind11.h>

#include <vector>

namespace ravelin::python {

namespace py = pybind11;

// Standard-array IP readings, with the positions of their electrodes (NaN for a remote one).
py::dict ip_arrays(const std::vector<survey::IpReading> &readings);
// IP readings with free electrode positions.
py::dict ip_user_arrays(const std::vector<survey::IpUserReading> &readings);
py::dict gravity_arrays(const std::vector<survey::GravityReading> &readings);
py::dict bore_hole_arrays(const std::vector<survey::BoreHoleReading> &readings);

} // namespace ravelin::python
