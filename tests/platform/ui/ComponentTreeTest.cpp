// The component tree: ownership, creation order, destruction, names, loading.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/ui/Component.h"
#include "platform/ui/Timer.h"
#include "tests/platform/ui/UiTestSupport.h"

namespace {

// Logs its construction, Loaded and destruction into a shared list.
class TTracer : public TComponent {
 public:
  TTracer(TComponent* owner, std::string name, std::vector<std::string>* log)
      : TComponent(owner), log_(log), name_(std::move(name)) {
    loadingAtBirth = ComponentState().Contains(csLoading);
  }
  ~TTracer() override {
    Destroying();
    if (log_ != nullptr) log_->push_back("destroy " + name_);
  }
  bool loadingAtBirth = false;

 protected:
  void Loaded() override {
    if (log_ != nullptr) log_->push_back("loaded " + name_);
  }

 private:
  std::vector<std::string>* log_;
  std::string name_;
};

using vark::test::UiTest;
using ComponentTree = UiTest;

TEST_F(ComponentTree, OwnerListsKeepCreationOrderAndFreeLastMadeFirst) {
  std::vector<std::string> log;
  {
    TTracer root(nullptr, "root", &log);
    auto& a = root.Make<TTracer>("a", &log);
    auto& b = root.Make<TTracer>("b", &log);
    auto& c = a.Make<TTracer>("c", &log);
    ASSERT_EQ(root.ComponentCount(), 2);
    EXPECT_EQ(root.Components(0), &a);
    EXPECT_EQ(root.Components(1), &b);
    EXPECT_EQ(b.ComponentIndex(), 1);
    EXPECT_EQ(c.Owner(), &a);
  }
  // Each destructor's own body runs before the components it owns go.
  EXPECT_EQ(log, (std::vector<std::string>{"destroy root", "destroy b", "destroy a", "destroy c"}));
}

TEST_F(ComponentTree, FreeRemovesFromOwnerAndClearsWeakReferences) {
  std::vector<std::string> log;
  TTracer root(nullptr, "root", &log);
  auto& a = root.Make<TTracer>("a", &log);
  auto& b = root.Make<TTracer>("b", &log);
  TWeakRef<TTracer> ref(&a);
  ASSERT_TRUE(ref);
  a.Free();
  EXPECT_FALSE(ref);
  EXPECT_EQ(ref.get(), nullptr);
  ASSERT_EQ(root.ComponentCount(), 1);
  EXPECT_EQ(root.Components(0), &b);
  EXPECT_EQ(log.back(), "destroy a");
}

TEST_F(ComponentTree, ComponentHeldElsewhereLosesItsOwnerButSurvives) {
  std::vector<std::string> log;
  std::unique_ptr<TTracer> held;
  {
    TTracer root(nullptr, "root", &log);
    held = std::make_unique<TTracer>(&root, "held", &log);
    EXPECT_EQ(root.ComponentCount(), 1);
    EXPECT_THROW(held->Free(), EInvalidOperation);  // not the owner's to free
  }
  ASSERT_TRUE(held);
  EXPECT_EQ(held->Owner(), nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"destroy root"}));
}

TEST_F(ComponentTree, FreeLaterWaitsForTheLoop) {
  std::vector<std::string> log;
  TTracer root(nullptr, "root", &log);
  auto& a = root.Make<TTracer>("a", &log);
  TWeakRef<TTracer> ref(&a);
  a.FreeLater();
  a.FreeLater();  // twice is once
  EXPECT_TRUE(ref);
  Application->ProcessMessages();
  EXPECT_FALSE(ref);
  EXPECT_EQ(std::count(log.begin(), log.end(), "destroy a"), 1);
}

TEST_F(ComponentTree, NamesAreUniqueAmongAnOwnersComponentsIgnoringCase) {
  TTracer root(nullptr, "root", nullptr);
  auto& a = root.Make<TTracer>("a", nullptr);
  auto& b = root.Make<TTracer>("b", nullptr);
  a.SetName("Button1");
  EXPECT_THROW(b.SetName("BUTTON1"), EInvalidOperation);
  b.SetName("Button2");
  EXPECT_EQ(root.FindComponent("button2"), &b);
  EXPECT_EQ(root.FindComponent("Missing"), nullptr);
  a.SetName("Button1");  // its own name again is fine
}

TEST_F(ComponentTree, LoadingMarksNewComponentsAndEndsChildrenFirst) {
  std::vector<std::string> log;
  TTracer root(nullptr, "root", &log);
  root.BeginLoading();
  auto& a = root.Make<TTracer>("a", &log);
  auto& inner = a.Make<TTracer>("inner", &log);
  EXPECT_TRUE(a.loadingAtBirth);
  EXPECT_TRUE(inner.loadingAtBirth);
  EXPECT_TRUE(root.ComponentState().Contains(csLoading));
  root.EndLoading();
  EXPECT_FALSE(root.ComponentState().Contains(csLoading));
  EXPECT_FALSE(a.ComponentState().Contains(csLoading));
  EXPECT_FALSE(inner.ComponentState().Contains(csLoading));
  EXPECT_EQ(log, (std::vector<std::string>{"loaded inner", "loaded a", "loaded root"}));
  auto& late = root.Make<TTracer>("late", &log);
  EXPECT_FALSE(late.loadingAtBirth);
}

TEST_F(ComponentTree, DestroyingIsVisibleToOwnedComponentsWhileTheyGo) {
  struct TWatcher : TComponent {
    TWatcher(TComponent* owner, bool* sawDestroying) : TComponent(owner), saw(sawDestroying) {}
    ~TWatcher() override { *saw = ComponentState().Contains(csDestroying); }
    bool* saw;
  };
  bool saw = false;
  {
    TTracer root(nullptr, "root", nullptr);
    root.Make<TWatcher>(&saw);
  }
  EXPECT_TRUE(saw);
}

}  // namespace
