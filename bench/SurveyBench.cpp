#include "SurveyBench.h"

#include "PeakMemory.h"
#include "SolverBench.h"

#include "sat/SatBackEnd.h"
#include "solver/GridState.h"
#include "solver/PuzzleSolver.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <optional>
#include <vector>

namespace {

constexpr int kRuns = 3;
constexpr double kShortest = 0.2;
// Far beyond every goal, short enough to end a benchmark that misses one.
constexpr CDeadline::Seconds kSurveyLimit{60};
// The command's default: every random puzzle must be decided within it.
constexpr CDeadline::Seconds kDefaultLimit{10};
constexpr int kRandomPerGroup = 50;
constexpr double kMebibyte = 1024.0 * 1024.0;
constexpr double kLargeLineSolvableGoal = 0.1;
// What may be measured slower than before and still count as as fast: noise.
constexpr double kAllowance = 1.1;

struct SurveyPuzzle {
    int number;             // on webpbn.com
    const char* name;       // the survey's short name
    const char* inTree;     // the file under bench/puzzles, for those that may be redistributed
    double goalSeconds;     // 0 for none
    double beforeSeconds;   // the search alone, before the back end (docs/performance.md); 0 for none
};

// The goals of the solver issue; the puzzles measured before it, which must
// not get slower.
constexpr SurveyPuzzle kSurvey[] = {
    {16, "Knot", "knot.pp", 0, 0.074e-3},
    {21, "Skid", "skid.pp", 0, 0.020e-3},
    {23, "Edge", nullptr, 0, 0.207e-3},
    {803, "Light", nullptr, 0, 18.6e-3},
    {1611, "Merka", nullptr, 0, 1.71e-3},
    {6739, "Karate", nullptr, 0, 5.11e-3},
    {6574, "Forever", nullptr, 0.2, 0},
    {8098, "9-Dom", nullptr, 0.2, 7.47},
    {2040, "Hot", nullptr, 0.5, 0},
    {18297, "Thing", nullptr, 5, 0},
    {9892, "Nature", nullptr, 5, 0},
    {10088, "Marley", nullptr, 5, 0},
    {2712, "Lion", nullptr, 5, 0},
    {12548, "Sierp", nullptr, 15, 0},
    {22336, "Gettys", nullptr, 20, 0},
    {672, "Web (colour)", nullptr, 10, 0},
    {2684, "Censored (colour)", nullptr, 10, 0},
    {4809, "#4809 (colour)", nullptr, 10, 0},
    {3620, "Addition (colour)", nullptr, 10, 0},
    {0, "random, 45 % (made here)", "random-sparse.pp", 0, 6.27},
    {0, "stripes (made here)", "stripes.pp", 0, 32.2},
};

struct Timing {
    double wall = 0;
    double cpu = 0;
    SolveReport report;
};

double ProcessCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

Timing TimeSolve(const PuzzleClues& clues, CDeadline::Seconds limit)
{
    const auto start = std::chrono::steady_clock::now();
    const double cpu = ProcessCpuSeconds();
    Timing timing;
    timing.report = SolveClues(clues, limit);
    timing.cpu = ProcessCpuSeconds() - cpu;
    timing.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return timing;
}

// The median of kRuns, by wall time. A solve much shorter than kShortest is
// repeated for at least that long, and its time is the mean of one.
Timing MedianSolve(const PuzzleClues& clues, CDeadline::Seconds limit)
{
    std::vector<Timing> runs;
    for (int run = 0; run < kRuns; ++run) {
        Timing timing = TimeSolve(clues, limit);
        const int repeats = timing.wall < kShortest ? static_cast<int>(kShortest / std::max(timing.wall, 1e-6)) : 0;
        if (repeats > 0) {
            Timing total{0, 0, {}};
            for (int i = 0; i < repeats; ++i) {
                Timing one = TimeSolve(clues, limit);
                total.wall += one.wall;
                total.cpu += one.cpu;
                total.report = std::move(one.report);
            }
            timing = {total.wall / repeats, total.cpu / repeats, std::move(total.report)};
        }
        runs.push_back(std::move(timing));
    }
    std::ranges::sort(runs, {}, &Timing::wall);
    return runs[kRuns / 2];
}

// The dominoes family of the survey: n-Dom has 2n + 1 rows and columns, and
// 9-Dom is webpbn #8098.
PuzzleClues Dominoes(int n)
{
    const int side = 2 * n + 1;
    PuzzleClues clues{side, side, {}, {}};
    clues.columns = {{{1, 1}}, {{1, 1}}};
    clues.rows = {{{3, 1}}, {{1, 1}}};
    for (int domino = 1; domino < n; ++domino) {
        clues.columns.insert(clues.columns.end(), {{{1, 1}, {3, 1}}, {{1, 1}}});
        clues.rows.insert(clues.rows.end(), {{{3, 1}, {1, 1}}, {{1, 1}}});
    }
    clues.columns.push_back({{3, 1}});
    clues.rows.push_back({{1, 1}});
    return clues;
}

// A puzzle's file in the survey folder: named by its number as webpbn.com
// exports it (6574.xml) or as the survey's set names it (webpbn-06574.xml,
// webpbn-color-00672.xml), in any format the readers take.
bool NamesPuzzle(const std::filesystem::path& file, int number)
{
    const std::string stem = file.stem().string();
    char padded[16];
    std::snprintf(padded, sizeof padded, "-%05d", number);
    return stem == std::to_string(number) || stem.ends_with(padded);
}

std::optional<std::filesystem::path> FileNamed(const std::filesystem::path& folder, int number)
{
    std::error_code error;
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (NamesPuzzle(entry.path(), number))
            found.push_back(entry.path());
    }
    std::ranges::sort(found);
    return found.empty() ? std::nullopt : std::optional(found.front());
}

