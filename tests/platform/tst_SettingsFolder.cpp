// Where the settings files live: beside a program that can write there,
// else in the user's own folder, filled from the shipped files.
#include "platform/Failure.h"
#include "platform/SettingsFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#ifndef _WIN32
#include <unistd.h>
#endif

using platform::SettingsPlace;

class tst_SettingsFolder : public QObject {
    Q_OBJECT

private slots:
    void place_data();
    void place();
    void fill_data();
    void fill();
};

namespace {

QString folder(const QTemporaryDir& dir, const QString& name)
{
    return QDir::toNativeSeparators(dir.filePath(name)) + QDir::separator();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

} // namespace

void tst_SettingsFolder::place_data()
{
    QTest::addColumn<bool>("holdsSettings");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QString>("folder"); // "program" or "user"
    QTest::addColumn<QString>("shipped");
    QTest::newRow("build folder, unzipped program") << true << true << "program"
                                                    << "";
    QTest::newRow("installed under /usr") << false << true << "user"
                                          << "share/brushwright";
    QTest::newRow("read-only copy") << true << false << "user"
                                    << "bin";
}

void tst_SettingsFolder::place()
{
    QFETCH(bool, holdsSettings);
    QFETCH(bool, writable);
    QFETCH(QString, folder);
    QFETCH(QString, shipped);
    QTemporaryDir dir;
    const QString program = ::folder(dir, "bin");
    const QString user = ::folder(dir, "user");
    QVERIFY(QDir().mkpath(program));
    if (holdsSettings)
        writeBytes(program + "settings.builtin", "1\r\n");
    if (!writable) {
#ifndef _WIN32
        if (geteuid() == 0)
            QSKIP("root writes into any folder: a read-only copy needs another user");
#endif
        QFile(program).setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    const SettingsPlace place = platform::settingsPlace(program, user);
    QFile(program).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                  QFileDevice::ExeOwner);
    QCOMPARE(place.folder, folder == "program" ? program : user);
    QCOMPARE(place.shipped, shipped.isEmpty() ? QString() : ::folder(dir, shipped));
    // The probe that found the folder writable left nothing behind.
    QCOMPARE(QDir(program).entryList(QDir::Files),
             holdsSettings ? QStringList{"settings.builtin"} : QStringList{});
}

void tst_SettingsFolder::fill_data()
{
    QTest::addColumn<QStringList>("present"); // in the user's folder already
    QTest::addColumn<QStringList>("shipped");
    QTest::addColumn<bool>("userFolderIsAFile");
    QTest::addColumn<QString>("error"); // "" or the file it names
    const QStringList all{"settings.builtin", "default.builtin", "lastused.builtin"};
    QTest::newRow("first start") << QStringList{} << all << false << "";
    QTest::newRow("kept") << QStringList{"settings.builtin", "lastused.builtin"} << all << false
                          << "";
    QTest::newRow("folder cannot be made")
        << QStringList{} << all << true << "Cannot create file user/settings.builtin";
    QTest::newRow("shipped file missing")
        << QStringList{"settings.builtin"} << QStringList{"settings.builtin", "lastused.builtin"}
        << false << "Cannot open file shipped/default.builtin";
}

void tst_SettingsFolder::fill()
{
    QFETCH(QStringList, present);
    QFETCH(QStringList, shipped);
    QFETCH(bool, userFolderIsAFile);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const SettingsPlace place{folder(dir, "user"), folder(dir, "shipped")};
    // Bytes a text reader would change: a CR alone, a zero, a byte above 127.
    const auto shippedBytes = [](const QString& name) {
        return name.toLatin1() + QByteArray("\r\0\xe9\n", 4);
    };
    for (const QString& name : shipped)
        writeBytes(place.shipped + name, shippedBytes(name));
    for (const QString& name : present)
        writeBytes(place.folder + name, "mine");
    if (userFolderIsAFile)
        writeBytes(dir.filePath("user"), "not a folder");

    QString thrown;
    try {
        platform::fillSettingsFolder(place);
    } catch (const Failure& failure) {
        thrown = failure.text();
    }
    QCOMPARE(thrown, error.isEmpty()
                         ? QString()
                         : error.section(' ', 0, 2) + ' ' +
                               QDir::toNativeSeparators(dir.filePath(error.section(' ', 3))));
    if (!error.isEmpty())
        return;
    for (const QString& name : platform::shippedFileNames())
        QCOMPARE(readBytes(place.folder + name),
                 present.contains(name) ? QByteArray("mine") : shippedBytes(name));
}

QTEST_GUILESS_MAIN(tst_SettingsFolder)
#include "tst_SettingsFolder.moc"
