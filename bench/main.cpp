// Times loading, derivation, painting, PNG encoding, thumbnails and solving
// against the physical floor of painting (one pass over a new bitmap of the
// picture's size), then prints the goals with their figures. `--puzzles=DIR` writes the measured
// puzzle files into DIR and keeps them, so that other hosts can time the same
// files; otherwise they live in a temporary folder for the run only.
// `--survey=DIR` names the folder of the survey puzzles that may not be
// redistributed (SurveyBench.h).
#include "BenchPuzzles.h"
#include "PeakMemory.h"
#include "SolverBench.h"
#include "SurveyBench.h"
#include "Summary.h"

#include "cli/ThumbnailWriter.h"
#include "cli/PngWriter.h"
#include "platform/posix/RasterPicture.h"
#include "platform/posix/RasterText.h"
#include "render/Numbers.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kRepetitions = 5;

SettingsOverlay DigitLook(bool pixelDigits)
{
    SettingsOverlay overlay;
    overlay.pixelDigits = pixelDigits;
    return overlay;
}

void Load(benchmark::State& state, const std::string& path)
{
    for (auto _ : state) {
        const CTessGrid puzzle(path);
        if (puzzle.m_status != LoadOk) {
            state.SkipWithError("the file did not load");
            break;
        }
    }
}

void Derive(benchmark::State& state, const std::string& path)
{
    CTessGrid puzzle(path);
    for (auto _ : state) {
        puzzle.DeriveClues();
        benchmark::DoNotOptimize(puzzle.m_columnClues);
    }
}

void Paint(benchmark::State& state, const std::string& path, bool pixelDigits)
{
    CTessGrid puzzle(path, DigitLook(pixelDigits));
    if (!pixelDigits && !CanRenderText(kClueFontFace))
        state.SkipWithError("no font for clue numbers in text mode");
    for (auto _ : state) {
        const auto picture = PaintScrollArea(puzzle);
        benchmark::DoNotOptimize(picture.get());
    }
}

// The drawing alone, into a picture already made, as a viewer that keeps its
// bitmap would paint again: no new memory.
void PaintInPlace(benchmark::State& state, const std::string& path)
{
    CTessGrid puzzle(path);
    const auto picture = PaintScrollArea(puzzle);
    const RasterBitmap& bitmap = picture->SelectedBitmap();
    for (auto _ : state) {
        picture->PatBlt(0, 0, bitmap.width, bitmap.height);
        puzzle.PaintPuzzle(*picture);
    }
}

void LoadToPicture(benchmark::State& state, const std::string& path)
{
    for (auto _ : state) {
        CTessGrid puzzle(path);
        const auto picture = PaintScrollArea(puzzle);
        benchmark::DoNotOptimize(picture.get());
    }
}

void EncodePng(benchmark::State& state, const std::string& path, const std::string& output)
{
    CTessGrid puzzle(path);
    const auto picture = PaintScrollArea(puzzle);
    std::string error;
    for (auto _ : state) {
        if (!WritePng(output, picture->SelectedBitmap(), error)) {
            state.SkipWithError(error.c_str());
            break;
        }
    }
}

