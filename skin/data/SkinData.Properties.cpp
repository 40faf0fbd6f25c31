// The published properties of the skin data unit's components, in the order
// layouts store them, and their registration for stored layouts.

#include "skin/data/SkinData.h"
#include "ui/classlib/Properties.h"

namespace skin {

void TskCompressedStoredSkin::DefineProperties(ui::TPropertyList<TskCompressedStoredSkin>& list) {
  list.Property("FileName", &TskCompressedStoredSkin::FileName, &TskCompressedStoredSkin::SetFileName, std::string());
  list.Property("CompressedFileName", &TskCompressedStoredSkin::CompressedFileName,
                &TskCompressedStoredSkin::SetCompressedFileName, std::string());
  list.Property("Description", &TskCompressedStoredSkin::Description, &TskCompressedStoredSkin::SetDescription,
                std::string());
  // The block is written even when empty, so that a layout always says
  // which block it carries.
  ui::TPropertyInfo& data = list.Binary("CompressedData", &TskCompressedStoredSkin::CompressedData,
                                        &TskCompressedStoredSkin::SetCompressedData);
  data.IsStored = nullptr;
}

void TskResourceStrData::DefineProperties(ui::TPropertyList<TskResourceStrData>& list) {
  list.Property("CharSet", &TskResourceStrData::CharSet, &TskResourceStrData::SetCharSet, 1);
  list.Strings("ResStrings", [](TskResourceStrData& data) -> core::TStrings* { return &data.ResStrings(); });
}

void TskSkinData::DefineProperties(ui::TPropertyList<TskSkinData>& list) {
  // The references are set once every component of the layout exists: the
  // stored skin has its block by then, and setting it loads the skin.
  list.Component("CompressedStoredSkin", &TskSkinData::CompressedStoredSkin, &TskSkinData::SetCompressedStoredSkin);
  list.Property("EnableSkinEffects", &TskSkinData::EnableSkinEffects, &TskSkinData::SetEnableSkinEffects, true);
  list.Component("ResourceStrData", &TskSkinData::ResourceStrData, &TskSkinData::SetResourceStrData);
}

namespace {

void RegisterSkinDataClasses() {
  ui::RegisterComponentClass<TskCompressedStoredSkin>("TskCompressedStoredSkin");
  ui::RegisterComponentClass<TskResourceStrData>("TskResourceStrData");
  ui::RegisterComponentClass<TskSkinData>("TskSkinData");
}

// Linked whole (see skin/CMakeLists.txt), so every program that links the
// skin data registers these classes.
const bool SkinDataClassesAdded = (ui::AddClassRegistrar(&RegisterSkinDataClasses), true);

}  // namespace

}  // namespace skin
