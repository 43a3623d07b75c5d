// The framed controls drawn to an image: for each set of properties, the
// pixels it must give. Also the caption's placement arithmetic and the frame
// routine's limits.
#include "WidgetProbes.h"
#include "app/ProgramFont.h"
#include "controls/ProCtrls.h"
#include "controls/TProBorder.h"
#include "controls/TProPanel.h"

#include <QApplication>
#include <QPainter>
#include <QTest>
#include <limits>
#include <vector>

namespace {

// Every pixel of area has the colour, or, for ink, at least one does not:
// text drawn over a fill or a frame.
struct Pixels {
    QRect area;
    TColor color;
    bool ink = false;
};
using Expect = std::vector<Pixels>;

// What lies under a border's interior, to show through it.
constexpr TColor under = rgbColor(255, 0, 255);

Expect operator+(Expect a, const Expect& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Expect all(const QRect& area, TColor color)
{
    return {{area, color}};
}

Expect ink(const QRect& area, TColor over)
{
    return {{area, over, true}};
}

// Nested one-pixel rings from the edge of size inward, each given as its
// top-left and bottom-right colour, then the interior.
Expect rings(QSize size, const std::vector<std::pair<TColor, TColor>>& colors, TColor interior)
{
    Expect expect;
    QRect r(QPoint(), size);
    for (const auto& [topLeft, bottomRight] : colors) {
        expect.push_back({QRect(r.left(), r.top(), r.width() - 1, 1), topLeft});
        expect.push_back({QRect(r.left(), r.top(), 1, r.height() - 1), topLeft});
        expect.push_back({QRect(r.right(), r.top(), 1, r.height()), bottomRight});
        expect.push_back({QRect(r.left(), r.bottom(), r.width(), 1), bottomRight});
        r.adjust(1, 1, -1, -1);
    }
    return expect + all(r, interior);
}

// A panel, or a border with the given parts in front of its interior.
QImage render(bool panel, QSize size, const Properties& properties)
{
    QWidget host;
    host.setAutoFillBackground(true);
    QPalette palette = host.palette();
    palette.setColor(QPalette::Window, toQColor(under));
    host.setPalette(palette);
    QWidget* control = panel ? static_cast<QWidget*>(new TProPanel(&host)) : new TProBorder(&host);
    if (size.isValid())
        control->resize(size);
    setProperties(*control, properties);
    host.resize(control->size());
    return host.grab().toImage();
}

} // namespace

Q_DECLARE_METATYPE(Expect)
Q_DECLARE_METATYPE(Properties)

class tst_ProCtrls : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void pixels_data();
    void pixels();
    void emptySidesUseWholeArea();
    void captionRect_data();
    void captionRect();
    void widestFrameFillsCanvas();
};

void tst_ProCtrls::initTestCase()
{
    QApplication::setFont(programFont());
    // The checks tell the colours apart only if they differ.
    const QList<TColor> colors{clBtnFace, clBtnShadow, clBtnText, clBtnHighlight,
                               cl3DLight, clRed,       under};
    for (qsizetype i = 0; i < colors.size(); ++i) {
        for (qsizetype j = i + 1; j < colors.size(); ++j)
            QVERIFY(toQColor(colors[i]) != toQColor(colors[j]));
    }
}

