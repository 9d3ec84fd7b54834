#include "SolverBench.h"

#include "solver/PuzzleSolver.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <fstream>

namespace {

constexpr int kRepetitions = 5;
// Long enough for every named puzzle on a slow machine; a puzzle that runs
// into it shows as undecided.
constexpr CDeadline::Seconds kTimeLimit{300};
constexpr double kMaxLineLogicSeconds = 1e-3;
constexpr double kMaxLargestSeconds = 0.1;
constexpr int kLargestSide = 255;

constexpr const char* kTypical = "Solve/typical_30_line_logic";
constexpr const char* kLargest = "Solve/largest_255_line_solvable";

// The last answer of each benchmark, printed beside its time.
std::map<std::string, SolveReport>& Answers()
{
    static std::map<std::string, SolveReport> answers;
    return answers;
}

void Solve(benchmark::State& state, const std::string& name, const std::string& path)
{
    const CTessGrid puzzle(path);
    if (puzzle.m_status != LoadOk) {
        state.SkipWithError("the file did not load");
        return;
    }
    SolveReport report;
    for (auto _ : state)
        report = SolvePuzzle(puzzle, kTimeLimit);
    Answers()[name] = std::move(report);
}

// A 255 x 255 picture, 80 % filled at random (a fixed sequence), as a .tgw
// file; the clues derived from it are solved by line logic in a few passes.
std::string WriteLargestLineSolvable(const std::string& folder)
{
    std::string bytes = {static_cast<char>(kLargestSide), static_cast<char>(kLargestSide)};
    std::uint64_t state = 16;
    for (int cell = 0; cell < kLargestSide * kLargestSide; ++cell) {
        state = state * 6364136223846793005u + 1442695040888963407u;
        bytes += (state >> 33) % 100 < 80 ? '\x02' : '\x00';
    }
    const std::string path = folder + "/largest-line-solvable.tgw";
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

void Register(const std::string& name, const std::string& path)
{
    benchmark::RegisterBenchmark(name.c_str(), [name, path](benchmark::State& state) { Solve(state, name, path); })
        ->Unit(benchmark::kMillisecond)
        ->MeasureProcessCPUTime()
        ->UseRealTime()
        ->Repetitions(kRepetitions)
        ->ReportAggregatesOnly(true);
}

void PrintGoal(const std::map<std::string, double>& medians, const char* name, const char* title, double goal,
               const char* goalText, CGoalTally& tally)
{
    const auto found = medians.find(name);
    const auto answer = Answers().find(name);
    if (found == medians.end() || answer == Answers().end())
        return;
    // Only a puzzle that line logic alone decides measures line logic.
    const bool met = found->second < goal && answer->second.lineLogic == LineLogicVerdict::Solves;
    std::printf("%-45s %9.3f ms   %-14s %s\n  (%s)\n", title, found->second * 1e3, goalText, tally.Verdict(met),
                Describe(answer->second).c_str());
}

} // namespace

std::string Describe(const SolveReport& report)
{
    std::string text = "undecided";
    switch (report.answer) {
    case SolveAnswer::NoSolution: text = "no solution"; break;
    case SolveAnswer::Unique: text = "unique"; break;
    case SolveAnswer::Several: text = "several"; break;
    case SolveAnswer::Undecided: break;
    }
    switch (report.lineLogic) {
    case LineLogicVerdict::Solves:
        return text + ", line logic alone in " + std::to_string(report.lineLogicPasses) + " passes";
    case LineLogicVerdict::Stalls:
        return text + (report.solvedBy == SolveMethod::BackEnd ? ", back end" : ", search") + " after line logic knew " +
               std::to_string(report.cellsKnownByLineLogic) + " of " + std::to_string(report.cellCount) + " cells";
    case LineLogicVerdict::ProvesNoSolution:
    case LineLogicVerdict::Unfinished:
        break;
    }
    return text;
}

void RegisterSolverBenchmarks(const std::string& folder)
{
    const std::string puzzles = GRIDLOOK_BENCH_PUZZLES;
    Register(kTypical, puzzles + "/random-dense.pp");
    Register(kLargest, WriteLargestLineSolvable(folder));
}

void PrintSolverGoals(const std::map<std::string, double>& medians, CGoalTally& tally)
{
    PrintGoal(medians, kTypical, "solving a typical 30 x 30 puzzle by line logic", kMaxLineLogicSeconds, "goal < 1 ms",
              tally);
    PrintGoal(medians, kLargest, "deciding a line-solvable 255 x 255 puzzle", kMaxLargestSeconds, "goal < 100 ms",
              tally);
}
