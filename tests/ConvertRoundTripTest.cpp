// The writers against the readers: every puzzle that a format holds is read
// back from it, and from every other format that holds it, with the same
// clues, colours and picture; what a format cannot hold is refused.
#include "support/PuzzleFiles.h"
#include "writers/PuzzleContents.h"
#include "writers/PuzzleFormats.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <set>

namespace {

using Format = PuzzleFormat;
using Formats = std::set<Format>;

template <typename T>
std::set<T> operator-(std::set<T> all, const std::set<T>& some)
{
    for (const T& item : some)
        all.erase(item);
    return all;
}

const std::map<Format, const char*> kExtensions = {{Format::Native, ".tessa"},
                                                   {Format::Tgp, ".tgp"},
                                                   {Format::Pp, ".pp"},
                                                   {Format::Non, ".non"},
                                                   {Format::WebpbnXml, ".xml"}};
const Formats kAllFormats = {Format::Native, Format::Tgp, Format::Pp, Format::Non, Format::WebpbnXml};
const Formats kColourFormats = {Format::Native, Format::Non, Format::WebpbnXml};

std::unique_ptr<CTessGrid> WrittenAndRead(const CTessGrid& puzzle, Format format)
{
    return LoadText(WritePuzzle(puzzle, format), kExtensions.at(format));
}

Formats FormatsThatHold(const CTessGrid& puzzle)
{
    Formats formats;
    for (const Format format : kAllFormats) {
        if (WhatCannotBeWritten(puzzle, format, 0).empty())
            formats.insert(format);
    }
    return formats;
}

// Where two puzzles first differ in size, clues, picture or, when asked,
// palette; "" when they do not.
std::string FirstDifference(const CTessGrid& a, const CTessGrid& b, bool palette)
{
    if (a.m_width != b.m_width || a.m_height != b.m_height)
        return "size";
    for (const bool rows : {false, true}) {
        const auto& listsA = rows ? a.m_rowClues : a.m_columnClues;
        const auto& listsB = rows ? b.m_rowClues : b.m_columnClues;
        for (int line = 0; line < (rows ? a.m_height : a.m_width); ++line) {
            if (LineClues(listsA, line) != LineClues(listsB, line))
                return "the clues of " + LineName(rows, line);
        }
    }
    if (!std::ranges::equal(a.m_picture->Items(), b.m_picture->Items()))
        return "the picture";
    if (palette && ColoursToWrite(a) != ColoursToWrite(b))
        return "the number of colours";
    for (int i = 0; palette && i < ColoursToWrite(a); ++i) {
        if (RgbOf(a.m_palette[i]) != RgbOf(b.m_palette[i]))
            return "colour " + std::to_string(i);
    }
    return "";
}

// Each format that holds the puzzle gives it back, and so does each such
// format from what the first one gave back. A format without colours shows a
// two-colour puzzle in the user's ink, so the palette is compared where no
// such format was on the way, or everywhere when `palette` says so.
void ExpectRoundTrips(const CTessGrid& puzzle, const Formats& formats, bool palette)
{
    for (const Format first : formats) {
        SCOPED_TRACE(kExtensions.at(first));
        const auto once = WrittenAndRead(puzzle, first);
        ASSERT_EQ(once->m_status, LoadOk) << once->m_refusal;
        EXPECT_EQ(FirstDifference(puzzle, *once, palette || kColourFormats.contains(first)), "");
        for (const Format second : formats) {
            SCOPED_TRACE(std::string("then ") + kExtensions.at(second));
            EXPECT_EQ(WhatCannotBeWritten(*once, second, 0), std::vector<std::string>());
            const auto twice = WrittenAndRead(*once, second);
            ASSERT_EQ(twice->m_status, LoadOk) << twice->m_refusal;
            const bool colours = kColourFormats.contains(first) && kColourFormats.contains(second);
            EXPECT_EQ(FirstDifference(puzzle, *twice, palette || colours), "");
        }
    }
}

using CellRule = std::function<std::uint8_t(int row, int column)>;

// A puzzle of a picture, with the clues that its reader derives from it, in
// `colours` palette entries: two are the white and the ink that a format
// without colours shows.
std::unique_ptr<CTessGrid> PicturePuzzle(int width, int height, int colours, const CellRule& cell)
{
    NativeFile file;
    file.colourCount = static_cast<std::uint8_t>(colours);
    file.palette = {kWhite, kFilledColourDefault};
    for (int i = 2; i < colours; ++i)
        file.palette[i] = MakeColour(static_cast<std::uint8_t>(i * 16), static_cast<std::uint8_t>(255 - i * 9), 40);
    file.width = static_cast<std::uint8_t>(width);
    file.height = static_cast<std::uint8_t>(height);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column)
            file.picture.push_back(cell(row, column));
    }
    return LoadNative(file);
}

