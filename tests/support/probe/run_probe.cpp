// run_probe.cpp - a stand-in child for the tests of RunProgram: argv[1]
// says what it does, and it reports what it was started with.
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace {

void Say(const char* text)
{
    std::size_t left = std::strlen(text);
    while (left > 0) {
        ssize_t written = ::write(STDOUT_FILENO, text, left);
        if (written <= 0)
            std::_Exit(3);
        text += written;
        left -= static_cast<std::size_t>(written);
    }
}

} // namespace

int main(int argc, char** argv)
{
    const char* action = argc > 1 ? argv[1] : "";
    if (std::strcmp(action, "copy") == 0) {
        // stdin to stdout, a line to stderr.
        char buffer[4096];
        for (ssize_t got; (got = ::read(STDIN_FILENO, buffer, sizeof buffer)) > 0;) {
            if (::write(STDOUT_FILENO, buffer, static_cast<std::size_t>(got)) != got)
                return 3;
        }
        ssize_t ignored = ::write(STDERR_FILENO, "to stderr\n", 10);
        (void)ignored;
        return 0;
    }
    if (std::strcmp(action, "report") == 0) {
        // Arguments, environment, open descriptors below 10, signal state.
        for (int i = 0; i < argc; ++i) {
            Say("argument ");
            Say(argv[i]);
            Say("\n");
        }
        for (char** entry = environ; *entry != nullptr; ++entry) {
            Say("environment ");
            Say(*entry);
            Say("\n");
        }
        Say("open");
        for (int fd = 0; fd < 10; ++fd) {
            if (::fcntl(fd, F_GETFD) != -1) {
                char number[4] = {' ', static_cast<char>('0' + fd), '\0', '\0'};
                Say(number);
            }
        }
        Say("\n");
        struct sigaction pipeAction {};
        ::sigaction(SIGPIPE, nullptr, &pipeAction);
        sigset_t blocked;
        ::sigprocmask(SIG_BLOCK, nullptr, &blocked);
        Say(pipeAction.sa_handler == SIG_IGN ? "SIGPIPE ignored" : "SIGPIPE default");
        Say(sigismember(&blocked, SIGPIPE) == 1 ? " blocked\n" : " unblocked\n");
        return 0;
    }
    if (std::strcmp(action, "exit") == 0)
        return argc > 2 ? std::atoi(argv[2]) : 0;
    if (std::strcmp(action, "signal") == 0) {
        std::raise(argc > 2 ? std::atoi(argv[2]) : SIGABRT);
        return 0;
    }
    if (std::strcmp(action, "hang") == 0) {
        for (;;)
            ::pause();
    }
    if (std::strcmp(action, "flood") == 0) {
        static char block[65536];
        std::memset(block, 'x', sizeof block);
        for (;;) {
            if (::write(STDOUT_FILENO, block, sizeof block) < 0)
                return 3;
        }
    }
    return 2;
}