std::optional<PuzzleClues> SurveyClues(const SurveyPuzzle& puzzle, const std::string& surveyFolder)
{
    std::optional<std::filesystem::path> path;
    if (puzzle.inTree)
        path = std::filesystem::path(GRIDLOOK_BENCH_PUZZLES) / puzzle.inTree;
    else if (!surveyFolder.empty())
        path = FileNamed(surveyFolder, puzzle.number);
    if (!path)
        return puzzle.number == 8098 ? std::optional(Dominoes(9)) : std::nullopt;
    const CTessGrid loaded(path->string());
    if (loaded.m_status != LoadOk) {
        std::printf("  #%-6d %-18s %s did not load (status %d)\n", puzzle.number, puzzle.name, path->c_str(),
                    loaded.m_status);
        return std::nullopt;
    }
    return CluesOf(loaded);
}

void PrintTiming(const char* label, const PuzzleClues& clues, const Timing& timing)
{
    std::printf("  %-28s %3d x %-3d %9.3f s wall %9.3f s CPU  %s\n   ", label, clues.width, clues.height, timing.wall,
                timing.cpu, Describe(timing.report).c_str());
}

void SurveyLine(const char* label, const PuzzleClues& clues, double goal, double before, CGoalTally& tally)
{
    const Timing timing = MedianSolve(clues, kSurveyLimit);
    PrintTiming(label, clues, timing);
    const bool decided = timing.report.answer != SolveAnswer::Undecided;
    if (goal > 0)
        std::printf("  goal < %g s  %s\n", goal, tally.Verdict(decided && timing.wall < goal));
    else if (before > 0)
        std::printf("  before %.3g s, at most %.3g s  %s\n", before, before * kAllowance,
                    tally.Verdict(decided && timing.wall <= before * kAllowance));
    else
        std::printf("\n");
}

