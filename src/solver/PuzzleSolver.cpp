#include "solver/PuzzleSolver.h"

#include "sat/SatBackEnd.h"
#include "solver/GridState.h"
#include "solver/Search.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <new>
#include <optional>
#include <system_error>
#include <thread>

namespace {

// Work budgets of the runs that look for a first solution, in lines solved
// (a few milliseconds' worth for the first): each run gets half as much again
// as the one before, so the last run does at least a third of all the work.
constexpr double kFirstBudget = 20000;
constexpr double kBudgetGrowth = 1.5;
// Far beyond what any time limit lets a run spend.
constexpr double kLargestBudget = 1e15;

// The search works alone for its first line solves (the budget of its first
// run): a puzzle it decides that soon never pays for the back end.
constexpr std::int64_t kBackEndStart = 20000;
// Within this many line solves (a fraction of a second's worth) the search's
// answer of several solutions stands, with its two solutions; after them, the
// back end's does. Which engine gives the two solutions is thus a matter of
// work done, not of which thread comes first, and the same clues give the
// same two every time. An answer of none or one solution is the same from
// either engine, so it stands whenever it comes.
constexpr std::int64_t kSearchStandsAlone = 1'000'000;

struct Answer {
    SolveAnswer answer = SolveAnswer::Undecided;
    std::vector<Picture> solutions;
};

// The picture's ink, when it fits the clues: a solution known before searching.
std::optional<Picture> InkIfSolution(const Picture* picture, const PuzzleClues& clues)
{
    if (!picture || !PictureFitsClues(*picture, clues))
        return std::nullopt;
    Picture ink = *picture;
    for (std::uint8_t& cell : ink.Items())
        cell = CTessGrid::InkOf(cell);
    return ink;
}

SolveAnswer AnswerAfterSecond(CSearch::Result result)
{
    switch (result) {
    case CSearch::Result::Found: return SolveAnswer::Several;
    case CSearch::Result::Exhausted: return SolveAnswer::Unique;
    case CSearch::Result::BudgetSpent:
    case CSearch::Result::OutOfTime: break;
    }
    return SolveAnswer::Undecided;
}

// Search, once the line logic has stalled: a first solution (unless one is
// given), then a second or the proof that there is none.
Answer Search(CGridState& state, const std::optional<Picture>& given)
{
    CSearch search(state);
    const CGridState::Outcome settled = search.SettleRoot();
    if (settled != CGridState::Outcome::Consistent)
        return {settled == CGridState::Outcome::Contradiction ? SolveAnswer::NoSolution : SolveAnswer::Undecided, {}};
    std::optional<Picture> first = given;
    double budget = kFirstBudget;
    for (int run = 0; !first; ++run, budget = std::min(budget * kBudgetGrowth, kLargestBudget)) {
        Picture found(0, 0);
        const CSearch::Result result = search.FindSolution(run, static_cast<std::int64_t>(budget), found);
        if (result == CSearch::Result::Found)
            first = std::move(found);
        else if (result != CSearch::Result::BudgetSpent)
            return {result == CSearch::Result::Exhausted ? SolveAnswer::NoSolution : SolveAnswer::Undecided, {}};
    }
    Answer answer{SolveAnswer::Undecided, {std::move(*first)}};
    Picture second(0, 0);
    const CSearch::Result result = search.FindAnother(answer.solutions.front(), second);
    answer.answer = AnswerAfterSecond(result);
    if (result == CSearch::Result::Found)
        answer.solutions.push_back(std::move(second));
    return answer;
}

// The back end, on a thread of its own, on the cells as the line logic left
// them. It stops the search when its answer stands.
class CBackEndRun {
public:
    enum class State { Working, Answered, Declined, Stopped };

    CBackEndRun(const PuzzleClues& clues, std::vector<CellColours> cells, const std::optional<Picture>& given,
                CDeadline& searchDeadline)
        : m_clues(clues)
        , m_cells(std::move(cells))
        , m_given(given)
        , m_searchDeadline(searchDeadline)
        , m_deadline(searchDeadline)
        , m_thread(&CBackEndRun::Run, this)
    {
    }

    ~CBackEndRun()
    {
        m_deadline.Stop();
        m_thread.join();
    }

    CBackEndRun(const CBackEndRun&) = delete;
    CBackEndRun& operator=(const CBackEndRun&) = delete;

    // The search has done kSearchStandsAlone line solves.
    void SearchPassedItsShare()
    {
        const std::lock_guard lock(m_mutex);
        m_searchPassed = true;
        StopSearchIfAnswerStands();
    }

    // Waits until the back end has answered, declined, or run out of time.
    State Wait(Answer& answer)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_state != State::Working; });
        answer = m_answer;
        return m_state;
    }

