// oneliners_page.h - the oneliners page, after the configuration.
#pragma once

// Opens DataPath + "oneliner.dat" and writes the whole page: header, one
// row per record in file order, footer. A file that cannot be opened leaves
// the response empty.
void WriteOnelinersPage();
