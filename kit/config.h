// config.h - the configuration file next to the executable.
#pragma once

#include "program.h"
#include "text.h"

// Set once by LoadConfig, empty before. NodeLimit is read by the node
// status page only.
extern Text BoardName;
extern Text DataPath;
extern Text NodeLimit;

// The executable's directory, up to and including its last separator;
// empty when the path has none.
Text ProgramDirectory();

// Reads the program's configuration lines. When the file cannot be opened,
// answers with an error response carrying the program's message and ends
// the program.
void LoadConfig(const ProgramText& program);