// The same puzzle with its clues alone.
std::unique_ptr<CTessGrid> CluesOnly(std::unique_ptr<CTessGrid> puzzle)
{
    DropFromPuzzle(*puzzle, kDropPicture);
    return puzzle;
}

// The puzzle's clues with the crossed flag set on every third one.
std::unique_ptr<CTessGrid> Crossed(std::unique_ptr<CTessGrid> puzzle)
{
    int count = 0;
    for (auto* lists : {&puzzle->m_columnClues, &puzzle->m_rowClues}) {
        for (ClueEntry& clue : (*lists)->Items()) {
            if (clue.value != 0 && count++ % 3 == 0)
                clue.value |= kCrossedFlag;
        }
    }
    return puzzle;
}

// Column clues as a native file may store them, without row clue lists.
std::unique_ptr<CTessGrid> ColumnCluesOnly()
{
    NativeFile file;
    file.palette = {kWhite, kFilledColourDefault};
    file.width = 3;
    file.height = 4;
    file.columnClueMax = 2;
    file.noPicture = 1;
    file.columnClues = {0, 0, 4, 1, 1, 1, 2, 1, 0, 0, 0, 0};
    return LoadNative(file);
}

struct Shape {
    const char* name;
    std::function<std::unique_ptr<CTessGrid>()> make;
    Formats holders;
};

const CellRule kFilled = [](int, int) { return std::uint8_t{1}; };
const CellRule kLinesAndBlock = [](int r, int c) { return std::uint8_t{r == 2 || c == 4 || (r > 4 && c < 6)}; };

const std::vector<Shape> kShapes = {
    {"0 x 0", [] { return PicturePuzzle(0, 0, 2, kFilled); }, kAllFormats},
    {"4 x 0", [] { return PicturePuzzle(4, 0, 2, kFilled); }, kAllFormats},
    {"0 x 3", [] { return PicturePuzzle(0, 3, 2, kFilled); }, kAllFormats},
    {"column clues alone", ColumnCluesOnly, kAllFormats},
    {"1 x 1", [] { return PicturePuzzle(1, 1, 2, kFilled); }, kAllFormats - Formats{Format::Tgp}},
    {"a blank picture", [] { return PicturePuzzle(3, 2, 2, [](int, int) { return std::uint8_t{0}; }); },
     kAllFormats},
    {"1 x 1, clues only", [] { return CluesOnly(PicturePuzzle(1, 1, 2, kFilled)); }, kAllFormats},
    {"empty and full lines", [] { return PicturePuzzle(9, 7, 2, kLinesAndBlock); }, kAllFormats - Formats{Format::Tgp}},
    {"cells marked empty",
     [] { return PicturePuzzle(6, 5, 2, [](int r, int c) { return std::uint8_t(r == c ? 255 : (r + c) % 3 == 0); }); },
     {Format::Native, Format::Pp}},
    {"crossed-out clues",
     [] { return Crossed(CluesOnly(PicturePuzzle(9, 7, 2, kLinesAndBlock))); },
     {Format::Native, Format::Tgp}},
    {"255 x 255, clues of 127 and 128 clues a line",
     [] {
         return CluesOnly(PicturePuzzle(255, 255, 2, [](int r, int c) {
             return std::uint8_t{r < 2 ? (r == 0 ? c < 127 : c % 2 == 0) : (r + c) % 5 == 0};
         }));
     },
     kAllFormats - Formats{Format::Pp}},
    {"255 x 255, full lines whose runs no clue holds",
     [] { return PicturePuzzle(255, 255, 2, kFilled); },
     {Format::Native}},
    {"255 x 255, 15 colours, 255 clues a line",
     [] { return PicturePuzzle(255, 255, 16, [](int r, int c) { return std::uint8_t((r + c) % 15 + 1); }); },
     kColourFormats},
    {"16 colours, touching runs",
     [] {
         return PicturePuzzle(17, 16, 16,
                              [](int r, int c) { return std::uint8_t(c == r ? 0 : (r / 2 + c / 3) % 15 + 1); });
     },
     kColourFormats},
    {"16 colours, clues only",
     [] { return CluesOnly(PicturePuzzle(12, 10, 16, [](int r, int c) { return std::uint8_t((r * c) % 16); })); },
     kColourFormats},
};

