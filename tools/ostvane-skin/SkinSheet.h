#pragma once

#include <string>

#include "SkinTool.h"

namespace skintool {

// Draws every picture of the skin in inPath at three times its size, with
// every rectangle and point of the description outlined on the picture it
// refers to and labelled "section.key", and writes the sheet to outPath as
// a PNG file.
void Sheet(const std::string& inPath, InputForm form, const std::string& outPath);

}  // namespace skintool
