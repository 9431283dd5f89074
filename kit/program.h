// program.h - what sets the three programs apart: their configuration file,
// their missing-configuration message and the fixed text of their pages.
#pragma once

struct PageFrameText {
    const char* title;          // header line 10
    const char* generator;      // header line 11
    const char* formatter;      // header line 12
    const char* tableOpening;   // header line 15
    const char* titlePrefix;    // header line 16, before the board's name
    const char* titleSuffix;    // header line 16, after it
    const char* columnHeadings; // header line 17
    const char* footer[7];
    int footerLines;
};

struct ProgramText {
    const char* configFileName;
    const char* missingConfigMessage;
    int configLines; // BoardName, DataPath and, for the node page, NodeLimit
    PageFrameText frame;
};

extern const ProgramText LastCallersProgram; // tembrix
extern const ProgramText NodeStatusProgram;  // quandelo
extern const ProgramText OnelinersProgram;   // 5morvane
