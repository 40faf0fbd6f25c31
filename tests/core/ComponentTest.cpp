#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Component.h"
#include "core/Exception.h"

namespace core {
namespace {

// Records destructions and notifications in one shared log.
struct TLog {
  std::vector<std::string> Lines;
};

class TProbe : public TComponent {
 public:
  TProbe(TComponent* owner, TLog* log, std::string label) : TComponent(owner), FLog(log), FLabel(std::move(label)) {}
  ~TProbe() override {
    if (FLog) FLog->Lines.push_back("destroy " + FLabel);
  }
  const std::string& Label() const { return FLabel; }
  int LoadedCalls = 0;
  void Loaded() override {
    ++LoadedCalls;
    TComponent::Loaded();
  }

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    // Only probes are logged; a component being removed is already past its
    // derived part when it is deleted plainly, so dynamic_cast sees no probe.
    auto* probe = dynamic_cast<TProbe*>(component);
    if (FLog && probe)
      FLog->Lines.push_back(FLabel + (operation == opInsert ? " insert " : " remove ") + probe->FLabel);
  }

 private:
  TLog* FLog;
  std::string FLabel;
};

// Refers to another component and clears the pointer when it goes.
class TReferrer : public TComponent {
 public:
  explicit TReferrer(TComponent* owner) : TComponent(owner) {}
  TComponent* Target() const { return FTarget; }
  void SetTarget(TComponent* target) {
    if (FTarget) FTarget->RemoveFreeNotification(this);
    FTarget = target;
    if (FTarget) FTarget->FreeNotification(this);
  }
  int RemoveNotices = 0;

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    if (operation == opRemove && component == FTarget) {
      FTarget = nullptr;
      ++RemoveNotices;
    }
  }

 private:
  TComponent* FTarget = nullptr;
};

TEST(Component, OwnerDestroysItsComponentsLastFirst) {
  TLog log;
  {
    auto form = CreateUnowned<TProbe>(&log, "form");
    Create<TProbe>(*form, &log, "a");
    auto* b = Create<TProbe>(*form, &log, "b");
    Create<TProbe>(*b, &log, "b1");
    Create<TProbe>(*form, &log, "c");
    EXPECT_EQ(form->ComponentCount(), 3);
    EXPECT_EQ(b->Owner(), form.get());
    EXPECT_EQ(b->ComponentIndex(), 1);
    log.Lines.clear();
  }
  // The owner is whole while its components go, so it hears each removal,
  // and hears it before the component's destructor runs.
  std::vector<std::string> expected = {"form remove c", "destroy c",  "b remove b1", "destroy b1", "form remove b",
                                       "destroy b",     "form remove a", "destroy a", "destroy form"};
  EXPECT_EQ(log.Lines, expected);
}

TEST(Component, OwnerHearsOfNewComponentsOnceTheyAreComplete) {
  TLog log;
  auto form = CreateUnowned<TProbe>(&log, "form");
  Create<TProbe>(*form, &log, "button");
  ASSERT_EQ(log.Lines.size(), 1u);
  // The label is read through the derived class: construction had finished.
  EXPECT_EQ(log.Lines[0], "form insert button");
}

TEST(Component, FreeDestroysOneOwnedComponentNow) {
  TLog log;
  auto form = CreateUnowned<TProbe>(&log, "form");
  auto* a = Create<TProbe>(*form, &log, "a");
  auto* b = Create<TProbe>(*form, &log, "b");
  log.Lines.clear();
  a->Free();
  EXPECT_EQ(form->ComponentCount(), 1);
  EXPECT_EQ(form->Components(0), b);
  EXPECT_EQ(log.Lines, (std::vector<std::string>{"form remove a", "destroy a"}));
  EXPECT_THROW(form->Free(), EInvalidOperation);
  EXPECT_THROW(form->Components(1), EListError);
}

