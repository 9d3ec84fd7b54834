// The window seam on Qt widgets, for lister hosts built on Qt (Double
// Commander's Qt builds): the host's parent window is a QWidget, and so is the
// window handle the host gets back. The same source builds for Qt 5 and Qt 6.
#include "platform/posix/RasterSurface.h"
#include "viewer/ScrollView.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QThread>
#include <QTimer>
#include <QtTest/qtestspontaneevent.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <unordered_map>
#include <utility>

namespace {

// A key reaches the viewer with a repeat count of 1 and no flags: Qt sends
// each repeated key on its own.
constexpr LParam kOneKeystroke = 1;

struct KeyTranslation {
    int qtKey;
    std::uint32_t virtualKey;
};

constexpr KeyTranslation kNavigationKeys[] = {
    {Qt::Key_PageUp, kVkPrior}, {Qt::Key_PageDown, kVkNext}, {Qt::Key_End, kVkEnd},     {Qt::Key_Home, kVkHome},
    {Qt::Key_Left, kVkLeft},    {Qt::Key_Up, kVkUp},         {Qt::Key_Right, kVkRight}, {Qt::Key_Down, kVkDown},
};

// The virtual-key code of a navigation key, or 0 for any other key.
std::uint32_t VirtualKeyOf(int qtKey)
{
    const auto found = std::ranges::find(kNavigationKeys, qtKey, &KeyTranslation::qtKey);
    return found == std::end(kNavigationKeys) ? 0 : found->virtualKey;
}

struct ActionTranslation {
    int action;
    int scrollCode;
};

constexpr ActionTranslation kScrollBarActions[] = {
    {QAbstractSlider::SliderSingleStepAdd, kSbLineDown}, {QAbstractSlider::SliderSingleStepSub, kSbLineUp},
    {QAbstractSlider::SliderPageStepAdd, kSbPageDown},   {QAbstractSlider::SliderPageStepSub, kSbPageUp},
    {QAbstractSlider::SliderToMinimum, kSbTop},          {QAbstractSlider::SliderToMaximum, kSbBottom},
    {QAbstractSlider::SliderMove, kSbThumbTrack},
};

int Along(ScrollSize size, ScrollAxis axis)
{
    return axis == ScrollAxis::Horizontal ? size.cx : size.cy;
}

// Two 16-bit values in one lParam, as a mouse position or a client size.
LParam PackedParam(int low, int high)
{
    return static_cast<LParam>(MakeWParam(static_cast<unsigned>(low), static_cast<unsigned>(high)));
}

// What a key event holds, to make it again later: Qt 6 copies no event.
struct KeyRecord {
    explicit KeyRecord(const QKeyEvent& event)
        : type(event.type()), key(event.key()), modifiers(event.modifiers()), scanCode(event.nativeScanCode()),
          virtualKey(event.nativeVirtualKey()), nativeModifiers(event.nativeModifiers()), text(event.text()),
          autoRepeat(event.isAutoRepeat()), count(static_cast<quint16>(event.count()))
    {
    }
    QKeyEvent Event() const
    {
        return QKeyEvent(type, key, modifiers, scanCode, virtualKey, nativeModifiers, text, autoRepeat, count);
    }

