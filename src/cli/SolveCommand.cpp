#include "cli/SolveCommand.h"

#include "cli/Commands.h"
#include "cli/Json.h"

#include <chrono>
#include <cstdio>
#include <vector>

namespace {

enum class PictureCheck { NoPicture, Fits, DoesNotFit };

// The rows and columns, from 0, that hold a run longer than a stored clue can
// show: their clues were derived from the picture, and solved from its runs.
struct LongRuns {
    std::vector<int> rows;
    std::vector<int> columns;
};

struct Cell {
    int row;
    int column;
};

Cell FirstDifference(const Picture& a, const Picture& b)
{
    for (int row = 0; row < a.LineCount(); ++row) {
        for (int column = 0; column < a.LineLength(); ++column) {
            if (a[row][column] != b[row][column])
                return {row, column};
        }
    }
    return {0, 0};
}

std::string Plural(int count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string SecondsText(double seconds)
{
    char text[32];
    if (seconds < 1)
        std::snprintf(text, sizeof text, "%.3g ms", seconds * 1e3);
    else
        std::snprintf(text, sizeof text, "%.3g s", seconds);
    return text;
}

std::string LineLogicText(const SolveReport& report)
{
    const std::string passes = Plural(report.lineLogicPasses, "pass", "passes");
    switch (report.lineLogic) {
    case LineLogicVerdict::Solves:
        return "line logic solves it in " + passes;
    case LineLogicVerdict::Stalls:
        return "line logic stops after " + passes + " with " + std::to_string(report.cellsKnownByLineLogic) + " of " +
               std::to_string(report.cellCount) + " cells known";
    case LineLogicVerdict::ProvesNoSolution:
        return "line logic finds a line that nothing fits in " + passes;
    case LineLogicVerdict::Unfinished:
        break;
    }
    return "line logic did not finish";
}

std::string PictureText(SolveAnswer answer, PictureCheck check)
{
    if (check == PictureCheck::DoesNotFit)
        return "the picture does not fit its clues";
    if (answer == SolveAnswer::Unique)
        return "the picture is the solution";
    return answer == SolveAnswer::Several ? "the picture is one of the solutions" : "the picture fits its clues";
}

const char* AnswerName(SolveAnswer answer)
{
    switch (answer) {
    case SolveAnswer::NoSolution: return "none";
    case SolveAnswer::Unique: return "unique";
    case SolveAnswer::Several: return "several";
    case SolveAnswer::Undecided: break;
    }
    return "undecided";
}

const char* LineLogicName(LineLogicVerdict verdict)
{
    switch (verdict) {
    case LineLogicVerdict::Solves: return "solves";
    case LineLogicVerdict::Stalls: return "stalls";
    case LineLogicVerdict::ProvesNoSolution: return "contradiction";
    case LineLogicVerdict::Unfinished: break;
    }
    return "unfinished";
}

// "3", "3 and 7", "1, 4-9 and 12": lines counted from 1, three or more in a
// row as a range.
std::string LineNumbersText(const std::vector<int>& lines)
{
    std::vector<std::string> parts;
    for (std::size_t first = 0; first < lines.size();) {
        std::size_t next = first + 1;
        while (next < lines.size() && lines[next] == lines[next - 1] + 1)
            ++next;
        if (next - first >= 3) {
            parts.push_back(std::to_string(lines[first] + 1) + "-" + std::to_string(lines[next - 1] + 1));
            first = next;
        } else {
            parts.push_back(std::to_string(lines[first] + 1));
            ++first;
        }
    }
    std::string text = parts.front();
    for (std::size_t i = 1; i < parts.size(); ++i)
        text += (i + 1 == parts.size() ? " and " : ", ") + parts[i];
    return text;
}

std::string LinesText(const char* one, const char* many, const std::vector<int>& lines)
{
    return std::string(lines.size() == 1 ? one : many) + " " + LineNumbersText(lines);
}

// "rows 3 and 7 hold runs longer than a clue can show (127), taken from the picture"
std::string LongRunsText(const LongRuns& longRuns)
{
    std::string lines;
    if (!longRuns.rows.empty())
        lines = LinesText("row", "rows", longRuns.rows);
    if (!longRuns.columns.empty())
        lines += (lines.empty() ? "" : " and ") + LinesText("column", "columns", longRuns.columns);
    const bool one = longRuns.rows.size() + longRuns.columns.size() == 1;
    return lines + (one ? " holds a run" : " hold runs") + " longer than a clue can show (" +
           std::to_string(kLongestStoredRun) + "), taken from the picture";
}

std::string LongRunsJson(const LongRuns& longRuns)
{
    const auto lineNumber = [](int line) { return JsonNumber(line + 1); };
    return "{\"rows\": " + JsonList(longRuns.rows, lineNumber) +
           ", \"columns\": " + JsonList(longRuns.columns, lineNumber) + "}";
}

const char* PictureJson(PictureCheck check)
{
    switch (check) {
    case PictureCheck::Fits: return "true";
    case PictureCheck::DoesNotFit: return "false";
    case PictureCheck::NoPicture: break;
    }
    return "null";
}

std::string SolveJson(const std::string& path, const SolveReport& report, PictureCheck check,
                      const LongRuns& longRuns, double seconds)
{
    char time[32];
    std::snprintf(time, sizeof time, "%.6f", seconds);
    return "{\"file\": " + JsonString(path) + ", \"status\": 0, \"answer\": \"" + AnswerName(report.answer) +
           "\", \"lineLogic\": \"" + LineLogicName(report.lineLogic) +
           "\", \"passes\": " + std::to_string(report.lineLogicPasses) +
           ", \"knownCells\": " + std::to_string(report.cellsKnownByLineLogic) +
           ", \"cells\": " + std::to_string(report.cellCount) + ", \"seconds\": " + time +
           ", \"pictureFits\": " + PictureJson(check) + ", \"longRuns\": " + LongRunsJson(longRuns) +
           ", \"solutions\": " + JsonList(report.solutions, JsonPicture) + "}";
}

std::string SolveLine(const std::string& path, const SolveReport& report, PictureCheck check,
                      const LongRuns& longRuns, double seconds, double maxSeconds)
{
    std::string text = path + ": " + AnswerText(report, maxSeconds) + "; " + LineLogicText(report);
    if (check != PictureCheck::NoPicture)
        text += "; " + PictureText(report.answer, check);
    if (!longRuns.rows.empty() || !longRuns.columns.empty())
        text += "; " + LongRunsText(longRuns);
    return text + "; " + SecondsText(seconds);
}

PictureCheck CheckPicture(const CTessGrid& puzzle, const PuzzleClues& clues)
{
    if (!HoldsPicture(puzzle))
        return PictureCheck::NoPicture;
    return PictureFitsClues(*puzzle.m_picture, clues) ? PictureCheck::Fits : PictureCheck::DoesNotFit;
}

int SolveOne(const CommandLine& line, const std::string& path)
{
    CTessGrid puzzle(path, line.overlay);
    if (puzzle.m_status != LoadOk) {
        if (line.json)
            std::printf("%s\n", JsonLoadFailure(path, puzzle).c_str());
        ReportLoadFailure(path, puzzle);
        return puzzle.m_status;
    }
    const auto start = std::chrono::steady_clock::now();
    const SolveReport report = SolvePuzzle(puzzle, CDeadline::Seconds(line.SolveSeconds()));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const PuzzleClues clues = CluesOf(puzzle);
    const PictureCheck check = CheckPicture(puzzle, clues);
    const LongRuns longRuns{LinesWithLongRuns(clues.rows), LinesWithLongRuns(clues.columns)};
    const std::string text = line.json ? SolveJson(path, report, check, longRuns, seconds)
                                       : SolveLine(path, report, check, longRuns, seconds, line.SolveSeconds());
    std::printf("%s\n", text.c_str());
    return ExitStatusOf(report.answer);
}

} // namespace

bool HoldsPicture(const CTessGrid& puzzle)
{
    return puzzle.m_noPicture == 0;
}

std::string AnswerText(const SolveReport& report, double maxSeconds)
{
    switch (report.answer) {
    case SolveAnswer::NoSolution:
        return "no solution";
    case SolveAnswer::Unique:
        return "one solution";
    case SolveAnswer::Several: {
        const Cell cell = FirstDifference(report.solutions[0], report.solutions[1]);
        return "several solutions, two of them differ at row " + std::to_string(cell.row + 1) + ", column " +
               std::to_string(cell.column + 1);
    }
    case SolveAnswer::Undecided:
        break;
    }
    char limit[32];
    std::snprintf(limit, sizeof limit, "%g", maxSeconds);
    return std::string("undecided within ") + limit + " s" + (report.solutions.empty() ? "" : " (one solution found)");
}

int ExitStatusOf(SolveAnswer answer)
{
    switch (answer) {
    case SolveAnswer::Unique: return 0;
    case SolveAnswer::Undecided: return kUndecided;
    case SolveAnswer::NoSolution:
    case SolveAnswer::Several: break;
    }
    return kNotUnique;
}

int TakeUniqueSolution(const CommandLine& line, const std::string& path, CTessGrid& puzzle, const char* what)
{
    SolveReport report = SolvePuzzle(puzzle, CDeadline::Seconds(line.SolveSeconds()));
    if (report.answer != SolveAnswer::Unique) {
        ReportFailure(path, std::string(what) + ": " + AnswerText(report, line.SolveSeconds()));
        return ExitStatusOf(report.answer);
    }
    puzzle.m_picture = std::move(report.solutions.front());
    puzzle.m_noPicture = 0;
    return 0;
}

int RunSolve(const CommandLine& line)
{
    int exitStatus = 0;
    for (const std::string& path : line.files) {
        const int status = SolveOne(line, path);
        if (exitStatus == 0)
            exitStatus = status;
    }
    return exitStatus;
}
