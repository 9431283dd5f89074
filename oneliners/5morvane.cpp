// 5morvane - the BBS's oneliners wall as a web page, from oneliner.dat.
#include "config.h"
#include "io.h"
#include "oneliners_page.h"

int main()
{
    LoadConfig(OnelinersProgram);
    WriteOnelinersPage();
    ExitProgram(0);
}