    QEvent::Type type;
    int key;
    Qt::KeyboardModifiers modifiers;
    quint32 scanCode;
    quint32 virtualKey;
    quint32 nativeModifiers;
    QString text;
    bool autoRepeat;
    quint16 count;
};

// The host acts only on keys that its top-level window receives from the
// window system; a key sent by a program is ignored. So the copy is marked as
// coming from the window system and goes through the application's notify, as
// such a key does. It waits for the event loop, because the host may close the
// viewer, deleting this widget, while it handles the key; the timer's context
// guards the top-level window, and a key for a window gone by then is dropped.
void HandKeyToHost(QWidget& from, const QKeyEvent& key)
{
    QWidget* const topLevel = from.window();
    QTimer::singleShot(0, topLevel, [topLevel, record = KeyRecord(key)] {
        QKeyEvent copy = record.Event();
        QSpontaneKeyEvent::setSpontaneous(&copy);
        QCoreApplication::instance()->notify(topLevel, &copy);
    });
}

// A character as the key that types it.
QKeyEvent CharacterKey(WParam character)
{
    const QChar text(static_cast<char16_t>(LowWord(character)));
    return QKeyEvent(QEvent::KeyPress, text.toUpper().unicode(), Qt::NoModifier, QString(text));
}

// Where a mouse event found the pointer, in the widget's pixels.
LParam PointerParam(const QMouseEvent& event)
{
#if QT_VERSION_MAJOR >= 6
    const QPoint at = event.position().toPoint();
#else
    const QPoint at = event.pos();
#endif
    return PackedParam(at.x(), at.y());
}

class CQtGlue;

// The viewer window: a scroll area whose bars, keys, wheel, mouse and paints
// all go to the portable view as window messages.
class CViewerArea final : public QAbstractScrollArea {
public:
    CViewerArea(CQtGlue& glue, QWidget* parent);
    ~CViewerArea() override;
    CViewerArea(const CViewerArea&) = delete;
    CViewerArea& operator=(const CViewerArea&) = delete;

    // The view has let go of its window: nothing goes to it any more.
    void Forget() { m_glue = nullptr; }
    // Showing and hiding the window itself, as the host or the view does it;
    // not the showing of an ancestor.
    void setVisible(bool visible) override;

protected:
    bool viewportEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // The view repaints after every move it makes.
    void scrollContentsBy(int, int) override {}

private:
    void Send(std::uint32_t message, WParam wParam, LParam lParam);
    void FollowScrollBar(QScrollBar& bar, ScrollAxis axis);

    CQtGlue* m_glue;
    // The window's own visibility, whatever its ancestors': Qt counts a child
    // of a hidden parent as shown already.
    bool m_shown = false;
};

class CQtGlue final : public CWindowGlue {
public:
    explicit CQtGlue(CScrollView& view) : m_view(view) {}
    ~CQtGlue() override { Destroy(); }
    CQtGlue(const CQtGlue&) = delete;
    CQtGlue& operator=(const CQtGlue&) = delete;

    CScrollView& View() { return m_view; }
    // A message as the window receives it: the view first, then default processing.
    LResult Dispatch(std::uint32_t message, WParam wParam, LParam lParam);
    // The host deleted the window (with its own): the view ends with it.
    void WindowGone();
    void Paint(QWidget& viewport);
    void KeyPressed(const QKeyEvent& event);
    void ScrollBarAction(ScrollAxis axis, int action);
    void Wheel(std::uint32_t message, unsigned keys, std::int64_t turn);

    bool Create(WindowHandle parent) override;
    void Destroy() override;
    WindowHandle Handle() const override { return static_cast<QWidget*>(m_area); }
    void Show() override { m_area->show(); }

    ScrollSize ClientSize() const override;
    ScrollSize ClientSizeWithoutBars() const override { return {m_area->width(), m_area->height()}; }
    ScrollSize ScrollBarThickness() const override;

    std::unique_ptr<CDrawingSurface> ClientSurface() override { return std::make_unique<CRasterSurface>(); }
    void Invalidate() override { m_area->viewport()->update(); }
    void ShowScrollBars(const CScrollModel& scroll) override;
    int ThumbPosition(ScrollAxis axis, int) const override { return Bar(axis).sliderPosition(); }
    unsigned WheelScrollLines() const override { return static_cast<unsigned>(QApplication::wheelScrollLines()); }
    void SetArrowCursor() override { m_area->viewport()->setCursor(Qt::ArrowCursor); }
    // Qt gives the pointer to the widget that took a button press until its release.
    void CaptureMouse(bool) override {}