TEST(ConvertRoundTrip, GeneratedPuzzlesOfEveryShape)
{
    for (const Shape& shape : kShapes) {
        SCOPED_TRACE(shape.name);
        const std::unique_ptr<CTessGrid> puzzle = shape.make();
        ASSERT_EQ(puzzle->m_status, LoadOk);
        EXPECT_EQ(FormatsThatHold(*puzzle), shape.holders);
        ExpectRoundTrips(*puzzle, shape.holders, true);
    }
}

// Each example in every format that holds it, the first puzzle of a set too.
TEST(ConvertRoundTrip, TheExamples)
{
    for (const auto& entry : std::filesystem::directory_iterator(GRIDLOOK_SOURCE_DIR "/examples")) {
        SCOPED_TRACE(entry.path().filename().string());
        CTessGrid puzzle(entry.path().string());
        if (puzzle.m_status != LoadOk)
            continue;
        DropFromPuzzle(puzzle, kDropOthers);
        const Formats holders = FormatsThatHold(puzzle);
        EXPECT_TRUE(holders.contains(Format::Native));
        ExpectRoundTrips(puzzle, holders, false);
    }
}

// The properties of a puzzle go to the formats with a place for them,
// characters that are markup in either format included.
TEST(ConvertRoundTrip, PropertiesWhereTheFormatHasAPlaceForThem)
{
    const auto xml =
        LoadText("<puzzleset><puzzle><id>#12</id><title>Fish &amp; &lt;chips&gt; \"Ol\xC5\xA1\xC3\xA1k\"</title>"
                 "<author>A. N. Author</author><copyright>&#169; 2024, some rights</copyright>"
                 "<description>Two lines,\nsee?</description><clues type=\"columns\"><line><count>1</count>"
                 "</line></clues><clues type=\"rows\"><line><count>1</count></line></clues></puzzle></puzzleset>",
                 ".xml");
    ASSERT_EQ(xml->m_status, LoadOk) << xml->m_refusal;
    EXPECT_EQ(xml->m_metadata.title, "Fish & <chips> \"Ol\xC5\xA1\xC3\xA1k\"");
    const auto non = WrittenAndRead(*xml, Format::Non);
    PuzzleMetadata expected = xml->m_metadata;
    expected.description.clear();
    EXPECT_EQ(non->m_metadata, expected);
    EXPECT_EQ(WrittenAndRead(*non, Format::WebpbnXml)->m_metadata, expected);
    EXPECT_EQ(WrittenAndRead(*xml, Format::WebpbnXml)->m_metadata, xml->m_metadata);

    // A .non text keeps a property's bytes as they are, also where they are
    // not UTF-8, as in many older files: XML gets U+FFFD in their place.
    const auto latin1 =
        LoadText("title \"Caf\xE9\"\nlicense CC BY 4.0\nwidth 1\nheight 1\nrows\n1\ncolumns\n1\n", ".non");
    ASSERT_EQ(latin1->m_status, LoadOk) << latin1->m_refusal;
    EXPECT_EQ(WrittenAndRead(*latin1, Format::Non)->m_metadata, latin1->m_metadata);
    const auto fromLatin1 = WrittenAndRead(*latin1, Format::WebpbnXml);
    ASSERT_EQ(fromLatin1->m_status, LoadOk) << fromLatin1->m_refusal;
    EXPECT_EQ(fromLatin1->m_metadata.title, "Caf\xEF\xBF\xBD");
}

// What a format cannot hold is refused with the reason, and the --drop item
// that names it leaves it out.
std::string Reasons(const CTessGrid& puzzle, Format format, unsigned drops = 0)
{
    std::string text;
    for (const std::string& reason : WhatCannotBeWritten(puzzle, format, drops))
        text += reason + "\n";
    return text;
}

std::unique_ptr<CTessGrid> Example(const char* name)
{
    return std::make_unique<CTessGrid>(std::string(GRIDLOOK_SOURCE_DIR "/examples/") + name);
}

