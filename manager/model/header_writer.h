// The label-format header the manager writes at the start of every output document, and the laminate end line.
#pragma once

#include <string>

#include "common/seams/output_channel.h"
#include "manager/model/header.h"

namespace vyx {

inline constexpr int kDefaultDarkness = 15;

// The darkness in force: the header's override when it is 0 or more, else the stored setting when there is one
// (0 or more), else 15.
int ChooseDarkness(int overrideValue, int storedDarkness);

// "^XA", the laminate prefix when laminating, then ^PW, ^LL, ^LH, ^PQ, ^RSR and ^SD, each line ended by CR LF.
std::string FormatCustomHeader(const CCustomQzplHeader& header, int storedDarkness);

// Writes the header text; true when every byte was written.
bool WriteCustomHeader(const CCustomQzplHeader& header, int storedDarkness, COutputChannel& out);

// "^RLE\r\n": ends the lamination before the cut data of a laminated document.
bool WriteLaminateEnd(COutputChannel& out);

}  // namespace vyx