    LResult SendToSelf(std::uint32_t message, WParam wParam, LParam lParam) override;
    LResult SendToParent(std::uint32_t message, WParam wParam, LParam lParam) override;
    LResult DefaultProcessing(std::uint32_t, WParam, LParam) override { return 0; }

private:
    QScrollBar& Bar(ScrollAxis axis) const;
    void ShowScrollBar(const CScrollModel& scroll, ScrollAxis axis);

    CScrollView& m_view;
    CViewerArea* m_area = nullptr;
    // Whether the view did anything with the key being handled: scrolled, or
    // passed a character on to the host.
    bool m_keyAnswered = false;
};

// The windows of the views, so that a handle the host passes is looked up
// before anything is read through it.
std::unordered_map<WindowHandle, CQtGlue*>& Windows()
{
    static std::unordered_map<WindowHandle, CQtGlue*> windows;
    return windows;
}

CQtGlue* GlueOf(WindowHandle window)
{
    const auto found = Windows().find(window);
    return found == Windows().end() ? nullptr : found->second;
}

CViewerArea::CViewerArea(CQtGlue& glue, QWidget* parent) : QAbstractScrollArea(parent), m_glue(&glue)
{
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Every paint covers the whole client area, as a window without a
    // background brush does.
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    FollowScrollBar(*horizontalScrollBar(), ScrollAxis::Horizontal);
    FollowScrollBar(*verticalScrollBar(), ScrollAxis::Vertical);
}

CViewerArea::~CViewerArea()
{
    if (m_glue)
        m_glue->WindowGone();
}

void CViewerArea::FollowScrollBar(QScrollBar& bar, ScrollAxis axis)
{
    connect(&bar, &QAbstractSlider::actionTriggered, this, [this, axis](int action) {
        if (m_glue)
            m_glue->ScrollBarAction(axis, action);
    });
}

void CViewerArea::Send(std::uint32_t message, WParam wParam, LParam lParam)
{
    if (m_glue)
        m_glue->Dispatch(message, wParam, lParam);
}

void CViewerArea::setVisible(bool visible)
{
    QAbstractScrollArea::setVisible(visible);
    if (std::exchange(m_shown, visible) != visible)
        Send(kWmShowWindow, visible, 0);
}

// The window system asks for the cursor whenever the pointer comes over.
bool CViewerArea::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Enter)
        Send(kWmSetCursor, 0, 0);
    return QAbstractScrollArea::viewportEvent(event);
}

void CViewerArea::paintEvent(QPaintEvent*)
{
    if (m_glue)
        m_glue->Paint(*viewport());
}

void CViewerArea::resizeEvent(QResizeEvent*)
{
    Send(kWmSize, 0, PackedParam(width(), height()));
}

void CViewerArea::keyPressEvent(QKeyEvent* event)
{
    if (m_glue)
        m_glue->KeyPressed(*event);
}

// Qt counts a turn to the left as positive, the window messages a turn to the
// right. With Ctrl the wheel is left to the host.
void CViewerArea::wheelEvent(QWheelEvent* event)
{
    const QPoint delta = event->angleDelta();
    if (delta.isNull() || event->modifiers() & Qt::ControlModifier)
        return event->ignore();
    const unsigned keys = event->modifiers() & Qt::ShiftModifier ? kMkShift : 0;
    if (delta.y() != 0 && m_glue)
        m_glue->Wheel(kWmMouseWheel, keys, delta.y());
    if (delta.x() != 0 && m_glue)
        m_glue->Wheel(kWmMouseHWheel, keys, -std::int64_t{delta.x()});
}

void CViewerArea::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::MiddleButton)
        return QAbstractScrollArea::mousePressEvent(event);
    Send(kWmMButtonDown, 0, PointerParam(*event));
}

void CViewerArea::mouseMoveEvent(QMouseEvent* event)
{
    Send(kWmMouseMove, 0, PointerParam(*event));
}

