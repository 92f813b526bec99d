// The operating-system upload.
#include "form1.h"

namespace ravelin {

void Form1::REPROGRAMSYSTEM_Click() {}

void Form1::SendSystemLines() {}

} // namespace ravelin
