// The framed panel's setters (what repaints, what lays the children out
// again), the room it leaves its aligned children, and its pointer events.
#include "WidgetProbes.h"
#include "controls/TProPanel.h"

#include <QTest>
#include <QVBoxLayout>

Q_DECLARE_METATYPE(Properties)

namespace {

// A panel with one child placed by a layout, as aligned children are.
struct LaidOutPanel {
    TProPanel panel;
    QWidget* child = new QWidget(&panel);

    LaidOutPanel()
    {
        panel.resize(100, 60);
        auto* layout = new QVBoxLayout(&panel);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(child);
        layout->activate();
    }
};

} // namespace

class tst_TProPanel : public QObject {
    Q_OBJECT

private slots:
    void setterEffects_data();
    void setterEffects();
    void childInset_data();
    void childInset();
    void pointerEvents();
};

void tst_TProPanel::setterEffects_data()
{
    QTest::addColumn<Properties>("change");
    QTest::addColumn<bool>("repaints");
    QTest::addColumn<bool>("laysOut");
    const auto row = [](const char* suffix) {
        return [=](const char* name, const QVariant& value, bool repaints, bool laysOut) {
            QTest::newRow(QByteArray(name) + suffix)
                << Properties{{name, value}} << repaints << laysOut;
        };
    };
    const auto same = row(", same");
    const auto changed = row(", changed");
    // Own properties repaint on a change only and never lay out.
    same("BevelSides", v(allSides), false, false);
    same("BorderColor", v(clBtnFace), false, false);
    same("VerticalAlignment", v(vaCenter), false, false);
    same("BevelCtl3D", false, false, false);
    same("Caption", QString(), false, false);
    same("Color", v(clBtnFace), false, false);
    changed("BevelSides", v(TSides(sdTop)), true, false);
    changed("BorderColor", v(clRed), true, false);
    changed("VerticalAlignment", v(vaTop), true, false);
    changed("Caption", "x", true, false);
    changed("BevelCtl3D", true, true, true);
    // The ordinary panel's repaint, and lay out, even when nothing changed.
    same("Alignment", v(taCenter), true, false);
    same("BevelOuter", v(bvRaised), true, true);
    same("BevelInner", v(bvNone), true, true);
    same("BevelWidth", 1, true, true);
    same("BorderWidth", 0, true, true);
}

void tst_TProPanel::setterEffects()
{
    QFETCH(Properties, change);
    QFETCH(bool, repaints);
    QFETCH(bool, laysOut);
    LaidOutPanel laidOut;
    TProPanel& panel = laidOut.panel;
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    // Moved away from where the layout put it: a layout pass puts it back.
    laidOut.child->setGeometry(70, 40, 5, 5);
    QTest::qWait(20);
    const PaintCounter counter(&panel);

    setProperties(panel, change);
    QCOMPARE(laidOut.child->geometry(), laysOut ? panel.contentsRect() : QRect(70, 40, 5, 5));
    QTest::qWait(20);
    QCOMPARE(counter.paints() > 0, repaints);
}

void tst_TProPanel::childInset_data()
{
    QTest::addColumn<Properties>("properties");
    QTest::addColumn<int>("inset");
    QTest::newRow("defaults") << Properties{} << 1;
    QTest::newRow("3-D") << Properties{{"BevelCtl3D", true}} << 2;
    QTest::newRow("3-D, width 5 undone")
        << Properties{{"BevelCtl3D", true}, {"BevelWidth", 5}} << 2;
    QTest::newRow("3-D off leaves width 1")
        << Properties{{"BevelWidth", 3}, {"BevelCtl3D", true}, {"BevelCtl3D", false}} << 1;
    QTest::newRow("both bevels of 3, band of 4")
        << Properties{{"BevelInner", v(bvLowered)}, {"BevelWidth", 3}, {"BorderWidth", 4}} << 10;
    QTest::newRow("no bevel") << Properties{{"BevelOuter", v(bvNone)}} << 0;
    QTest::newRow("spacer counts") << Properties{{"BevelInner", v(bvSpace)}} << 2;
    QTest::newRow("no sides, still inset")
        << Properties{{"BevelSides", v(TSides())}, {"BorderWidth", 2}} << 3;
    QTest::newRow("single border") << Properties{{"BorderStyle", v(bsSingle)}} << 2;
}

void tst_TProPanel::childInset()
{
    QFETCH(Properties, properties);
    QFETCH(int, inset);
    LaidOutPanel laidOut;
    setProperties(laidOut.panel, properties);
    QCOMPARE(laidOut.child->geometry(),
             QRect(0, 0, 100, 60).adjusted(inset, inset, -inset, -inset));
}

void tst_TProPanel::pointerEvents()
{
    QWidget window;
    window.resize(200, 100);
    auto* panel = new TProPanel(&window);
    panel->setGeometry(50, 20, 100, 60);
    auto* child = new QWidget(panel);
    child->setGeometry(40, 20, 20, 20);
    QStringList events;
    panel->setOnMouseEnter([&](QObject* sender) { events << (sender == panel ? "enter" : "?"); });
    panel->setOnMouseLeave([&](QObject* sender) { events << (sender == panel ? "leave" : "?"); });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QTest::mouseMove(&window, QPoint(10, 10));
    QTest::mouseMove(&window, QPoint(60, 30)); // onto the panel
    QTRY_COMPARE(events, QStringList({"enter"}));
    QTest::mouseMove(&window, QPoint(100, 50)); // onto the child
    QTRY_COMPARE(events, QStringList({"enter", "leave", "enter"}));
    QTest::mouseMove(&window, QPoint(60, 30)); // back onto the panel
    QTRY_COMPARE(events, QStringList({"enter", "leave", "enter", "leave", "enter"}));
    QTest::mouseMove(&window, QPoint(10, 10)); // off it
    QTRY_COMPARE(events, QStringList({"enter", "leave", "enter", "leave", "enter", "leave"}));
}

QTEST_MAIN(tst_TProPanel)
#include "tst_TProPanel.moc"
