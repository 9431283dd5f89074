// sample_description.h - the readable text that describes a sample BBS:
// its callers, nodes and oneliners, and what its live mode draws on.
#pragma once

#include <string>
#include <vector>

#include "bbs_records.h"

struct NodeState {
    int number = 0;
    Node record;
};

struct SampleBbs {
    std::vector<Caller> callers;
    std::vector<NodeState> nodes;
    std::vector<Oneliner> oneliners;
    // Live mode only: what callers who log on do, and what they write.
    std::vector<std::string> activities;
    std::vector<Oneliner> chatter;
};

// Reads the description at path. On a fault it returns false and error
// names the line and what is wrong with it.
bool ReadSampleDescription(const std::string& path, SampleBbs& bbs, std::string& error);
