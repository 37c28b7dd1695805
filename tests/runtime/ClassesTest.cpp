// The component tree: who frees whom, and in which order.
#include "runtime/Classes.h"
#include "runtime/SysUtils.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Writes its name into `freed` when it goes.
class Recorded : public TComponent {
public:
    Recorded(TComponent* owner, std::string name, std::vector<std::string>& freed)
        : TComponent(owner), FName(std::move(name)), FFreed(freed)
    {
    }
    ~Recorded() override { FFreed.push_back(FName); }

private:
    std::string FName;
    std::vector<std::string>& FFreed;
};

TEST(Component, AnOwnerFreesWhatItOwnsTheNewestFirst)
{
    std::vector<std::string> freed;
    {
        Recorded window(nullptr, "window", freed);
        auto* driver = new Recorded(&window, "driver", freed);
        auto* chart = new Recorded(&window, "chart", freed);
        new Recorded(chart, "series", freed);
        new Recorded(&window, "timer", freed);
        EXPECT_EQ(driver->Owner(), &window);
        ASSERT_EQ(window.ComponentCount(), 3);
        EXPECT_EQ(window.Components(0), driver);
        EXPECT_EQ(window.Components(1), chart);
        EXPECT_THROW(window.Components(3), EListError);
        EXPECT_THROW(window.Components(-1), EListError);
    }
    // Each destructor body runs before its base frees what it owns.
    const std::vector<std::string> expected{"window", "timer", "chart", "series", "driver"};
    EXPECT_EQ(freed, expected);
}

TEST(Component, OneFreedEarlyLeavesItsOwner)
{
    std::vector<std::string> freed;
    Recorded window(nullptr, "window", freed);
    auto* first = new Recorded(&window, "first", freed);
    auto* second = new Recorded(&window, "second", freed);
    delete first;
    ASSERT_EQ(window.ComponentCount(), 1);
    EXPECT_EQ(window.Components(0), second);
    EXPECT_EQ(freed, std::vector<std::string>{"first"});
}

TEST(Component, InsertingMovesItFromItsOldOwner)
{
    TComponent a(nullptr);
    TComponent b(nullptr);
    auto* moved = new TComponent(&a);
    b.InsertComponent(moved);
    b.InsertComponent(moved);
    EXPECT_EQ(moved->Owner(), &b);
    EXPECT_EQ(a.ComponentCount(), 0);
    EXPECT_EQ(b.ComponentCount(), 1) << "inserting twice listed it twice";

    TComponent stranger(nullptr);
    stranger.RemoveComponent(moved);
    EXPECT_EQ(moved->Owner(), &b) << "only the owner can let it go";
    b.RemoveComponent(moved);
    EXPECT_EQ(moved->Owner(), nullptr);
    delete moved;
    EXPECT_EQ(b.ComponentCount(), 0);
}

// A component that, when freed, frees another of its owner's: a window
// taking the controls on it along.
class Container : public TComponent {
public:
    Container(TComponent* owner, TComponent* inside) : TComponent(owner), FInside(inside) {}
    ~Container() override { delete FInside; }

private:
    TComponent* FInside;
};

TEST(Component, FreeingOneThatFreesItsSiblingsIsSafe)
{
    std::vector<std::string> freed;
    {
        TComponent window(nullptr);
        auto* control = new Recorded(&window, "control", freed);
        new Container(&window, control);
        new Recorded(&window, "last", freed);
    }
    // Newest first: "last", then the container, which takes the control
    // along; the window must not free the control a second time.
    const std::vector<std::string> expected{"last", "control"};
    EXPECT_EQ(freed, expected);
}

}  // namespace
