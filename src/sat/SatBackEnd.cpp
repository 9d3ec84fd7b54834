#include "sat/SatBackEnd.h"

#include "sat/PuzzleFormula.h"

#include <cadical.hpp>

#include <cstdlib>

// CaDiCaL with the formula in it; CaDiCaL asks it whether to stop.
class CSatBackEnd::CSession : public CaDiCaL::Terminator {
public:
    CSession(const PuzzleClues& clues, std::span<const CellColours> cells, const CDeadline& deadline)
        : m_formula(clues, cells)
        , m_deadline(deadline)
    {
        // CaDiCaL reports some findings on stdout, which is the command's.
        m_solver.set("quiet", 1);
        // Every variable false first: blank cells, and no state of a line
        // taken yet. Measured on the hard puzzles of the benchmark, it makes
        // fewer propagations than CaDiCaL's default (all true) on the whole
        // (docs/performance.md).
        m_solver.set("phase", 0);
        m_solver.connect_terminator(this);
    }

    ~CSession() override { m_solver.disconnect_terminator(); }

    bool terminate() override { return m_deadline.Passed(); }

    CPuzzleFormula m_formula;
    CaDiCaL::Solver m_solver;

private:
    const CDeadline& m_deadline;
};

CSatBackEnd::CSatBackEnd(const PuzzleClues& clues, std::span<const CellColours> cells, const CDeadline& deadline,
                         std::int64_t maxLiterals)
    : m_deadline(deadline)
    , m_session(std::make_unique<CSession>(clues, cells, deadline))
{
    // Measured first, so that a formula beyond the cap never takes CaDiCaL's
    // memory, and CaDiCaL gets its variables at once.
    int largestVariable = 0;
    const auto count = [&](std::span<const int> clause) {
        for (const int literal : clause)
            largestVariable = std::max(largestVariable, std::abs(literal));
        m_literals += static_cast<std::int64_t>(clause.size());
    };
    const auto stop = [&] { return m_literals > maxLiterals || m_deadline.Passed(); };
    if (!m_session->m_formula.Emit(count, stop)) {
        m_unavailable = m_literals > maxLiterals ? Result::Declined : Result::OutOfTime;
        m_session.reset();
        return;
    }
    CaDiCaL::Solver& solver = m_session->m_solver;
    solver.reserve(largestVariable);
    const auto add = [&](std::span<const int> clause) {
        for (const int literal : clause)
            solver.add(literal);
        solver.add(0);
    };
    if (!m_session->m_formula.Emit(add, [&] { return m_deadline.Passed(); })) {
        m_unavailable = Result::OutOfTime;
        m_session.reset();
    }
}

CSatBackEnd::~CSatBackEnd() = default;

CSatBackEnd::Result CSatBackEnd::FindSolution(Picture& found)
{
    return Solve(found);
}

CSatBackEnd::Result CSatBackEnd::FindAnother(const Picture& known, Picture& found)
{
    if (!m_session)
        return m_unavailable;
    if (const std::optional<std::vector<int>> clause = m_session->m_formula.Excluding(known)) {
        for (const int literal : *clause)
            m_session->m_solver.add(literal);
        m_session->m_solver.add(0);
    }
    return Solve(found);
}

CSatBackEnd::Result CSatBackEnd::Solve(Picture& found)
{
    if (!m_session)
        return m_unavailable;
    CaDiCaL::Solver& solver = m_session->m_solver;
    switch (solver.solve()) {
    case 10:
        found = m_session->m_formula.Read([&](int variable) { return solver.val(variable) > 0; });
        return Result::Found;
    case 20:
        return Result::Exhausted;
    default:
        return Result::OutOfTime;
    }
}
