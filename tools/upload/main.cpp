// ravelin-upload: a new operating system from a ".sys" file into the instrument, without the
// window.
#include "transfer_tool.h"

int main(int argc, char **argv) {
    return ravelin::runTransferTool(argc, argv, ravelin::TransferTool::Upload);
}
