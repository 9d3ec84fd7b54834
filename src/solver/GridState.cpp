#include "solver/GridState.h"

#include <bit>
#include <utility>

namespace {

CellColours ColoursOfLine(const LineClue& clue)
{
    CellColours colours = kBlankBit;
    for (const ClueRun run : clue)
        colours |= run.colour < kPaletteSize ? ColourBit(run.colour) : 0;
    return colours;
}

} // namespace

// A cell can only take a colour that both its row and its column ask for.
CGridState::CGridState(const PuzzleClues& clues, const CDeadline& deadline)
    : m_clues(clues)
    , m_deadline(deadline)
    , m_width(clues.width)
    , m_height(clues.height)
    , m_cells(static_cast<std::size_t>(clues.width) * static_cast<std::size_t>(clues.height))
    , m_rowMarked(static_cast<std::size_t>(clues.height), 1)
    , m_columnMarked(static_cast<std::size_t>(clues.width), 1)
    , m_markedLines(clues.width + clues.height)
{
    std::vector<CellColours> columnColours;
    for (const LineClue& clue : clues.columns)
        columnColours.push_back(ColoursOfLine(clue));
    for (int row = 0; row < m_height; ++row) {
        const CellColours rowColours = ColoursOfLine(clues.rows[row]);
        for (int column = 0; column < m_width; ++column) {
            const CellColours colours = rowColours & columnColours[column];
            m_cells[row * m_width + column] = colours;
            m_unknownCells += Known(colours) ? 0 : 1;
        }
    }
    m_settledBeforeFirstPass = m_unknownCells < CellCount();
}

bool CGridState::Restrict(int cell, CellColours allowed)
{
    const CellColours colours = m_cells[cell] & allowed;
    if (colours == 0)
        return false;
    if (colours != m_cells[cell]) {
        Set(cell, colours);
        MarkLine(true, cell / m_width);
        MarkLine(false, cell % m_width);
    }
    return true;
}

CGridState::Outcome CGridState::Propagate()
{
    m_passes = 0;
    bool settledThisPass = std::exchange(m_settledBeforeFirstPass, false);
    while (m_markedLines > 0) {
        const std::size_t before = m_trail.size();
        for (const bool isRow : {true, false}) {
            std::vector<std::uint8_t>& marked = isRow ? m_rowMarked : m_columnMarked;
            for (int line = 0; line < static_cast<int>(marked.size()); ++line) {
                if (!marked[line])
                    continue;
                if (m_work >= m_milestone)
                    ReachMilestone();
                if (m_deadline.Passed()) {
                    ClearMarks();
                    return Outcome::OutOfTime;
                }
                marked[line] = 0;
                --m_markedLines;
                if (!SolveLine(isRow, line)) {
                    // The pass that finds the contradiction counts as well.
                    ++m_passes;
                    ClearMarks();
                    return Outcome::Contradiction;
                }
            }
        }
        m_passes += settledThisPass || m_trail.size() > before ? 1 : 0;
        settledThisPass = false;
    }
    return Outcome::Consistent;
}

// The exact line solver leaves nothing more to find in its own line, so only
// the crossing lines of a changed cell are marked.
bool CGridState::SolveLine(bool isRow, int line)
{
    const int length = isRow ? m_width : m_height;
    m_line.resize(static_cast<std::size_t>(length));
    for (int i = 0; i < length; ++i)
        m_line[i] = m_cells[CellAt(isRow, line, i)];
    const LineClue& clue = isRow ? m_clues.rows[line] : m_clues.columns[line];
    ++m_lineSolves;
    m_work += (length / 64 + 1) * static_cast<std::int64_t>(clue.size() + 1);
    if (!m_lineSolver.Narrow(clue, m_line))
        return false;
    for (int i = 0; i < length; ++i) {
        const int cell = CellAt(isRow, line, i);
        if (m_line[i] != m_cells[cell]) {
            Set(cell, m_line[i]);
            MarkLine(!isRow, i);
        }
    }
    return true;
}

void CGridState::AtWork(std::int64_t work, std::function<void()> action)
{
    m_milestone = work;
    m_atMilestone = std::move(action);
}

void CGridState::ReachMilestone()
{
    m_milestone = INT64_MAX;
    const std::function<void()> action = std::exchange(m_atMilestone, {});
    action();
}

void CGridState::Set(int cell, CellColours colours)
{
    m_trail.push_back({cell, m_cells[cell]});
    m_unknownCells -= !Known(m_cells[cell]) && Known(colours) ? 1 : 0;
    m_cells[cell] = colours;
}

void CGridState::MarkLine(bool isRow, int line)
{
    std::uint8_t& marked = isRow ? m_rowMarked[line] : m_columnMarked[line];
    m_markedLines += marked ? 0 : 1;
    marked = 1;
}

void CGridState::ClearMarks()
{
    std::fill(m_rowMarked.begin(), m_rowMarked.end(), 0);
    std::fill(m_columnMarked.begin(), m_columnMarked.end(), 0);
    m_markedLines = 0;
}

void CGridState::UndoTo(std::size_t mark)
{
    while (m_trail.size() > mark) {
        const Change change = m_trail.back();
        m_trail.pop_back();
        m_unknownCells += Known(m_cells[change.cell]) && !Known(change.before) ? 1 : 0;
        m_cells[change.cell] = change.before;
    }
}

std::span<const CGridState::Change> CGridState::ChangesSince(std::size_t mark) const
{
    return std::span(m_trail).subspan(mark);
}

Picture CGridState::ToPicture() const
{
    Picture picture(m_height, m_width);
    std::span<std::uint8_t> cells = picture.Items();
    for (std::size_t i = 0; i < cells.size(); ++i)
        cells[i] = static_cast<std::uint8_t>(std::countr_zero(m_cells[i]));
    return picture;
}
