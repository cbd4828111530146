#include "ympixelmemo.h"

#include <QFontMetricsF>
#include <QLineF>
#include <QPaintEngine>
#include <QPainter>
#include <QRegion>

#include <cmath>
#include <cstring>

namespace {

// The device image's pixels from the top left corner of r, a row apart. The
// painter writes into this very buffer; QImage::bits() would detach, and a
// detached copy is not what the painter paints.
struct Pixels
{
    quint32 *first;
    qsizetype stride; // in pixels

    Pixels(QImage *image, const QRect &r)
        : first(reinterpret_cast<quint32 *>(const_cast<uchar *>(image->constBits())))
        , stride(image->bytesPerLine() / 4)
    {
        first += r.y() * stride + r.x();
    }
    quint32 *row(int y) const { return first + y * stride; }
};
} // namespace

YmPixelMemo::YmPixelMemo(qsizetype maxBytes)
    : m_maxBytes(maxBytes)
{}

void YmPixelMemo::setEnabled(bool enabled)
{
    m_enabled = enabled;
}

QRect YmPixelMemo::pixelArea(const QRectF &rect, qreal margin)
{
    const QRectF r = rect.normalized().adjusted(-margin, -margin, margin, margin);
    const qreal reach = 1 << 24;
    // Written so that a NaN fails every test.
    if (!(r.left() > -reach && r.top() > -reach && r.right() < reach && r.bottom() < reach))
        return QRect();
    return r.toAlignedRect();
}

void YmPixelMemo::clear() const
{
    dropPixels();
    m_fonts.clear();
}

void YmPixelMemo::dropPixels() const
{
    m_slots.clear();
    m_bytes = 0;
}

namespace {
template<typename T>
void appendValue(QByteArray *key, const T &value)
{
    key->append(reinterpret_cast<const char *>(&value), int(sizeof value));
}
} // namespace

bool YmPixelMemo::appendState(QPainter *p, QByteArray *key, bool withFont) const
{
    const QPen &pen = p->pen();
    const QBrush &brush = p->brush();
    if ((pen.style() != Qt::NoPen
         && (pen.style() != Qt::SolidLine || pen.brush().style() != Qt::SolidPattern))
        || (brush.style() != Qt::NoBrush && brush.style() != Qt::SolidPattern)
        || p->backgroundMode() != Qt::TransparentMode)
        return false;
    appendValue(key, qint32(pen.style()));
    appendValue(key, pen.color().rgba64());
    appendValue(key, pen.widthF());
    appendValue(key, qint32(pen.capStyle()));
    appendValue(key, qint32(pen.joinStyle()));
    appendValue(key, pen.miterLimit());
    appendValue(key, qint32(pen.isCosmetic()));
    appendValue(key, qint32(brush.style()));
    appendValue(key, brush.color().rgba64());
    appendValue(key, qint32(p->renderHints()));
    if (withFont) {
        const QFont &font = p->font();
        int index = m_fonts.indexOf(font);
        if (index < 0) {
            // A handful of fonts per panel; more than that starts over.
            if (m_fonts.size() >= 16)
                clear();
            m_fonts.append(font);
            index = m_fonts.size() - 1;
        }
        appendValue(key, qint32(index));
        appendValue(key, qint32(p->layoutDirection()));
    }
    return true;
}

void YmPixelMemo::drawLine(QPainter *p, const QLineF &line) const
{
    QByteArray key;
    if (!appendState(p, &key, false)) {
        p->drawLine(line);
        return;
    }
    appendValue(&key, 'l');
    appendValue(&key, line);
    // Caps and joins reach half the pen beyond the ends; antialiasing a pixel.
    const qreal m = std::ceil(p->pen().widthF()) + 2;
    paint(p, pixelArea(QRectF(line.p1(), line.p2()), m), key, [&] { p->drawLine(line); });
}

void YmPixelMemo::drawEllipse(QPainter *p, const QRectF &rect) const
{
    QByteArray key;
    if (!appendState(p, &key, false)) {
        p->drawEllipse(rect);
        return;
    }
    appendValue(&key, 'e');
    appendValue(&key, rect);
    const qreal m = std::ceil(p->pen().widthF()) + 2;
    paint(p, pixelArea(rect, m), key, [&] { p->drawEllipse(rect); });
}

