#include "solver/PuzzleSolver.h"

#include "sat/SatBackEnd.h"
#include "solver/GridState.h"
#include "solver/Search.h"

#include <algorithm>
#include <condition_variable>
#include <memory>
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

// Work in the units of CGridState::AtWork, some 30 ns each on the machine of
// docs/performance.md. The search works alone for its first few milliseconds:
// a puzzle it decides that soon never pays for the back end.
constexpr std::int64_t kBackEndStart = 200'000;
// Within this much work (some two seconds) the search's answer of several
// solutions stands, with its two solutions; after it, the back end's does.
// Which engine gives the two solutions is thus a matter of work done, not of
// which thread comes first, and the same clues give the same two every time.
// An answer of none or one solution is the same from either engine, so it
// stands whenever it comes. The share is as long as the search takes on
// nearly all random puzzles of several solutions (it is quicker than the back
// end at finding a second one there), and shorter than the back end takes on
// the hard puzzles of the survey that have several.
constexpr std::int64_t kSearchStandsAlone = 60'000'000;

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
    Answer answer;
    if (given)
        answer.solutions.push_back(*given);
    double budget = kFirstBudget;
    for (int run = 0; answer.solutions.empty(); ++run, budget = std::min(budget * kBudgetGrowth, kLargestBudget)) {
        Picture found(0, 0);
        const CSearch::Result result = search.FindSolution(run, static_cast<std::int64_t>(budget), found);
        if (result == CSearch::Result::Found)
            answer.solutions.push_back(std::move(found));
        else if (result != CSearch::Result::BudgetSpent)
            return {result == CSearch::Result::Exhausted ? SolveAnswer::NoSolution : SolveAnswer::Undecided, {}};
    }
    Picture second(0, 0);
    const CSearch::Result result = search.FindAnother(answer.solutions.front(), second);
    answer.answer = AnswerAfterSecond(result);
    if (result == CSearch::Result::Found)
        answer.solutions.push_back(std::move(second));
    return answer;
}

// The back end, on the cells as the line logic left them, with its own copy
// of everything it reads: once its answer is no longer wanted, it may go on
// freeing its memory on its own thread while the solver returns. It stops the
// search when its answer stands.
class CBackEndRun {
public:
    enum class State { Working, Answered, Declined, Stopped };

    CBackEndRun(const PuzzleClues& clues, std::vector<CellColours> cells, const std::optional<Picture>& given,
                CDeadline& searchDeadline)
        : m_clues(clues)
        , m_cells(std::move(cells))
        , m_given(given)
        , m_searchDeadline(&searchDeadline)
        , m_deadline(searchDeadline)
    {
    }

    // On the back end's own thread.
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

    // The search has done kSearchStandsAlone of work.
    void SearchPassedItsShare()
    {
        const std::lock_guard lock(m_mutex);
        m_searchPassed = true;
        StopSearchIfAnswerStands();
    }

    // Waits until the back end has answered or declined, and no longer than
    // the time limit: CaDiCaL may take a while to notice it (up to some 150 ms
    // on formulas near the cap, in its simplification between searches), and
    // the answer does not wait for that.
    State Wait(Answer& answer)
    {
        std::unique_lock lock(m_mutex);
        if (!m_changed.wait_until(lock, m_deadline.End(), [&] { return m_state != State::Working; }))
            return State::Stopped;
        answer = m_answer;
        return m_state;
    }

    // The solver is done with it: it stops, and leaves the search's deadline
    // alone from now on.
    void Abandon()
    {
        const std::lock_guard lock(m_mutex);
        m_searchDeadline = nullptr;
        m_deadline.Stop();
    }

private:
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
        const bool stands = m_answer.answer != SolveAnswer::Several || m_searchPassed;
        if (m_searchDeadline && m_state == State::Answered && stands)
            m_searchDeadline->Stop();
    }

    const PuzzleClues m_clues;
    const std::vector<CellColours> m_cells;
    const std::optional<Picture> m_given;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    CDeadline* m_searchDeadline;
    CDeadline m_deadline;
    State m_state = State::Working;
    Answer m_answer;
    bool m_searchPassed = false;
};

// Threads of back ends that were told to stop, freeing their memory (some 70
// ns a literal of the formula): the answer does not wait for that. Each is
// joined before another back end starts, so one at most is ever left, and the
// last at exit.
class CStoppingThreads {
public:
    static CStoppingThreads& Instance()
    {
        static CStoppingThreads threads;
        return threads;
    }

    ~CStoppingThreads() { JoinAll(); }

    void Add(std::thread thread)
    {
        const std::lock_guard lock(m_mutex);
        m_threads.push_back(std::move(thread));
    }

    void JoinAll()
    {
        std::vector<std::thread> threads;
        {
            const std::lock_guard lock(m_mutex);
            threads.swap(m_threads);
        }
        for (std::thread& thread : threads)
            thread.join();
    }

private:
    std::mutex m_mutex;
    std::vector<std::thread> m_threads;
};

// The back end's thread, as the search sees it.
class CBackEndThread {
public:
    CBackEndThread(const PuzzleClues& clues, std::vector<CellColours> cells, const std::optional<Picture>& given,
                   CDeadline& searchDeadline)
        : m_run(std::make_shared<CBackEndRun>(clues, std::move(cells), given, searchDeadline))
    {
        CStoppingThreads::Instance().JoinAll();
        m_thread = std::thread([run = m_run] { run->Run(); });
    }

    ~CBackEndThread()
    {
        m_run->Abandon();
        CStoppingThreads::Instance().Add(std::move(m_thread));
    }

    CBackEndThread(const CBackEndThread&) = delete;
    CBackEndThread& operator=(const CBackEndThread&) = delete;

    CBackEndRun& Run() { return *m_run; }

private:
    std::shared_ptr<CBackEndRun> m_run;
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
void TakeAnswer(Answer searched, std::int64_t work, CBackEndThread* backEnd, SolveReport& report)
{
    const bool searchStands = searched.answer == SolveAnswer::NoSolution || searched.answer == SolveAnswer::Unique ||
                              (searched.answer == SolveAnswer::Several && work <= kSearchStandsAlone);
    Answer fromBackEnd;
    const CBackEndRun::State state =
        backEnd && !searchStands ? backEnd->Run().Wait(fromBackEnd) : CBackEndRun::State::Declined;
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
    std::optional<CBackEndThread> backEnd;
    state.AtWork(kBackEndStart, [&, cells = CellsOf(state)] {
        try {
            backEnd.emplace(clues, cells, given, deadline);
            state.AtWork(kSearchStandsAlone, [&] { backEnd->Run().SearchPassedItsShare(); });
        } catch (const std::system_error&) {
            // No thread for the back end: the search works on alone.
        }
    });
    Answer searched = Search(state, given);
    TakeAnswer(std::move(searched), state.Work(), backEnd ? &*backEnd : nullptr, report);
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
