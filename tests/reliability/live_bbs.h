// live_bbs.h - a BBS at work on its data files, as fast as it can, on a
// thread of its own, while the pages read them.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <thread>

namespace Reliability {

// What the BBS did, by kind; every count is of completed writes.
struct BbsWrites {
    std::uint64_t appends = 0;        // a whole caller or oneliner added
    std::uint64_t rewrites = 0;       // a record overwritten in place
    std::uint64_t tornAppends = 0;    // part of a record added, then the rest or a trim
    std::uint64_t truncations = 0;    // a file cut back to a few records, or to nothing
    std::uint64_t nodeChanges = 0;    // a node between waiting and in use

    std::uint64_t Total() const { return appends + rewrites + tornAppends + truncations + nodeChanges; }
};

// Works on callers.dat, oneliner.dat and chat1.dat to chat<nodeCount>.dat in
// directory, which must already hold them. Every write keeps the files
// made of sane records, except for the moments a torn record stands at a
// file's end. Stop() ends the work and returns the counts.
class LiveBbs {
public:
    LiveBbs(std::filesystem::path directory, int nodeCount);
    ~LiveBbs();
    LiveBbs(const LiveBbs&) = delete;
    LiveBbs& operator=(const LiveBbs&) = delete;

    void Start();
    BbsWrites Stop();

private:
    void Work();

    std::filesystem::path directory_;
    int nodeCount_;
    std::atomic<bool> stopping_{false};
    BbsWrites writes_;
    std::thread thread_;
};

} // namespace Reliability
