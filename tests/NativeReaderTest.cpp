#include "support/PuzzleFiles.h"

#include <gtest/gtest.h>

namespace {

NativeFile TwoByTwo()
{
    NativeFile file;
    file.width = 2;
    file.height = 2;
    file.picture = PictureBytes({"1.", "11"});
    return file;
}

Bytes WithoutLastByte(Bytes bytes)
{
    bytes.pop_back();
    return bytes;
}

TEST(NativeReader, EmptyPuzzleFromBareHeader)
{
    const auto puzzle = LoadNative(NativeFile{});
    ASSERT_EQ(puzzle->m_status, LoadOk);
    EXPECT_EQ(puzzle->m_width, 0);
    EXPECT_FALSE(puzzle->m_columnClues);
    EXPECT_FALSE(puzzle->m_rowClues);
    EXPECT_EQ(puzzle->m_picture->LineCount(), 0);
}

TEST(NativeReader, KeepsHeaderAndPaletteAsStored)
{
    NativeFile file = TwoByTwo();
    file.colourCount = 3;
    file.palette[2] = 0x12345678;
    const auto puzzle = LoadNative(file);
    ASSERT_EQ(puzzle->m_status, LoadOk);
    EXPECT_EQ(std::string(puzzle->m_signature, 5), "TESSA");
    EXPECT_EQ(puzzle->m_colourCount, 3);
    EXPECT_EQ(puzzle->m_palette[2], 0x12345678u);
    EXPECT_EQ(puzzle->m_noPicture, 0);
}

TEST(NativeReader, RefusesWrongSignatureOrColourCount)
{
    NativeFile lowerCase = TwoByTwo();
    lowerCase.signature = "tessa";
    EXPECT_EQ(LoadNative(lowerCase)->m_status, LoadRejected);
    for (std::uint8_t count : {0, 1, 17, 255}) {
        NativeFile file = TwoByTwo();
        file.colourCount = count;
        EXPECT_EQ(LoadNative(file)->m_status, LoadRejected) << int{count};
    }
    for (std::uint8_t count : {2, 16}) {
        NativeFile file = TwoByTwo();
        file.colourCount = count;
        EXPECT_EQ(LoadNative(file)->m_status, LoadOk) << int{count};
    }
}

// A file cut short that starts with the signature is a native file that could
// not be read whole; any other file too short for the header is no native
// file, and is refused when no public format takes it either.
TEST(NativeReader, ShortFilesAreFileErrorsOnlyWithTheSignature)
{
    EXPECT_EQ(LoadBytes(WithoutLastByte(NativeFile{}.ToBytes()), ".dat")->m_status, LoadFileError);
    EXPECT_EQ(LoadBytes(Bytes{'T', 'E', 'S', 'S', 'A'}, ".dat")->m_status, LoadFileError);
    EXPECT_EQ(LoadBytes(Bytes(10, 'T'), ".dat")->m_status, LoadRejected);
    EXPECT_EQ(LoadBytes(Bytes(74, 0), ".dat")->m_status, LoadRejected);
    EXPECT_EQ(LoadBytes(Bytes(75, 0), ".dat")->m_status, LoadRejected);
}

TEST(NativeReader, FileEndingInsideTheBodyIsAFileError)
{
    EXPECT_EQ(LoadBytes(WithoutLastByte(TwoByTwo().ToBytes()), ".tgn")->m_status, LoadFileError);

    NativeFile clues = TwoByTwo();
    clues.noPicture = 1;
    clues.picture.clear();
    clues.columnClueMax = 1;
    clues.columnClues = {1, 1, 2, 1};
    clues.rowClueMax = 1;
    clues.rowClues = {1, 1, 2, 1};
    EXPECT_EQ(LoadNative(clues)->m_status, LoadOk);
    EXPECT_EQ(LoadBytes(WithoutLastByte(clues.ToBytes()), ".tgn")->m_status, LoadFileError);
    clues.rowClues.clear();
    EXPECT_EQ(LoadNative(clues)->m_status, LoadFileError);
}

TEST(NativeReader, IgnoresBytesAfterItsContents)
{
    Bytes bytes = TwoByTwo().ToBytes();
    bytes.insert(bytes.end(), 100, 7);
    const auto puzzle = LoadBytes(bytes, ".tgn");
    ASSERT_EQ(puzzle->m_status, LoadOk);
    EXPECT_EQ(LineOf(*puzzle->m_picture, 1), (Bytes{1, 1}));
}

TEST(NativeReader, NoPictureFlagGivesEmptyGridWithStoredClues)
{
    NativeFile file;
    file.width = 2;
    file.height = 1;
    file.noPicture = 5;
    file.columnClueMax = 1;
    file.columnClues = {1, 1, 0x83, 2};
    file.rowClueMax = 2;
    file.rowClues = {2, 1, 0, 0};
    const auto puzzle = LoadNative(file);
    ASSERT_EQ(puzzle->m_status, LoadOk);
    EXPECT_EQ(puzzle->m_noPicture, 5);
    EXPECT_EQ(LineOf(*puzzle->m_picture, 0), (Bytes{0, 0}));
    EXPECT_EQ(LineOf(*puzzle->m_columnClues, 1), Clues({{0x83, 2}}));
    // Stored lists are justified after the load.
    EXPECT_EQ(LineOf(*puzzle->m_rowClues, 0), Clues({{0, 0}, {2, 1}}));
}

TEST(NativeReader, NoPictureFlagWithoutCluesIsABlankPuzzle)
{
    NativeFile file;
    file.width = 3;
    file.height = 2;
    file.noPicture = 1;
    const auto puzzle = LoadNative(file);
    ASSERT_EQ(puzzle->m_status, LoadOk);
    EXPECT_FALSE(puzzle->m_columnClues);
    EXPECT_FALSE(puzzle->m_rowClues);
    EXPECT_EQ(LineOf(*puzzle->m_picture, 1), (Bytes{0, 0, 0}));
}

TEST(NativeReader, DerivesCluesOnlyWhenNoDirectionIsStored)
{
    const auto derived = LoadNative(TwoByTwo());
    EXPECT_EQ(LineOf(*derived->m_columnClues, 0), Clues({{2, 1}}));
    EXPECT_EQ(LineOf(*derived->m_rowClues, 1), Clues({{2, 1}}));

    NativeFile columnsOnly = TwoByTwo();
    columnsOnly.columnClueMax = 1;
    columnsOnly.columnClues = {9, 1, 8, 1};
    const auto stored = LoadNative(columnsOnly);
    ASSERT_EQ(stored->m_status, LoadOk);
    EXPECT_EQ(LineOf(*stored->m_columnClues, 0), Clues({{9, 1}}));
    EXPECT_EQ(stored->m_rowClueMax, 0);
    EXPECT_FALSE(stored->m_rowClues);
}

TEST(NativeReader, ClueListsWithoutLinesArePresentButEmpty)
{
    NativeFile file;
    file.columnClueMax = 3;
    const auto puzzle = LoadNative(file);
    ASSERT_EQ(puzzle->m_status, LoadOk);
    ASSERT_TRUE(puzzle->m_columnClues);
    EXPECT_EQ(puzzle->m_columnClues->LineCount(), 0);
}

} // namespace
