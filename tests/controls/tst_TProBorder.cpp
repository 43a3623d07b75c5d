// The framed border's setters (which repaint, the width held by the 3-D
// look) and its pointer events.
#include "WidgetProbes.h"
#include "controls/TProBorder.h"

#include <QTest>

Q_DECLARE_METATYPE(Properties)

class tst_TProBorder : public QObject {
    Q_OBJECT

private slots:
    void setterRepaints_data();
    void setterRepaints();
    void bevelWidthUnder3D();
    void pointerEvents();
};

void tst_TProBorder::setterRepaints_data()
{
    QTest::addColumn<Properties>("change");
    QTest::addColumn<bool>("repaints");
    const auto row = [](const char* suffix, bool repaints) {
        return [=](const char* name, const QVariant& value) {
            QTest::newRow(QByteArray(name) + suffix) << Properties{{name, value}} << repaints;
        };
    };
    const auto same = row(", same", false);
    const auto changed = row(", changed", true);
    same("BevelCtl3D", false);
    same("BevelInner", v(bvNone));
    same("BevelOuter", v(bvLowered));
    same("BevelSides", v(allSides));
    same("BevelWidth", 1);
    same("BorderColor", v(clBtnFace));
    same("BorderWidth", 0);
    changed("BevelCtl3D", true);
    changed("BevelOuter", v(bvRaised));
    changed("BevelWidth", 3);
    changed("BorderWidth", 1);
}

void tst_TProBorder::setterRepaints()
{
    QFETCH(Properties, change);
    QFETCH(bool, repaints);
    QWidget window;
    auto* border = new TProBorder(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(20);
    const PaintCounter counter(border);
    setProperties(*border, change);
    QTest::qWait(20);
    QCOMPARE(counter.paints() > 0, repaints);
}

void tst_TProBorder::bevelWidthUnder3D()
{
    TProBorder border;
    setProperties(border, {{"BevelWidth", 3}, {"BevelCtl3D", true}, {"BevelWidth", 4}});
    QCOMPARE(border.BevelWidth(), 2);
    border.setBevelCtl3D(false);
    QCOMPARE(border.BevelWidth(), 1);
    QCOMPARE(border.focusPolicy(), Qt::NoFocus);
}

void tst_TProBorder::pointerEvents()
{
    QWidget window;
    window.resize(200, 100);
    auto* border = new TProBorder(&window);
    border->move(50, 20);
    QStringList events;
    border->setOnMouseEnter([&](QObject* sender) { events << (sender == border ? "enter" : "?"); });
    border->setOnMouseLeave([&](QObject* sender) { events << (sender == border ? "leave" : "?"); });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QTest::mouseMove(&window, QPoint(10, 10));
    QTest::mouseMove(&window, QPoint(60, 30));
    QTRY_COMPARE(events, QStringList({"enter"}));
    QTest::mouseMove(&window, QPoint(10, 10));
    QTRY_COMPARE(events, QStringList({"enter", "leave"}));
}

QTEST_MAIN(tst_TProBorder)
#include "tst_TProBorder.moc"
