#pragma once

#include "solver/Deadline.h"
#include "solver/LineSolver.h"
#include "solver/PuzzleClues.h"

#include <cstdint>
#include <memory>
#include <span>

// The solver's back end for the puzzles that search finds hard: the puzzle as
// a formula (PuzzleFormula.h) handed to the CDCL solver CaDiCaL, which learns
// from every conflict what depth-first search would meet again and again.
// Asked for a second solution, it rules the first out with one more clause
// and goes on with all it learned.
//
// The formula is built from what the line logic left open, and only up to
// kMaxLiterals: beyond that, the back end declines and the search works on
// alone. The same clues and cells always give the same formula and the same
// answers; CaDiCaL is deterministic. The deadline is asked before each line
// of the formula and whenever CaDiCaL looks for termination, every few
// decisions.
class CSatBackEnd {
public:
    enum class Result { Found, Exhausted, OutOfTime, Declined };

    // Literals of the formula at most. CaDiCaL takes some 50 bytes a literal
    // (its clauses, their watches, its variables), so about 100 MB at most,
    // and what it learns adds to that; and freeing it all takes some 70 ns a
    // literal, which an answer at the time limit waits for. The formulas of
    // the survey's hard puzzles have up to a million. A formula beyond the cap
    // is only counted, never built.
    static constexpr std::int64_t kMaxLiterals = 2'000'000;

    // `cells` are the colours every cell may still take, rows from the top;
    // every solution must lie within them. A formula of more than
    // `maxLiterals` literals is declined.
    CSatBackEnd(const PuzzleClues& clues, std::span<const CellColours> cells, const CDeadline& deadline,
                std::int64_t maxLiterals = kMaxLiterals);
    ~CSatBackEnd();
    CSatBackEnd(const CSatBackEnd&) = delete;
    CSatBackEnd& operator=(const CSatBackEnd&) = delete;

    Result FindSolution(Picture& found);
    // Rules `known` out and looks again: Exhausted means that no solution
    // other than those ruled out is left.
    Result FindAnother(const Picture& known, Picture& found);

    std::int64_t Literals() const { return m_literals; }

private:
    class CSession;

    Result Solve(Picture& found);

    const CDeadline& m_deadline;
    std::unique_ptr<CSession> m_session;
    // What every question gets once the session is gone.
    Result m_unavailable = Result::Declined;
    std::int64_t m_literals = 0;
};
