// The painted picture, pixel by pixel, on the software raster.
#include "platform/posix/RasterPicture.h"
#include "render/DrawingSurface.h"
#include "render/Numbers.h"
#include "support/Pixels.h"
#include "support/PuzzleFiles.h"
#include "support/RecordingSurface.h"

#include <gtest/gtest.h>

namespace {

constexpr Colour kRed = MakeColour(200, 0, 0);     // dark
constexpr Colour kYellow = MakeColour(250, 220, 0); // light

// A puzzle of 10 x 10 cells with three clue slots per row and two per column,
// all filled, so that justification leaves every entry where it is.
struct ExamplePuzzle {
    NativeFile file;
    SettingsOverlay overlay;

    ExamplePuzzle()
    {
        file.colourCount = 4;
        file.palette = {kWhite, kBlack, kRed, kYellow};
        file.width = 10;
        file.height = 10;
        file.rowClueMax = 3;
        file.columnClueMax = 2;
        for (int i = 0; i < 10 * 2; ++i)
            file.columnClues.insert(file.columnClues.end(), {1, 1});
        for (int i = 0; i < 10 * 3; ++i)
            file.rowClues.insert(file.rowClues.end(), {1, 1});
        file.picture.assign(100, 0);
        overlay.cellSize = 12;
    }

    void SetColumnClue(int column, int slot, std::uint8_t value, std::uint8_t colour)
    {
        file.columnClues[2 * (column * 2 + slot)] = value;
        file.columnClues[2 * (column * 2 + slot) + 1] = colour;
    }

    std::unique_ptr<CTessGrid> Load() const { return LoadNative(file, overlay); }

    RasterBitmap Paint() const
    {
        auto puzzle = Load();
        EXPECT_EQ(puzzle->m_status, LoadOk);
        return PaintScrollArea(*puzzle)->SelectedBitmap();
    }
};

bool AllPixels(const RasterBitmap& bitmap, int left, int top, int right, int bottom, Colour colour)
{
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            if (bitmap.At(x, y) != colour)
                return false;
        }
    }
    return true;
}

TEST(Painting, PictureIsTheScrollAreaOfTheLayout)
{
    const RasterBitmap bitmap = ExamplePuzzle().Paint();
    EXPECT_EQ(bitmap.width, 161 + 30);
    EXPECT_EQ(bitmap.height, 149 + 30);
    EXPECT_TRUE(AllPixels(bitmap, 0, 0, 190, 5, kWhite));
}

TEST(Painting, DoubleLinesAtTheFrameSeamsAndEveryFifthLine)
{
    const RasterBitmap bitmap = ExamplePuzzle().Paint();
    // Outer frame 15..175 by 15..163, one pixel outside the outermost borders.
    EXPECT_TRUE(AllPixels(bitmap, 15, 15, 175, 15, kBlack));
    EXPECT_TRUE(AllPixels(bitmap, 174, 16, 175, 163, kBlack));
    EXPECT_TRUE(AllPixels(bitmap, 15, 162, 175, 163, kBlack));
    EXPECT_EQ(bitmap.At(176, 100), kWhite);
    EXPECT_EQ(bitmap.At(14, 100), kWhite);
    // Corner box 16..52 by 16..40, white inside; the grid begins at x 53, y 41.
    EXPECT_TRUE(AllPixels(bitmap, 16, 16, 52, 16, kBlack));
    EXPECT_TRUE(AllPixels(bitmap, 17, 17, 51, 39, kWhite));
    EXPECT_TRUE(AllPixels(bitmap, 52, 41, 53, 160, kBlack));
    EXPECT_TRUE(AllPixels(bitmap, 53, 40, 173, 41, kBlack));
    // Column 5 starts one pixel late: the line before it is two pixels wide.
    EXPECT_TRUE(AllPixels(bitmap, 113, 41, 114, 160, kBlack));
    EXPECT_EQ(bitmap.At(112, 50), kWhite);
}

TEST(Painting, OuterLineStaysDoubleWithoutClueAreas)
{
    ExamplePuzzle rowsOnly;
    rowsOnly.file.columnClueMax = 0;
    rowsOnly.file.columnClues.clear();
    const RasterBitmap bitmap = rowsOnly.Paint();
    EXPECT_EQ(bitmap.At(15, 100), kBlack);
    EXPECT_EQ(bitmap.At(100, 15), kWhite);
    EXPECT_TRUE(AllPixels(bitmap, 16, 16, 52, 17, kBlack));
}

