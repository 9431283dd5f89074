// soak_test.cpp - the three pages served over and over while the BBS
// writes their files as fast as it can.
//
// Bounded in count and time: RELIABILITY_SOAK_RUNS rounds of the three
// programs (300 by default) or RELIABILITY_SOAK_SECONDS (60), whichever
// ends first.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>

#include "live_bbs.h"
#include "page_shape.h"
#include "program_sandbox.h"
#include "sample_board.h"
#include "temporary_directory.h"

namespace Reliability {
namespace {

using namespace PageFixture;

long Setting(const char* name, long fallback)
{
    const char* value = std::getenv(name);
    return value != nullptr && std::atol(value) > 0 ? std::atol(value) : fallback;
}

struct Served {
    long requests = 0;
    long complete = 0; // footer reached
    long rows = 0;
    long failures = 0;
};

TEST(Soak, EveryResponseIsWellFormedWhileTheBbsWrites)
{
    const long rounds = Setting("RELIABILITY_SOAK_RUNS", 300);
    const auto timeBound = std::chrono::seconds(Setting("RELIABILITY_SOAK_SECONDS", 60));
    const int nodeCount = 4;
    const auto responseTime = std::chrono::seconds(5);

    TemporaryDirectory data;
    WriteSampleData(data.Path(), 100, nodeCount);
    ProgramSandbox sandboxes[3] = {ProgramSandbox(Tembrix), ProgramSandbox(Quandelo), ProgramSandbox(Morvane)};
    for (const ProgramSandbox& sandbox : sandboxes)
        WriteSampleConfig(sandbox, data.Path().string() + "/", nodeCount);

    Served served[3];
    LiveBbs bbs(data.Path(), nodeCount);
    const auto start = std::chrono::steady_clock::now();
    bbs.Start();
    for (long round = 0; round < rounds && std::chrono::steady_clock::now() - start < timeBound; ++round) {
        for (int p = 0; p < 3; ++p) {
            const ProgramSandbox& sandbox = sandboxes[p];
            RunOptions options;
            options.timeLimit = std::chrono::seconds(10);
            RunResult result = sandbox.Run(options);
            PageShape shape = ExaminePage(sandbox.Program(), BoardName, result.standardOutput);
            Served& counts = served[p];
            ++counts.requests;
            counts.rows += static_cast<long>(shape.rows);
            counts.complete += shape.complete ? 1 : 0;
            const bool good = result.ExitedWith(0) && result.standardError.empty() && result.elapsed < responseTime
                && shape.problem.empty();
            if (!good && ++counts.failures <= 5) {
                ADD_FAILURE() << sandbox.Program().name << " request " << counts.requests << ": "
                              << Describe(result) << " in "
                              << std::chrono::duration_cast<std::chrono::milliseconds>(result.elapsed).count()
                              << " ms; stderr: " << result.standardError << "; " << shape.problem;
            }
        }
    }
    const BbsWrites writes = bbs.Stop();
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    long requests = 0;
    long failures = 0;
    std::cout << "soak: " << seconds << " s\n";
    for (int p = 0; p < 3; ++p) {
        requests += served[p].requests;
        failures += served[p].failures;
        std::cout << "soak: " << sandboxes[p].Program().name << ": " << served[p].requests << " requests, "
                  << served[p].complete << " whole pages, " << served[p].requests - served[p].complete
                  << " stopped at a torn or cut record, " << served[p].rows << " rows, " << served[p].failures
                  << " failures\n";
    }
    std::cout << "soak: " << requests << " requests served, " << failures << " failures; " << writes.Total()
              << " concurrent writes (" << writes.appends << " appends, " << writes.rewrites << " rewrites in place, "
              << writes.tornAppends << " torn appends, " << writes.truncations << " truncations, "
              << writes.nodeChanges << " node changes)" << std::endl;

    EXPECT_EQ(failures, 0);
    EXPECT_GT(writes.Total(), static_cast<std::uint64_t>(requests)) << "the BBS hardly wrote while the pages ran";
    for (int p = 0; p < 3; ++p)
        EXPECT_GT(served[p].complete, 0) << sandboxes[p].Program().name << " never showed a whole page";
}

} // namespace
} // namespace Reliability
