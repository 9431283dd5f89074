// sample_bbs.cpp - writes a sample BBS's data files from its description,
// and in live mode keeps them changing the way a running BBS does.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <thread>

#include "bbs_records.h"
#include "caller_record.h"
#include "sample_description.h"

static const char* const Usage =
    "usage: sample_bbs write DESCRIPTION DIRECTORY\n"
    "       sample_bbs live DESCRIPTION DIRECTORY [--interval SECONDS] [--ticks COUNT]\n"
    "\n"
    "write  creates callers.dat, chat<N>.dat and oneliner.dat in DIRECTORY.\n"
    "live   then keeps them live: every interval (5 seconds unless told) a\n"
    "       caller logs on, nodes change state and a oneliner is added; it\n"
    "       stops when interrupted or after COUNT ticks.\n";

enum class WriteMode { Create, Append, Overwrite };

// The pages may be reading these files at any moment, so each is written
// where it lies (open, write, close), never replaced by a rename.
static bool WriteFile(const std::string& path, const std::string& bytes, WriteMode mode)
{
    int flags = O_WRONLY | O_CREAT | O_CLOEXEC;
    if (mode == WriteMode::Create)
        flags |= O_TRUNC;
    if (mode == WriteMode::Append)
        flags |= O_APPEND;
    int fd = ::open(path.c_str(), flags, 0644);
    if (fd < 0) {
        std::fprintf(stderr, "sample_bbs: %s: %s\n", path.c_str(), std::strerror(errno));
        return false;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote < 0) {
            std::fprintf(stderr, "sample_bbs: %s: %s\n", path.c_str(), std::strerror(errno));
            ::close(fd);
            return false;
        }
        done += static_cast<std::size_t>(wrote);
    }
    return ::close(fd) == 0;
}

static std::string NodeFile(const std::string& directory, int number)
{
    return directory + "/chat" + std::to_string(number) + ".dat";
}

static bool WriteAll(const SampleBbs& bbs, const std::string& directory)
{
    std::string callers;
    for (const Caller& caller : bbs.callers)
        callers += EncodeCaller(caller);
    std::string oneliners;
    for (const Oneliner& oneliner : bbs.oneliners)
        oneliners += EncodeOneliner(oneliner);
    if (!WriteFile(directory + "/callers.dat", callers, WriteMode::Create)
        || !WriteFile(directory + "/oneliner.dat", oneliners, WriteMode::Create))
        return false;
    for (const NodeState& node : bbs.nodes)
        if (!WriteFile(NodeFile(directory, node.number), EncodeNode(node.record), WriteMode::Create))
            return false;
    return true;
}

// The call number after the last one in callers.dat, so a restarted live
// BBS carries on counting; the description's callers when there is none.
static std::int32_t NextCallNumber(const SampleBbs& bbs, const std::string& directory)
{
    std::int32_t next = bbs.callers.empty() ? 1 : bbs.callers.back().callNumber + 1;
    std::FILE* file = std::fopen((directory + "/callers.dat").c_str(), "rb");
    if (file == nullptr)
        return next;
    unsigned char bytes[4];
    long last = -static_cast<long>(CallerRecord::Size) + static_cast<long>(CallerRecord::CallNumberOffset);
    if (std::fseek(file, 0, SEEK_END) == 0 && std::ftell(file) >= static_cast<long>(CallerRecord::Size)
        && std::fseek(file, last, SEEK_END) == 0 && std::fread(bytes, 1, 4, file) == 4) {
        std::uint32_t stored = 0;
        for (int i = 3; i >= 0; --i)
            stored = stored << 8 | static_cast<std::uint32_t>(bytes[i]);
        next = static_cast<std::int32_t>(stored) + 1;
    }
    std::fclose(file);
    return next;
}

static std::uint32_t PackedNow()
{
    std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    return PackDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
}

static volatile std::sig_atomic_t Interrupted = 0;

static void OnInterrupt(int)
{
    Interrupted = 1;
}

