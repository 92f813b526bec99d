// The Python module "ravelin".
#include "module_parts.h"

PYBIND11_MODULE(ravelin, module) {
    namespace py = pybind11;
    module.doc() = R"(KX-4 gravity and VIREL resistivity/IP databases in Python.

    conversion = ravelin.convert("line7.raw")   # writes line7.tvd, line7.txt, ...
    database = ravelin.open("line7.tvd")
    for line in database.lines:
        ip = line.ip_readings()      # dict of NumPy arrays: x, n, ro, m, a, b, ...
        errors = line.errors()       # each reading's pair and relative error
    reduction = database.reduce_gravity(base_gravity=979812.4)

convert() runs the decoder on a raw database (.raw); open() reads a converted
database (.tvd) into surveys and their lines; each line gives its readings as
a dict of NumPy arrays keyed by the survey model's field names, or as a pandas
DataFrame with to_pandas() when pandas is installed. errors() and
reduce_gravity() are the quality control of ravelin-qc and the gravity
reduction of ravelin-gravity. docs/python.md lists every key.)";

    py::register_exception<ravelin::python::Error>(module, "Error", PyExc_Exception);
    module.attr("Error").attr("__doc__") =
        "A raw database that cannot be converted, a converted database that cannot be read, or "
        "a reduction with nothing to reduce; the message says why.";

    ravelin::python::bind_conversion(module);
    ravelin::python::bind_database(module);
}
