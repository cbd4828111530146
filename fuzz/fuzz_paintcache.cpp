// libFuzzer target for the panels' paint caches (YmStaticTextCache and the
// YmPixelMemo under it). Each input is a sequence of paints: texts, lines and
// ellipses in random fonts (more than the memo's font table holds, so that it
// starts over), pens, places, sizes and flags, over backgrounds that change
// between them. Every paint goes once through the caches into one image and
// once, with the caches off, into another; the two images must stay equal
// pixel for pixel after every paint, or the input is a finding.
//
//   fuzz_paintcache -max_total_time=60 corpus/     fuzz (see docs/development.md)
//   fuzz_paintcache --make-seeds DIR               write the seed corpus
#include "ympixelmemo.h"
#include "ymstatictextcache.h"

#include "ymfuzzinput.h"
#include "ymfuzzsetup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kWidth = 160;
constexpr int kHeight = 96;
constexpr int kMaxSteps = 48;

const char *const kTexts[] = {
    "订单", "jgyp",        "ẪǺ̈̈",     "ญี่ปุ่น", "العربية", "fj/|",     "1234567890", "Wİ̃ŷ",  "件：",
    "",     "PO-2412-A01", "99.99%", " ",   "MAC-001", "注塑车间", "\t",         "a\nb",
};
constexpr int kTextCount = int(sizeof(kTexts) / sizeof(kTexts[0]));

const char *const kFamilies[]
    = {"DejaVu Sans", "Noto Sans CJK SC", "DejaVu Serif", "Nimbus Mono PS", "No Such Family"};
constexpr int kFamilyCount = int(sizeof(kFamilies) / sizeof(kFamilies[0]));

const int kFlags[] = {Qt::AlignCenter,
                      Qt::AlignHCenter | Qt::AlignVCenter,
                      Qt::AlignLeft | Qt::AlignVCenter,
                      Qt::AlignRight | Qt::AlignVCenter,
                      Qt::AlignLeft | Qt::AlignTop,
                      Qt::AlignRight | Qt::AlignBottom,
                      Qt::AlignCenter | Qt::TextWordWrap,
                      Qt::AlignCenter | Qt::TextDontClip,
                      0};
constexpr int kFlagCount = int(sizeof(kFlags) / sizeof(kFlags[0]));

class Reader : public YmFuzzInput
{
public:
    using YmFuzzInput::YmFuzzInput;

    // -range .. +range in quarter pixels, most of it on the image.
    double coordinate(int range)
    {
        const int v = int(byte()) | int(byte()) << 8;
        return (v % (4 * range)) / 4.0 - range / 4.0;
    }
    QColor color()
    {
        static const QColor named[] = {QColor(0, 7, 62), QColor(Qt::white), QColor(45, 198, 255),
                                       QColor(Qt::black), QColor(255, 0, 0, 128)};
        const uint8_t which = byte();
        if (which < 200)
            return named[which % 5];
        return QColor(byte(), byte(), byte(), which & 1 ? 255 : byte());
    }
    QString text()
    {
        const uint8_t which = byte();
        if (which < 192)
            return QString::fromUtf8(kTexts[which % kTextCount])
                   + QString::fromUtf8(kTexts[byte() % kTextCount]);
        const int n = byte() % 24;
        QString out;
        for (int i = 0; i < n; ++i)
            out.append(QChar(ushort(byte() | byte() << 8)));
        return out;
    }
};

enum Op : uint8_t {
    OpText,       // through the text cache
    OpMemoText,   // through the memo's drawText
    OpLine,       // the memo's drawLine
    OpEllipse,    // the memo's drawEllipse
    OpFont,       // another font
    OpPen,        // another pen colour and width
    OpBackground, // repaint a rectangle under later paints
    OpOrigin,     // move the painter by whole or fractional pixels
    OpClip,       // clip to a rectangle, or clip no more
    OpAntialias,  // toggle antialiasing
    OpCount
};

