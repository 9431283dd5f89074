// request_data_test.cpp - nothing of the request is read: a query string, a
// POST body on stdin, a path, arguments leave the response byte for byte
// as it is without them.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "program_sandbox.h"
#include "run_program.h"
#include "sample_board.h"

namespace Reliability {
namespace {

using namespace PageFixture;

// The variables a web server sets for every CGI request.
std::vector<std::string> CgiEnvironment(std::vector<std::string> extra)
{
    std::vector<std::string> environment = {
        "GATEWAY_INTERFACE=CGI/1.1",
        "SERVER_PROTOCOL=HTTP/1.1",
        "SERVER_NAME=localhost",
        "REMOTE_ADDR=127.0.0.1",
        "SCRIPT_NAME=/cgi-bin/page",
    };
    environment.insert(environment.end(), extra.begin(), extra.end());
    return environment;
}

TEST(RequestData, ResponseIsTheSameBytesWithAnyRequest)
{
    const std::string body = "name=%3Cscript%3E&words=" + std::string(100000, 'x');
    struct Case {
        const char* name;
        std::vector<std::string> environment;
        std::optional<std::string> standardInput;
        std::vector<std::string> arguments;
        std::optional<std::string> argumentZero;
    };
    const std::string length = "CONTENT_LENGTH=" + std::to_string(body.size());
    const Case cases[] = {
        {"query string", CgiEnvironment({"REQUEST_METHOD=GET", "QUERY_STRING=node=1&x=%00%0D%0A"}), {}, {}, {}},
        {"POST with a body on stdin",
            CgiEnvironment({"REQUEST_METHOD=POST", "CONTENT_TYPE=application/x-www-form-urlencoded", length}), body, {},
            {}},
        {"path info", CgiEnvironment({"REQUEST_METHOD=GET", "PATH_INFO=/../../etc/passwd", "PATH_TRANSLATED=/etc/passwd"}),
            {}, {}, {}},
        {"arguments", {}, {}, {"--help", "x=1", "-v", std::string(4000, 'a')}, {}},
        {"argument zero of another name", {}, {}, {}, "/nowhere/other.cgi"},
        {"all at once", CgiEnvironment({"REQUEST_METHOD=POST", "QUERY_STRING=a=b", "PATH_INFO=/x", length}), body,
            {"q"}, {}},
    };
    for (const BuiltProgram* program : AllPrograms) {
        ProgramSandbox sandbox(*program);
        InstallSampleBoard(sandbox, 30);
        const RunResult plain = sandbox.Run();
        ASSERT_TRUE(plain.ExitedWith(0)) << Describe(plain);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(program->name) + ", " + c.name);
            RunOptions options;
            options.environment = c.environment;
            options.standardInput = c.standardInput;
            options.arguments = c.arguments;
            options.argumentZero = c.argumentZero;
            RunResult result = sandbox.Run(options);
            EXPECT_TRUE(result.ExitedWith(0)) << Describe(result);
            EXPECT_EQ(result.standardError, "");
            EXPECT_TRUE(result.standardOutput == plain.standardOutput)
                << "the response changed: " << result.standardOutput.size() << " bytes against "
                << plain.standardOutput.size();
        }
    }
}

} // namespace
} // namespace Reliability
