// sample_board.h - a small BBS for the reliability tests: its records, with
// text that needs escaping and pipe codes, and a program set up to show it.
#pragma once

#include <filesystem>
#include <string>

#include "bbs_records.h"
#include "program_sandbox.h"

namespace Reliability {

inline const std::string BoardName = "Reliable BBS";

// Record number i of each file; every field stays within its room.
Caller SampleCaller(int i);
Node SampleNode(int i); // waiting for odd i, in use for even i
Oneliner SampleOneliner(int i);

std::string CallersFile(int count);
std::string OnelinersFile(int count);

// callers.dat and oneliner.dat of recordCount records each, chat1.dat up to
// chat<nodeCount>.dat, in directory.
void WriteSampleData(const std::filesystem::path& directory, int recordCount, int nodeCount = 4);

// The program's configuration: BoardName, dataPath and, for the node page,
// nodeCount + 1 as the limit.
void WriteSampleConfig(const PageFixture::ProgramSandbox& sandbox, const std::string& dataPath, int nodeCount = 4);

// Both, with the sandbox's own directory holding the data.
void InstallSampleBoard(const PageFixture::ProgramSandbox& sandbox, int recordCount, int nodeCount = 4);

// The data file a program reads first: callers.dat, chat1.dat, oneliner.dat.
std::string FirstDataFile(const PageFixture::BuiltProgram& program);

} // namespace Reliability