void fail(const QImage &cached, const QImage &plain, int step)
{
    // YM_FUZZ_PAINT_DUMP=DIR keeps both images of a finding, to look at.
    const QString dump = qEnvironmentVariable("YM_FUZZ_PAINT_DUMP");
    if (!dump.isEmpty()) {
        cached.save(dump + QStringLiteral("/cached.png"));
        plain.save(dump + QStringLiteral("/plain.png"));
    }
    for (int y = 0; y < cached.height(); ++y) {
        for (int x = 0; x < cached.width(); ++x) {
            if (cached.pixel(x, y) != plain.pixel(x, y)) {
                std::fprintf(stderr,
                             "cached paint differs from the plain paint after step %d at "
                             "(%d, %d): %08x vs %08x\n",
                             step, x, y, cached.pixel(x, y), plain.pixel(x, y));
                std::abort();
            }
        }
    }
}

// One paint, the same on both painters; the caches decide how it is done.
void apply(uint8_t op, QPainter &p, const YmStaticTextCache &texts, const YmPixelMemo &memo,
           const QFont &font, const QRectF &rect, const QString &text, int flags,
           const QColor &color, double width)
{
    switch (op) {
    case OpText:
        texts.draw(&p, rect, flags, text);
        break;
    case OpMemoText:
        memo.drawText(&p, rect, flags, text);
        break;
    case OpLine:
        memo.drawLine(&p, QLineF(rect.topLeft(), rect.bottomRight()));
        break;
    case OpEllipse:
        memo.drawEllipse(&p, rect);
        break;
    case OpFont:
        p.setFont(font);
        break;
    case OpPen:
        p.setPen(QPen(color, width));
        break;
    case OpBackground:
        p.fillRect(rect, color);
        break;
    case OpOrigin:
        p.resetTransform();
        p.translate(rect.topLeft() / 4);
        break;
    case OpClip:
        // Not setClipRect(rect, Qt::NoClip): after one with an empty rect
        // Qt's raster engine still clips everything away while the painter
        // reports no clipping, a state no panel ever puts a painter in.
        if (rect.width() > 40)
            p.setClipping(false);
        else
            p.setClipRect(rect);
        break;
    default:
        p.setRenderHint(QPainter::Antialiasing, flags & 1);
        break;
    }
}

// Writes one step as LLVMFuzzerTestOneInput reads it (texts from the table).
struct Step
{
    Op op;
    int x, y, w, h;
    uint8_t family = 0, size = 12, style = 0, text = 0, text2 = 9, flags = 0, color = 1, width = 2;
};

void coordinate(QByteArray *out, int value, int range)
{
    const int v = (value + range / 4) * 4;
    out->append(char(v & 0xff));
    out->append(char(v >> 8));
}

QByteArray steps(std::initializer_list<Step> list)
{
    QByteArray out;
    for (const Step &s : list) {
        out.append(char(s.op));
        coordinate(&out, s.x, kWidth + 40);
        coordinate(&out, s.y, kHeight + 40);
        coordinate(&out, s.w - kWidth / 4, kWidth);
        coordinate(&out, s.h - kHeight / 4, kHeight);
        for (uint8_t b : {s.family, s.size, s.style, s.text, s.text2, s.flags, s.color, s.width})
            out.append(char(b));
    }
    return out;
}

