// last_callers_page.h - the last-callers page, after the configuration.
#pragma once

// Opens DataPath + "callers.dat" and writes the whole page: header, one row
// per record in file order, footer. A file that cannot be opened leaves the
// response empty.
void WriteLastCallersPage();