void tst_ProCtrls::pixels_data()
{
    QTest::addColumn<bool>("panel");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<Properties>("properties");
    QTest::addColumn<Expect>("expect");
    const QFontMetrics metrics(QApplication::font());
    const int h = metrics.height();
    const int amp = metrics.horizontalAdvance(QLatin1Char('&'));
    const int narrow = metrics.horizontalAdvance(QStringLiteral("MMM")) + 12;
    const auto panel = [](const char* name, QSize size, const Properties& set) -> QTestData& {
        return QTest::newRow(name) << true << size << set;
    };
    const auto border = [](const char* name, QSize size, const Properties& set) -> QTestData& {
        return QTest::newRow(name) << false << size << set;
    };
    const auto flat = std::pair(clBtnHighlight, clBtnShadow);
    const auto lowered = std::pair(clBtnShadow, clBtnHighlight);
    const auto red = std::pair(clRed, clRed);
    const auto raised3D = std::pair(clBtnHighlight, clBtnText);
    const auto inner3D = std::pair(cl3DLight, clBtnShadow);

    panel("panel defaults", {}, {}) << rings({185, 41}, {flat}, clBtnFace);
    panel("panel top only", {20, 10}, {{"BevelCtl3D", true}, {"BevelSides", v(TSides(sdTop))}})
        << all({0, 0, 20, 1}, clBtnHighlight) + all({0, 1, 20, 1}, cl3DLight) +
               all({0, 2, 20, 8}, clBtnFace);
    panel("panel red band of 3 between bevels", {20, 20},
          {{"BevelInner", v(bvLowered)}, {"BorderWidth", 3}, {"BorderColor", v(clRed)}})
        << rings({20, 20}, {flat, red, red, red, lowered}, clBtnFace);
    panel("panel no sides", {20, 10},
          {{"BevelSides", v(TSides())}, {"BorderWidth", 2}, {"BorderColor", v(clRed)}})
        << all({0, 0, 20, 10}, clBtnFace);
    panel("panel 3-D raised in a single border", {20, 10},
          {{"BevelCtl3D", true}, {"BorderStyle", v(bsSingle)}})
        << rings({20, 10}, {{clWindowFrame, clWindowFrame}, raised3D, inner3D}, clBtnFace);

    const auto caption = [](const char* text, TVerticalAlignment vertical) {
        return Properties{{"Caption", text}, {"VerticalAlignment", v(vertical)}};
    };
    panel("caption top", {120, 3 * h + 2}, caption("MMM", vaTop))
        << ink({1, 1, 118, h}, clBtnFace) + all({1, 1 + h, 118, 2 * h}, clBtnFace);
    panel("caption centre", {120, 3 * h + 2}, caption("MMM", vaCenter))
        << all({1, 1, 118, h}, clBtnFace) + ink({1, 1 + h, 118, h}, clBtnFace) +
               all({1, 1 + 2 * h, 118, h}, clBtnFace);
    panel("caption bottom", {120, 3 * h + 2}, caption("MMM", vaBottom))
        << all({1, 1, 118, 2 * h}, clBtnFace) + ink({1, 1 + 2 * h, 118, h}, clBtnFace);
    panel("caption taller, centred over the frame", {120, 3}, caption("MMM", vaCenter))
        << ink({1, 0, 118, 1}, clBtnHighlight) + ink({1, 2, 118, 1}, clBtnShadow);
    panel("caption taller, bottom: over the top only", {120, h / 2 + 2}, caption("MMM", vaBottom))
        << ink({1, 0, 118, 1}, clBtnHighlight) + all({0, h / 2 + 1, 120, 1}, clBtnShadow);
    panel("caption taller, top: clipped", {narrow, h / 2 + 2}, caption("MMM MMM", vaTop))
        << ink({1, 1, narrow - 2, h / 2}, clBtnFace) + all({0, h / 2 + 1, narrow, 1}, clBtnShadow);
    panel("caption wrapped, measured wrapped", {narrow, 3 * h + 2}, caption("MMM MMM", vaBottom))
        << all({1, 1, narrow - 2, h}, clBtnFace) + ink({1, 1 + h, narrow - 2, h}, clBtnFace) +
               ink({1, 1 + 2 * h, narrow - 2, h}, clBtnFace);
    const QRect belowBaseline(1, 2 + metrics.ascent(), 118, h - metrics.ascent() - 1);
    panel("mnemonic underlined", {120, h + 2}, caption("&MMM", vaTop))
        << ink(belowBaseline, clBtnFace);
    panel("no mnemonic, no underline", {120, h + 2}, caption("MMM", vaTop))
        << all(belowBaseline, clBtnFace);
    panel("&& shows one &", {120, h + 2},
          caption("&&", vaTop) << std::pair("Alignment", v(taLeftJustify)))
        << ink({1, 1, amp + 1, h}, clBtnFace) + all({amp + 2, 1, 117 - amp, h}, clBtnFace);

    border("border defaults", {}, {}) << rings({50, 50}, {lowered}, under);
    border("border 3-D lowered", {50, 50}, {{"BevelCtl3D", true}})
        << rings({50, 50}, {lowered, {clBtnText, cl3DLight}}, under);
    border("border of the main window", {393, 497},
           {{"BevelCtl3D", true}, {"BevelOuter", v(bvRaised)}, {"BevelWidth", 2}})
        << rings({393, 497}, {raised3D, inner3D}, under);
    border("border left and right", {20, 10},
           {{"BevelCtl3D", true}, {"BevelSides", v(sdLeft | sdRight)}})
        << all({0, 0, 1, 10}, clBtnShadow) + all({1, 0, 1, 10}, clBtnText) +
               all({19, 0, 1, 10}, clBtnHighlight) + all({18, 0, 1, 10}, cl3DLight) +
               all({2, 0, 16, 10}, under);
    border("border 3-D off, then width 4", {20, 20},
           {{"BevelCtl3D", true}, {"BevelCtl3D", false}, {"BevelWidth", 4}})
        << rings({20, 20}, {lowered, lowered, lowered, lowered}, under);
}

