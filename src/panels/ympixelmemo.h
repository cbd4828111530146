#ifndef YMPIXELMEMO_H
#define YMPIXELMEMO_H

#include <QByteArray>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QRect>
#include <QVector>

class QLineF;
class QPainter;
class QRectF;
class QString;

// Remembers what a piece of painting did to the pixels under it. Painting the
// same piece again onto the same pixels is then a copy of what it left last
// time: exactly what painting it again gives, because raster painting with a
// solid pen or brush is a function of the pixels it paints over. Glyph blits
// and antialiased lines are most of a chart's paint; a chart whose axes, names
// and numbers did not change copies them instead.
//
// The copy is taken only when the painter paints straight into a 32-bit image
// (a raster backing store, or QWidget::render into a QImage), untransformed
// but for whole pixels, unclipped within the piece, opaque and source-over.
// Otherwise, or when the pixels under the piece are not the ones seen when it
// was recorded, the piece is painted.
//
//   m_memo.paint(p, area, key, [&] { p->drawLine(...); });
//
// `area` (painter coordinates) must hold every pixel the piece can touch, and
// `key` must name everything the piece depends on besides the pixels under it
// (texts, positions, pens, fonts). Pieces of one memo do not nest.
class YmPixelMemo
{
public:
    // Past maxBytes of remembered pixels the memo starts over.
    explicit YmPixelMemo(qsizetype maxBytes = 4 << 20);

    template<typename Paint>
    void paint(QPainter *p, const QRect &area, const QByteArray &key, Paint &&paintPiece) const
    {
        Target target;
        if (!prepare(p, area, &target)) {
            paintPiece();
            return;
        }
        Slot *slot = replayOrRecord(target, key);
        if (!slot)
            return; // copied
        paintPiece();
        finishRecording(target, slot);
    }

    // The painter's own calls, remembered under a key made of their arguments
    // and of the painter's pen, brush, font and hints. Gradient, texture and
    // dashed pens and brushes are painted, never remembered.
    void drawLine(QPainter *p, const QLineF &line) const;
    void drawEllipse(QPainter *p, const QRectF &rect) const;
    // Measured once per key (the area a text can touch comes from a layout).
    void drawText(QPainter *p, const QRectF &rect, int flags, const QString &text) const;

    // The whole pixels a piece within rect (plus margin) can touch; empty, so
    // that the piece is painted rather than remembered, for a rect out of
    // any image's reach (huge or not finite, as bad data can make it).
    static QRect pixelArea(const QRectF &rect, qreal margin);

    void clear() const;
    qsizetype bytes() const { return m_bytes; }
    int size() const { return m_slots.size(); }

    // Off: every piece is painted (for comparing with the plain paint).
    void setEnabled(bool enabled);
    bool isEnabled() const { return m_enabled; }

private:
    bool m_enabled = true;
    struct Target
    {
        QImage *image = nullptr;
        QRect area; // painter coordinates
        QRect rect; // device pixels
    };
    struct Slot
    {
        QRect area;
        QRect rect;
        QImage::Format format = QImage::Format_Invalid;
        QVector<quint32> before;
        QVector<quint32> after;
    };

    bool prepare(QPainter *p, const QRect &area, Target *target) const;
    // Appends what the painter's state does to a piece; false when the
    // state cannot be named that way (the piece is then painted).
    bool appendState(QPainter *p, QByteArray *key, bool withFont) const;
    // Null when the remembered pixels were copied; otherwise the slot to
    // finish once the piece is painted (its "before" pixels already taken).
    Slot *replayOrRecord(const Target &target, const QByteArray &key) const;
    void finishRecording(const Target &target, Slot *slot) const;
    void dropPixels() const;

    qsizetype m_maxBytes;
    mutable qsizetype m_bytes = 0;
    mutable QHash<QByteArray, Slot> m_slots;
    mutable Slot m_scratch;         // a piece too big to keep
    mutable QVector<QFont> m_fonts; // fonts are named in keys by their index here
};

#endif // YMPIXELMEMO_H