void RunSurvey(const std::string& surveyFolder, CGoalTally& tally)
{
    std::printf("\nThe web Paint-by-Number survey's puzzles (median of %d; %s):\n", kRuns,
                surveyFolder.empty() ? "no --survey=DIR, so only those in the tree and those made here"
                                     : surveyFolder.c_str());
    std::vector<const SurveyPuzzle*> missing;
    for (const SurveyPuzzle& puzzle : kSurvey) {
        const std::optional<PuzzleClues> clues = SurveyClues(puzzle, surveyFolder);
        if (!clues) {
            missing.push_back(&puzzle);
            continue;
        }
        const std::string label =
            puzzle.number == 0 ? puzzle.name : "#" + std::to_string(puzzle.number) + " " + puzzle.name;
        SurveyLine(label.c_str(), *clues, puzzle.goalSeconds, puzzle.beforeSeconds, tally);
    }
    SurveyLine("8-Dom (made here)", Dominoes(8), 0.2, 0, tally);
    if (missing.empty())
        return;
    std::printf("  not measured, not in the survey folder:");
    for (const SurveyPuzzle* puzzle : missing)
        std::printf(" #%d", puzzle->number);
    std::printf(" (docs/performance.md says where to get them)\n");
}

// A picture of `side` x `side` cells, `percent` of them filled at random (a
// fixed sequence for each seed) in inks 1 to `inks`, and its clues.
PuzzleClues RandomClues(int side, int percent, int inks, std::uint64_t seed)
{
    Picture picture(side, side);
    std::uint64_t state = seed;
    const auto next = [&] {
        state = state * 6364136223846793005u + 1442695040888963407u;
        return state >> 33;
    };
    for (std::uint8_t& cell : picture.Items()) {
        const bool filled = next() % 100 < static_cast<std::uint64_t>(percent);
        cell = filled ? static_cast<std::uint8_t>(1 + next() % static_cast<std::uint64_t>(inks)) : 0;
    }
    return CluesOfPicture(picture);
}

void RunRandom(CGoalTally& tally)
{
    std::printf("\nRandom clue-only puzzles, %d of each (seeded), within the default %g s:\n", kRandomPerGroup,
                kDefaultLimit.count());
    int undecided = 0;
    for (const int side : {25, 30}) {
        for (const int percent : {20, 35, 50, 80}) {
            std::vector<double> walls;
            int decided = 0;
            int several = 0;
            for (int i = 0; i < kRandomPerGroup; ++i) {
                const PuzzleClues clues =
                    RandomClues(side, percent, 1, static_cast<std::uint64_t>(side * 1000 + percent * 100 + i));
                const Timing timing = TimeSolve(clues, kDefaultLimit);
                walls.push_back(timing.wall);
                decided += timing.report.answer != SolveAnswer::Undecided ? 1 : 0;
                several += timing.report.answer == SolveAnswer::Several ? 1 : 0;
            }
            std::ranges::sort(walls);
            undecided += kRandomPerGroup - decided;
            std::printf("  %d x %d, %2d %%: %2d of %d decided (%2d several), median %8.3f s, worst %8.3f s\n", side,
                        side, percent, decided, kRandomPerGroup, several, walls[walls.size() / 2], walls.back());
        }
    }
    std::printf("  every one decided within %g s                                        %s\n", kDefaultLimit.count(),
                tally.Verdict(undecided == 0));
}

// Bands of 15 colours that bend, blank between them: 255 x 255 and dozens of
// runs in every line, all of them solved by line logic.
PuzzleClues BandsClues()
{
    constexpr int kSide = 255;
    Picture picture(kSide, kSide);
    for (int row = 0; row < kSide; ++row) {
        for (int column = 0; column < kSide; ++column)
            picture[row][column] = static_cast<std::uint8_t>(((row + 2 * column) / 4 + row * column / 50) % 16);
    }
    return CluesOfPicture(picture);
}