TEST(Painting, CornerBoxShrinksToAPixelWithoutAnyClues)
{
    ExamplePuzzle blank;
    blank.file.rowClueMax = 0;
    blank.file.columnClueMax = 0;
    blank.file.rowClues.clear();
    blank.file.columnClues.clear();
    blank.file.noPicture = 1;
    blank.file.picture.clear();
    const RasterBitmap bitmap = blank.Paint();
    EXPECT_EQ(bitmap.At(15, 15), kWhite);
    EXPECT_EQ(bitmap.At(16, 16), kBlack);
    EXPECT_TRUE(AllPixels(bitmap, 16, 16, 17, 100, kBlack));
    EXPECT_TRUE(AllPixels(bitmap, 16, 16, 100, 17, kBlack));
}

TEST(Painting, ClueNumbersSitAtTheirAnchors)
{
    ExamplePuzzle example;
    example.SetColumnClue(0, 0, 12, 1);
    example.SetColumnClue(0, 1, 7, 3);
    const RasterBitmap bitmap = example.Paint();
    // White on the dark colour 1, black on the light colour 3.
    EXPECT_EQ(DigitAt(bitmap, 56, 19, kWhite), 1);
    EXPECT_EQ(DigitAt(bitmap, 60, 19, kWhite), 2);
    EXPECT_EQ(DigitAt(bitmap, 58, 31, kBlack), 7);
}

TEST(Painting, OddCellSizesCentreOneColumnFurther)
{
    ExamplePuzzle example;
    example.overlay.cellSize = 13;
    example.SetColumnClue(0, 0, 4, 3);
    const auto puzzle = example.Load();
    int x = 0;
    int y = 0;
    ASSERT_TRUE(puzzle->CellOrigin(ColumnClue, 0, 0, x, y));
    const RasterBitmap bitmap = PaintScrollArea(*puzzle)->SelectedBitmap();
    EXPECT_EQ(DigitAt(bitmap, x + 6, y + 4), 4);
}

TEST(Painting, RulerNumbersAtBothEndsOfEveryFifthAndTheLastLine)
{
    const RasterBitmap bitmap = ExamplePuzzle().Paint();
    EXPECT_EQ(NumberAt(bitmap, 167, 6), 10);
    EXPECT_EQ(NumberAt(bitmap, 167, 166), 10);
    EXPECT_EQ(DigitAt(bitmap, 165, 6), 1);
    EXPECT_EQ(DigitAt(bitmap, 169, 6), 0);
    EXPECT_EQ(NumberAt(bitmap, 8, 92), 5);
    EXPECT_EQ(NumberAt(bitmap, 180, 92), 5);
}

std::vector<int> ColumnRulerNumbers(std::uint8_t width, std::uint8_t columnClueMax = 1)
{
    NativeFile file;
    file.width = width;
    file.height = 1;
    file.columnClueMax = columnClueMax;
    file.rowClueMax = 1;
    file.noPicture = 1;
    file.columnClues.assign(2u * width * columnClueMax, 0);
    file.rowClues = {0, 0};
    auto puzzle = LoadNative(file);
    const RasterBitmap bitmap = PaintScrollArea(*puzzle)->SelectedBitmap();
    std::vector<int> numbers;
    for (int column = 0; column < width; ++column) {
        int x = 0;
        int y = 0;
        puzzle->CellOrigin(GridCell, column, 0, x, y);
        if (const int n = NumberAt(bitmap, x + 5, 6); n > 0)
            numbers.push_back(n);
    }
    return numbers;
}

TEST(Painting, WhichRulerNumbersAppear)
{
    EXPECT_EQ(ColumnRulerNumbers(10), (std::vector<int>{5, 10}));
    EXPECT_EQ(ColumnRulerNumbers(12), (std::vector<int>{5, 10, 12}));
    EXPECT_EQ(ColumnRulerNumbers(3), (std::vector<int>{3}));
    EXPECT_EQ(ColumnRulerNumbers(0), (std::vector<int>{}));
    EXPECT_EQ(ColumnRulerNumbers(10, 0), (std::vector<int>{}));
}

