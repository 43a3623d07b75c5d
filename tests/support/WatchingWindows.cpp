#include "WatchingWindows.h"

#include "TestEnvironment.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The maps folder, with the map in it before the stand-ins are put there.
QString mapsFolderWithMap(const QTemporaryDir& dir)
{
    saveMap(dir.filePath(QStringLiteral("q2/baseq2/maps/base1.map")), QTime(13, 45, 30));
    return dir.filePath(QStringLiteral("q2/baseq2/maps"));
}

} // namespace

void saveMap(const QString& path, const QTime& time)
{
    writeBytes(path, "{\n}\n");
    stampFile(path, QDateTime(QDate(2024, 5, 17), time));
}

WatchingWindows::WatchingWindows(Dialogs& dialogs)
    : starts(mapsFolderWithMap(dir_)), form1(dialogs, dir_.path() + QLatin1Char('/')), form4(form1)
{
    form1.setVerifyWindow(&form2);
    form1.setAboutWindow(&form3);
    form1.setPrompt(&form4);
    form1.Edit4->setText(QDir::toNativeSeparators(dir_.filePath(QStringLiteral("q2"))));
    form1.mapName = QStringLiteral("base1");
    form1.Button3->setEnabled(true);
    form1.CheckBox35->setChecked(true); // takes the map's timestamp
    form1.show();
}

QString WatchingWindows::mapFile(const QString& game) const
{
    return dir_.filePath(game + QStringLiteral("/baseq2/maps/base1.map"));
}
