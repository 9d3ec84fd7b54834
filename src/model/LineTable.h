#pragma once

#include <cstddef>
#include <span>
#include <vector>

// A fixed number of lines of one fixed length, kept in one block. The clue lists
// of one direction and the picture's rows both have this shape.
template <typename Item>
class LineTable {
public:
    LineTable(int lineCount, int lineLength)
        : m_lineCount(lineCount)
        , m_lineLength(lineLength)
        , m_items(static_cast<std::size_t>(lineCount) * static_cast<std::size_t>(lineLength))
    {
    }

    int LineCount() const { return m_lineCount; }
    int LineLength() const { return m_lineLength; }

    std::span<Item> operator[](int line) { return {m_items.data() + Offset(line), Length()}; }
    std::span<const Item> operator[](int line) const { return {m_items.data() + Offset(line), Length()}; }

    std::span<Item> Items() { return m_items; }
    std::span<const Item> Items() const { return m_items; }

private:
    std::size_t Length() const { return static_cast<std::size_t>(m_lineLength); }
    std::size_t Offset(int line) const { return static_cast<std::size_t>(line) * Length(); }

    int m_lineCount;
    int m_lineLength;
    std::vector<Item> m_items;
};
