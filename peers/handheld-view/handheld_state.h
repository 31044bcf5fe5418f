// What the emulated handheld holds and runs, as a person would check it: the
// programs' windows, the files and shortcuts that the cabinet installs (and
// the settings file), the installer's records, the driver's registration and
// the devices that the device manager has loaded. A line per item.
#pragma once

#include <string>
#include <vector>

#include "package.h"

struct StateLine {
    enum Kind { kHeading, kPresent, kAbsent };
    Kind kind;
    std::wstring text;

    bool operator==(const StateLine& other) const
    {
        return kind == other.kind && text == other.text;
    }
};

std::vector<StateLine> HandheldState(const Package& cabinet);