private:
    void Run()
    {
        try {
            CSatBackEnd backEnd(m_clues, m_cells, m_deadline);
            Answer answer;
            const State state = Ask(backEnd, answer);
            Finish(state, std::move(answer));
        } catch (const std::bad_alloc&) {
            Finish(State::Declined, {});
        }
    }

    // A first solution, unless one is given, then a second, each checked
    // against the clues by the code that checks every solution.
    State Ask(CSatBackEnd& backEnd, Answer& answer) const
    {
        Picture found(0, 0);
        if (m_given) {
            answer.solutions.push_back(*m_given);
        } else {
            const CSatBackEnd::Result first = backEnd.FindSolution(found);
            if (first == CSatBackEnd::Result::Exhausted)
                answer.answer = SolveAnswer::NoSolution;
            if (first != CSatBackEnd::Result::Found)
                return StateAfter(first);
            if (!PictureFitsClues(found, m_clues))
                return State::Declined;
            answer.solutions.push_back(found);
        }
        const CSatBackEnd::Result second = backEnd.FindAnother(answer.solutions.front(), found);
        if (second == CSatBackEnd::Result::Found && !PictureFitsClues(found, m_clues))
            return State::Declined;
        if (second == CSatBackEnd::Result::Found) {
            answer.answer = SolveAnswer::Several;
            answer.solutions.push_back(found);
        } else if (second == CSatBackEnd::Result::Exhausted) {
            answer.answer = SolveAnswer::Unique;
        }
        return StateAfter(second);
    }

    static State StateAfter(CSatBackEnd::Result result)
    {
        switch (result) {
        case CSatBackEnd::Result::Found:
        case CSatBackEnd::Result::Exhausted: return State::Answered;
        case CSatBackEnd::Result::Declined: return State::Declined;
        case CSatBackEnd::Result::OutOfTime: break;
        }
        return State::Stopped;
    }

    void Finish(State state, Answer answer)
    {
        const std::lock_guard lock(m_mutex);
        m_state = state;
        m_answer = std::move(answer);
        StopSearchIfAnswerStands();
        m_changed.notify_all();
    }

    void StopSearchIfAnswerStands()
    {
        if (m_state == State::Answered && (m_answer.answer != SolveAnswer::Several || m_searchPassed))
            m_searchDeadline.Stop();
    }

    const PuzzleClues& m_clues;
    const std::vector<CellColours> m_cells;
    const std::optional<Picture> m_given;
    CDeadline& m_searchDeadline;
    CDeadline m_deadline;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    State m_state = State::Working;
    Answer m_answer;
    bool m_searchPassed = false;
    std::thread m_thread;
};

std::vector<CellColours> CellsOf(const CGridState& state)
{
    std::vector<CellColours> cells(static_cast<std::size_t>(state.CellCount()));
    for (int cell = 0; cell < state.CellCount(); ++cell)
        cells[cell] = state.Colours(cell);
    return cells;
}

// Which answer stands, of the search's and the back end's (see
// kSearchStandsAlone), and with it the report's solutions.
void TakeAnswer(Answer searched, std::int64_t work, CBackEndRun* backEnd, SolveReport& report)
{
    const bool searchStands = searched.answer == SolveAnswer::NoSolution || searched.answer == SolveAnswer::Unique ||
                              (searched.answer == SolveAnswer::Several && work <= kSearchStandsAlone);
    Answer fromBackEnd;
    const CBackEndRun::State state =
        backEnd && !searchStands ? backEnd->Wait(fromBackEnd) : CBackEndRun::State::Declined;
    const bool backEndStands = state == CBackEndRun::State::Answered;
    Answer& taken = backEndStands ? fromBackEnd : searched;
    report.answer = taken.answer;
    report.solvedBy = backEndStands ? SolveMethod::BackEnd : SolveMethod::Search;
    report.solutions = std::move(taken.solutions);
    if (report.answer == SolveAnswer::Undecided && report.solutions.empty() && !fromBackEnd.solutions.empty())
        report.solutions.push_back(std::move(fromBackEnd.solutions.front()));
}

// Search, with the back end beside it once the search has done a little.
void SearchSolutions(CGridState& state, const PuzzleClues& clues, const Picture* picture, CDeadline& deadline,
                     SolveReport& report)
{
    const std::optional<Picture> given = InkIfSolution(picture, clues);
    std::optional<CBackEndRun> backEnd;
    state.AtLineSolves(kBackEndStart, [&, cells = CellsOf(state)] {
        try {
            backEnd.emplace(clues, cells, given, deadline);
            state.AtLineSolves(kSearchStandsAlone, [&] { backEnd->SearchPassedItsShare(); });
        } catch (const std::system_error&) {
            // No thread for the back end: the search works on alone.
        }
    });
    Answer searched = Search(state, given);
    TakeAnswer(std::move(searched), state.LineSolves(), backEnd ? &*backEnd : nullptr, report);
}

} // namespace

SolveReport SolvePuzzle(const CTessGrid& puzzle, CDeadline::Seconds timeLimit)
{
    return SolveClues(CluesOf(puzzle), timeLimit, puzzle.m_picture ? &*puzzle.m_picture : nullptr);
}

SolveReport SolveClues(const PuzzleClues& clues, CDeadline::Seconds timeLimit, const Picture* picture)
{
    CDeadline deadline(timeLimit);
    CGridState state(clues, deadline);
    SolveReport report;
    const CGridState::Outcome lineLogic = state.Propagate();
    report.lineLogicPasses = state.Passes();
    report.cellCount = state.CellCount();
    report.cellsKnownByLineLogic = state.CellCount() - state.UnknownCells();
    switch (lineLogic) {
    case CGridState::Outcome::OutOfTime:
        return report;
    case CGridState::Outcome::Contradiction:
        report.lineLogic = LineLogicVerdict::ProvesNoSolution;
        report.answer = SolveAnswer::NoSolution;
        return report;
    case CGridState::Outcome::Consistent:
        break;
    }
    if (state.Solved()) {
        report.lineLogic = LineLogicVerdict::Solves;
        report.answer = SolveAnswer::Unique;
        report.solutions.push_back(state.ToPicture());
        return report;
    }
    report.lineLogic = LineLogicVerdict::Stalls;
    SearchSolutions(state, clues, picture, deadline, report);
    return report;
}