// Sleeps in short steps, so an interrupt ends the wait at once.
static void Pause(double seconds)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!Interrupted && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::min<std::chrono::duration<double>>(end - std::chrono::steady_clock::now(), std::chrono::milliseconds(100)));
}

// One tick: a caller logs on to the next node in turn, which becomes busy,
// the node after it hangs up and waits, and a oneliner is added.
static bool Tick(const SampleBbs& bbs, const std::string& directory, std::size_t tick, std::int32_t callNumber)
{
    if (bbs.callers.empty())
        return true;
    Caller caller = bbs.callers[tick % bbs.callers.size()];
    const NodeState& busy = bbs.nodes[tick % bbs.nodes.size()];
    const NodeState& hangingUp = bbs.nodes[(tick + 1) % bbs.nodes.size()];
    caller.callNumber = callNumber;
    caller.node = static_cast<std::uint8_t>(busy.number);
    caller.dateTime = PackedNow();
    if (!WriteFile(directory + "/callers.dat", EncodeCaller(caller), WriteMode::Append))
        return false;

    Node online;
    online.inUse = 1;
    online.handle = caller.userName;
    online.location = caller.location;
    online.activity = bbs.activities.empty() ? "Logged on" : bbs.activities[tick % bbs.activities.size()];
    if (!WriteFile(NodeFile(directory, busy.number), EncodeNode(online), WriteMode::Overwrite))
        return false;
    if (hangingUp.number != busy.number
        && !WriteFile(NodeFile(directory, hangingUp.number), EncodeNode(Node {}), WriteMode::Overwrite))
        return false;

    std::string said;
    if (!bbs.chatter.empty()) {
        const Oneliner& oneliner = bbs.chatter[tick % bbs.chatter.size()];
        if (!WriteFile(directory + "/oneliner.dat", EncodeOneliner(oneliner), WriteMode::Append))
            return false;
        said = ", " + oneliner.handle.text + " wrote a oneliner";
    }
    std::printf("call %d: %s on node %d, node %d waits%s\n", callNumber, caller.userName.text.c_str(), busy.number,
        hangingUp.number, said.c_str());
    std::fflush(stdout);
    return true;
}

static int Live(const SampleBbs& bbs, const std::string& directory, double interval, long ticks)
{
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    std::int32_t callNumber = NextCallNumber(bbs, directory);
    for (long tick = 0; !Interrupted && (ticks < 0 || tick < ticks); ++tick) {
        Pause(interval);
        if (Interrupted)
            break;
        if (!Tick(bbs, directory, static_cast<std::size_t>(tick), callNumber++))
            return 1;
    }
    return 0;
}

static bool ParseOption(const char* text, double low, double& value)
{
    char* end = nullptr;
    value = std::strtod(text, &end);
    return end != text && *end == '\0' && value >= low;
}

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fputs(Usage, stderr);
        return 2;
    }
    std::string command = argv[1];
    double interval = 5;
    double ticks = -1;
    for (int i = 4; i < argc; ++i) {
        std::string option = argv[i];
        bool known = i + 1 < argc && command == "live";
        if (known && option == "--interval")
            known = ParseOption(argv[++i], 0, interval);
        else if (known && option == "--ticks")
            known = ParseOption(argv[++i], 0, ticks) && ticks == static_cast<double>(static_cast<long>(ticks));
        else
            known = false;
        if (!known) {
            std::fprintf(stderr, "sample_bbs: bad option %s\n%s", option.c_str(), Usage);
            return 2;
        }
    }
    if (command != "write" && command != "live") {
        std::fputs(Usage, stderr);
        return 2;
    }

    SampleBbs bbs;
    std::string error;
    if (!ReadSampleDescription(argv[2], bbs, error)) {
        std::fprintf(stderr, "sample_bbs: %s\n", error.c_str());
        return 1;
    }
    std::string directory = argv[3];
    if (command == "write")
        return WriteAll(bbs, directory) ? 0 : 1;
    return Live(bbs, directory, interval, static_cast<long>(ticks));
}
