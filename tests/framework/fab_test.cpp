#include "framework/fab.h"

#include <gtest/gtest.h>
#include "tests/message_of.h"

namespace {

struct Shape {
    virtual ~Shape() = default;
    virtual std::wstring Name() const = 0;
};
struct Circle : Shape {
    std::wstring Name() const override { return L"circle"; }
};
struct Square : Shape {
    std::wstring Name() const override { return L"square"; }
};


}  // namespace

TEST(Fab, SlotRules) {
    ZEKT_Fab<Shape> fab;
    EXPECT_THROW(fab.Create(), ZEKT_Exception_Bug);
    EXPECT_EQ(Message_Of([&] { fab.Create(); }), L"Attemp to use empty ZEKT_Fab");
    fab.Set<Circle>();
    EXPECT_EQ(Message_Of([&] { fab.Set<Square>(); }), L"Attemp to set full ZEKT_Fab");
    std::unique_ptr<Shape> shape(fab.Create());
    EXPECT_EQ(shape->Name(), L"circle");
}

TEST(Fab, CopiesAreIndependent) {
    ZEKT_Fab_Entry<Shape> original{L"c", {}};
    original.fab.Set<Circle>();
    auto first = std::make_unique<ZEKT_Fab_Entry<Shape>>(original);
    ZEKT_Fab_Entry<Shape> second = *first;
    first.reset();
    std::unique_ptr<Shape> shape(second.fab.Create());
    EXPECT_EQ(shape->Name(), L"circle");
    ZEKT_Fab<Shape> empty;
    ZEKT_Fab<Shape> empty_copy = empty;
    EXPECT_THROW(empty_copy.Create(), ZEKT_Exception_Bug);
}

TEST(Fab_Registry, FirstOfTwoEqualNamesWins) {
    ZEKT_Fab_Registry<Shape> registry;
    registry.Add<Square>(L"shape");
    registry.Add<Circle>(L"shape");
    registry.Add<Circle>(L"Circle");
    ZEKT_Holder<Shape> holder;
    ASSERT_TRUE(registry.Create(L"shape", holder));
    EXPECT_EQ(holder->Name(), L"square");
    EXPECT_EQ(registry.Find(L"circle"), nullptr);  // exact, case-sensitive
}

TEST(Fab_Registry, CreatingIntoAFullHolderKeepsTheOldObject) {
    ZEKT_Fab_Registry<Shape> registry;
    registry.Add<Circle>(L"c");
    ZEKT_Holder<Shape> holder(new Square);
    EXPECT_EQ(Message_Of([&] { registry.Create(L"c", holder); }), L"Attempt to fill full holder");
    EXPECT_EQ(holder->Name(), L"square");
    EXPECT_FALSE(registry.Create(L"unknown", holder));
}

TEST(Holder_And_Box, GuardedUse) {
    ZEKT_Holder<Shape> holder;
    EXPECT_EQ(Message_Of([&] { holder.Get(); }), L"Attempt to use empty holder");
    holder.Fill(new Circle);
    EXPECT_EQ(Message_Of([&] { holder.Fill(new Square); }), L"Attempt to fill full holder");
    holder.Clear();
    holder.Fill(new Square);
    EXPECT_EQ(holder->Name(), L"square");

    ZEKT_Box<int> box;
    EXPECT_EQ(Message_Of([&] { box.Get(); }), L"Attempt to use empty ZEKT_Box<T>");
    box.Set(5);
    EXPECT_EQ(box.Get(), 5);
}
