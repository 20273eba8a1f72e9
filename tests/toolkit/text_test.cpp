#include "toolkit/text.h"

#include <gtest/gtest.h>

TEST(CharacterLength, LeadByteTakesTwoBytes) {
    const Text text = "a图";
    EXPECT_EQ(CharacterLength(text, 0), 1u);
    EXPECT_EQ(CharacterLength(text, 1), 2u);
}
