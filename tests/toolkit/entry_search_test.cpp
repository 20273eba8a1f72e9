#include "toolkit/entry_search.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/temp_dir.h"

namespace {

// Every name the search returns, in its order, with the attributes it reported.
std::vector<std::pair<Text, DWORD>> Drain(EntrySearch& search, const Text& path, EntrySearch::Kind kind) {
    std::vector<std::pair<Text, DWORD>> entries;
    for (Text name = search.First(path, kind); !name.empty(); name = search.Next())
        entries.emplace_back(name, search.Attributes());
    return entries;
}

std::vector<Text> SortedNames(const std::vector<std::pair<Text, DWORD>>& entries) {
    std::vector<Text> names;
    for (const auto& entry : entries) names.push_back(entry.first);
    std::sort(names.begin(), names.end());
    return names;
}

class EntrySearchTest : public testing::Test {
protected:
    void SetUp() override {
        temp_.MakeFile("a.txt", "1");
        temp_.MakeFile("图片.jpg", "2");
        temp_.MakeDirectory("sub.d");
        temp_.MakeDirectory("hidden");
        SetFileAttributesA((temp_ / "hidden").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    }
    TempDir temp_;
    EntrySearch search_;
};

TEST_F(EntrySearchTest, FileSearchReturnsOnlyFiles) {
    const auto entries = Drain(search_, temp_ / "*.*", EntrySearch::Kind::Files);
    EXPECT_EQ(SortedNames(entries), (std::vector<Text>{"a.txt", "图片.jpg"}));
    for (const auto& [name, attributes] : entries) EXPECT_FALSE(attributes & FILE_ATTRIBUTE_DIRECTORY) << name;
}

TEST_F(EntrySearchTest, DirectorySearchReturnsEveryDirectoryWithTheDots) {
    const auto entries = Drain(search_, temp_ / "*.*", EntrySearch::Kind::Directories);
    EXPECT_EQ(SortedNames(entries), (std::vector<Text>{".", "..", "hidden", "sub.d"}));
    for (const auto& [name, attributes] : entries) EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY) << name;
}

TEST_F(EntrySearchTest, EndsWithAnEmptyNameAndStaysEnded) {
    EXPECT_EQ(search_.First(temp_ / "a.txt", EntrySearch::Kind::Files), "a.txt");
    EXPECT_EQ(search_.Next(), "");
    EXPECT_EQ(search_.Next(), "");
}

TEST_F(EntrySearchTest, PathThatMatchesNothingGivesAnEmptyName) {
    EXPECT_EQ(search_.First(temp_ / "*.png", EntrySearch::Kind::Files), "");
    EXPECT_EQ(search_.First(temp_ / "missing\\*.*", EntrySearch::Kind::Files), "");
    EXPECT_EQ(search_.First("", EntrySearch::Kind::Files), "");
    EXPECT_EQ(search_.Next(), "");
}

TEST_F(EntrySearchTest, FirstStartsOverWhileASearchIsOpen) {
    EXPECT_FALSE(search_.First(temp_ / "*.*", EntrySearch::Kind::Directories).empty());
    EXPECT_EQ(SortedNames(Drain(search_, temp_ / "*.*", EntrySearch::Kind::Files)),
              (std::vector<Text>{"a.txt", "图片.jpg"}));
}

}  // namespace
