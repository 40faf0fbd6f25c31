// ostvane-skin: packs a skin description and its pictures into a
// compressed skin file, unpacks one, and describes one.

#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "SkinSheet.h"
#include "SkinTool.h"

namespace {

constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

const char* const Usage =
    "usage: ostvane-skin pack SKIN.ini OUT\n"
    "       ostvane-skin unpack [--raw] IN DIR\n"
    "       ostvane-skin info [--json] [--raw] IN\n"
    "       ostvane-skin sheet [--raw] IN OUT.png\n"
    "\n"
    "IN and OUT are compressed skin files (version, length, zlib block);\n"
    "with --raw IN is a bare zlib block, as a layout stores it.\n";

int UsageError(const std::string& problem) {
  std::cerr << "ostvane-skin: " << problem << '\n' << Usage;
  return ExitUsage;
}

// The one line a failure prints: messages may quote bytes of the skin.
std::string OneLine(std::string text) {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  }
  return text;
}

int Run(const std::vector<std::string>& args) {
  if (args.empty()) return UsageError("no command");
  const std::string& command = args[0];
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << Usage;
    return 0;
  }

  bool raw = false;
  bool json = false;
  std::vector<std::string> operands;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--raw" && command != "pack") {
      raw = true;
    } else if (arg == "--json" && command == "info") {
      json = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return UsageError("unknown option " + arg + " for " + command);
    } else {
      operands.push_back(arg);
    }
  }
  const auto form = raw ? skintool::InputForm::RawBlock : skintool::InputForm::CompressedFile;

  if (command == "pack") {
    if (operands.size() != 2) return UsageError("pack takes SKIN.ini and OUT");
    skintool::Pack(operands[0], operands[1]);
  } else if (command == "unpack") {
    if (operands.size() != 2) return UsageError("unpack takes IN and DIR");
    skintool::Unpack(operands[0], form, operands[1]);
  } else if (command == "info") {
    if (operands.size() != 1) return UsageError("info takes IN");
    skintool::Info(operands[0], form, json ? skintool::InfoFormat::Json : skintool::InfoFormat::Text,
                   std::cout);
  } else if (command == "sheet") {
    if (operands.size() != 2) return UsageError("sheet takes IN and OUT.png");
    skintool::Sheet(operands[0], form, operands[1]);
  } else {
    return UsageError("unknown command " + command);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  try {
    const int status = Run(args);
    std::cout.flush();
    return status;
  } catch (const std::bad_alloc&) {
    std::cerr << "ostvane-skin: out of memory\n";
  } catch (const std::exception& error) {
    std::cerr << "ostvane-skin: " << OneLine(error.what()) << '\n';
  }
  return ExitFailure;
}
