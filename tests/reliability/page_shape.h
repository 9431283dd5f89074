// page_shape.h - whether a response is a well-formed page up to where it
// stops, when the exact rows cannot be known because the BBS is writing.
#pragma once

#include <cstddef>
#include <string>

#include "program_sandbox.h"

namespace Reliability {

struct PageShape {
    std::string problem; // empty when well formed
    std::size_t rows = 0;
    bool complete = false; // the footer was written
};

// A well-formed response is the program's whole header, then whole row
// lines of the program's form (escaped cells, CR LF ends, for the node page
// nodes 1, 2, ... in order), then either the whole footer or nothing.
PageShape ExaminePage(const PageFixture::BuiltProgram& program, const std::string& boardName,
    const std::string& response);

} // namespace Reliability
