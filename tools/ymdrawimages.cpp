// Paints every embedded image of the workshop board with QPainter, so the
// pictures stay reproducible and editable as code instead of opaque binaries.
//
//   QT_QPA_PLATFORM=offscreen ymdrawimages <src/resources> [--preview <dir>]
//
// writes <dir>/image/*.png at the exact pixel sizes the module expects. With
// --preview it also renders contact sheets that show the images the way the
// board uses them (title band, counters, medals, pop-up card).

#include <QDateTime>
#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QStringList>
#include <QTextStream>
#include <QtMath>

#include <QMap>

namespace {

// Theme colours of the board.
const QColor kNavy(0, 7, 62);
const QColor kBandMid(30, 55, 155);
const QColor kCyan(63, 208, 255);
const QColor kIce(170, 228, 255);

QColor withAlpha(QColor c, int alpha)
{
    c.setAlpha(alpha);
    return c;
}

// Pixels per design pixel of the images being drawn: 1 for the pictures the
// board uses at its design size, 2 for the "@2x" variants that a screen scaled
// by Qt's device pixel ratio loads instead. The drawing code works in design
// pixels either way; the painter's transform takes care of the rest.
int g_pixelRatio = 1;

QImage canvas(int w, int h)
{
    QImage img(w * g_pixelRatio, h * g_pixelRatio, QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(g_pixelRatio);
    img.fill(Qt::transparent);
    return img;
}

void prepare(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setRenderHint(QPainter::TextAntialiasing);
}

bool save(const QImage &img, const QString &path)
{
    // Straight alpha gives libpng the most compressible rows; maximum zlib effort.
    QImageWriter writer(path, "png");
    writer.setQuality(0); // Qt maps quality 0 to zlib's maximum compression

    if (!writer.write(img.convertToFormat(QImage::Format_ARGB32))) {
        QTextStream(stderr) << "cannot write " << path << ": " << writer.errorString() << '\n';
        return false;
    }
    return true;
}

// A stroke with a soft halo: a few wide translucent passes under the sharp line.
void glowStroke(QPainter &p, const QPainterPath &path, const QBrush &brush, qreal width,
                qreal glow = 1.0)
{
    p.save();
    p.setBrush(Qt::NoBrush);
    const qreal widths[] = {width + 8, width + 4, width + 1.5};
    const qreal opac[] = {0.07, 0.14, 0.3};
    for (int i = 0; i < 3; ++i) {
        p.setOpacity(opac[i] * glow);
        p.setPen(QPen(brush, widths[i], Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(path);
    }
    p.setOpacity(1.0);
    p.setPen(QPen(brush, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawPath(path);
    p.restore();
}

// Horizontal brush that fades a colour in from x0 to full at x1 (and back for x2..x3).
QBrush fadeBrush(const QColor &c, qreal x0, qreal x1, qreal x2, qreal x3, qreal width)
{
    QLinearGradient g(0, 0, width, 0);
    g.setColorAt(0.0, withAlpha(c, 0));
    g.setColorAt(qBound(0.0, x0 / width, 1.0), withAlpha(c, 0));
    g.setColorAt(qBound(0.0, x1 / width, 1.0), c);
    g.setColorAt(qBound(0.0, x2 / width, 1.0), c);
    g.setColorAt(qBound(0.0, x3 / width, 1.0), withAlpha(c, 0));
    g.setColorAt(1.0, withAlpha(c, 0));
    return QBrush(g);
}

// ---------------------------------------------------------------------------
// Title band banner, 1920 x 98. The page paints its gradient and the title
// first and this banner over it, so the centre stays see-through; only frame
// lines, a faint plate and corner accents are drawn, mostly in the lower half.

void drawBannerSide(QPainter &p, qreal w, qreal h)
{
    const qreal c = w / 2;

    // Angled accent at the outer bottom corner.
    QPainterPath tab;
    tab.moveTo(0, h - 22);
    tab.lineTo(46, h - 22);
    tab.lineTo(58, h - 10);
    tab.lineTo(0, h - 10);
    tab.closeSubpath();
    QLinearGradient tg(0, 0, 58, 0);
    tg.setColorAt(0, withAlpha(kCyan, 190));
    tg.setColorAt(1, withAlpha(kCyan, 70));
    p.fillPath(tab, tg);

    // Slanted stripes right of it, fading towards the centre.
    for (int i = 0; i < 7; ++i) {
        const qreal x = 70 + i * 15;
        QPainterPath s;
        s.moveTo(x, h - 22);
        s.lineTo(x + 8, h - 22);
        s.lineTo(x + 20, h - 10);
        s.lineTo(x + 12, h - 10);
        s.closeSubpath();
        p.fillPath(s, withAlpha(kCyan, 150 - i * 18));
    }

    // Corner bracket: a short vertical tick and an angled foot, bottom edge.
    QPainterPath bracket;
    bracket.moveTo(1.5, h - 48);
    bracket.lineTo(1.5, h - 30);
    bracket.lineTo(10, h - 30);
    glowStroke(p, bracket, withAlpha(kCyan, 200), 1.5, 0.6);

    // Row of small data dots leading to the plate.
    for (int i = 0; i < 14; ++i) {
        const qreal x = c - 560 + i * 9;
        const int a = 25 + i * 9;
        p.fillRect(QRectF(x, h - 39, 4, 3), withAlpha(kIce, a));
    }

    // Chevrons pointing at the title.
    for (int i = 0; i < 3; ++i) {
        const qreal x = c - 424 + i * 14;
        QPainterPath ch;
        ch.moveTo(x, h - 25);
        ch.lineTo(x + 7, h - 18);
        ch.lineTo(x, h - 11);
        p.setPen(
            QPen(withAlpha(kCyan, 90 + i * 60), 2.2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(ch);
    }

    // A dim secondary rail under the main side line.
    QPainterPath rail;
    rail.moveTo(200, h - 27);
    rail.lineTo(c - 440, h - 27);
    p.setPen(QPen(fadeBrush(withAlpha(kCyan, 110), 200, 700, c - 480, c - 440, w), 1));
    p.drawPath(rail);
}

QImage drawBanner()
{
    const int W = 1920;
    const int H = 98;
    QImage img = canvas(W, H);
    QPainter p(&img);
    prepare(p);
    const qreal w = W;
    const qreal h = H;
    const qreal c = w / 2;

    // Outline of the title plate: wider on top, dropping lower than the side rails.
    const qreal sideY = h - 34; // side rail height
    const qreal plateY = h - 6; // plate bottom edge
    const qreal topHalf = 390, kneeHalf = 350, bottomHalf = 318;
    QPolygonF plate;
    plate << QPointF(c - topHalf, 0) << QPointF(c + topHalf, 0) << QPointF(c + kneeHalf, sideY)
          << QPointF(c + bottomHalf, plateY) << QPointF(c - bottomHalf, plateY)
          << QPointF(c - kneeHalf, sideY);

    // Faint lighter plate so the title reads on a calm tray.
    {
        QLinearGradient g(0, 0, 0, plateY);
        g.setColorAt(0.0, QColor(120, 190, 255, 0));
        g.setColorAt(0.55, QColor(110, 180, 255, 18));
        g.setColorAt(1.0, QColor(90, 170, 255, 52));
        QPainterPath pp;
        pp.addPolygon(plate);
        pp.closeSubpath();
        p.fillPath(pp, g);
        // Sides of the plate fade out towards the top.
        QPainterPath sides;
        sides.moveTo(c - topHalf + 12, 14);
        sides.lineTo(c - kneeHalf, sideY);
        sides.moveTo(c + topHalf - 12, 14);
        sides.lineTo(c + kneeHalf, sideY);
        QLinearGradient sg(0, 14, 0, sideY);
        sg.setColorAt(0, withAlpha(kCyan, 0));
        sg.setColorAt(1, withAlpha(kCyan, 150));
        p.setPen(QPen(QBrush(sg), 1.2));
        p.drawPath(sides);
    }

    // Soft light pooling under the title along the plate's bottom edge.
    {
        QRadialGradient g(QPointF(c, plateY), 1.0);
        g.setColorAt(0.0, withAlpha(kCyan, 95));
        g.setColorAt(0.5, withAlpha(kCyan, 30));
        g.setColorAt(1.0, withAlpha(kCyan, 0));
        p.save();
        p.translate(c, plateY);
        p.scale(420, 26);
        p.translate(-c, -plateY);
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(QPointF(c, plateY), 1.0, 1.0);
        p.restore();
    }

    // Main frame line: side rails, down the knees, along the plate bottom.
    {
        QPainterPath frame;
        frame.moveTo(0, sideY);
        frame.lineTo(c - kneeHalf, sideY);
        frame.lineTo(c - bottomHalf, plateY);
        frame.lineTo(c + bottomHalf, plateY);
        frame.lineTo(c + kneeHalf, sideY);
        frame.lineTo(w, sideY);
        QLinearGradient g(0, 0, w, 0);
        g.setColorAt(0.0, withAlpha(kCyan, 60));
        g.setColorAt(0.25, withAlpha(kCyan, 150));
        g.setColorAt(0.5, withAlpha(kIce, 255));
        g.setColorAt(0.75, withAlpha(kCyan, 150));
        g.setColorAt(1.0, withAlpha(kCyan, 60));
        glowStroke(p, frame, QBrush(g), 1.6);
    }

    // Bright core segment in the middle of the plate's bottom edge.
    {
        QPainterPath core;
        core.moveTo(c - 170, plateY);
        core.lineTo(c + 170, plateY);
        glowStroke(p, core, fadeBrush(QColor(225, 248, 255), c - 170, c - 60, c + 60, c + 170, w),
                   3.0, 1.4);
    }

    // Top accent bar over the title: thin, light, clear of the glyphs.
    {
        QPainterPath top;
        top.moveTo(c - topHalf + 8, 1.0);
        top.lineTo(c + topHalf - 8, 1.0);
        p.setPen(QPen(
            fadeBrush(withAlpha(kCyan, 170), c - topHalf, c - 150, c + 150, c + topHalf, w), 2.0));
        p.drawPath(top);
        QPolygonF tab;
        tab << QPointF(c - 90, 0) << QPointF(c + 90, 0) << QPointF(c + 80, 5) << QPointF(c - 80, 5);
        QLinearGradient tg(0, 0, 0, 5);
        tg.setColorAt(0, withAlpha(kIce, 200));
        tg.setColorAt(1, withAlpha(kCyan, 90));
        p.setPen(Qt::NoPen);
        p.setBrush(tg);
        p.drawPolygon(tab);
    }

    // Hairline along the very bottom, separating the band from the docks.
    {
        QPainterPath base;
        base.moveTo(0, h - 0.5);
        base.lineTo(w, h - 0.5);
        p.setPen(QPen(fadeBrush(withAlpha(kCyan, 90), -1, c - 700, c + 700, w + 1, w), 1));
        p.drawPath(base);
    }

    // Small flares where the rails bend down to the plate.
    for (int side = -1; side <= 1; side += 2) {
        const QPointF knee(c + side * kneeHalf, sideY);
        QRadialGradient g(knee, 14);
        g.setColorAt(0.0, QColor(235, 250, 255, 230));
        g.setColorAt(0.25, withAlpha(kCyan, 120));
        g.setColorAt(1.0, withAlpha(kCyan, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(knee, 14, 14);
    }

    // Side ornaments, left as drawn and right mirrored.
    drawBannerSide(p, w, h);
    p.setTransform(QTransform(-1, 0, 0, 1, w, 0));
    drawBannerSide(p, w, h);
    p.end();
    return img;
}

// ---------------------------------------------------------------------------
// State discs, 200 x 200: a glossy lamp in a steel bezel with a white symbol.

enum class Glyph { Signal, Gear, Alert, Power };

QPainterPath gearPath(QPointF centre, qreal outer, qreal inner, qreal hole, int teeth)
{
    QPainterPath path;
    const qreal step = 2 * M_PI / teeth;
    QPolygonF poly;
    for (int i = 0; i < teeth; ++i) {
        const qreal a = i * step - M_PI / 2;
        // Tooth: flat top a bit narrower than its root for a machined look.
        const qreal a0 = a - step * 0.30, a1 = a - step * 0.17;
        const qreal a2 = a + step * 0.17, a3 = a + step * 0.30;
        poly << centre + QPointF(qCos(a0) * inner, qSin(a0) * inner)
             << centre + QPointF(qCos(a1) * outer, qSin(a1) * outer)
             << centre + QPointF(qCos(a2) * outer, qSin(a2) * outer)
             << centre + QPointF(qCos(a3) * inner, qSin(a3) * inner);
        const qreal b = a + step * 0.5;
        poly << centre + QPointF(qCos(b) * inner, qSin(b) * inner);
    }
    path.addPolygon(poly);
    path.closeSubpath();
    if (hole > 0)
        path.addEllipse(centre, hole, hole);
    path.setFillRule(Qt::OddEvenFill);
    return path;
}

void drawGlyph(QPainter &p, Glyph glyph, QPointF c, const QBrush &brush)
{
    p.save();
    QPen pen(brush, 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setBrush(Qt::NoBrush);
    switch (glyph) {
    case Glyph::Signal: {
        p.setPen(Qt::NoPen);
        p.setBrush(brush);
        const QPointF o = c + QPointF(0, 16);
        p.drawEllipse(o, 5.5, 5.5);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        for (int i = 1; i <= 3; ++i) {
            const qreal r = 11.5 * i + 2;
            p.drawArc(QRectF(o.x() - r, o.y() - r, 2 * r, 2 * r), 45 * 16, 90 * 16);
        }
        break;
    }
    case Glyph::Gear:
        p.setPen(Qt::NoPen);
        p.fillPath(gearPath(c, 27, 19.5, 8.5, 8), brush);
        break;
    case Glyph::Alert: {
        QPainterPath bar;
        bar.moveTo(c + QPointF(-6, -27));
        bar.lineTo(c + QPointF(6, -27));
        bar.lineTo(c + QPointF(3.2, 8));
        bar.lineTo(c + QPointF(-3.2, 8));
        bar.closeSubpath();
        p.setPen(QPen(brush, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(brush);
        p.drawPath(bar);
        p.setPen(Qt::NoPen);
        p.drawEllipse(c + QPointF(0, 21), 6, 6);
        break;
    }
    case Glyph::Power: {
        p.setPen(pen);
        const qreal r = 22;
        const QPointF o = c + QPointF(0, 3);
        p.drawArc(QRectF(o.x() - r, o.y() - r, 2 * r, 2 * r), 125 * 16, 290 * 16);
        p.drawLine(o + QPointF(0, -27), o + QPointF(0, -5));
        break;
    }
    }
    p.restore();
}

QImage drawDisc(const QColor &base, Glyph glyph)
{
    QImage img = canvas(200, 200);
    QPainter p(&img);
    prepare(p);
    const QPointF c(100, 100);
    const qreal halo = 72, bezel = 56, groove = 52.5, dome = 49.5;

    // Halo in the state colour, fully faded well before the canvas edge, so a
    // widget that crops the picture never shows a hard border.
    {
        QRadialGradient g(c, halo);
        g.setColorAt(0.0, withAlpha(base, 120));
        g.setColorAt(bezel / halo, withAlpha(base, 100));
        g.setColorAt(0.86, withAlpha(base, 22));
        g.setColorAt(0.94, withAlpha(base, 4));
        g.setColorAt(1.0, withAlpha(base, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(c, halo, halo);
    }
    // Steel bezel, lit from above.
    {
        QLinearGradient g(0, c.y() - bezel, 0, c.y() + bezel);
        g.setColorAt(0.0, QColor(190, 215, 245));
        g.setColorAt(0.45, QColor(70, 100, 160));
        g.setColorAt(1.0, QColor(12, 28, 78));
        p.setBrush(g);
        p.drawEllipse(c, bezel, bezel);
        QLinearGradient gg(0, c.y() - groove, 0, c.y() + groove);
        gg.setColorAt(0.0, QColor(4, 12, 40));
        gg.setColorAt(1.0, QColor(30, 50, 100));
        p.setBrush(gg);
        p.drawEllipse(c, groove, groove);
    }
    // Coloured glass dome.
    QPainterPath domePath;
    domePath.addEllipse(c, dome, dome);
    {
        QRadialGradient g(c + QPointF(0, 10), dome * 1.1, c + QPointF(-12, -22));
        g.setColorAt(0.0, base.lighter(150));
        g.setColorAt(0.5, base);
        g.setColorAt(1.0, base.darker(230));
        p.fillPath(domePath, g);
    }
    p.save();
    p.setClipPath(domePath);
    // Light bouncing inside the glass: brighter lower rim.
    {
        QRadialGradient g(c + QPointF(0, 38), 46);
        g.setColorAt(0.0, withAlpha(base.lighter(170), 150));
        g.setColorAt(1.0, withAlpha(base.lighter(170), 0));
        p.fillRect(QRectF(0, 0, 200, 200), g);
    }
    // Symbol with a slight drop shadow for depth.
    {
        const QPointF gc = c + QPointF(0, 2);
        drawGlyph(p, glyph, gc + QPointF(0, 2.5), withAlpha(base.darker(300), 110));
        QLinearGradient g(0, gc.y() - 30, 0, gc.y() + 30);
        g.setColorAt(0, QColor(255, 255, 255));
        g.setColorAt(1, QColor(235, 245, 255));
        drawGlyph(p, glyph, gc, QBrush(g));
    }
    // Specular highlight on the upper glass.
    {
        QPainterPath hl;
        hl.addEllipse(QPointF(c.x(), c.y() - 26), 38, 23);
        QLinearGradient g(0, c.y() - 49, 0, c.y() - 6);
        g.setColorAt(0.0, QColor(255, 255, 255, 175));
        g.setColorAt(0.6, QColor(255, 255, 255, 40));
        g.setColorAt(1.0, QColor(255, 255, 255, 0));
        p.fillPath(hl, g);
    }
    p.restore();
    // Soft rim: a thin light edge where the glass meets the groove.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(withAlpha(base.lighter(160), 140), 1.2));
    p.drawEllipse(c, dome - 0.6, dome - 0.6);
    p.end();
    return img;
}

// ---------------------------------------------------------------------------
// Rank medals, 200 x 200: blue ribbon with a metal stripe and a struck disc.

struct Metal
{
    QColor light, mid, dark, deep;
};

QImage drawMedal(const Metal &m, const QString &numeral)
{
    QImage img = canvas(200, 200);
    QPainter p(&img);
    prepare(p);
    const QPointF c(100, 118); // disc centre
    const qreal rim = 44;

    // Two ribbon straps that meet behind the disc.
    auto strap = [&](bool left) {
        const qreal s = left ? -1 : 1;
        QPolygonF poly;
        poly << QPointF(100 + s * 46, 38) << QPointF(100 + s * 16, 38) << QPointF(100 - s * 14, 100)
             << QPointF(100 + s * 14, 104);
        QLinearGradient g(poly.at(0), poly.at(1));
        g.setColorAt(0.0, QColor(22, 80, 190));
        g.setColorAt(0.5, QColor(40, 120, 235));
        g.setColorAt(1.0, QColor(14, 52, 140));
        p.setPen(QPen(QColor(8, 30, 90, 200), 1));
        p.setBrush(g);
        p.drawPolygon(poly);
        // Metal stripe down the middle of the strap.
        const QPointF t = (poly.at(0) + poly.at(1)) / 2;
        const QPointF b = (poly.at(2) + poly.at(3)) / 2;
        p.setPen(QPen(withAlpha(m.mid, 230), 4, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(t, b);
        // Fold shade where the strap passes behind the other.
        QLinearGradient sh(0, 38, 0, 104);
        sh.setColorAt(0.0, QColor(0, 0, 0, 0));
        sh.setColorAt(1.0, QColor(0, 0, 0, 70));
        p.setPen(Qt::NoPen);
        p.setBrush(sh);
        p.drawPolygon(poly);
    };
    strap(false);
    strap(true);

    // Fluted outer edge.
    QPainterPath edge;
    {
        QPolygonF poly;
        const int n = 36;
        for (int i = 0; i < 2 * n; ++i) {
            const qreal a = i * M_PI / n;
            const qreal r = (i % 2) ? rim - 2.5 : rim;
            poly << c + QPointF(qCos(a) * r, qSin(a) * r);
        }
        edge.addPolygon(poly);
        edge.closeSubpath();
        QLinearGradient g(c.x() - rim, c.y() - rim, c.x() + rim, c.y() + rim);
        g.setColorAt(0.0, m.light);
        g.setColorAt(0.45, m.mid);
        g.setColorAt(1.0, m.deep);
        p.fillPath(edge, g);
    }
    // Raised face.
    const qreal face = 35;
    {
        QLinearGradient g(c.x() - face, c.y() - face, c.x() + face, c.y() + face);
        g.setColorAt(0.0, m.dark);
        g.setColorAt(1.0, m.light);
        p.setPen(Qt::NoPen);
        p.setBrush(g); // bevel: reversed light makes the face look recessed in its rim
        p.drawEllipse(c, face + 3, face + 3);
        QRadialGradient fg(c, face, c + QPointF(-12, -14));
        fg.setColorAt(0.0, m.light);
        fg.setColorAt(0.6, m.mid);
        fg.setColorAt(1.0, m.dark);
        p.setBrush(fg);
        p.drawEllipse(c, face, face);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(withAlpha(m.light, 200), 1.2));
        p.drawEllipse(c, face - 4, face - 4);
    }
    // Embossed numeral: light lower edge, dark upper edge, metal body.
    {
        QFont f(QStringLiteral("DejaVu Serif"));
        f.setBold(true);
        f.setPixelSize(46);
        QPainterPath num;
        num.addText(0, 0, f, numeral);
        const QRectF br = num.boundingRect();
        num.translate(c.x() - br.center().x(), c.y() - br.center().y());
        p.setPen(Qt::NoPen);
        p.fillPath(num.translated(0, 1.6), withAlpha(m.light, 230));
        p.fillPath(num.translated(0, -1.2), withAlpha(m.deep, 230));
        QLinearGradient g(0, c.y() - 22, 0, c.y() + 22);
        g.setColorAt(0.0, m.mid);
        g.setColorAt(1.0, m.dark);
        p.fillPath(num, g);
    }
    // Gloss over the upper half of the disc.
    {
        QPainterPath disc;
        disc.addEllipse(c, rim, rim);
        QPainterPath hl;
        hl.addEllipse(QPointF(c.x() - 6, c.y() - 20), 34, 22);
        QLinearGradient g(0, c.y() - 42, 0, c.y() + 2);
        g.setColorAt(0.0, QColor(255, 255, 255, 130));
        g.setColorAt(1.0, QColor(255, 255, 255, 0));
        p.fillPath(hl.intersected(disc), g);
    }
    p.end();
    return img;
}

// ---------------------------------------------------------------------------
// Small glyphs.

QImage drawDownArrow()
{
    QImage img = canvas(12, 12);
    QPainter p(&img);
    prepare(p);
    // Light fill for the dark board, dark hairline so it also reads on a light window.
    QPolygonF tri;
    tri << QPointF(1.5, 3.5) << QPointF(10.5, 3.5) << QPointF(6, 9);
    QLinearGradient g(0, 3, 0, 9);
    g.setColorAt(0, QColor(235, 246, 255));
    g.setColorAt(1, QColor(160, 215, 255));
    p.setPen(QPen(QColor(10, 40, 100, 150), 0.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(g);
    p.drawPolygon(tri);
    p.end();
    return img;
}

enum class BtnState { Normal, Hover, Pressed };

QImage drawCloseButton(BtnState state)
{
    QImage img = canvas(20, 30);
    QPainter p(&img);
    prepare(p);
    const QPointF c(10, 13);
    QColor glyph;
    switch (state) {
    case BtnState::Normal:
        glyph = QColor(150, 158, 170);
        break;
    case BtnState::Hover:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(223, 74, 95, 38));
        p.drawEllipse(c, 8.5, 8.5);
        glyph = QColor(223, 74, 95);
        break;
    case BtnState::Pressed:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(168, 36, 56, 70));
        p.drawEllipse(c, 8.5, 8.5);
        glyph = QColor(150, 28, 46);
        break;
    }
    const qreal a = 4.0;
    p.setPen(QPen(glyph, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-a, -a), c + QPointF(a, a));
    p.drawLine(c + QPointF(-a, a), c + QPointF(a, -a));
    p.end();
    return img;
}

// ---------------------------------------------------------------------------
// Module logo: a blue tile with a white gear holding three rising bars. Drawn
// in unit coordinates so each size is rendered natively, not resampled.

QImage drawLogo(int size)
{
    QImage img = canvas(size, size);
    QPainter p(&img);
    prepare(p);
    p.scale(size / 100.0, size / 100.0);

    const QRectF tile(3, 3, 94, 94);
    QPainterPath tilePath;
    tilePath.addRoundedRect(tile, 21, 21);
    {
        QLinearGradient g(tile.topLeft(), tile.bottomRight());
        g.setColorAt(0.0, QColor(52, 136, 255));
        g.setColorAt(0.55, QColor(24, 72, 190));
        g.setColorAt(1.0, QColor(6, 22, 96));
        p.fillPath(tilePath, g);
    }
    p.save();
    p.setClipPath(tilePath);
    // Soft cyan glow rising from the lower right corner.
    {
        QRadialGradient g(QPointF(80, 84), 46);
        g.setColorAt(0.0, QColor(63, 208, 255, 90));
        g.setColorAt(1.0, QColor(63, 208, 255, 0));
        p.fillRect(tile, g);
    }
    // Glassy sheen across the top.
    {
        QPainterPath sheen;
        sheen.moveTo(0, 0);
        sheen.lineTo(100, 0);
        sheen.lineTo(100, 34);
        sheen.quadTo(50, 50, 0, 44);
        sheen.closeSubpath();
        QLinearGradient g(0, 0, 0, 48);
        g.setColorAt(0.0, QColor(255, 255, 255, 70));
        g.setColorAt(1.0, QColor(255, 255, 255, 8));
        p.fillPath(sheen, g);
    }
    p.restore();
    p.setPen(QPen(QColor(150, 210, 255, 160), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(tile.adjusted(0.6, 0.6, -0.6, -0.6), 20.4, 20.4);

    // Gear ring.
    const QPointF gc(50, 52);
    {
        QPainterPath shadow = gearPath(gc + QPointF(0, 1.6), 37, 30, 22, 10);
        p.fillPath(shadow, QColor(0, 10, 50, 90));
        QLinearGradient g(0, gc.y() - 37, 0, gc.y() + 37);
        g.setColorAt(0.0, QColor(255, 255, 255));
        g.setColorAt(1.0, QColor(200, 228, 255));
        p.fillPath(gearPath(gc, 37, 30, 22, 10), g);
    }
    // Three rising bars inside the ring.
    {
        const qreal base = gc.y() + 12;
        const qreal bw = 8, gap = 4;
        const qreal heights[] = {11, 18, 26};
        const QColor tops[] = {QColor(49, 231, 156), QColor(63, 208, 255), QColor(255, 255, 255)};
        qreal x = gc.x() - (3 * bw + 2 * gap) / 2;
        for (int i = 0; i < 3; ++i) {
            const QRectF bar(x, base - heights[i], bw, heights[i]);
            QLinearGradient g(bar.topLeft(), bar.bottomLeft());
            g.setColorAt(0.0, tops[i]);
            g.setColorAt(1.0, tops[i].darker(130));
            QPainterPath bp;
            bp.addRoundedRect(bar, 1.6, 1.6);
            p.fillPath(bp, g);
            x += bw + gap;
        }
        p.setPen(QPen(QColor(255, 255, 255, 220), 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(gc.x() - 17, base + 3), QPointF(gc.x() + 17, base + 3));
    }
    p.end();
    return img;
}

// ---------------------------------------------------------------------------
// Previews: the images composed the way the board shows them.

QImage titleBand(const QImage &banner, int width, int band)
{
    QImage img(width, band + 60, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&img);
    prepare(p);
    p.fillRect(img.rect(), kNavy);
    QFont f(QStringLiteral("Noto Sans CJK SC"));
    f.setPointSizeF(35.0);
    p.setFont(f);
    p.setPen(Qt::white);
    const QString title = QString::fromUtf8("车间管理看板");
    QFontMetricsF fm(f);
    const qreal tw = fm.horizontalAdvance(title), th = fm.height();
    QLinearGradient g(0, 0, width, band);
    g.setColorAt(0.0, kNavy);
    g.setColorAt(0.5, kBandMid);
    g.setColorAt(1.0, kNavy);
    p.fillRect(img.rect(), g);
    p.drawText(QRectF(width * 0.5 - 0.5 * tw, band * 0.5 - 0.5 * th - 10, tw, th), Qt::AlignCenter,
               title);
    p.drawImage(QRect(0, 0, width, band), banner);
    f.setPointSizeF(18.0);
    p.setFont(f);
    const QString clock = QStringLiteral("2026-12-05 15:30:00");
    QFontMetricsF cm(f);
    p.drawText(QRect(20, 20, int(cm.horizontalAdvance(clock)), int(cm.height())), Qt::AlignCenter,
               clock);
    p.end();
    return img;
}

// One counter cell as the state panel paints it: picture centred on the upper
// three quarters, unscaled and cropped, caption in the lowest quarter.
void itemCell(QPainter &p, const QRect &r, const QImage &pic, const QString &text,
              const QColor &color)
{
    p.save();
    p.setClipRect(r);
    p.translate(r.topLeft());
    const int w = r.width(), h = r.height();
    const int q = (3 * h) / 4;
    p.drawImage(QPointF(w / 2.0 - pic.width() / 2.0, q / 2.0 - pic.height() / 2.0), pic);
    QFont f(QStringLiteral("Noto Sans CJK SC"));
    f.setPointSize(14);
    p.setFont(f);
    p.setPen(color);
    const qreal tw = QFontMetricsF(f).horizontalAdvance(text);
    p.drawText(QRectF((w - tw) / 2, 0.75 * h, tw, 0.25 * h), Qt::AlignCenter, text);
    p.restore();
}

bool writePreviews(const QString &dir, const QMap<QString, QImage> &imgs)
{
    QDir().mkpath(dir);
    bool ok = save(titleBand(imgs.value(QStringLiteral("top")), 1920, 108),
                   dir + QStringLiteral("/band_1920x108.png"));
    ok = save(titleBand(imgs.value(QStringLiteral("top")), 1366, 98),
              dir + QStringLiteral("/band_1366x98.png"))
         && ok;

    // Counters and medals on the board's background, at two cell sizes.
    QImage sheet(1000, 760, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(kNavy);
    QPainter p(&sheet);
    prepare(p);
    const QStringList discs = {QStringLiteral("blue"), QStringLiteral("green"),
                               QStringLiteral("red"), QStringLiteral("gray")};
    const QStringList captions = {QString::fromUtf8("在线 12"), QString::fromUtf8("工作 30"),
                                  QString::fromUtf8("异常 2"), QString::fromUtf8("离线 4")};
    const QColor colors[]
        = {QColor(12, 202, 244), QColor(49, 231, 156), QColor(223, 74, 95), QColor(200, 200, 200)};
    for (int i = 0; i < 4; ++i) {
        itemCell(p, QRect(10 + i * 160, 10, 150, 170), imgs.value(discs.at(i)), captions.at(i),
                 colors[i]);
        itemCell(p, QRect(10 + i * 240, 190, 230, 230), imgs.value(discs.at(i)), captions.at(i),
                 colors[i]);
    }
    const QStringList medals
        = {QStringLiteral("second"), QStringLiteral("first"), QStringLiteral("third")};
    const QStringList names = {QString::fromUtf8("CNC-02\n1180"), QString::fromUtf8("CNC-07\n1320"),
                               QString::fromUtf8("CNC-11\n960")};
    for (int i = 0; i < 3; ++i)
        itemCell(p, QRect(10 + i * 200, 440, 190, 160), imgs.value(medals.at(i)), names.at(i),
                 Qt::white);
    // Pop-up card with logo and close buttons, and the counter bubble.
    const QRect card(650, 440, 291, 72);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(card, 4, 4);
    p.drawImage(QRect(card.x(), card.y(), 60, 60), imgs.value(QStringLiteral("logo_500_500")));
    QFont tf(QStringLiteral("Noto Sans CJK SC"));
    tf.setPixelSize(14);
    tf.setBold(true);
    p.setFont(tf);
    p.setPen(QColor(0x33, 0x33, 0x33));
    p.drawText(QRect(card.x() + 64, card.y() + 4, 180, 28), Qt::AlignVCenter,
               QStringLiteral("2026-12-05"));
    p.drawImage(QPoint(card.right() - 23, card.y() + 2),
                imgs.value(QStringLiteral("btn_delete_nor")));
    tf.setBold(false);
    tf.setPixelSize(12);
    p.setFont(tf);
    p.setPen(QColor(0x44, 0x44, 0x44));
    p.drawText(QRect(card.x() + 64, card.y() + 36, 200, 30), Qt::AlignLeft | Qt::AlignTop,
               QString::fromUtf8("计划 A-01 已完成 80%"));
    const QStringList btns = {QStringLiteral("btn_delete_nor"), QStringLiteral("btn_delete_hov"),
                              QStringLiteral("btn_delete_pre")};
    p.fillRect(QRect(650, 530, 300, 110), Qt::white);
    for (int i = 0; i < 3; ++i) {
        p.drawImage(QPoint(660 + i * 30, 540), imgs.value(btns.at(i)));
        p.drawImage(QRect(760 + i * 62, 540, 60, 90), imgs.value(btns.at(i)));
    }
    p.drawImage(QRect(660, 660, 40, 40), imgs.value(QStringLiteral("logo_128_128")));
    p.drawImage(QRect(710, 660, 40, 40), imgs.value(QStringLiteral("logo_500_500")));
    p.fillRect(QRect(760, 650, 60, 60), Qt::white);
    p.drawImage(QRect(770, 660, 40, 40), imgs.value(QStringLiteral("logo_128_128")));
    // Drop-down arrow at 1x on dark and light, and magnified.
    const QImage arrow = imgs.value(QStringLiteral("down-arrow"));
    p.drawImage(QPoint(840, 664), arrow);
    p.fillRect(QRect(860, 656, 28, 28), QColor(240, 240, 240));
    p.drawImage(QPoint(868, 664), arrow);
    p.drawImage(QRect(900, 650, 48, 48), arrow);
    p.end();
    ok = save(sheet, dir + QStringLiteral("/sheet.png")) && ok;

    // Every picture at 1:1 on a checkerboard, to judge its transparency.
    QImage raw(1940, 560, QImage::Format_ARGB32_Premultiplied);
    QPainter r(&raw);
    for (int y = 0; y < raw.height(); y += 10)
        for (int x = 0; x < raw.width(); x += 10)
            r.fillRect(x, y, 10, 10,
                       ((x + y) / 10) % 2 ? QColor(90, 90, 90) : QColor(130, 130, 130));
    r.drawImage(10, 10, imgs.value(QStringLiteral("top")));
    const QStringList squares
        = {QStringLiteral("blue"), QStringLiteral("green"), QStringLiteral("red"),
           QStringLiteral("gray"), QStringLiteral("first"), QStringLiteral("second"),
           QStringLiteral("third")};
    for (int i = 0; i < squares.size(); ++i)
        r.drawImage(10 + i * 210, 120, imgs.value(squares.at(i)));
    r.drawImage(10, 330, imgs.value(QStringLiteral("logo_128_128")));
    r.drawImage(150, 330,
                imgs.value(QStringLiteral("logo_500_500"))
                    .scaled(220, 220, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    for (int i = 0; i < 3; ++i)
        r.drawImage(390 + i * 30, 330, imgs.value(btns.at(i)));
    r.drawImage(490, 330, arrow);
    r.end();
    ok = save(raw, dir + QStringLiteral("/raw.png")) && ok;
    return ok;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        QTextStream(stderr) << "usage: ymdrawimages <resource dir> [--preview <dir>]\n";
        return 2;
    }
    const QString out = args.at(1) + QStringLiteral("/image");
    QString preview;
    const int pi = args.indexOf(QStringLiteral("--preview"));
    if (pi > 0 && pi + 1 < args.size())
        preview = args.at(pi + 1);
    if (!QDir().mkpath(out)) {
        QTextStream(stderr) << "cannot create " << out << '\n';
        return 1;
    }

    const Metal gold{QColor(255, 236, 150), QColor(236, 180, 40), QColor(176, 120, 10),
                     QColor(110, 70, 0)};
    const Metal silver{QColor(250, 252, 255), QColor(192, 200, 212), QColor(128, 138, 152),
                       QColor(70, 78, 92)};
    const Metal bronze{QColor(250, 196, 150), QColor(205, 127, 50), QColor(145, 84, 32),
                       QColor(90, 48, 14)};

    QMap<QString, QImage> imgs;
    imgs.insert(QStringLiteral("top"), drawBanner());
    imgs.insert(QStringLiteral("blue"), drawDisc(QColor(12, 202, 244), Glyph::Signal));
    imgs.insert(QStringLiteral("green"), drawDisc(QColor(49, 231, 156), Glyph::Gear));
    imgs.insert(QStringLiteral("red"), drawDisc(QColor(223, 74, 95), Glyph::Alert));
    imgs.insert(QStringLiteral("gray"), drawDisc(QColor(200, 200, 200), Glyph::Power));
    imgs.insert(QStringLiteral("first"), drawMedal(gold, QStringLiteral("1")));
    imgs.insert(QStringLiteral("second"), drawMedal(silver, QStringLiteral("2")));
    imgs.insert(QStringLiteral("third"), drawMedal(bronze, QStringLiteral("3")));
    imgs.insert(QStringLiteral("down-arrow"), drawDownArrow());
    imgs.insert(QStringLiteral("logo_500_500"), drawLogo(500));
    imgs.insert(QStringLiteral("logo_128_128"), drawLogo(128));
    imgs.insert(QStringLiteral("btn_delete_nor"), drawCloseButton(BtnState::Normal));
    imgs.insert(QStringLiteral("btn_delete_hov"), drawCloseButton(BtnState::Hover));
    imgs.insert(QStringLiteral("btn_delete_pre"), drawCloseButton(BtnState::Pressed));

    bool ok = true;
    for (auto it = imgs.cbegin(); it != imgs.cend(); ++it)
        ok = save(it.value(), out + QLatin1Char('/') + it.key() + QStringLiteral(".png")) && ok;
    if (!preview.isEmpty())
        ok = writePreviews(preview, imgs) && ok;

    // Double-size variants of the board's pictures for large screens.
    g_pixelRatio = 2;
    QMap<QString, QImage> large;
    large.insert(QStringLiteral("top"), drawBanner());
    large.insert(QStringLiteral("blue"), drawDisc(QColor(12, 202, 244), Glyph::Signal));
    large.insert(QStringLiteral("green"), drawDisc(QColor(49, 231, 156), Glyph::Gear));
    large.insert(QStringLiteral("red"), drawDisc(QColor(223, 74, 95), Glyph::Alert));
    large.insert(QStringLiteral("gray"), drawDisc(QColor(200, 200, 200), Glyph::Power));
    large.insert(QStringLiteral("first"), drawMedal(gold, QStringLiteral("1")));
    large.insert(QStringLiteral("second"), drawMedal(silver, QStringLiteral("2")));
    large.insert(QStringLiteral("third"), drawMedal(bronze, QStringLiteral("3")));
    for (auto it = large.cbegin(); it != large.cend(); ++it)
        ok = save(it.value(), out + QLatin1Char('/') + it.key() + QStringLiteral("@2x.png")) && ok;
    return ok ? 0 : 1;
}
