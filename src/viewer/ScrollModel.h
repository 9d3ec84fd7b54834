#pragma once

// The arithmetic of a scrolling window: the scroll range of the whole drawing,
// the steps of a line and a page, the visible part of the window, which scroll
// bars it needs, and the position, always clamped to the range.

struct ScrollSize {
    int cx = 0;
    int cy = 0;

    bool operator==(const ScrollSize&) const = default;
};

enum class ScrollAxis { Horizontal, Vertical };

class CScrollModel {
public:
    void SetScrollSizes(ScrollSize total, ScrollSize page, ScrollSize line);
    // The window's client area as it would be without scroll bars, and the
    // room a bar takes: the width of the vertical one, the height of the
    // horizontal one.
    void SetClientArea(ScrollSize withoutBars, ScrollSize barThickness);

    ScrollSize Total() const { return m_total; }
    ScrollSize Page() const { return m_page; }
    ScrollSize Line() const { return m_line; }
    // The visible part: the client area less the bars shown.
    ScrollSize Client() const;
    ScrollSize Position() const { return m_position; }
    ScrollSize MaxPosition() const;
    bool HasBar(ScrollAxis axis) const { return axis == ScrollAxis::Horizontal ? m_horizontalBar : m_verticalBar; }

    // Each returns whether the position changed.
    bool ScrollTo(ScrollAxis axis, int position);
    // A scroll-bar code (line, page, thumb, top, bottom); `thumb` is the
    // position for the thumb codes.
    bool Scroll(ScrollAxis axis, int code, int thumb);
    // A wheel turn along `axis` of `towardsEnd` (kWheelDelta a notch; positive
    // moves toward the end of the range) scrolls `linesPerNotch` lines per
    // notch, at most a page per message. High-resolution wheels send parts of
    // a notch: what does not make a whole line yet is kept for the next turn
    // in the same direction, so that any split of a notch scrolls as the notch.
    bool Wheel(ScrollAxis axis, int towardsEnd, unsigned linesPerNotch);

    // Panning with the middle button: the drawing follows the pointer as if
    // dragged by it, for as long as the button is held.
    bool BeginPan(int x, int y);
    bool PanTo(int x, int y);
    void EndPan() { m_panning = false; }
    bool IsPanning() const { return m_panning; }

private:
    void UpdateBars();

    ScrollSize m_total;
    ScrollSize m_page;
    ScrollSize m_line;
    ScrollSize m_withoutBars;
    ScrollSize m_barThickness;
    ScrollSize m_position;
    bool m_horizontalBar = false;
    bool m_verticalBar = false;
    // Wheel turns not scrolled yet, in lines x kWheelDelta, for each axis.
    ScrollSize m_wheelRemainder;
    bool m_panning = false;
    ScrollSize m_panPointer;
    ScrollSize m_panPosition;
};
