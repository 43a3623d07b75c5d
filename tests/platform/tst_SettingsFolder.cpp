// Where the settings files live: beside a program that holds them and can
// write there, else in the user's own folder, filled from the shipped files.
#include "platform/Failure.h"
#include "platform/SettingsFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_SettingsFolder : public QObject {
    Q_OBJECT

private slots:
    void placeAndFill_data();
    void placeAndFill();
};

void tst_SettingsFolder::placeAndFill_data()
{
    // Files below the temporary root before the start ("user" is the
    // user's folder, "bin" the program's); what each of the three settings
    // files in the place's folder holds after it, or the error.
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QString>("error");
    const QStringList shipped{"share/brushwright/settings.builtin",
                              "share/brushwright/default.builtin",
                              "share/brushwright/lastused.builtin"};
    QTest::newRow("portable: nothing copied")
        << QStringList{"bin/settings.builtin"} << QStringList{"bin", "(none)", "(none)"} << "";
    QTest::newRow("installed: the user's own kept, the rest copied")
        << shipped + QStringList{"user/settings.builtin", "user/lastused.builtin"}
        << QStringList{"user", "share", "user"} << "";
    QTest::newRow("user's folder cannot be made") << shipped + QStringList{"user"} << QStringList{}
                                                  << "Cannot create file %1user/settings.builtin";
    QTest::newRow("a shipped file missing")
        << QStringList{shipped[0], shipped[2]} << QStringList{}
        << "Cannot open file %1share/brushwright/default.builtin";
}

void tst_SettingsFolder::placeAndFill()
{
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString root = QDir::toNativeSeparators(dir.path()) + QDir::separator();
    const auto path = [&root](const QString& name) {
        return QDir::toNativeSeparators(root + name);
    };
    // Each file holds its folder's name, and bytes a text reader would
    // change: a lone CR, a zero, a byte above 127.
    for (const QString& name : before) {
        QVERIFY(QDir().mkpath(path(name.section('/', 0, -2))));
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(name.section('/', 0, 0).toLatin1() + QByteArray("\r\0\xe9", 3));
    }
    QVERIFY(QDir().mkpath(path("bin")));

    const platform::SettingsPlace place = platform::settingsPlace(path("bin/"), path("user/"));
    QString thrown;
    try {
        platform::fillSettingsFolder(place);
    } catch (const Failure& failure) {
        thrown = failure.text();
    }
    QCOMPARE(thrown, error.isEmpty() ? QString() : error.arg(root).replace('/', QDir::separator()));
    for (int index = 0; index < after.size(); ++index) {
        QFile file(place.folder + platform::shippedFileNames().at(index));
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : "(none)";
        QCOMPARE(bytes, after[index] == "(none)"
                            ? "(none)"
                            : after[index].toLatin1() + QByteArray("\r\0\xe9", 3));
    }
    // The probe that found a folder writable left nothing behind.
    QCOMPARE(QDir(path("bin")).entryList(QDir::Files),
             before.filter("bin/").replaceInStrings("bin/", ""));
}

QTEST_GUILESS_MAIN(tst_SettingsFolder)
#include "tst_SettingsFolder.moc"
