#include "sat/PuzzleFormula.h"

#include <bit>

namespace {

bool Settled(CellColours colours)
{
    return (colours & (colours - 1)) == 0;
}

int HighestColour(CellColours colours)
{
    return std::bit_width(static_cast<unsigned>(colours)) - 1;
}

} // namespace

// Gathers one clause: a kTrue literal satisfies it, so it is left out; kFalse
// literals are dropped.
class CPuzzleFormula::CClauseBuilder {
public:
    explicit CClauseBuilder(const ClauseSink& sink)
        : m_sink(sink)
    {
    }

    CClauseBuilder& Start()
    {
        m_literals.clear();
        m_satisfied = false;
        return *this;
    }

    CClauseBuilder& Or(int literal)
    {
        if (literal == kTrue)
            m_satisfied = true;
        else if (literal != kFalse)
            m_literals.push_back(literal);
        return *this;
    }

    void End()
    {
        if (!m_satisfied)
            m_sink(m_literals);
    }

private:
    const ClauseSink& m_sink;
    std::vector<int> m_literals;
    bool m_satisfied = false;
};

CPuzzleFormula::CPuzzleFormula(const PuzzleClues& clues, std::span<const CellColours> cells)
    : m_width(clues.width)
    , m_height(clues.height)
    , m_cells(cells.begin(), cells.end())
    , m_firstVariable(m_cells.size(), 0)
{
    for (std::size_t cell = 0; cell < m_cells.size(); ++cell) {
        const int colours = std::popcount(static_cast<unsigned>(m_cells[cell]));
        m_consistent = m_consistent && colours > 0;
        if (colours < 2)
            continue;
        m_firstVariable[cell] = m_cellVariables + 1;
        m_cellVariables += colours == 2 ? 1 : colours;
    }
    const auto addLine = [&](const LineClue& clue, int first, int step, int length) {
        for (const ClueRun run : clue)
            m_consistent = m_consistent && run.length > 0 && run.colour > 0 && run.colour < kPaletteSize;
        Line line{{}, &clue};
        for (int i = 0; i < length; ++i)
            line.cells.push_back(first + i * step);
        m_lines.push_back(std::move(line));
    };
    for (int row = 0; row < clues.height; ++row)
        addLine(clues.rows[row], row * clues.width, 1, clues.width);
    for (int column = 0; column < clues.width; ++column)
        addLine(clues.columns[column], column, clues.width, clues.height);
}

int CPuzzleFormula::CellIs(int cell, int colour) const
{
    const CellColours colours = m_cells[cell];
    if ((colours & ColourBit(colour)) == 0)
        return kFalse;
    if (Settled(colours))
        return kTrue;
    const int first = m_firstVariable[cell];
    if (std::popcount(static_cast<unsigned>(colours)) == 2)
        return colour == HighestColour(colours) ? first : -first;
    return first + std::popcount(static_cast<unsigned>(colours & (ColourBit(colour) - 1)));
}

bool CPuzzleFormula::Emit(const ClauseSink& sink, const std::function<bool()>& stop) const
{
    CClauseBuilder clause(sink);
    if (!m_consistent) {
        clause.Start().End();
        return true;
    }
    for (int cell = 0; cell < static_cast<int>(m_cells.size()); ++cell)
        EmitCell(cell, clause);
    int nextVariable = m_cellVariables + 1;
    CLineStates states;
    for (const Line& line : m_lines) {
        if (stop())
            return false;
        EmitLine(line, nextVariable, states, clause);
    }
    return true;
}

// One colour at least, and no two, where more than two are left.
void CPuzzleFormula::EmitCell(int cell, CClauseBuilder& clause) const
{
    const CellColours colours = m_cells[cell];
    if (std::popcount(static_cast<unsigned>(colours)) <= 2)
        return;
    clause.Start();
    for (int colour = 0; colour < kPaletteSize; ++colour)
        clause.Or(CellIs(cell, colour));
    clause.End();
    for (int a = 0; a < kPaletteSize; ++a) {
        for (int b = a + 1; b < kPaletteSize; ++b) {
            if ((colours & ColourBit(a)) != 0 && (colours & ColourBit(b)) != 0)
                clause.Start().Or(-CellIs(cell, a)).Or(-CellIs(cell, b)).End();
        }
    }
}

