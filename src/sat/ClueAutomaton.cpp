#include "sat/ClueAutomaton.h"

#include <algorithm>

CClueAutomaton::CClueAutomaton(std::span<const ClueRun> runs)
{
    m_colour.push_back(0);
    for (std::size_t j = 0; j < runs.size(); ++j) {
        m_colour.insert(m_colour.end(), runs[j].length, runs[j].colour);
        m_colour.push_back(0);
    }
    m_skipsGap.assign(m_colour.size(), 0);
    std::size_t lastCell = 0;
    for (std::size_t j = 0; j + 1 < runs.size(); ++j) {
        lastCell += 1 + runs[j].length;
        m_skipsGap[lastCell - 1] = runs[j].colour != runs[j + 1].colour ? 1 : 0;
    }
}

// Forward: the states that a walk over the cells so far can be in at each
// cell. Backward, over those: the states from which the walk can still reach
// an end.
bool CLineStates::Reckon(const CClueAutomaton& automaton, std::span<const CellColours> cells)
{
    const int length = static_cast<int>(cells.size());
    m_stateCount = automaton.StateCount();
    m_words = (m_stateCount + 63) / 64;
    m_reached.assign(static_cast<std::size_t>(length) * m_words, 0);
    m_possible.assign(static_cast<std::size_t>(length) * m_words, 0);
    if (length == 0)
        return m_stateCount == 1;
    const auto allows = [&](int cell, int state) { return (cells[cell] & ColourBit(automaton.Colour(state))) != 0; };
    for (int state = 0; state < m_stateCount; ++state) {
        if (automaton.CanStart(state) && allows(0, state))
            Set(m_reached, 0, state);
    }
    for (int cell = 0; cell + 1 < length; ++cell) {
        for (int state = 0; state < m_stateCount; ++state) {
            if (!Test(m_reached, cell, state))
                continue;
            automaton.ForEachSuccessor(state, [&](int next) {
                if (allows(cell + 1, next))
                    Set(m_reached, cell + 1, next);
            });
        }
    }
    for (int state = 0; state < m_stateCount; ++state) {
        if (automaton.CanEnd(state) && Test(m_reached, length - 1, state))
            Set(m_possible, length - 1, state);
    }
    for (int cell = length - 2; cell >= 0; --cell) {
        for (int state = 0; state < m_stateCount; ++state) {
            if (!Test(m_reached, cell, state))
                continue;
            bool onward = false;
            automaton.ForEachSuccessor(state, [&](int next) { onward = onward || Test(m_possible, cell + 1, next); });
            if (onward)
                Set(m_possible, cell, state);
        }
    }
    return std::any_of(m_possible.begin(), m_possible.begin() + m_words, [](std::uint64_t word) { return word != 0; });
}
