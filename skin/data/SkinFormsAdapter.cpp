#include "skin/data/SkinFormsAdapter.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "ui/classlib/Forms.h"
#include "ui/windowing/MessageLoop.h"

namespace skin {

namespace {

// One form as a receiver of skin messages. It notices when its form goes
// away, so a broadcast that is still walking its list skips it.
class FormTarget final : public SkinMessageTarget {
 public:
  explicit FormTarget(ui::TCustomForm* form) : FForm(form), FGuard(form) {}

  ui::TCustomForm* Form() const { return FGuard.Alive() ? FForm : nullptr; }

  std::intptr_t SendSkinMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;

 private:
  ui::TCustomForm* FForm;
  ui::TControlGuard FGuard;
};

class ApplicationFormList final : public SkinFormList {
 public:
  std::vector<SkinMessageTarget*> SkinMessageTargets(const core::TComponent* owner) override {
    std::vector<SkinMessageTarget*> targets;
    if (!ui::Screen) return targets;
    Prune();
    for (ui::TCustomForm* form : ui::Screen->FormsOwnerFirst(owner)) targets.push_back(&TargetOf(form));
    return targets;
  }

  bool HasSkinMessageTarget(const SkinMessageTarget* target) override {
    auto found = std::find_if(FTargets.begin(), FTargets.end(),
                              [&](const std::unique_ptr<FormTarget>& t) { return t.get() == target; });
    if (found == FTargets.end()) return false;
    ui::TCustomForm* form = (*found)->Form();
    return form && ui::Screen && ui::Screen->HasForm(form);
  }

  // Sends in progress. A broadcast started inside a send (a receiver that
  // loads another skin) must not free targets the outer one still holds.
  int SendDepth = 0;

 private:
  FormTarget& TargetOf(ui::TCustomForm* form) {
    for (const auto& target : FTargets) {
      if (target->Form() == form) return *target;
    }
    FTargets.push_back(std::make_unique<FormTarget>(form));
    return *FTargets.back();
  }

  // Drops the targets of destroyed forms while no broadcast can hold them.
  void Prune() {
    if (SendDepth > 0) return;
    std::erase_if(FTargets, [](const std::unique_ptr<FormTarget>& t) { return t->Form() == nullptr; });
  }

  std::vector<std::unique_ptr<FormTarget>> FTargets;
};

ApplicationFormList& TheList() {
  static ApplicationFormList list;
  return list;
}

std::intptr_t FormTarget::SendSkinMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  ui::TCustomForm* form = Form();
  if (!form) return 0;
  // Handle() makes the window when the form has none yet: every form
  // hears of the change, shown or not.
  ui::HWND window = form->Handle();
  if (!window) return 0;
  struct Depth {
    explicit Depth(int& d) : D(d) { ++D; }
    ~Depth() { --D; }
    int& D;
  } depth(TheList().SendDepth);
  return ui::SendMessage(window, ui::UINT(message), ui::WPARAM(wParam), ui::LPARAM(lParam));
}

}  // namespace

SkinFormList& ApplicationSkinFormList() { return TheList(); }

bool UseApplicationSkinFormList() {
  SkinFormList* installed = GetSkinFormList();
  if (!installed && ui::Application) {
    SetSkinFormList(&TheList());
    return true;
  }
  return installed == &TheList();
}

}  // namespace skin