QMap<QString, QByteArray> makeSeeds()
{
    QMap<QString, QByteArray> seeds;
    // Two texts drawn again over the same pixels (copied), then over another
    // background (painted).
    const Step first{OpText, 10, 8, 90, 16};
    Step second{OpText, 20, 30, 60, 20};
    second.text = 13;
    second.text2 = 4;
    const Step background{OpBackground, 0, 0, 160, 40};
    seeds.insert(QStringLiteral("texts-again"),
                 steps({first, second, first, second, background, first, second}));
    // Twenty fonts in turn, each with a text, twice: the memo's font table
    // starts over in the middle of each round.
    QByteArray fonts;
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 20; ++i) {
            Step font{OpFont, 0, 0, 40, 24};
            font.family = uint8_t(i % 5);
            font.size = uint8_t(8 + i);
            font.style = uint8_t(i % 4);
            fonts += steps({font, Step{OpMemoText, 10, 8, 90, 24}, Step{OpText, 10, 40, 90, 24}});
        }
    }
    seeds.insert(QStringLiteral("font-table-start-over"), fonts);
    // Lines and ellipses, antialiased, moved and clipped.
    Step antialias{OpAntialias, 0, 0, 40, 24};
    antialias.flags = 1;
    const Step line{OpLine, 4, 4, 120, 60};
    const Step ellipse{OpEllipse, 16, 16, 60, 40};
    seeds.insert(QStringLiteral("shapes"),
                 steps({antialias, line, ellipse, Step{OpOrigin, 6, 2, 40, 24}, line,
                        Step{OpClip, 8, 8, 16, 16}, ellipse, line}));
    return seeds;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // Never destroyed: Qt's own exit-time teardown (the SQL driver's, say)
    // must not run after the application object is gone.
    ymFuzzSetUp(argc, argv, "fuzz_paintcache", makeSeeds, false);
    return 0;
}

// Each step: op, x, y, width, height (two bytes each), then the op's own
// bytes (text, flags, font or colour), read the same for every op so that a
// mutation of one step does not shift the next.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Reader in(data, size);
    QImage cached(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    cached.fill(QColor(0, 7, 62));
    QImage plain = cached;
    // A small memo, so that inputs also reach its start-over for size.
    YmPixelMemo memo(64 * 64 * 4 * 2 * 3);
    YmStaticTextCache texts;
    // Off for the plain paint, on for the cached one.
    const auto setCaches = [&](bool on) {
        texts.setEnabled(on);
        memo.setEnabled(on);
    };
    {
        QPainter pc(&cached);
        QPainter pp(&plain);
        for (QPainter *p : {&pc, &pp}) {
            p->setPen(Qt::white);
            p->setFont(QFont(QString::fromLatin1(kFamilies[0])));
        }
        for (int step = 0; step < kMaxSteps && !in.atEnd(); ++step) {
            const uint8_t op = in.byte() % OpCount;
            const double x = in.coordinate(kWidth + 40);
            const double y = in.coordinate(kHeight + 40);
            const double w = in.coordinate(kWidth) + kWidth / 4.0;
            const double h = in.coordinate(kHeight) + kHeight / 4.0;
            const QRectF rect(x, y, w, h);
            QFont font(QString::fromLatin1(kFamilies[in.byte() % kFamilyCount]));
            font.setPixelSize(4 + in.byte() % 44);
            const uint8_t style = in.byte();
            font.setBold(style & 1);
            font.setItalic(style & 2);
            font.setUnderline(style & 4);
            font.setLetterSpacing(QFont::AbsoluteSpacing, (style >> 3) % 4);
            const QString text = in.text();
            const int flags = kFlags[in.byte() % kFlagCount];
            const QColor color = in.color();
            const double width = (in.byte() % 16) / 2.0;

            if (op == OpText || op == OpMemoText) {
                // The first drawText of some texts (control characters, a
                // fallback font) in a font places glyphs unlike every later
                // one; draw it once aside so that both paints below are later.
                static QImage aside(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
                QPainter warm(&aside);
                warm.setFont(pp.font());
                warm.drawText(rect, flags, text);
            }
            setCaches(false);
            apply(op, pp, texts, memo, font, rect, text, flags, color, width);
            setCaches(true);
            apply(op, pc, texts, memo, font, rect, text, flags, color, width);
            if (cached != plain)
                fail(cached, plain, step);
        }
    }
    return 0;
}
