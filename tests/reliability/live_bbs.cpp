// live_bbs.cpp - the simulated BBS's writes to its data files.
#include "live_bbs.h"

#include <fcntl.h>
#include <unistd.h>

#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "bbs_records.h"
#include "sample_board.h"

namespace Reliability {

namespace {

class WrittenFile {
public:
    WrittenFile(const std::filesystem::path& path, std::size_t recordSize)
        : fd_(::open(path.c_str(), O_WRONLY | O_CLOEXEC)), recordSize_(recordSize)
    {
        if (fd_ < 0)
            throw std::runtime_error("cannot open " + path.string());
        records_ = static_cast<std::size_t>(::lseek(fd_, 0, SEEK_END)) / recordSize;
        Cut(records_);
    }
    ~WrittenFile() { ::close(fd_); }
    WrittenFile(const WrittenFile&) = delete;
    WrittenFile& operator=(const WrittenFile&) = delete;

    std::size_t Records() const { return records_; }

    void Put(std::size_t offset, std::string_view bytes)
    {
        std::size_t done = 0;
        while (done < bytes.size()) {
            ssize_t count = ::pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
            if (count <= 0)
                throw std::runtime_error("the BBS cannot write its file");
            done += static_cast<std::size_t>(count);
        }
    }
    void Append(std::string_view record)
    {
        Put(records_ * recordSize_, record);
        ++records_;
    }
    void Rewrite(std::size_t index, std::string_view record) { Put(index * recordSize_, record); }
    void Cut(std::size_t records)
    {
        if (::ftruncate(fd_, static_cast<off_t>(records * recordSize_)) != 0)
            throw std::runtime_error("the BBS cannot truncate its file");
        records_ = records;
    }
    // Part of a record at the end, then either the rest of it or the file cut
    // back to its whole records, as a BBS that is stopped mid-write and
    // recovers would leave it.
    void TornAppend(std::string_view record, std::size_t part, bool complete)
    {
        const std::size_t offset = records_ * recordSize_;
        Put(offset, record.substr(0, part));
        std::this_thread::yield();
        if (complete) {
            Put(offset + part, record.substr(part));
            ++records_;
        } else {
            Cut(records_);
        }
    }

private:
    int fd_;
    std::size_t recordSize_;
    std::size_t records_ = 0;
};

} // namespace

LiveBbs::LiveBbs(std::filesystem::path directory, int nodeCount) : directory_(std::move(directory)), nodeCount_(nodeCount)
{
}

LiveBbs::~LiveBbs()
{
    if (thread_.joinable())
        Stop();
}

void LiveBbs::Start()
{
    stopping_ = false;
    thread_ = std::thread([this] { Work(); });
}

BbsWrites LiveBbs::Stop()
{
    stopping_ = true;
    thread_.join();
    return writes_;
}

void LiveBbs::Work()
{
    // A fixed seed: a failure comes back the same way, as far as the timing
    // of the readers allows.
    std::minstd_rand random(20031101);
    auto below = [&random](std::size_t limit) { return static_cast<std::size_t>(random() % limit); };

    WrittenFile callers(directory_ / "callers.dat", 279);
    WrittenFile oneliners(directory_ / "oneliner.dat", 111);
    std::vector<std::unique_ptr<WrittenFile>> nodes;
    for (int node = 1; node <= nodeCount_; ++node)
        nodes.push_back(std::make_unique<WrittenFile>(directory_ / ("chat" + std::to_string(node) + ".dat"), 117));

    // Enough records that a page takes a while, few enough that one stays quick.
    const std::size_t mostRecords = 300;
    int serial = 0;
    while (!stopping_) {
        ++serial;
        const bool onCallers = below(2) == 0;
        WrittenFile& file = onCallers ? callers : oneliners;
        const std::string record = onCallers ? EncodeCaller(SampleCaller(serial)) : EncodeOneliner(SampleOneliner(serial));
        const std::size_t choice = below(100);
        if (choice < 30) {
            if (file.Records() >= mostRecords) {
                file.Cut(below(4));
                ++writes_.truncations;
            } else {
                file.Append(record);
                ++writes_.appends;
            }
        } else if (choice < 45) {
            if (file.Records() > 0) {
                file.Rewrite(below(file.Records()), record);
                ++writes_.rewrites;
            }
        } else if (choice < 55) {
            file.TornAppend(record, 1 + below(record.size() - 1), below(2) == 0);
            ++writes_.tornAppends;
        } else if (choice < 57) {
            file.Cut(below(3));
            ++writes_.truncations;
        } else {
            const std::size_t node = below(nodes.size());
            // Even sample nodes are in use, odd ones wait.
            nodes[node]->Rewrite(0, EncodeNode(SampleNode(serial)));
            ++writes_.nodeChanges;
        }
    }
}

} // namespace Reliability
