#pragma once

#include "platform/posix/RasterSurface.h"

#include <set>
#include <string>
#include <vector>

// A raster surface that also notes what the painting asks of it: which objects
// it made and deleted, what it selected, and the text it drew where.
class RecordingSurface final : public CDrawingSurface {
public:
    struct Text {
        std::string text;
        DrawRect rect;
        int fontHeight;
    };

    explicit RecordingSurface(int width, int height)
    {
        m_raster.SelectObject(m_raster.CreateCompatibleBitmap(width, height));
        m_raster.PatBlt(0, 0, width, height);
    }

    const RasterBitmap& Bitmap() const { return m_raster.SelectedBitmap(); }
    const std::vector<Text>& Texts() const { return m_texts; }
    // Objects made and not yet deleted, and objects selected but not selected back.
    std::size_t LiveObjects() const { return m_live.size(); }
    int SelectionDepth() const { return m_selectionDepth; }
    int BitBlts() const { return m_bitBlts; }
    int PatBlts() const { return m_patBlts; }

    std::unique_ptr<CDrawingSurface> CreateCompatibleDC() override { return m_raster.CreateCompatibleDC(); }
    DrawObject CreateCompatibleBitmap(int width, int height) override { return Made(m_raster.CreateCompatibleBitmap(width, height)); }
    DrawObject CreateSolidBrush(Colour colour) override { return Made(m_raster.CreateSolidBrush(colour)); }
    DrawObject CreatePen(Colour colour) override { return Made(m_raster.CreatePen(colour)); }
    DrawObject CreateTextFont(const char* faceName, int height) override
    {
        m_fontHeight = height;
        return Made(m_raster.CreateTextFont(faceName, height));
    }
    DrawObject SelectObject(DrawObject object) override
    {
        m_selectionDepth += m_live.contains(object) ? 1 : -1;
        return m_raster.SelectObject(object);
    }
    void DeleteObject(DrawObject object) override
    {
        m_live.erase(object);
        m_raster.DeleteObject(object);
    }
    void Rectangle(int left, int top, int right, int bottom) override { m_raster.Rectangle(left, top, right, bottom); }
    void MoveTo(int x, int y) override { m_raster.MoveTo(x, y); }
    void LineTo(int x, int y) override { m_raster.LineTo(x, y); }
    void SetPixel(int x, int y, Colour colour) override { m_raster.SetPixel(x, y, colour); }
    void SetBkColor(Colour colour) override { m_raster.SetBkColor(colour); }
    void SetTextColor(Colour colour) override { m_raster.SetTextColor(colour); }
    int PixelsPerInchY() override { return m_raster.PixelsPerInchY(); }
    void DrawCentredText(std::string_view text, const DrawRect& rect) override
    {
        m_texts.push_back({std::string(text), rect, m_fontHeight});
        m_raster.DrawCentredText(text, rect);
    }
    void PatBlt(int x, int y, int width, int height) override
    {
        ++m_patBlts;
        m_raster.PatBlt(x, y, width, height);
    }
    void BitBlt(int x, int y, int width, int height, CDrawingSurface& source, int sourceX, int sourceY) override
    {
        ++m_bitBlts;
        m_raster.BitBlt(x, y, width, height, source, sourceX, sourceY);
    }

private:
    DrawObject Made(DrawObject object)
    {
        m_live.insert(object);
        return object;
    }

    CRasterSurface m_raster;
    std::set<DrawObject> m_live;
    std::vector<Text> m_texts;
    int m_fontHeight = 0;
    int m_selectionDepth = 0;
    int m_bitBlts = 0;
    int m_patBlts = 0;
};