void tst_ProCtrls::pixels()
{
    QFETCH(bool, panel);
    QFETCH(QSize, size);
    QFETCH(Properties, properties);
    QFETCH(Expect, expect);
    const QImage image = render(panel, size, properties);
    for (const Pixels& check : expect) {
        const QRect& area = check.area;
        const QString where = QStringLiteral("%1,%2 %3x%4")
                                  .arg(area.x())
                                  .arg(area.y())
                                  .arg(area.width())
                                  .arg(area.height());
        QVERIFY2(!area.isEmpty() && image.rect().contains(area), qPrintable(where));
        qsizetype matching = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x)
                matching += image.pixel(x, y) == toQColor(check.color).rgb();
        }
        const qsizetype count = qsizetype(area.width()) * area.height();
        QVERIFY2(check.ink ? matching < count : matching == count, qPrintable(where));
    }
}

void tst_ProCtrls::emptySidesUseWholeArea()
{
    // With no sides, the fill and the caption are where they are with no
    // frame at all.
    const auto image = [](TBevelCut outer, TSides sides) {
        return render(
            true, {60, 30},
            {{"BevelOuter", v(outer)}, {"BevelSides", v(sides)}, {"Caption", "MMM MMM MMM"}});
    };
    QCOMPARE(image(bvRaised, {}), image(bvNone, allSides));
    QVERIFY(image(bvRaised, allSides) != image(bvNone, allSides));
}

void tst_ProCtrls::captionRect_data()
{
    QTest::addColumn<int>("textHeight");
    QTest::addColumn<TVerticalAlignment>("alignment");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("bottom");
    // The interior runs from 10 to 20.
    QTest::newRow("top keeps the interior") << 3 << vaTop << 10 << 20;
    QTest::newRow("centre, odd pixel below") << 3 << vaCenter << 13 << 16;
    QTest::newRow("bottom") << 3 << vaBottom << 17 << 20;
    QTest::newRow("centre, taller: odd pixel below") << 13 << vaCenter << 9 << 22;
    QTest::newRow("bottom, taller: over the top") << 13 << vaBottom << 7 << 20;
}

void tst_ProCtrls::captionRect()
{
    QFETCH(int, textHeight);
    QFETCH(TVerticalAlignment, alignment);
    QFETCH(int, top);
    QFETCH(int, bottom);
    QCOMPARE(::captionRect({5, 10, 50, 20}, textHeight, alignment),
             (FrameRect{5, top, 50, bottom}));
}

void tst_ProCtrls::widestFrameFillsCanvas()
{
    // The widest bevel there can be: drawn at once, covering the canvas, and
    // the rectangle left inside is empty.
    QImage image(12, 7, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter canvas(&image);
    FrameRect rect{0, 0, 12, 7};
    FrameSides(canvas, rect, allSides, Qt::red, Qt::blue, std::numeric_limits<int>::max());
    canvas.end();
    QVERIFY(rect.isEmpty() && rect.left > 12 && rect.right < 0);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            QVERIFY(image.pixel(x, y) != qRgb(0, 0, 0));
    }
}

QTEST_MAIN(tst_ProCtrls)
#include "tst_ProCtrls.moc"
