#pragma once

#include "model/TessGrid.h"
#include "render/DrawingSurface.h"
#include "viewer/ScrollView.h"

#include <memory>
#include <string>
#include <utility>

// The viewer window of one puzzle file. It paints the whole puzzle once into an
// off-screen picture of its scroll area, so that a paint, a scroll or a resize
// only copies pixels from it and fills the rest of the window white. The
// picture is no larger, whatever the screen: the limit on it bounds all that
// the viewer allocates.
class CGridlooker final : public CScrollView {
public:
    // Loads the puzzle. A file that does not load (or whose picture would be
    // too large to make) leaves m_puzzle null, and the caller discards the viewer.
    explicit CGridlooker(std::string fileName);
    ~CGridlooker() override;

    bool OnMessage(std::uint32_t message, WParam wParam, LParam lParam, LResult& result) override;

    // Makes the off-screen picture again; false without a puzzle or when its
    // bitmap cannot be made, which leaves the picture there was.
    bool RebuildPicture();
    // Whether an off-screen picture has been made: a viewer shown without one
    // is declined.
    bool HasPicture() const { return m_bitmap != 0; }
    std::pair<int, int> GetCentreOffset() const;
    void CopyToScreen(CDrawingSurface& dc);
    void PaintPuzzle(CDrawingSurface& dc);

    std::unique_ptr<CTessGrid> m_puzzle;
    std::unique_ptr<CDrawingSurface> m_memDC;
    DrawObject m_bitmap = 0;
    DrawObject m_backBrush = 0;
    Colour m_backColour = kWhite;
    int m_bitmapWidth = 0;
    int m_bitmapHeight = 0;

private:
    void OnDraw(CDrawingSurface& dc) override { CopyToScreen(dc); }
    void OnShowWindow(bool shown);
    void FillAroundPicture(CDrawingSurface& dc, ScrollSize client, std::pair<int, int> offset) const;
    void OnKeyDown(WParam key, LParam lParam);
    void OnChar(WParam character, LParam lParam);
    void SetPuzzleScrollSizes();
    void ReleaseOffscreenObjects();

    // What the memory context held before our bitmap and brush, selected back
    // before those are deleted.
    DrawObject m_originalBitmap = 0;
    DrawObject m_originalBrush = 0;
};