TEST(Component, NamesAreIdentifiersUniqueUnderOneOwner) {
  auto form = CreateUnowned<TComponent>();
  auto* first = Create<TComponent>(*form);
  auto* second = Create<TComponent>(*form);
  first->SetName("skSkinData1");
  try {
    second->SetName("SKSKINDATA1");
    FAIL();
  } catch (const EComponentError& error) {
    EXPECT_STREQ(error.what(), "A component named SKSKINDATA1 already exists");
  }
  EXPECT_EQ(second->Name(), "");
  first->SetName("SkSkinData1");  // renaming itself in another case is fine
  EXPECT_EQ(form->FindComponent("sksKINdata1"), first);
  EXPECT_EQ(form->FindComponent(""), nullptr);
  EXPECT_EQ(form->FindComponent("absent"), nullptr);
  try {
    second->SetName("1bad name");
    FAIL();
  } catch (const EComponentError& error) {
    EXPECT_STREQ(error.what(), "'1bad name' is not a valid component name");
  }
  second->SetName("Star");
  second->SetName("");
  EXPECT_EQ(form->FindComponent("Star"), nullptr);
  // Components of different owners may share a name.
  auto other = CreateUnowned<TComponent>();
  Create<TComponent>(*other)->SetName("SkSkinData1");
}

TEST(Component, ReferenceIsClearedWhenTheRefereeDies) {
  auto form = CreateUnowned<TComponent>();
  auto* memo = Create<TReferrer>(*form);
  auto* bar = Create<TComponent>(*form);
  memo->SetTarget(bar);
  bar->Free();
  EXPECT_EQ(memo->Target(), nullptr);
  EXPECT_EQ(memo->RemoveNotices, 1);
}

TEST(Component, ReferencesAcrossOwnersInEitherOrder) {
  // Referee destroyed first.
  {
    auto skin = CreateUnowned<TComponent>();
    auto form = CreateUnowned<TComponent>();
    auto* control = Create<TReferrer>(*form);
    control->SetTarget(skin.get());
    skin.reset();
    EXPECT_EQ(control->Target(), nullptr);
  }
  // Referrer destroyed first: the referee must not keep a dangling entry
  // (the sanitizer run catches a use after free at the referee's end).
  {
    auto skin = CreateUnowned<TReferrer>();
    auto form = CreateUnowned<TReferrer>();
    form->SetTarget(skin.get());
    skin->SetTarget(form.get());
    form.reset();
    EXPECT_EQ(skin->Target(), nullptr) << "the link works both ways";
    skin.reset();
  }
}

TEST(Component, PlainUniquePtrAndStackObjectsStillUnlink) {
  auto referrer = CreateUnowned<TReferrer>();
  {
    auto target = std::make_unique<TComponent>(nullptr);
    referrer->SetTarget(target.get());
  }
  EXPECT_EQ(referrer->Target(), nullptr);
  {
    TComponent target(nullptr);
    referrer->SetTarget(&target);
  }
  EXPECT_EQ(referrer->Target(), nullptr);
}

TEST(Component, RemoveFreeNotificationStopsTheNotices) {
  auto referrer = CreateUnowned<TReferrer>();
  auto first = CreateUnowned<TComponent>();
  auto second = CreateUnowned<TComponent>();
  referrer->SetTarget(first.get());
  referrer->SetTarget(second.get());  // unlinks first
  first.reset();
  EXPECT_EQ(referrer->Target(), second.get());
  EXPECT_EQ(referrer->RemoveNotices, 0);
  second.reset();
  EXPECT_EQ(referrer->RemoveNotices, 1);
}

TEST(Component, OwnerLinkedToItsOwnComponentHearsOnce) {
  auto form = CreateUnowned<TReferrer>();
  auto* bar = Create<TComponent>(*form);
  form->SetTarget(bar);
  form->DestroyComponents();
  EXPECT_EQ(form->Target(), nullptr);
  EXPECT_EQ(form->RemoveNotices, 1);
  EXPECT_EQ(form->ComponentCount(), 0);
}

// A component whose removal notice destroys another linked component.
class TCascade : public TComponent {
 public:
  explicit TCascade(TComponent* owner) : TComponent(owner) {}
  TComponent* ToFree = nullptr;