void YmPixelMemo::drawText(QPainter *p, const QRectF &rect, int flags, const QString &text) const
{
    QByteArray key;
    if (!appendState(p, &key, true)) {
        p->drawText(rect, flags, text);
        return;
    }
    appendValue(&key, 't');
    appendValue(&key, rect);
    appendValue(&key, qint32(flags));
    key.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    QRect area;
    const auto found = m_slots.constFind(key);
    if (found != m_slots.constEnd()) {
        area = found->area;
    } else {
        // The laid-out lines may leave the rectangle; marks and bearings
        // leave the line boxes by less than half a line.
        const QFontMetricsF fm(p->font());
        const double m = fm.height() / 2 + 2;
        area = pixelArea(fm.boundingRect(rect, flags, text).united(rect), m);
    }
    paint(p, area, key, [&] { p->drawText(rect, flags, text); });
}

bool YmPixelMemo::prepare(QPainter *p, const QRect &area, Target *target) const
{
    if (!m_enabled || area.isEmpty() || !p->isActive())
        return false;
    QPaintEngine *engine = p->paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster)
        return false;
    QPaintDevice *device = engine->paintDevice();
    if (!device || device->devType() != QInternal::Image)
        return false;
    auto *image = static_cast<QImage *>(device);
    if (image->depth() != 32 || !image->isDetached())
        return false;
    if (p->opacity() != 1.0 || p->compositionMode() != QPainter::CompositionMode_SourceOver
        || p->hasClipping())
        return false;
    // A scale or a fraction of a pixel paints other pixels.
    const QTransform &m = p->deviceTransform();
    if (m.type() > QTransform::TxTranslate)
        return false;
    const int dx = qRound(m.dx());
    const int dy = qRound(m.dy());
    if (dx != m.dx() || dy != m.dy())
        return false;
    const QRect rect = area.translated(dx, dy) & image->rect();
    if (rect.isEmpty())
        return false;
    // The widget's paint region: a piece cut by it leaves other pixels.
    const QRegion system = engine->systemClip();
    if (!system.isEmpty()) {
        if (system.rectCount() == 1 ? !system.boundingRect().contains(rect)
                                    : !(QRegion(rect) - system).isEmpty())
            return false;
    }
    target->image = image;
    target->area = area;
    target->rect = rect;
    return true;
}

YmPixelMemo::Slot *YmPixelMemo::replayOrRecord(const Target &target, const QByteArray &key) const
{
    const QRect &r = target.rect;
    const int w = r.width();
    const size_t rowBytes = size_t(w) * sizeof(quint32);
    QImage *image = target.image;
    const Pixels px(image, r);

    auto found = m_slots.find(key);
    if (found != m_slots.end() && found->rect == r && found->format == image->format()) {
        const quint32 *before = found->before.constData();
        bool same = true;
        for (int y = 0; y < r.height() && same; ++y)
            same = std::memcmp(px.row(y), before + size_t(y) * w, rowBytes) == 0;
        if (same) {
            const quint32 *after = found->after.constData();
            for (int y = 0; y < r.height(); ++y)
                std::memcpy(px.row(y), after + size_t(y) * w, rowBytes);
            return nullptr;
        }
    }

    const qsizetype bytes = qsizetype(rowBytes) * r.height() * 2;
    if (found != m_slots.end()) {
        m_bytes -= qsizetype(found->before.size() + found->after.size()) * 4;
        m_slots.erase(found);
    }
    if (bytes > m_maxBytes)
        return &m_scratch; // painted, not kept
    // The font table stays: the key at hand may already name one of its fonts.
    if (m_bytes + bytes > m_maxBytes)
        dropPixels();
    Slot &slot = m_slots[key];
    slot.area = target.area;
    slot.rect = r;
    slot.format = image->format();
    slot.before.resize(w * r.height());
    slot.after.resize(w * r.height());
    quint32 *before = slot.before.data();
    for (int y = 0; y < r.height(); ++y)
        std::memcpy(before + size_t(y) * w, px.row(y), rowBytes);
    m_bytes += bytes;
    return &slot;
}

void YmPixelMemo::finishRecording(const Target &target, Slot *slot) const
{
    if (slot == &m_scratch)
        return;
    const QRect &r = target.rect;
    const int w = r.width();
    const Pixels px(target.image, r);
    quint32 *after = slot->after.data();
    for (int y = 0; y < r.height(); ++y)
        std::memcpy(after + size_t(y) * w, px.row(y), size_t(w) * sizeof(quint32));
}
