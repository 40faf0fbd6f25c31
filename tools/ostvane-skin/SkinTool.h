#pragma once

#include <ostream>
#include <stdexcept>
#include <string>

namespace skintool {

// A skin the tool cannot use, for reasons the skin library accepts quietly
// (a container version it does not read, an empty block, a picture name it
// will not write).
class ToolError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// How IN is stored: a compressed skin file (version, length, block), or
// the bare zlib block a layout holds.
enum class InputForm { CompressedFile, RawBlock };
enum class InfoFormat { Text, Json };

// Builds a version 2 container from the description at iniPath and the
// BMP files beside it, checks that it loads, and writes it to outPath as a
// compressed skin file.
void Pack(const std::string& iniPath, const std::string& outPath);

// Writes the description of the skin in inPath to DIR/skin.ini (GBK, CR LF)
// and every picture, byte for byte, to DIR under its [PICTURES] name.
void Unpack(const std::string& inPath, InputForm form, const std::string& dir);

// Loads the skin in inPath as the program does and describes it.
void Info(const std::string& inPath, InputForm form, InfoFormat format, std::ostream& out);

// The name Unpack gives the description.
inline constexpr const char* DescriptionFileName = "skin.ini";

}  // namespace skintool
