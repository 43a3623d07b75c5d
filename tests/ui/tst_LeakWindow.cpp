// The leak window on the test map with q2tool's point file: what it says,
// what it copies, and how it moves along the path.
#include "ui/LeakView.h"
#include "ui/LeakWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

class tst_LeakWindow : public QObject {
    Q_OBJECT

private slots:
    void onTheTestMap();
};

namespace {

void checkCentredOn(const LeakWindow& window, const map::Vec3& point)
{
    for (const LeakView* view : window.views()) {
        const QPointF centre = view->transform().centre;
        const QPointF wanted = leak::project(point, view->axis());
        QCOMPARE(centre, wanted);
    }
}

} // namespace

void tst_LeakWindow::onTheTestMap()
{
    const QString compilers = qEnvironmentVariable("BRUSHWRIGHT_COMPILERS");
    if (!QFileInfo::exists(compilers + "/testmap/leak.map"))
        QSKIP("no test map: BRUSHWRIGHT_COMPILERS does not name ../shared/compilers");
    QTemporaryDir dir;
    QVERIFY(QFile::copy(compilers + "/testmap/leak.map", dir.filePath("leak.map")));
    QFile points(dir.filePath("leak.pts"));
    QVERIFY(points.open(QIODevice::WriteOnly));
    // As q2tool writes it on this map: from the void in.
    points.write("-136.000000 648.000000 288.000000\n-128.000000 272.000000 128.000000\n"
                 "-128.000000 0.000000 128.000000\n0.000000 0.000000 32.000000\n");
    points.close();

    const auto window = LeakWindow::fromFiles(dir.filePath("leak.map"), points.fileName());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QCOMPARE(window->windowTitle(), QString("Brushwright leak"));
    QCOMPARE(window->findChild<QLabel*>("sentence")->text(),
             QString("The map leaks from info_player_start at (0 0 32) out to (-136 648 288)."));

    // Fitted: the whole path in each view.
    LeakView* top = window->views().first();
    QVERIFY(top->transform().visiblePlane().contains(QPointF(-136, 648)));
    QVERIFY(top->transform().visiblePlane().contains(QPointF(0, 0)));
    window->grab().save(QCoreApplication::applicationDirPath() + "/leakwindow.png");

    window->findChild<QPushButton*>()->click();
    QCOMPARE(QGuiApplication::clipboard()->text(), QFileInfo(points).absoluteFilePath());

    QCOMPARE(window->focusedPoint(), -1);
    const auto keys = Qt::ControlModifier | Qt::ShiftModifier;
    QTest::keyClick(window.get(), Qt::Key_K, keys);
    QCOMPARE(window->focusedPoint(), 0);
    checkCentredOn(*window, {0, 0, 32});
    QTest::keyClick(window.get(), Qt::Key_K, keys);
    QTest::keyClick(window.get(), Qt::Key_K, keys);
    QCOMPARE(window->findChild<QLabel*>("where")->text(),
             QString("Point 3 of 4 at (-128 272 128)"));
    QTest::keyClick(window.get(), Qt::Key_L, keys);
    QCOMPARE(window->focusedPoint(), 1);
    checkCentredOn(*window, {-128, 0, 128});

    // The wheel zooms in about the cursor: the point under it stays.
    const QPointF cursor(40, 30);
    const QPointF under = top->transform().toPlane(cursor);
    const double scale = top->transform().scale;
    QWheelEvent wheel(cursor, top->mapToGlobal(cursor), {}, {0, 240}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(top, &wheel);
    QVERIFY(top->transform().scale > scale * 1.3);
    QVERIFY((top->transform().toPlane(cursor) - under).manhattanLength() < 1e-9);
    // A drag moves the plane with the mouse.
    QTest::mousePress(top, Qt::LeftButton, {}, QPoint(100, 100));
    QMouseEvent move(QEvent::MouseMove, QPointF(130, 80), top->mapToGlobal(QPointF(130, 80)),
                     Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(top, &move);
    QVERIFY((top->transform().toScreen(under) - (cursor + QPointF(30, -20))).manhattanLength() <
            1e-9);
}

QTEST_MAIN(tst_LeakWindow)
#include "tst_LeakWindow.moc"