 protected:
  void Notification(TComponent*, TOperation operation) override {
    if (operation == opRemove && ToFree) {
      TComponent* victim = ToFree;
      ToFree = nullptr;
      victim->Free();
    }
  }
};

TEST(Component, NotificationThatDestroysAnotherLinkedComponentIsSafe) {
  auto form = CreateUnowned<TComponent>();
  auto referee = CreateUnowned<TComponent>();
  auto* cascade = Create<TCascade>(*form);
  auto* victim = Create<TReferrer>(*form);
  referee->FreeNotification(victim);
  referee->FreeNotification(cascade);
  cascade->ToFree = victim;
  referee.reset();  // notices: cascade frees victim, which was still on the list
  EXPECT_EQ(form->ComponentCount(), 1);
}

TEST(Component, StateFlagsAndLoaded) {
  auto form = CreateUnowned<TProbe>(nullptr, "form");
  auto* child = Create<TProbe>(*form, nullptr, "child");
  form->IncludeComponentState(csLoading);
  child->IncludeComponentState(csLoading);
  EXPECT_TRUE(child->ComponentState().Contains(csLoading));
  EXPECT_EQ(child->LoadedCalls, 0) << "nothing calls Loaded on its own";
  child->Loaded();
  EXPECT_EQ(child->LoadedCalls, 1);
  EXPECT_FALSE(child->ComponentState().Contains(csLoading));
  EXPECT_TRUE(form->ComponentState().Contains(csLoading)) << "Loaded is per component";

  form->SetDesigning(true);
  EXPECT_TRUE(child->ComponentState().Contains(csDesigning));
  form->SetDesigning(false);
  EXPECT_TRUE(child->ComponentState().IsEmpty());

  child->IncludeComponentState(csDestroying);
  EXPECT_FALSE(child->ComponentState().Contains(csDestroying)) << "only destruction sets it";
  child->SetTag(7);
  EXPECT_EQ(child->Tag(), 7);
}

// Sees its own state while its owner destroys it.
class TStateWitness : public TComponent {
 public:
  TStateWitness(TComponent* owner, bool* destroyingSeen) : TComponent(owner), FSeen(destroyingSeen) {}
  ~TStateWitness() override { *FSeen = ComponentState().Contains(csDestroying); }

 private:
  bool* FSeen;
};

TEST(Component, DestroyingIsSetBeforeTheComponentsGo) {
  bool seen = false;
  {
    auto form = CreateUnowned<TComponent>();
    Create<TStateWitness>(*form, &seen);
  }
  EXPECT_TRUE(seen);
}

TEST(Component, InsertAndRemoveMoveOwnership) {
  TLog log;
  auto form = CreateUnowned<TProbe>(&log, "form");
  auto loose = CreateUnowned<TProbe>(&log, "loose");
  TProbe* raw = loose.get();
  form->InsertComponent(std::move(loose));
  EXPECT_EQ(raw->Owner(), form.get());
  EXPECT_EQ(form->ComponentCount(), 1);

  auto taken = form->RemoveComponent(raw);
  EXPECT_EQ(raw->Owner(), nullptr);
  EXPECT_EQ(form->ComponentCount(), 0);
  EXPECT_EQ(log.Lines, (std::vector<std::string>{"form insert loose", "form remove loose"}));
  EXPECT_THROW(form->RemoveComponent(raw), EListError);

  // A clashing name leaves the component with the caller.
  auto* named = Create<TComponent>(*form);
  named->SetName("Same");
  taken->SetName("same");
  EXPECT_THROW(form->InsertComponent(std::move(taken)), EComponentError);
  ASSERT_NE(taken, nullptr);
  EXPECT_EQ(taken->Owner(), nullptr);
}

TEST(Component, ConstructorThatThrowsLeavesTheOwnerConsistent) {
  struct TFailing : TComponent {
    explicit TFailing(TComponent* owner) : TComponent(owner) { throw EConvertError("no"); }
  };
  auto form = CreateUnowned<TComponent>();
  EXPECT_THROW(Create<TFailing>(*form), EConvertError);
  EXPECT_EQ(form->ComponentCount(), 0);
}

}  // namespace
}  // namespace core
