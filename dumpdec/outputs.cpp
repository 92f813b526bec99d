#include "outputs.h"

#include "output_name.h"

namespace dumpdec {

OutputNames::OutputNames(std::string_view input_path)
    : tvd(ravelin::output_name(input_path, ".tvd")), log(ravelin::output_name(input_path, ".log")),
      tmp(ravelin::output_name(input_path, ".tmp")), txt(ravelin::output_name(input_path, ".txt")),
      i2d(ravelin::output_name(input_path, ".i2d")), sn(ravelin::output_name(input_path, ".sn")),
      ln(ravelin::output_name(input_path, ".ln")), lat(ravelin::output_name(input_path, ".lat")),
      sp(ravelin::output_name(input_path, ".sp")), con(ravelin::output_name(input_path, ".con")),
      smp(ravelin::output_name(input_path, ".smp")) {}

const std::string &Outputs::bore_log_name(BoreLog which) const {
    switch (which) {
    case BoreLog::kShortNormal:
        return names.sn;
    case BoreLog::kLongNormal:
        return names.ln;
    case BoreLog::kLateral:
        return names.lat;
    case BoreLog::kFluid:
        return names.con;
    case BoreLog::kSp:
    case BoreLog::kCount:
        break;
    }
    return names.sp;
}

bool Outputs::open_bore_log(BoreLog which) {
    OutputFile &file = bore_log(which);
    if (file.is_open() || bore_log_opened[static_cast<std::size_t>(which)]) return file.is_open();
    if (!file.create(bore_log_name(which), &block_writer)) return false;
    bore_log_opened[static_cast<std::size_t>(which)] = true;
    return true;
}

} // namespace dumpdec
