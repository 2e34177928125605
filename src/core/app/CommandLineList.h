#pragma once

#include "print/PageSelection.h"
#include "wirelist/WireListReader.h"
#include "wirelist/WireMarkers.h"

#include <cstddef>
#include <string>
#include <vector>

// The wire list switches of the printing commands: --list WIRES with the
// options that say how its rows become markers, or --pattern PATTERN whose
// markers print the same way.
struct CWireListRequest
{
    std::string m_strPath;    // empty: no wire list
    std::string m_strPattern; // UTF-8; empty: no pattern
    CWireListOptions m_read;
    CMarkerOptions m_markers;
    bool m_bColumnsGiven = false;  // --columns, which --ends replaces
    bool m_bSelectedOnly = false;  // following sheets use the selected positions only
    CPageSelection m_pages;        // --pages: the sheets of the job to print
    bool m_bShrinkCut = false;     // --shrink: labels that would cut their marker off shrink it
    bool m_bAllowClipping = false; // --allow-clipping: print markers cut off as they are
};

enum class ListSwitch {
    NotList, // not a wire list switch
    Taken,   // taken, with its value when it has one
    Error,   // `error` says why
};

// Takes args[i] (and its value, advancing i) when it is a wire list switch.
ListSwitch TakeWireListSwitch(const std::vector<std::string>& args, std::size_t& i, CWireListRequest& request,
                              std::string& error);

// Whether the switches go together, and a pattern can give markers;
// `bPrinting` when the command prints or writes a PDF. Empty, or why not.
std::string CheckWireListRequest(const CWireListRequest& request, bool bPrinting, bool bListSwitchSeen);