// From the path to the PNG file written, as `gridlook thumbnail` makes it.
void Thumbnail(benchmark::State& state, const std::string& path, const std::string& output)
{
    for (auto _ : state) {
        CTessGrid puzzle(path);
        std::string error;
        if (!WriteThumbnail(puzzle, kThumbnailSize, output, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
    }
}

std::size_t PicturePixels(const std::string& path)
{
    CTessGrid puzzle(path);
    const auto picture = PaintScrollArea(puzzle);
    const RasterBitmap& bitmap = picture->SelectedBitmap();
    return static_cast<std::size_t>(bitmap.width) * bitmap.height;
}

// The least any painting of the picture does: get a new bitmap, in the way the
// raster gets one, and set each of its pixels once.
void FillNewBitmap(benchmark::State& state, std::size_t pixels)
{
    for (auto _ : state) {
        Pixels bitmap(pixels);
        std::fill(bitmap.begin(), bitmap.end(), kWhite);
        benchmark::DoNotOptimize(bitmap.data());
        benchmark::ClobberMemory();
    }
}

// The same without getting the memory: the floor of PaintInPlace.
void FillBitmapInMemory(benchmark::State& state, std::size_t pixels)
{
    Pixels bitmap(pixels);
    for (auto _ : state) {
        std::fill(bitmap.begin(), bitmap.end(), kWhite);
        benchmark::DoNotOptimize(bitmap.data());
        benchmark::ClobberMemory();
    }
}

void Register(const std::string& name, std::function<void(benchmark::State&)> run, benchmark::TimeUnit unit)
{
    benchmark::RegisterBenchmark(name.c_str(), std::move(run))
        ->Unit(unit)
        ->UseRealTime()
        ->Repetitions(kRepetitions)
        ->ReportAggregatesOnly(true);
}

std::string LargestPng(const std::string& folder)
{
    return folder + "/largest.png";
}

// The size of the file that encoding the largest picture wrote, when it ran.
std::optional<std::uintmax_t> FileBytes(const std::string& path)
{
    std::error_code error;
    const std::uintmax_t bytes = std::filesystem::file_size(path, error);
    return error ? std::nullopt : std::optional(bytes);
}

void RegisterAll(const BenchPuzzles& puzzles, const std::string& folder)
{
    using namespace std::placeholders;
    for (const PuzzleFile& file : puzzles.largestOfEachFormat)
        Register(LoadBenchmarkName(file.label), std::bind(Load, _1, file.path), benchmark::kMicrosecond);
    Register("Derive/checkerboard_255", std::bind(Derive, _1, puzzles.largest.path),
             benchmark::kMicrosecond);
    for (const bool pixelDigits : {true, false}) {
        const std::string look = pixelDigits ? "pixel_digits" : "text";
        Register("Paint/typical/" + look, std::bind(Paint, _1, puzzles.typical.path, pixelDigits),
                 benchmark::kMicrosecond);
        Register("Paint/largest/" + look, std::bind(Paint, _1, puzzles.largest.path, pixelDigits),
                 benchmark::kMillisecond);
    }
    Register(kPaintLargestInPlace, std::bind(PaintInPlace, _1, puzzles.largest.path), benchmark::kMillisecond);
    Register(kLoadToPictureTypical, std::bind(LoadToPicture, _1, puzzles.typical.path), benchmark::kMicrosecond);
    Register(kLoadToPictureLargest, std::bind(LoadToPicture, _1, puzzles.largest.path), benchmark::kMillisecond);
    Register(kEncodePngLargest, std::bind(EncodePng, _1, puzzles.largest.path, LargestPng(folder)),
             benchmark::kMillisecond);
    Register(kThumbnailTypical, std::bind(Thumbnail, _1, puzzles.typical.path, folder + "/typical-thumbnail.png"),
             benchmark::kMillisecond);
    Register(kThumbnailLargest, std::bind(Thumbnail, _1, puzzles.largest.path, folder + "/largest-thumbnail.png"),
             benchmark::kMillisecond);
    const std::size_t pixels = PicturePixels(puzzles.largest.path);
    Register(kFloor, std::bind(FillNewBitmap, _1, pixels), benchmark::kMillisecond);
    Register(kWarmFloor, std::bind(FillBitmapInMemory, _1, pixels), benchmark::kMillisecond);
}

// A folder for the puzzle files: the one asked for, kept, or a temporary one,
// removed at the end.
class CWorkFolder {
public:
    explicit CWorkFolder(const std::string& kept) : m_path(kept), m_temporary(kept.empty())
    {
        if (m_temporary) {
            std::string pattern = (std::filesystem::temp_directory_path() / "gridlook-bench-XXXXXX").string();
            if (!mkdtemp(pattern.data()))
                std::abort();
            m_path = pattern;
        }
        std::filesystem::create_directories(m_path);
    }
    ~CWorkFolder()
    {
        if (m_temporary)
            std::filesystem::remove_all(m_path);
    }
    CWorkFolder(const CWorkFolder&) = delete;
    CWorkFolder& operator=(const CWorkFolder&) = delete;

    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    bool m_temporary;
};

std::vector<std::string> LabelsOf(const std::vector<PuzzleFile>& files)
{
    std::vector<std::string> labels;
    for (const PuzzleFile& file : files)
        labels.push_back(file.label);
    return labels;
}

struct Folders {
    std::string kept;   // --puzzles=DIR
    std::string survey; // --survey=DIR
};

// The folders of the options, empty where not given; nothing for any other
// option (the benchmark library has taken its own out already).
std::optional<Folders> FoldersOf(int argc, char** argv)
{
    constexpr std::string_view kPuzzlesOption = "--puzzles=";
    constexpr std::string_view kSurveyOption = "--survey=";
    Folders folders;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument.starts_with(kPuzzlesOption)) {
            folders.kept = argument.substr(kPuzzlesOption.size());
        } else if (argument.starts_with(kSurveyOption)) {
            folders.survey = argument.substr(kSurveyOption.size());
        } else {
            std::fprintf(stderr, "gridlook_bench: unknown option %s\n", argv[i]);
            return std::nullopt;
        }
    }
    return folders;
}

// The solver's survey runs outside the benchmark library, which repeats every
// benchmark far more often than minutes-long puzzles allow; a filter that
// leaves out "Solve/survey" leaves it out too.
bool SurveyIsSelected()
{
    const std::string filter = benchmark::GetBenchmarkFilter();
    return filter.empty() || filter == "all" || std::regex_search("Solve/survey", std::regex(filter));
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    const std::optional<Folders> folders = FoldersOf(argc, argv);
    if (!folders)
        return 2;
    const CWorkFolder folder(folders->kept);
    // The display settings' defaults, whatever this machine's Wine prefix holds.
    setenv("WINEPREFIX", (folder.Path() + "/no-settings").c_str(), 1);
    const BenchPuzzles puzzles = WriteBenchPuzzles(folder.Path());
    OtherFigures figures;
    figures.renderPeak = MeasureRenderPeak(puzzles.largest.path);
    figures.thumbnailPeak =
        MeasureThumbnailPeak(puzzles.largest.path, kThumbnailSize, folder.Path() + "/largest-thumbnail.png");

    RegisterAll(puzzles, folder.Path());
    RegisterSolverBenchmarks(folder.Path());
    CMedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    figures.pngBytes = FileBytes(LargestPng(folder.Path()));
    PrintGoals(reporter.Medians(), LabelsOf(puzzles.largestOfEachFormat), figures);
    if (SurveyIsSelected()) {
        CGoalTally tally;
        RunSolverSurvey(folders->survey, tally);
        tally.PrintTotal();
    }
    benchmark::Shutdown();
    return 0;
}
