// quandelo - what each node of the BBS is doing, as a web page, from the
// nodes' chat<N>.dat files.
#include "config.h"
#include "io.h"
#include "node_status_page.h"

int main()
{
    LoadConfig(NodeStatusProgram);
    WriteNodeStatusPage();
    ExitProgram(0);
}