TEST(Painting, ThreeDigitRulerNumbers)
{
    EXPECT_EQ(ColumnRulerNumbers(125).back(), 125);
    auto puzzle = ExamplePuzzle().Load();
    RecordingSurface dc(200, 200);
    EXPECT_FALSE(puzzle->DrawRulerNumber(0, true, dc));
    EXPECT_FALSE(puzzle->DrawRulerNumber(256, true, dc));
    EXPECT_FALSE(puzzle->DrawRulerNumber(11, true, dc));
    EXPECT_TRUE(puzzle->DrawRulerNumber(10, true, dc));
}

// The strike runs from the bottom-left corner up to the top-right one; the
// doubled stroke adds the line one pixel to its right.
TEST(Painting, CrossedCluesAreStruckOnceOrTwice)
{
    for (const bool single : {false, true}) {
        for (const std::uint8_t colour : {1, 3}) {
            ExamplePuzzle example;
            example.overlay.singleStrike = single;
            example.SetColumnClue(3, 1, 0x85, colour);
            const RasterBitmap bitmap = example.Paint();
            const int x = 53 + 3 * 12;
            const int y = 28;
            const Colour ink = colour == 1 ? kWhite : kBlack;
            const Colour fill = colour == 1 ? kBlack : kYellow;
            // The top bar of the 5, which the stroke does not cross.
            EXPECT_EQ(bitmap.At(x + 5, y + 3), ink);
            EXPECT_EQ(bitmap.At(x + 7, y + 3), ink);
            EXPECT_EQ(bitmap.At(x + 1, y + 11), ink);
            EXPECT_EQ(bitmap.At(x + 11, y + 1), ink);
            EXPECT_EQ(bitmap.At(x + 2, y + 11), single ? fill : ink);
            EXPECT_EQ(bitmap.At(x + 1, y + 10), fill);
        }
    }
}

TEST(Painting, EmptyCrossedAndLongCluesAreOnlyColouredCells)
{
    for (const std::uint8_t value : {0x80, 100, 127, 0x80 | 100}) {
        ExamplePuzzle example;
        example.SetColumnClue(3, 1, value, 3);
        const RasterBitmap bitmap = example.Paint();
        EXPECT_TRUE(AllPixels(bitmap, 53 + 36 + 1, 29, 53 + 36 + 11, 39, kYellow)) << int{value};
    }
}

TEST(Painting, MarkedEmptyCellsCarryAnX)
{
    ExamplePuzzle example;
    example.file.picture[0] = 255;
    example.file.picture[1] = 2;
    const RasterBitmap bitmap = example.Paint();
    EXPECT_EQ(bitmap.At(54, 42), kBlack);
    EXPECT_EQ(bitmap.At(64, 42), kBlack);
    EXPECT_EQ(bitmap.At(59, 47), kBlack);
    EXPECT_EQ(bitmap.At(58, 42), kWhite);
    EXPECT_TRUE(AllPixels(bitmap, 66, 42, 76, 52, kRed));
}

TEST(Painting, ColoursWithoutPaletteEntryShowTheBackground)
{
    ExamplePuzzle example;
    example.file.palette[0] = kYellow;
    example.file.picture[0] = 16;
    example.file.picture[1] = 254;
    example.SetColumnClue(0, 1, 3, 200);
    const RasterBitmap bitmap = example.Paint();
    EXPECT_TRUE(AllPixels(bitmap, 54, 42, 64, 52, kYellow));
    EXPECT_TRUE(AllPixels(bitmap, 66, 42, 76, 52, kYellow));
    EXPECT_EQ(DigitAt(bitmap, 58, 31, kBlack), 3);
    EXPECT_EQ(bitmap.At(54, 29), kYellow);
}

// A native palette keeps each colour's fourth byte as the file has it; what
// is drawn is its red, green and blue, on every surface alike.
TEST(Painting, PaletteColoursAreDrawnByRedGreenAndBlueAlone)
{
    ExamplePuzzle example;
    example.file.palette[0] = kWhite | 0xFF000000;
    example.file.palette[2] = kRed | 0x01000000;
    example.file.palette[3] = kYellow | 0x02000000;
    example.file.picture[0] = 2;
    example.file.picture[1] = 3;
    example.SetColumnClue(0, 1, 3, 3);
    const RasterBitmap bitmap = example.Paint();
    EXPECT_TRUE(AllPixels(bitmap, 54, 42, 64, 52, kRed));
    EXPECT_TRUE(AllPixels(bitmap, 66, 42, 76, 52, kYellow));
    EXPECT_TRUE(AllPixels(bitmap, 78, 42, 88, 52, kWhite));
    EXPECT_EQ(bitmap.At(54, 29), kYellow);
}

