#include "ymstatictextcache.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>

#include <cmath>

namespace {
// Numbers change with the data; past this many texts the cache starts over
// rather than growing without bound.
constexpr int kMaxEntries = 4096;

// drawText lays a line out at its place cut to 64ths of a pixel (towards
// zero, as Qt's fixed point does) and cuts it again once the painter's
// translation is added; a static text is cut once, after the translation.
// Cutting the place first gives the very glyph positions drawText gives when
// the translation is a whole number of 64ths: the second cut then changes
// nothing. Otherwise drawText cuts each run of glyphs on its own, towards zero
// on either side of the device origin, which one static position cannot
// follow; such a painter gets drawText.
double cutToFixed(double v)
{
    return std::trunc(v * 64) / 64;
}

bool onFixedGrid(double v)
{
    return std::trunc(v * 64) == v * 64;
}

bool plainLine(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            return false;
    }
    return true;
}
} // namespace

void YmStaticTextCache::setEnabled(bool enabled)
{
    m_enabled = enabled;
}

void YmStaticTextCache::clear() const
{
    m_entries.clear();
    m_memo.clear();
}

YmStaticTextCache::Entry &YmStaticTextCache::entry(const QString &text, const QFont &font) const
{
    // Equal fonts shape alike; the painter's copy of a font compares equal
    // to the font it was set from.
    if (font != m_font) {
        clear();
        m_font = font;
    }
    auto found = m_entries.find(text);
    if (found != m_entries.end())
        return found.value();
    if (m_entries.size() >= kMaxEntries)
        m_entries.clear();
    return m_entries[text];
}

double YmStaticTextCache::advance(const QString &text, const QFont &font) const
{
    if (!m_enabled)
        return QFontMetricsF(font).horizontalAdvance(text);
    Entry &e = entry(text, font);
    if (e.metricsAdvance < 0)
        e.metricsAdvance = QFontMetricsF(font).horizontalAdvance(text);
    return e.metricsAdvance;
}

void YmStaticTextCache::draw(QPainter *p, const QRectF &r, int flags, const QString &text) const
{
    const int centred = Qt::AlignHCenter | Qt::AlignVCenter;
    // Prepared glyph runs match drawText only on an unscaled painter moved by
    // 64ths of a pixel; the board scaled down for a small screen draws its
    // texts directly.
    const QTransform &m = p->deviceTransform();
    if (!m_enabled || flags != centred || text.isEmpty() || m.type() > QTransform::TxTranslate
        || !onFixedGrid(m.dx()) || !onFixedGrid(m.dy())) {
        p->drawText(r, flags, text);
        return;
    }
    const QFont &font = p->font();
    Entry &e = entry(text, font);
    if (!e.laidOut) {
        e.laidOut = true;
        // The static text's layout counts a positive leading into its first
        // line; drawText's does not. Underlines and strike-outs reach past
        // the glyphs (over the letter spacing too), beyond the ink the
        // memo is given, and are not drawn the same length either.
        e.exact = plainLine(text) && QFontMetricsF(font).leading() <= 0 && !font.underline()
                  && !font.overline() && !font.strikeOut();
        if (e.exact) {
            // The same measures drawText takes from its one-line layout.
            QTextLayout layout(text, font);
            layout.setCacheEnabled(true);
            layout.beginLayout();
            QTextLine line = layout.createLine();
            line.setLineWidth(0x01000000);
            line.setPosition(QPointF(0, 0));
            layout.endLayout();
            e.width = line.naturalTextWidth();
            e.advance = line.horizontalAdvance();
            e.height = line.ascent() + line.descent();
            // Where the glyphs are: each run knows its own font, fallback
            // fonts included. The memo adds a margin for antialiasing and
            // hinting.
            e.ink = QRectF();
            const QList<QGlyphRun> runs = layout.glyphRuns();
            for (const QGlyphRun &run : runs) {
                const QRawFont raw = run.rawFont();
                const QVector<quint32> glyphs = run.glyphIndexes();
                const QVector<QPointF> positions = run.positions();
                for (int i = 0; i < glyphs.size() && i < positions.size(); ++i)
                    e.ink |= raw.boundingRect(glyphs.at(i)).translated(positions.at(i));
            }
            e.text.setText(text);
            e.text.setTextFormat(Qt::PlainText);
            e.text.setPerformanceHint(QStaticText::AggressiveCaching);
            e.text.prepare(QTransform(), font);
        }
    }
    if (!e.exact) {
        p->drawText(r, flags, text);
        return;
    }
    // Solid pens only: the key names the pen by its colour.
    if (p->pen().style() == Qt::NoPen || p->pen().brush().style() != Qt::SolidPattern) {
        drawExact(p, r, e);
        return;
    }
    QRect area = YmPixelMemo::pixelArea(e.ink.translated(origin(r, e)), 2);
    if (!r.contains(bounds(r, e)))
        area &= YmPixelMemo::pixelArea(r, 1);

    // Everything the pixels depend on: the place, the pen, the hints and the
    // text (the font is the cache's own).
    const double place[4] = {r.x(), r.y(), r.width(), r.height()};
    const quint64 pen = p->pen().color().rgba64();
    const qint32 hints = qint32(p->renderHints());
    QByteArray key;
    key.reserve(int(sizeof place + sizeof pen + sizeof hints) + text.size() * 2);
    key.append(reinterpret_cast<const char *>(place), int(sizeof place));
    key.append(reinterpret_cast<const char *>(&pen), int(sizeof pen));
    key.append(reinterpret_cast<const char *>(&hints), int(sizeof hints));
    key.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    m_memo.paint(p, area, key, [&] { drawExact(p, r, e); });
}

QPointF YmStaticTextCache::origin(const QRectF &r, const Entry &e)
{
    return QPointF(cutToFixed(r.x() + (r.width() - e.advance) / 2),
                   cutToFixed(r.y() + (r.height() - e.height) / 2));
}

QRectF YmStaticTextCache::bounds(const QRectF &r, const Entry &e)
{
    return QRectF(r.x() + (r.width() - e.width) / 2, r.y() + (r.height() - e.height) / 2, e.width,
                  e.height);
}

void YmStaticTextCache::drawExact(QPainter *p, const QRectF &r, const Entry &e) const
{
    if (r.contains(bounds(r, e))) {
        p->drawStaticText(origin(r, e), e.text);
        return;
    }
    // drawText clips an overflowing text to its rectangle.
    p->save();
    p->setClipRect(r, Qt::IntersectClip);
    p->drawStaticText(origin(r, e), e.text);
    p->restore();
}
