#pragma once

// The skin data unit: the stored skin component that carries a compressed
// skin inside a layout, the skin data component that holds one loaded skin
// and tells the forms when it changes, and the replaceable texts.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/Component.h"
#include "core/MemoryStream.h"
#include "core/StringList.h"
#include "gfx/Bitmap.h"
#include "gfx/Geometry.h"
#include "skin/data/SkinBroadcast.h"
#include "skin/data/SkinData.Container.h"
#include "skin/data/SkinData.Controls.h"
#include "skin/data/SkinData.Sections.h"

namespace ui {
template <class T>
class TPropertyList;
}  // namespace ui

namespace skin {

// Inflates a zlib block onto target, in 4096-byte steps. Raises
// core::EDecompressionError "compression error" for a damaged block and
// core::EReadError when it inflates to more than MaxContainerBytes.
void InflateSkinBlock(std::span<const std::uint8_t> block, core::TMemoryStream& target);

// ---------------------------------------------------------------------------

// A skin stored in a layout: one zlib block holding a skin container.
class TskCompressedStoredSkin : public core::TComponent {
 public:
  using inherited = core::TComponent;
  static void DefineProperties(ui::TPropertyList<TskCompressedStoredSkin>& list);

  explicit TskCompressedStoredSkin(core::TComponent* owner);
  ~TskCompressedStoredSkin() override;

  // True when the block holds no bytes.
  bool IsEmpty() const;

  // Inflates the whole block, from its start, onto target (see
  // InflateSkinBlock).
  void DecompressToStream(core::TMemoryStream& target);

  // Builds a version 2 container from a skin description and the BMP files
  // named in its [PICTURES], looked up in the description's folder, and
  // stores it compressed at the maximum level. A description that lacks
  // one of [VERSION], [PICTURES], [FORMINFO], [SKINOBJECTS] and
  // [SKINCONTROLS] leaves the block as it is. A missing or damaged picture
  // file raises an error naming it, and the block stays as it was.
  void BuildFromSkinFile(const std::string& path);

  // Replaces the block by the one of a compressed skin file; a file whose
  // version is above 3 leaves the block empty.
  void ReadCompressedFile(const std::string& path);
  // Writes the block as a compressed skin file of version 2.
  void WriteCompressedFile(const std::string& path) const;

  // Published texts. At design time (and not while loading) setting
  // FileName or CompressedFileName keeps only the file-name part and builds
  // or reads the block from the full path; otherwise they are only stored.
  const std::string& FileName() const { return FFileName; }
  void SetFileName(const std::string& value);
  const std::string& CompressedFileName() const { return FCompressedFileName; }
  void SetCompressedFileName(const std::string& value);
  const std::string& Description() const { return FDescription; }
  void SetDescription(const std::string& value) { FDescription = value; }

  // The binary layout property "CompressedData": the block byte for byte, a
  // complete zlib stream. It is always stored, even when empty.
  std::span<const std::uint8_t> CompressedData() const { return FCompressedStream.Bytes(); }
  void SetCompressedData(std::span<const std::uint8_t> bytes);
  // The same through streams, for a layout reader and writer that stream
  // binary properties: reading replaces the block by the rest of source.
  void ReadCompressedData(core::TStream& source);
  void WriteCompressedData(core::TStream& target) const;

  core::TMemoryStream& CompressedStream() { return FCompressedStream; }

 private:
  bool DesigningNotLoading() const;

  std::string FFileName;
  std::string FCompressedFileName;
  std::string FDescription;
  core::TMemoryStream FCompressedStream;
};

// Replaceable texts of the skinned windows: "NAME=text" lines. Menus,
// hints and edit menus look their texts up here when a skin data component
// refers to one, and use their own built-in texts otherwise.
class TskResourceStrData : public core::TComponent {
 public:
  using inherited = core::TComponent;
  static void DefineProperties(ui::TPropertyList<TskResourceStrData>& list);