TEST(Painting, EveryObjectIsSelectedBackAndDeleted)
{
    for (const bool pixelDigits : {true, false}) {
        ExamplePuzzle example;
        example.overlay.pixelDigits = pixelDigits;
        example.SetColumnClue(0, 0, 0x85, 1);
        example.file.picture[0] = 255;
        auto puzzle = example.Load();
        RecordingSurface dc(200, 200);
        puzzle->PaintPuzzle(dc);
        EXPECT_EQ(dc.LiveObjects(), 0u);
        EXPECT_EQ(dc.SelectionDepth(), 0);
        EXPECT_EQ(dc.Texts().empty(), pixelDigits);
    }
}

TEST(TextDigits, FontSizeFollowsTheCellSize)
{
    EXPECT_EQ(ClueFontTenthsOfPoint(12), 73);
    EXPECT_EQ(ClueFontHeight(96, 12), -10);
    EXPECT_EQ(ClueFontTenthsOfPoint(40), 297);
    EXPECT_EQ(ClueFontHeight(96, 40), -40);
    EXPECT_EQ(ClueFontTenthsOfPoint(2), -7);
    EXPECT_EQ(ClueFontHeight(96, 2), -1);
    EXPECT_EQ(MultiplyDivide(7, 1, 2), 4);
    EXPECT_EQ(MultiplyDivide(-7, 1, 2), -4);
    EXPECT_EQ(MultiplyDivide(1, 1, 0), -1);
}

TEST(TextDigits, RectangleNarrowsFromCellSize40)
{
    for (const std::uint8_t cellSize : {39, 40}) {
        ExamplePuzzle example;
        example.overlay.cellSize = cellSize;
        example.overlay.pixelDigits = false;
        auto puzzle = example.Load();
        RecordingSurface dc(1000, 1000);
        puzzle->DrawClueNumber(0, 0, 42, 1, dc);
        ASSERT_EQ(dc.Texts().size(), 1u);
        const DrawRect rect = dc.Texts()[0].rect;
        EXPECT_EQ(dc.Texts()[0].text, "42");
        EXPECT_EQ(rect.left, cellSize == 39 ? 1 : 2);
        EXPECT_EQ(rect.right, 40);
        EXPECT_EQ(rect.top, 1);
        EXPECT_EQ(rect.bottom, cellSize);
    }
}

TEST(TextDigits, NumbersLandInsideTheirCells)
{
    for (const std::uint8_t cellSize : {12, 20, 40}) {
        ExamplePuzzle example;
        example.overlay.cellSize = cellSize;
        example.overlay.pixelDigits = false;
        example.SetColumnClue(0, 1, 88, 1);
        auto puzzle = example.Load();
        int x = 0;
        int y = 0;
        puzzle->CellOrigin(ColumnClue, 0, 1, x, y);
        const RasterBitmap bitmap = PaintScrollArea(*puzzle)->SelectedBitmap();
        // White ink only inside the text rectangle, which leaves the cell's
        // left, top and bottom borders alone.
        int white = 0;
        for (int py = y; py <= y + cellSize; ++py) {
            for (int px = x; px <= x + cellSize; ++px) {
                if (bitmap.At(px, py) != kWhite)
                    continue;
                ++white;
                EXPECT_TRUE(px > x && py > y && py < y + cellSize) << px << "," << py;
            }
        }
        EXPECT_GT(white, 4 * cellSize / 3) << int{cellSize};
    }
}

TEST(Painting, PictureTooLargeIsReportedNotMade)
{
    NativeFile file;
    file.width = 255;
    file.height = 255;
    file.noPicture = 1;
    SettingsOverlay overlay;
    overlay.cellSize = 255;
    auto puzzle = LoadNative(file, overlay);
    EXPECT_EQ(PaintScrollArea(*puzzle), nullptr);
    EXPECT_EQ(puzzle->m_layoutWidth, 255 * 255 + 54);
}

} // namespace
