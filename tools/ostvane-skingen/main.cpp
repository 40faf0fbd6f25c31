// ostvane-skingen: draws the program's stored skin (the description and
// its ten pictures) into a folder. The output is the same on every run and
// machine; resources/skin/ holds a committed copy that the build packs.

#include <exception>
#include <filesystem>
#include <iostream>
#include <span>
#include <string>

#include "Description.h"
#include "Pictures.h"
#include "gfx/BmpCodec.h"

int main(int argc, char** argv) {
  if (argc != 2 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h") {
    std::cerr << "usage: ostvane-skingen DIR\n"
                 "Writes the stored skin's skin.ini and pictures to DIR.\n";
    return argc == 2 ? 0 : 2;
  }
  try {
    const std::filesystem::path dir(argv[1]);
    std::filesystem::create_directories(dir);
    const std::string description = skingen::StoredSkinDescriptionBytes();
    gfx::WriteFileBytes((dir / "skin.ini").string(),
                        std::span(reinterpret_cast<const std::uint8_t*>(description.data()), description.size()));
    for (const skingen::SkinPicture& picture : skingen::DrawStoredSkinPictures()) {
      gfx::WriteFileBytes((dir / picture.FileName).string(), gfx::WriteBmp(picture.Picture, picture.Bits));
    }
  } catch (const std::exception& error) {
    std::cerr << "ostvane-skingen: " << error.what() << '\n';
    return 1;
  }
  return 0;
}