  // The 115 default lines, in their order.
  static const std::vector<std::string>& DefaultResStrings();

  explicit TskResourceStrData(core::TComponent* owner);

  const core::TStringList& ResStrings() const { return FResStrings; }
  core::TStringList& ResStrings() { return FResStrings; }
  // Replaces the lines by a copy of lines.
  void SetResStrings(const core::TStrings& lines) { FResStrings.Assign(lines); }

  // Character set of the fonts the texts are drawn with; 1, the default
  // character set, at creation.
  int CharSet() const { return FCharSet; }
  void SetCharSet(int charSet) { FCharSet = charSet; }

  // Everything after the first "=" of the first line whose name equals name
  // (letter case ignored); the empty text when there is none.
  std::string GetResStr(std::string_view name) const;

 private:
  core::TStringList FResStrings;
  int FCharSet = 1;
};

// What the last load found in its container, for tools that inspect skins.
struct SkinContainerInfo {
  // -1 before any container has been read.
  std::int32_t Version = -1;
  std::size_t UncompressedBytes = 0;
  std::size_t DescriptionOffset = 0;
  std::size_t DescriptionBytes = 0;
};

// One loaded skin: the frame pictures, the active pictures, the window-level
// settings and the skin objects and control sections of its description.
// Skinned windows and controls find their section by name here and never
// free what they get.
//
// A load tells every form of the application, through the installed
// SkinFormList: WMSKIN_BEFORECHANGE before the old skin goes, then, only
// when the whole new skin has been read, WMSKIN_CHANGED and
// WMSKIN_AFTERCHANGE.
class TskSkinData : public core::TComponent {
 public:
  using inherited = core::TComponent;
  static void DefineProperties(ui::TPropertyList<TskSkinData>& list);

  explicit TskSkinData(core::TComponent* owner);
  ~TskSkinData() override;

  // --- published ---------------------------------------------------------
  // Whether skin objects and controls whose section asks for "morphing"
  // animate between their looks.
  bool EnableSkinEffects() const { return FEnableSkinEffects; }
  void SetEnableSkinEffects(bool value) { FEnableSkinEffects = value; }
  // Setting a stored skin loads it (outside design time); the reference is
  // cleared when the stored skin is destroyed, and the loaded skin stays.
  TskCompressedStoredSkin* CompressedStoredSkin() const { return FCompressedStoredSkin; }
  void SetCompressedStoredSkin(TskCompressedStoredSkin* value);
  // Setting it (outside design time) broadcasts WMSKIN_RESSTRCHANGED.
  TskResourceStrData* ResourceStrData() const { return FResourceStrData; }
  void SetResourceStrData(TskResourceStrData* value);

  // --- the loaded skin ---------------------------------------------------
  // True while no skin is loaded: at creation, during a load, after a load
  // that failed or stopped early, and after ClearAll.
  bool Empty() const { return FEmpty; }

  const gfx::Bitmap& Picture() const { return FrameBitmap(FramePicture::Picture); }
  const gfx::Bitmap& InactivePicture() const { return FrameBitmap(FramePicture::InactivePicture); }
  const gfx::Bitmap& Mask() const { return FrameBitmap(FramePicture::Mask); }
  const gfx::Bitmap& RollUpPicture() const { return FrameBitmap(FramePicture::RollUpPicture); }
  const gfx::Bitmap& RollUpMask() const { return FrameBitmap(FramePicture::RollUpMask); }
  const gfx::Bitmap& FrameBitmap(FramePicture picture) const { return FFrame[std::size_t(picture)]; }
  // Indexed by every "pictureindex"-like key of the description.
  const std::vector<gfx::Bitmap>& ActivePictures() const { return FActivePictures; }