void CViewerArea::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::MiddleButton)
        return QAbstractScrollArea::mouseReleaseEvent(event);
    Send(kWmMButtonUp, 0, PointerParam(*event));
}

// Only a widget of this process's Qt is taken for the parent; the handle is
// compared with each widget's address and never read before.
bool CQtGlue::Create(WindowHandle parent)
{
    if (!parent || !QApplication::allWidgets().contains(static_cast<QWidget*>(parent)))
        return false;
    QWidget* const host = static_cast<QWidget*>(parent);
    m_area = new CViewerArea(*this, host);
    m_area->setGeometry(host->rect());
    Windows().emplace(Handle(), this);
    Dispatch(kWmSize, 0, PackedParam(m_area->width(), m_area->height()));
    return true;
}

void CQtGlue::Destroy()
{
    if (!m_area)
        return;
    Windows().erase(Handle());
    m_area->Forget();
    delete std::exchange(m_area, nullptr);
}

void CQtGlue::WindowGone()
{
    Windows().erase(Handle());
    m_area = nullptr;
    m_view.OnFinalMessage();
}

LResult CQtGlue::Dispatch(std::uint32_t message, WParam wParam, LParam lParam)
{
    LResult result = 0;
    return m_view.OnMessage(message, wParam, lParam, result) ? result : DefaultProcessing(message, wParam, lParam);
}

ScrollSize CQtGlue::ClientSize() const
{
    const ScrollSize whole = ClientSizeWithoutBars();
    const ScrollSize bar = ScrollBarThickness();
    const bool vertical = m_area->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn;
    const bool horizontal = m_area->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn;
    return {whole.cx - (vertical ? bar.cx : 0), whole.cy - (horizontal ? bar.cy : 0)};
}

// What a scroll area without a frame takes from its viewport for each bar.
ScrollSize CQtGlue::ScrollBarThickness() const
{
    return {m_area->verticalScrollBar()->sizeHint().width(), m_area->horizontalScrollBar()->sizeHint().height()};
}

QScrollBar& CQtGlue::Bar(ScrollAxis axis) const
{
    return *(axis == ScrollAxis::Horizontal ? m_area->horizontalScrollBar() : m_area->verticalScrollBar());
}

// The model owns the position; a bar only shows it, with a thumb as long as
// the visible part.
void CQtGlue::ShowScrollBars(const CScrollModel& scroll)
{
    ShowScrollBar(scroll, ScrollAxis::Horizontal);
    ShowScrollBar(scroll, ScrollAxis::Vertical);
}

void CQtGlue::ShowScrollBar(const CScrollModel& scroll, ScrollAxis axis)
{
    QScrollBar& bar = Bar(axis);
    bar.setRange(0, Along(scroll.MaxPosition(), axis));
    bar.setPageStep(std::max(1, Along(scroll.Client(), axis)));
    bar.setSingleStep(std::max(1, Along(scroll.Line(), axis)));
    bar.setValue(Along(scroll.Position(), axis));
    const Qt::ScrollBarPolicy policy = scroll.HasBar(axis) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (axis == ScrollAxis::Horizontal)
        m_area->setHorizontalScrollBarPolicy(policy);
    else
        m_area->setVerticalScrollBarPolicy(policy);
}

// A bar has moved its slider for the action already, and takes it as its
// value when the action ends; the view sets both to the position it chose.
void CQtGlue::ScrollBarAction(ScrollAxis axis, int action)
{
    const auto found = std::ranges::find(kScrollBarActions, action, &ActionTranslation::action);
    if (found == std::end(kScrollBarActions))
        return;
    const unsigned thumb = static_cast<unsigned>(Bar(axis).sliderPosition());
    Dispatch(axis == ScrollAxis::Horizontal ? kWmHScroll : kWmVScroll,
             MakeWParam(static_cast<unsigned>(found->scrollCode), thumb), 0);
}

