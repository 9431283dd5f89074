// tembrix - the BBS's last callers as a web page, from callers.dat.
#include "config.h"
#include "io.h"
#include "last_callers_page.h"

int main()
{
    LoadConfig(LastCallersProgram);
    WriteLastCallersPage();
    ExitProgram(0);
}
