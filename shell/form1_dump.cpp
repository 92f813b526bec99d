// The data-memory dump and the serial event and timer handlers it shares with the upload.
#include "form1.h"

namespace ravelin {

void Form1::STARTDUMP_Click() {}

void Form1::ReceiveDumpData() {}

void Form1::MSComm1_OnComm() {}

void Form1::Timer1_Timer() {}

void Form1::Timer2_Timer() {}

void Form1::CloseTransferFiles() {}

} // namespace ravelin
