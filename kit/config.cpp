// config.cpp - finding and reading the configuration file.
#include "config.h"

#include "io.h"
#include "system.h"

Text BoardName;
Text DataPath;
Text NodeLimit;

Text ProgramDirectory()
{
    Text path = ProgramPath();
    while (path.length > 0 && path.chars[path.length - 1] != System::PathSeparator)
        --path.length;
    return path;
}

// Without a header the web server cannot pass the message on as an error,
// so it comes as a plain-text error response.
[[noreturn]] static void AnswerMissingConfig(const char* message)
{
    WriteLine("Status: 500 Internal Server Error");
    WriteLine("Content-type: text/plain");
    WriteLine();
    WriteLine(message);
    ExitProgram(0);
}

void LoadConfig(const ProgramText& program)
{
    TextFile file;
    OpenTextFile(file, ConcatText(ProgramDirectory(), program.configFileName));
    if (TakeIoError() != 0)
        AnswerMissingConfig(program.missingConfigMessage);

    // Errors while reading are not looked at: a failed read leaves the
    // error pending, and the page that follows stays empty.
    BoardName = ReadLine(file);
    DataPath = ReadLine(file);
    if (program.configLines >= 3)
        NodeLimit = ReadLine(file);
    CloseFile(file);
}
