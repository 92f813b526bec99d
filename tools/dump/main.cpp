// ravelin-dump: the instrument's data memory into a ".raw" file, without the window.
#include "transfer_tool.h"

int main(int argc, char **argv) {
    return ravelin::runTransferTool(argc, argv, ravelin::TransferTool::Dump);
}
