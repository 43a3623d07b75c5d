// The line layout of settings.builtin.
#include "settings/SettingsFile.h"

#include <QTest>

class tst_SettingsFile : public QObject {
    Q_OBJECT

private slots:
    void settingsLines();
};

void tst_SettingsFile::settingsLines()
{
    settings::ProgramSettings s;
    s.threads = s.pauseBetween = s.autoCompile = true;
    s.threadCount = " 8";
    s.gameDirectory = "C:\\Quake2";
    QCOMPARE(settings::settingsLines(s),
             (QStringList{"1", "1", "0", "0", "0", " 8", "C:\\Quake2", "0", "1", "1"}));
    s.loadDefaults = true;
    QCOMPARE(settings::settingsLines(s).constFirst(), QString("0"));
    QVERIFY(settings::loadsDefaults("0") && !settings::loadsDefaults("0 "));
}

QTEST_GUILESS_MAIN(tst_SettingsFile)
#include "tst_SettingsFile.moc"