  // File names from [PICTURES]; InactivePictureName is never read and stays
  // empty. A mask name switches on the mask adjustments of [FORMINFO].
  const std::string& PictureName() const { return FPictureName; }
  const std::string& InactivePictureName() const { return FInactivePictureName; }
  const std::string& MaskName() const { return FMaskName; }
  const std::string& RollUpPictureName() const { return FRollUpPictureName; }
  const std::string& RollUpMaskName() const { return FRollUpMaskName; }
  const std::vector<std::string>& ActivePicturesNames() const { return FActivePicturesNames; }

  // [VERSION]; informative only.
  const std::string& SkinName() const { return FSkinName; }
  const std::string& SkinAuthor() const { return FSkinAuthor; }
  const std::string& AuthorEmail() const { return FAuthorEmail; }
  const std::string& AuthorURL() const { return FAuthorURL; }
  const std::string& SkinComments() const { return FSkinComments; }

  const TskDataSkinFormInfo& FormInfo() const { return FFormInfo; }
  const TskDataSkinPopupWindow& PopupWindow() const { return FPopupWindow; }
  const TskDataSkinHintWindow& HintWindow() const { return FHintWindow; }
  const std::vector<TskDataSkinArea>& SkinAreas() const { return FSkinAreas; }
  const TskDataSkinObjectList& SkinObjects() const { return FSkinObjects; }
  const TskDataSkinControlList& SkinControls() const { return FSkinControls; }

  const SkinContainerInfo& ContainerInfo() const { return FContainerInfo; }

  // Position of the first item whose SectionName equals name exactly
  // (letter case counts), or -1. Callers check the item's class before
  // they use it.
  int FindAreaIndex(std::string_view name) const;
  int FindObjectIndex(std::string_view name) const;
  int FindControlIndex(std::string_view name) const;

  // Loads the skin of stored. An empty block changes nothing and sends
  // nothing. A container version above 3 leaves the skin empty without an
  // error. A damaged block or description raises its error after
  // WMSKIN_BEFORECHANGE and leaves the skin empty; so does a description
  // whose lists ask for more than its size allows (see DescriptionBudget).
  void LoadFromCompressedStoredSkin(TskCompressedStoredSkin& stored);

  // Frees the skin objects, control sections, areas and active pictures.
  void ClearObjects();
  // ClearObjects, then the frame pictures and their names; sets Empty.
  void ClearAll();

  // Sends message (wParam this, lParam 1000) to the owner form first, then
  // to every other form. Returns false when a receiver destroyed this
  // component: the caller must then return without touching it.
  bool Broadcast(unsigned message);

 protected:
  void Notification(core::TComponent* component, core::TOperation operation) override;

 private:
  bool Designing() const { return ComponentState().Contains(core::csDesigning); }
  void ReadDescription(const core::TMemIniFile& ini);

  // Expires with this component, so that code that sent a message can tell
  // whether the receiver destroyed it.
  std::shared_ptr<const bool> FAlive = std::make_shared<const bool>(true);

  bool FEnableSkinEffects = true;
  TskCompressedStoredSkin* FCompressedStoredSkin = nullptr;
  TskResourceStrData* FResourceStrData = nullptr;

  bool FEmpty = true;
  std::array<gfx::Bitmap, FramePictureCount> FFrame;
  std::vector<gfx::Bitmap> FActivePictures;
  std::string FPictureName;
  std::string FInactivePictureName;
  std::string FMaskName;
  std::string FRollUpPictureName;
  std::string FRollUpMaskName;
  std::vector<std::string> FActivePicturesNames;
  std::string FSkinName;
  std::string FSkinAuthor;
  std::string FAuthorEmail;
  std::string FAuthorURL;
  std::string FSkinComments;
  TskDataSkinFormInfo FFormInfo;
  TskDataSkinPopupWindow FPopupWindow;
  TskDataSkinHintWindow FHintWindow;
  std::vector<TskDataSkinArea> FSkinAreas;
  TskDataSkinObjectList FSkinObjects;
  TskDataSkinControlList FSkinControls;
  SkinContainerInfo FContainerInfo;
};

}  // namespace skin
