#include "core/Encoding.h"
#include "core/Exception.h"
#include "core/MemIniFile.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinFormsAdapter.h"

namespace skin {

TskSkinData::TskSkinData(core::TComponent* owner) : core::TComponent(owner) {
  // In a running application the skin messages reach its forms.
  UseApplicationSkinFormList();
}

TskSkinData::~TskSkinData() {
  // No message goes out: the forms learn of a vanished skin data component
  // through the free notification of their own reference.
  FEmpty = true;
  ClearObjects();
}

void TskSkinData::SetCompressedStoredSkin(TskCompressedStoredSkin* value) {
  if (value != FCompressedStoredSkin) {
    if (FCompressedStoredSkin) FCompressedStoredSkin->RemoveFreeNotification(this);
    FCompressedStoredSkin = value;
    if (value) value->FreeNotification(this);
  }
  if (Designing() || !value) return;
  if (!ComponentState().Contains(core::csLoading)) {
    LoadFromCompressedStoredSkin(*value);
    return;
  }
  // Read from a layout: a stored skin that cannot be read must not make
  // the whole layout unreadable. The skin stays empty and the windows keep
  // their default look.
  try {
    LoadFromCompressedStoredSkin(*value);
  } catch (const core::Exception&) {
  }
}

void TskSkinData::SetResourceStrData(TskResourceStrData* value) {
  if (value != FResourceStrData) {
    if (FResourceStrData) FResourceStrData->RemoveFreeNotification(this);
    FResourceStrData = value;
    if (value) value->FreeNotification(this);
  }
  if (!Designing()) Broadcast(WMSKIN_RESSTRCHANGED);
}

void TskSkinData::Notification(core::TComponent* component, core::TOperation operation) {
  if (operation != core::opRemove) return;
  if (component == FCompressedStoredSkin) FCompressedStoredSkin = nullptr;
  if (component == FResourceStrData) FResourceStrData = nullptr;
}

int TskSkinData::FindAreaIndex(std::string_view name) const {
  for (std::size_t i = 0; i < FSkinAreas.size(); ++i) {
    if (FSkinAreas[i].SectionName == name) return int(i);
  }
  return -1;
}

int TskSkinData::FindObjectIndex(std::string_view name) const {
  for (std::size_t i = 0; i < FSkinObjects.size(); ++i) {
    if (FSkinObjects[i]->SectionName == name) return int(i);
  }
  return -1;
}

int TskSkinData::FindControlIndex(std::string_view name) const {
  for (std::size_t i = 0; i < FSkinControls.size(); ++i) {
    if (FSkinControls[i]->SectionName == name) return int(i);
  }
  return -1;
}

void TskSkinData::ClearObjects() {
  FSkinAreas.clear();
  FSkinObjects.clear();
  FSkinControls.clear();
  FActivePictures.clear();
  FPopupWindow.WindowPictureIndex = -1;
  FHintWindow.WindowPictureIndex = -1;
  FActivePicturesNames.clear();
}

void TskSkinData::ClearAll() {
  ClearObjects();
  for (gfx::Bitmap& picture : FFrame) picture = gfx::Bitmap();
  FPictureName.clear();
  FInactivePictureName.clear();
  FMaskName.clear();
  FRollUpPictureName.clear();
  FRollUpMaskName.clear();
  FEmpty = true;
}

bool TskSkinData::Broadcast(unsigned message) {
  SkinFormList* list = GetSkinFormList();
  if (!list) return true;
  const std::weak_ptr<const bool> alive = FAlive;
  const auto sender = reinterpret_cast<std::uintptr_t>(this);
  const std::vector<SkinMessageTarget*> targets = list->SkinMessageTargets(Owner());
  for (SkinMessageTarget* target : targets) {
    // A receiver may close forms, replace the list or destroy this
    // component; each send asks again.
    if (GetSkinFormList() != list) break;
    if (!list->HasSkinMessageTarget(target)) continue;
    target->SendSkinMessage(message, sender, SkinMessageLParam);
    if (alive.expired()) return false;
  }
  return true;
}

void TskSkinData::LoadFromCompressedStoredSkin(TskCompressedStoredSkin& stored) {
  if (stored.IsEmpty()) return;
  // The block is copied first: a receiver of the first message might
  // destroy the stored skin.
  const std::vector<std::uint8_t> block(stored.CompressedData().begin(), stored.CompressedData().end());

  FEmpty = true;
  if (!Broadcast(WMSKIN_BEFORECHANGE)) return;
  ClearAll();
  FContainerInfo = SkinContainerInfo();

  try {
    SkinContainer container;
    {
      core::TMemoryStream inflated;
      InflateSkinBlock(block, inflated);
      container = ReadSkinContainer(inflated.Bytes(), DecodePictures::Yes, KeepPictureBytes::No);
    }
    FContainerInfo.Version = container.Version;
    FContainerInfo.UncompressedBytes = container.TotalBytes;
    if (!container.IsSupported()) return;
    FContainerInfo.DescriptionOffset = container.DescriptionOffset;
    FContainerInfo.DescriptionBytes = container.Description.size();

    for (std::size_t i = 0; i < FramePictureCount; ++i) FFrame[i] = std::move(container.Frame[i].Bitmap);
    FActivePictures.reserve(container.Active.size());
    for (SkinContainerPicture& picture : container.Active) FActivePictures.push_back(std::move(picture.Bitmap));

    // The lists of the description may build no more than its size allows,
    // whoever asks for the load.
    DescriptionBudget budget(DescriptionBudget::LimitFor(container.Description.size()));
    const core::TMemIniFile ini(core::GbkToUtf8(container.Description));
    container = SkinContainer();
    ReadDescription(ini);
  } catch (...) {
    // Nothing of a skin that did not load completely stays visible.
    ClearAll();
    throw;
  }

  FEmpty = false;
  if (!Broadcast(WMSKIN_CHANGED)) return;
  Broadcast(WMSKIN_AFTERCHANGE);
}

void TskSkinData::ReadDescription(const core::TMemIniFile& ini) {
  FSkinName = ini.ReadString("VERSION", "skinname", "");
  FSkinAuthor = ini.ReadString("VERSION", "skinauthor", "");
  FAuthorEmail = ini.ReadString("VERSION", "authoremail", "");
  FAuthorURL = ini.ReadString("VERSION", "authorurl", "");
  FSkinComments = ini.ReadString("VERSION", "skincomments", "");

  FPictureName = ini.ReadString("PICTURES", "picture", "");
  FMaskName = ini.ReadString("PICTURES", "mask", "");
  FRollUpPictureName = ini.ReadString("PICTURES", "rolluppicture", "");
  FRollUpMaskName = ini.ReadString("PICTURES", "rollupmask", "");
  FActivePicturesNames = ReadNameList(ini, "PICTURES", "activepictures");

  FFormInfo.LoadFromIni(ini, FMaskName);
  FPopupWindow.LoadFromIni(ini);
  FHintWindow.LoadFromIni(ini);
  LoadSkinAreas(ini, FSkinAreas);
  LoadSkinObjects(ini, FSkinObjects);
  LoadSkinControls(ini, FSkinControls);
}

}  // namespace skin
