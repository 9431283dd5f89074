// page_checks.h - properties every page must keep whatever its data files
// hold: the fixed frame around the rows, and escaped field text inside them.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

#include "program.h"

namespace FuzzSupport {

// The header and the footer as the kit writes them for the current BoardName.
std::string CapturedHeader(const ProgramText& program);
std::string CapturedFooter(const ProgramText& program);

// Counts the places where needle starts in haystack.
std::size_t CountOf(std::string_view haystack, std::string_view needle);

// The rows between header and footer may hold the given markup tags and
// field text. Field text carries no raw <, > or ", and each & starts one of
// the four entities; a tag may be cut short where a composed write reached
// 255 characters, and the next write or the line end follows it directly.
void CheckRowMarkup(std::string_view rows, std::initializer_list<std::string_view> tags);

// A page of one row per record of one data file (last callers, oneliners).
struct RecordPage {
    const ProgramText& program;
    const char* dataFileName;
    std::size_t recordSize;
    void (*writePage)();
    std::string_view rowEnd; // how every row's line ends
    std::initializer_list<std::string_view> tags;
};

// Writes bytes as the page's data file and runs the page over it. Whatever
// its length bytes and however it ends, the page is the header, one row per
// whole record, and the footer only when no partial record is left at the
// end, with the pending error to match.
void CheckRecordPage(const RecordPage& page, std::string_view bytes);

} // namespace FuzzSupport