// A wheel message carries its turn in 16 bits, as Windows' does, and a Qt
// turn may be larger: it goes as the fewest messages that carry it, whole
// notches but the last, as if the wheel had sent it in steps, and each moves
// the view at most as far as one message may. Once a message moves the view
// no more, the view is at the end of its range, where every later one would
// leave it too.
void CQtGlue::Wheel(std::uint32_t message, unsigned keys, std::int64_t turn)
{
    constexpr std::int64_t kLargestPart = INT16_MAX / kWheelDelta * kWheelDelta;
    while (turn != 0) {
        const std::int64_t part = std::clamp(turn, -kLargestPart, kLargestPart);
        turn -= part;
        const ScrollSize before = m_view.ScrollPosition();
        Dispatch(message, MakeWParam(keys, static_cast<unsigned>(part)), 0);
        if (turn != 0 && m_view.ScrollPosition() == before)
            return;
    }
}

// The client area drawn by the view onto the software raster, then shown as it is.
void CQtGlue::Paint(QWidget& viewport)
{
    static_assert(std::endian::native == std::endian::little, "a Colour is read as the bytes R, G, B, 0");
    CRasterSurface dc;
    const DrawObject bitmap = dc.CreateCompatibleBitmap(std::max(1, viewport.width()), std::max(1, viewport.height()));
    if (!bitmap)
        return;
    dc.SelectObject(bitmap);
    const ScrollSize scroll = m_view.ScrollPosition();
    dc.SetViewportOrigin(-scroll.cx, -scroll.cy);
    m_view.OnPaint(dc);
    const RasterBitmap& pixels = dc.SelectedBitmap();
    const QImage image(reinterpret_cast<const uchar*>(pixels.pixels.data()), pixels.width, pixels.height,
                       pixels.width * 4, QImage::Format_RGBX8888);
    // The spare byte is 0, which a window that keeps alpha would take as
    // transparent: the copy makes every pixel opaque.
    QPainter(&viewport).drawImage(0, 0, image.convertToFormat(QImage::Format_RGB32));
}

// A key is the viewer's when it scrolls or hands a character on; every other
// key goes to the host, which would otherwise never see it.
void CQtGlue::KeyPressed(const QKeyEvent& event)
{
    m_keyAnswered = false;
    if (const std::uint32_t key = VirtualKeyOf(event.key()))
        Dispatch(kWmKeyDown, key, kOneKeystroke);
    for (const QChar character : event.text())
        Dispatch(kWmChar, character.unicode(), kOneKeystroke);
    if (!m_keyAnswered && m_area)
        HandKeyToHost(*m_area, event);
}

LResult CQtGlue::SendToSelf(std::uint32_t message, WParam wParam, LParam lParam)
{
    m_keyAnswered = true;
    return Dispatch(message, wParam, lParam);
}

// The host's window is no Windows window: of the messages the viewer sends
// it, it understands the characters, as the keys that type them.
LResult CQtGlue::SendToParent(std::uint32_t message, WParam wParam, LParam)
{
    if (message != kWmChar)
        return 0;
    m_keyAnswered = true;
    HandKeyToHost(*m_area, CharacterKey(wParam));
    return 0;
}

} // namespace

// A QApplication of the Qt this library is built on (another major version's
// is none to it), and the host calls on its thread.
bool WindowSystemAvailable()
{
    const QCoreApplication* application = QCoreApplication::instance();
    return qobject_cast<const QApplication*>(application) && application->thread() == QThread::currentThread();
}

std::unique_ptr<CWindowGlue> MakeWindowGlue(CScrollView& view)
{
    return std::make_unique<CQtGlue>(view);
}

CScrollView* FindView(WindowHandle window)
{
    CQtGlue* glue = GlueOf(window);
    return glue ? &glue->View() : nullptr;
}

LResult SendWindowMessage(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam)
{
    CQtGlue* glue = GlueOf(window);
    return glue ? glue->Dispatch(message, wParam, lParam) : 0;
}