TEST(ConvertRefusal, EachReasonAndWhatItsDropLeavesOut)
{
    const auto sailboat = Example("sailboat.tessa");
    EXPECT_EQ(Reasons(*sailboat, Format::Tgp),
              "it holds a picture, which a .tgp file cannot hold (--drop picture leaves it out)\n"
              "it is in colour, and a .tgp file has the background and one ink\n");
    EXPECT_EQ(Reasons(*sailboat, Format::Pp, kDropPicture | kDropCrossed | kDropMarks),
              "it is in colour, and a .pp file has the background and one ink\n");

    auto arrow = Example("arrow-clues-only.tessa");
    EXPECT_EQ(Reasons(*arrow, Format::WebpbnXml),
              "it has crossed-out clues (the first in column 5), which webpbn XML cannot hold (--drop crossed "
              "leaves them out)\n");
    EXPECT_EQ(Reasons(*arrow, Format::WebpbnXml, kDropCrossed), "");
    DropFromPuzzle(*arrow, kDropCrossed);
    for (const ClueEntry clue : arrow->m_columnClues->Items())
        EXPECT_EQ(clue.value & kCrossedFlag, 0);

    auto cup = Example("cup.pp");
    EXPECT_EQ(Reasons(*cup, Format::Non),
              "its picture has cells marked empty, which a .non file cannot hold (--drop marks leaves them out)\n");
    DropFromPuzzle(*cup, kDropMarks);
    EXPECT_EQ(std::ranges::count(cup->m_picture->Items(), kMarkedEmpty), 0);
    EXPECT_EQ(Reasons(*cup, Format::Non), "");
}

// A native file keeps any byte; the other formats have a colour for none of
// these clues and cells.
TEST(ConvertRefusal, CluesAndCellsBeyondTheFormat)
{
    NativeFile file;
    file.width = 2;
    file.height = 1;
    file.columnClueMax = 1;
    file.rowClueMax = 1;
    file.columnClues = {100, 1, 1, 0};
    file.rowClues = {0x83, 20};
    file.picture = {1, 30};
    const auto puzzle = LoadNative(file);
    EXPECT_EQ(Reasons(*puzzle, Format::Native), "");
    EXPECT_EQ(Reasons(*puzzle, Format::Pp),
              "a clue in column 2 has colour 0, the background\n"
              "a clue of 100 in column 1, and a clue of a .pp file holds at most 99\n"
              "it has crossed-out clues (the first in row 1), which a .pp file cannot hold (--drop crossed leaves "
              "them out)\n");
    EXPECT_EQ(Reasons(*puzzle, Format::Non, kDropCrossed), "a clue in column 2 has colour 0, the background\n");
    file.columnClues = {100, 1, 1, 1};
    EXPECT_EQ(Reasons(*LoadNative(file), Format::Non, kDropCrossed),
              "a clue in row 1 has colour 20, which has no palette entry\n");
}

// The clue byte plus 48 is the .tgp character: a crossed 80 is the byte 0 that
// ends the text, a crossed 93 and a crossed 90 side by side the CR LF that ends
// the line. The other way round they are read back as they were.
TEST(ConvertRefusal, CrossedCluesThatATgpLineCannotHold)
{
    const auto clues = [](Bytes rowClues) {
        NativeFile file;
        file.width = 0;
        file.height = 1;
        file.rowClueMax = static_cast<std::uint8_t>(rowClues.size() / 2);
        file.noPicture = 1;
        file.rowClues = std::move(rowClues);
        return LoadNative(file);
    };
    EXPECT_EQ(Reasons(*clues({0x80 | 80, 1}), Format::Tgp),
              "a crossed-out clue of 80 in row 1, which a .tgp line cannot hold (--drop crossed leaves them out)\n");
    EXPECT_EQ(Reasons(*clues({0x80 | 93, 1, 0x80 | 90, 1}), Format::Tgp),
              "the crossed-out clues 93 and 90 side by side in row 1, which a .tgp line cannot hold (--drop crossed "
              "leaves them out)\n");
    const auto held = clues({0x80 | 90, 1, 0x80 | 93, 1, 0x80 | 93, 1, 0x80, 1});
    EXPECT_EQ(Reasons(*held, Format::Tgp), "");
    ExpectRoundTrips(*held, {Format::Native, Format::Tgp}, false);
}

TEST(ConvertRefusal, APuzzleSetIsWrittenAsItsFirstPuzzleOnlyWhenToldSo)
{
    const auto set = LoadText("<puzzleset><puzzle><title>one</title><clues type=\"columns\"><line/></clues>"
                              "<clues type=\"rows\"></clues></puzzle><puzzle><title>two</title></puzzle></puzzleset>",
                              ".xml");
    ASSERT_EQ(set->m_status, LoadOk) << set->m_refusal;
    EXPECT_EQ(Reasons(*set, Format::WebpbnXml),
              "the file holds 2 puzzles, and a converted file only the first (--drop others writes it alone)\n");
    EXPECT_EQ(Reasons(*set, Format::WebpbnXml, kDropOthers), "");
}

} // namespace
