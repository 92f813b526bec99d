// The conversion actions of the Dump page.
#include "form1.h"

namespace ravelin {

void Form1::Convert_Click() {}

void Form1::butRAWTVD_Click() {}

} // namespace ravelin
