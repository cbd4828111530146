#ifndef YMSTATICTEXTCACHE_H
#define YMSTATICTEXTCACHE_H

#include "ympixelmemo.h"

#include <QFont>
#include <QHash>
#include <QRectF>
#include <QStaticText>
#include <QString>

class QPainter;

// Single-line texts of a painted panel, shaped once and kept: drawing one is
// then a blit of cached glyphs instead of a fresh text layout every paint.
// draw() puts the glyphs exactly where QPainter::drawText(rect, flags, text)
// puts them for the centring flags (including its clip to the rectangle when
// the text overflows it), so a panel looks the same with or without the cache.
// Drawn texts are also remembered as pixels (YmPixelMemo): the same text at the
// same place over the same pixels is copied instead of blitted glyph by glyph.
//
//   YmStaticTextCache m_texts;                      // a member of the panel
//   m_texts.draw(p, QRectF(x, y, w, h), Qt::AlignCenter, name);  // in draw()
class YmStaticTextCache
{
public:
    // Draws text in the painter's font and pen. Texts the cache cannot place
    // exactly like drawText (line breaks, tabs, other flags) go to drawText.
    void draw(QPainter *p, const QRectF &rect, int flags, const QString &text) const;
    // QFontMetricsF(font).horizontalAdvance(text), measured once per text.
    double advance(const QString &text, const QFont &font) const;
    void clear() const;
    int size() const { return m_entries.size(); }

    // Off: every panel draws its texts with QPainter::drawText (for comparing
    // the cached paint with the plain one).
    void setEnabled(bool enabled);
    bool isEnabled() const { return m_enabled; }

private:
    bool m_enabled = true;
    struct Entry
    {
        double metricsAdvance = -1; // < 0: not measured yet
        bool laidOut = false;
        bool exact = false; // false: drawText must draw it
        QStaticText text;
        double width = 0;   // natural width of the line
        double advance = 0; // horizontal advance of the line
        double height = 0;  // ascent + descent
        QRectF ink;         // the glyphs' pixels, relative to the drawing origin
    };
    // Where drawText puts the line's origin, and the line's box, for the
    // centring flags.
    static QPointF origin(const QRectF &rect, const Entry &e);
    static QRectF bounds(const QRectF &rect, const Entry &e);
    void drawExact(QPainter *p, const QRectF &rect, const Entry &e) const;
    Entry &entry(const QString &text, const QFont &font) const;

    mutable QFont m_font;
    mutable QHash<QString, Entry> m_entries;
    YmPixelMemo m_memo;
};

#endif // YMSTATICTEXTCACHE_H