// The states a cell can be read in get a variable each, unless there is only
// one, which is then true.
void CPuzzleFormula::EmitLine(const Line& line, int& nextVariable, CLineStates& states, CClauseBuilder& clause) const
{
    const CClueAutomaton automaton(*line.clue);
    const int length = static_cast<int>(line.cells.size());
    std::vector<CellColours> colours(static_cast<std::size_t>(length));
    for (int i = 0; i < length; ++i)
        colours[i] = m_cells[line.cells[i]];
    if (!states.Reckon(automaton, colours)) {
        clause.Start().End();
        return;
    }
    const int stateCount = automaton.StateCount();
    std::vector<int> variable(static_cast<std::size_t>(length) * stateCount, kFalse);
    const auto at = [&](int i, int state) -> int& { return variable[static_cast<std::size_t>(i) * stateCount + state]; };
    for (int i = 0; i < length; ++i) {
        int possible = 0;
        states.ForEachPossible(i, [&](int) { ++possible; });
        states.ForEachPossible(i, [&](int state) { at(i, state) = possible == 1 ? kTrue : nextVariable++; });
    }
    for (int i = 0; i < length; ++i) {
        const int cell = line.cells[i];
        clause.Start();
        states.ForEachPossible(i, [&](int state) { clause.Or(at(i, state)); });
        clause.End();
        states.ForEachPossible(i, [&](int state) {
            const int in = at(i, state);
            clause.Start().Or(-in).Or(CellIs(cell, automaton.Colour(state))).End();
            if (i + 1 < length) {
                clause.Start().Or(-in);
                automaton.ForEachSuccessor(state, [&](int next) { clause.Or(at(i + 1, next)); });
                clause.End();
            }
            if (i > 0) {
                clause.Start().Or(-in);
                automaton.ForEachPredecessor(state, [&](int before) { clause.Or(at(i - 1, before)); });
                clause.End();
            }
        });
        if (Settled(m_cells[cell]))
            continue;
        for (int colour = 0; colour < kPaletteSize; ++colour) {
            if ((m_cells[cell] & ColourBit(colour)) == 0)
                continue;
            clause.Start().Or(-CellIs(cell, colour));
            states.ForEachPossible(i, [&](int state) {
                if (automaton.Colour(state) == colour)
                    clause.Or(at(i, state));
            });
            clause.End();
        }
    }
}

Picture CPuzzleFormula::Read(const std::function<bool(int)>& isTrue) const
{
    Picture picture(m_height, m_width);
    std::span<std::uint8_t> items = picture.Items();
    for (std::size_t cell = 0; cell < m_cells.size(); ++cell) {
        for (int colour = 0; colour < kPaletteSize; ++colour) {
            const int literal = CellIs(static_cast<int>(cell), colour);
            const bool holds = literal == kTrue || (literal != kFalse && isTrue(literal > 0 ? literal : -literal) == (literal > 0));
            if (holds) {
                items[cell] = static_cast<std::uint8_t>(colour);
                break;
            }
        }
    }
    return picture;
}

std::optional<std::vector<int>> CPuzzleFormula::Excluding(const Picture& picture) const
{
    const std::span<const std::uint8_t> items = picture.Items();
    if (items.size() != m_cells.size())
        return std::nullopt;
    std::vector<int> clause;
    for (std::size_t cell = 0; cell < m_cells.size(); ++cell) {
        const int literal = items[cell] < kPaletteSize ? CellIs(static_cast<int>(cell), items[cell]) : kFalse;
        if (literal == kFalse)
            return std::nullopt;
        if (literal != kTrue)
            clause.push_back(-literal);
    }
    return clause;
}
