#include "platform/runtime/OwnedHandles.h"

#include <gtest/gtest.h>

#include <type_traits>

using namespace forms;

namespace {

int& Released() {
    static int count = 0;
    return count;
}
void CountRelease(int*) noexcept { ++Released(); }
using Counted = UniqueHandle<int*, &CountRelease>;

TEST(Handles, AnOwnedHandleIsReleasedOnceWhateverMovesItThrough) {
    static_assert(!std::is_copy_constructible_v<Counted> && !std::is_copy_assignable_v<Counted>);
    int a = 0, b = 0;
    Released() = 0;
    {
        Counted first(&a);
        Counted second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(second.get(), &a);
        Counted third(&b);
        third = std::move(second);  // b goes now
        EXPECT_EQ(Released(), 1);
        EXPECT_EQ(third.get(), &a);
        int* kept = third.release();
        EXPECT_EQ(kept, &a);
        third.reset(&b);
    }
    EXPECT_EQ(Released(), 2) << "b when replaced, then b again at the end; a was released by hand";
}

TEST(Handles, ScopedSelectPutsThePreviousObjectBack) {
    ScopedGetDC screen(nullptr);
    UniqueDC dc(CreateCompatibleDC(screen.get()));
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), 4, 4));
    const HGDIOBJ before = GetCurrentObject(dc.get(), OBJ_BITMAP);
    {
        ScopedSelect select(dc.get(), bitmap.get());
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), bitmap.get());
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), before);
    ScopedSelect none(dc.get(), nullptr);  // selecting nothing restores nothing
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), before);
}

// Wine deletes a selected bitmap once its DC goes, so only Windows would show a missing deselection.
TEST(Handles, ABitmapInItsOwnDCIsSelectedThereAndBothGoOnce) {
    ScopedGetDC screen(nullptr);
    const auto make = [&] {
        return BitmapDC(UniqueDC(CreateCompatibleDC(screen.get())),
                        UniqueBitmap(CreateCompatibleBitmap(screen.get(), 4, 4)));
    };
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    {
        BitmapDC first = make();
        ASSERT_TRUE(first);
        dc = first.dc();
        bitmap = first.bitmap();
        EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), bitmap);
        BitmapDC second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(second.dc(), dc);
        BitmapDC third = make();
        const HDC replacedDc = third.dc();
        const HBITMAP replacedBitmap = third.bitmap();
        third = std::move(second);
        EXPECT_EQ(GetObjectType(replacedBitmap), 0u) << "the replaced surface's bitmap is deleted";
        EXPECT_EQ(GetObjectType(replacedDc), 0u);
        EXPECT_EQ(GetObjectType(bitmap), static_cast<DWORD>(OBJ_BITMAP)) << "the moved one lives on";
    }
    EXPECT_EQ(GetObjectType(bitmap), 0u);
    EXPECT_EQ(GetObjectType(dc), 0u);

    const BitmapDC noBitmap(UniqueDC(CreateCompatibleDC(screen.get())), UniqueBitmap());
    EXPECT_FALSE(noBitmap);
    EXPECT_EQ(noBitmap.dc(), nullptr);
}

}  // namespace