void RunLargeLineSolvable(CGoalTally& tally)
{
    const PuzzleClues clues = BandsClues();
    const Timing timing = MedianSolve(clues, kDefaultLimit);
    std::printf("\nA large line-solvable puzzle in 16 colours never waits for the back end:\n");
    PrintTiming("bands (made here)", clues, timing);
    std::printf("  goal < %g s  %s\n", kLargeLineSolvableGoal,
                tally.Verdict(timing.report.lineLogic == LineLogicVerdict::Solves && timing.wall < kLargeLineSolvableGoal));
}

// The literals of the back end's formula for the cells line logic leaves open,
// counted up to a little beyond the cap.
std::int64_t FormulaLiterals(const PuzzleClues& clues)
{
    const CDeadline deadline(kDefaultLimit);
    CGridState state(clues, deadline);
    state.Propagate();
    std::vector<CellColours> cells;
    for (int cell = 0; cell < state.CellCount(); ++cell)
        cells.push_back(state.Colours(cell));
    const CSatBackEnd backEnd(clues, cells, deadline);
    return backEnd.Literals();
}

void RunMemory()
{
    std::printf("\nPeak memory of a whole solve within the default %g s, above the process before it:\n",
                kDefaultLimit.count());
    struct Case {
        const char* label;
        PuzzleClues clues;
    };
    const Case cases[] = {
        {"255 x 255, 15 inks, 50 % filled (made here)", RandomClues(255, 50, 15, 1)},
        {"255 x 255, one ink, 50 % filled (made here)", RandomClues(255, 50, 1, 1)},
        {" 80 x  80, one ink, 50 % filled (made here)", RandomClues(80, 50, 1, 1)},
    };
    for (const Case& one : cases) {
        const PuzzleClues& clues = one.clues;
        const std::int64_t literals = FormulaLiterals(clues);
        SolveAnswer answer = SolveAnswer::Undecided;
        const std::optional<std::int64_t> growth = MeasurePeakGrowth([&] {
            answer = SolveClues(clues, kDefaultLimit).answer;
            return true;
        });
        std::printf("  %-46s formula %9lld literals%s: %s\n", one.label, static_cast<long long>(literals),
                    literals > CSatBackEnd::kMaxLiterals ? " (beyond the cap, declined)" : "",
                    growth ? (std::to_string(static_cast<double>(*growth) / kMebibyte).substr(0, 6) + " MiB").c_str()
                           : "not measured");
    }
}

// How long after the limit each answer came, at its worst.
void RunOverrun(const std::string& surveyFolder)
{
    std::printf("\nHow far past the time limit an undecided answer comes, at the most of %d runs:\n", kRuns);
    std::vector<std::pair<std::string, PuzzleClues>> cases = {
        {"255 x 255, one ink, 50 % (made here)", RandomClues(255, 50, 1, 1)},
        {" 80 x  80, one ink, 50 % (made here)", RandomClues(80, 50, 1, 1)},
    };
    for (const SurveyPuzzle& puzzle : kSurvey) {
        if (puzzle.goalSeconds >= 5)
            if (std::optional<PuzzleClues> clues = SurveyClues(puzzle, surveyFolder))
                cases.emplace_back(std::string("#") + std::to_string(puzzle.number) + " " + puzzle.name, *clues);
    }
    for (const double limit : {0.1, 1.0}) {
        for (const auto& [label, clues] : cases) {
            double worst = 0;
            for (int run = 0; run < kRuns; ++run) {
                const Timing timing = TimeSolve(clues, CDeadline::Seconds(limit));
                if (timing.report.answer == SolveAnswer::Undecided)
                    worst = std::max(worst, timing.wall - limit);
            }
            std::printf("  limit %4.1f s  %-38s %8.1f ms\n", limit, label.c_str(), worst * 1e3);
        }
    }
}

} // namespace

void RunSolverSurvey(const std::string& surveyFolder, CGoalTally& tally)
{
    RunSurvey(surveyFolder, tally);
    RunLargeLineSolvable(tally);
    RunRandom(tally);
    RunOverrun(surveyFolder);
    RunMemory();
}
