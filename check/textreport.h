// SPDX-License-Identifier: MIT
#pragma once

#include "checkreport.h"

#include <string>

// A check's outcome for an author to read: the problems, one a line with
// where they are, a count, then the verdict and the numbered walkthrough.
class TextReport
{
public:
    static std::string write(const CheckReport &report);
    // "4,000,000"
    static std::string number(std::size_t value);
};
