#include "settings/CompilerSettingsFile.h"

#include "platform/Failure.h"
#include "platform/PathMapping.h"
#include "platform/TextFile.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <utility>

namespace settings {

namespace {

const char* const suiteKey = "compilers/suite";
const char* const folderKey = "compilers/folder";
const char* const gameProgramKey = "game/program";
const char* const wayKey = "compile/way";
const char* const stopKey = "compile/stopAtFirstFailure";
const char* const reuseVisKey = "compile/reuseVis";
const char* const engineKey = "game/engine";
const char* const modKey = "game/mod";

const std::pair<Suite, const char*> suiteNames[] = {
    {Suite::Id, "id"}, {Suite::Q2tools, "q2tools"}, {Suite::Ericw, "ericw"}};
const std::pair<CompileWay, const char*> wayNames[] = {{CompileWay::Console, "console"},
                                                       {CompileWay::Window, "window"}};

template <typename Value, std::size_t N>
Value fromName(const QSettings& file, const char* key,
               const std::pair<Value, const char*> (&names)[N], Value fallback)
{
    const QString text = file.value(QLatin1String(key)).toString();
    for (const auto& [value, name] : names) {
        if (text == QLatin1String(name))
            return value;
    }
    return fallback;
}

template <typename Value, std::size_t N>
QString nameOf(Value value, const std::pair<Value, const char*> (&names)[N])
{
    for (const auto& [known, name] : names) {
        if (known == value)
            return QLatin1String(name);
    }
    return QLatin1String(names[0].second);
}

bool flag(const QSettings& file, const char* key, bool fallback)
{
    const QString text = file.value(QLatin1String(key)).toString();
    return text == QLatin1String("false") ? false : text == QLatin1String("true") ? true : fallback;
}

QString flagText(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

} // namespace

QString suiteName(Suite suite)
{
    return nameOf(suite, suiteNames);
}

CompilerSettings readCompilerSettings(const QString& path)
{
    const CompilerSettings defaults;
    CompilerSettings s;
    const QString local = platform::localPath(path);
    if (!QFile::exists(local))
        return s;
    const QSettings file(local, QSettings::IniFormat);
    s.suite = fromName(file, suiteKey, suiteNames, defaults.suite);
    s.folder = file.value(QLatin1String(folderKey)).toString();
    s.gameProgram = file.value(QLatin1String(gameProgramKey)).toString();
    s.way = fromName(file, wayKey, wayNames, defaults.way);
    s.stopAtFirstFailure = flag(file, stopKey, defaults.stopAtFirstFailure);
    s.reuseVis = flag(file, reuseVisKey, defaults.reuseVis);
    s.engine = report::engineNamed(file.value(QLatin1String(engineKey)).toString())
                   .value_or(defaults.engine);
    s.mod = file.value(QLatin1String(modKey)).toString();
    return s;
}

void writeCompilerSettings(const QString& path, const CompilerSettings& s)
{
    // QSettings writes where it likes and reports little: it writes a copy
    // in a folder of its own, and the one writer puts the bytes in place.
    const QTemporaryDir scratch;
    if (!scratch.isValid())
        throw Failure::cannotCreate(path);
    const QString copy = scratch.filePath(QStringLiteral("brushwright.ini"));
    if (QFile::exists(platform::localPath(path))) {
        QFile previous(copy);
        const QByteArray bytes = textfile::readFile(path);
        if (!previous.open(QIODevice::WriteOnly) || previous.write(bytes) != bytes.size())
            throw Failure::cannotCreate(path);
    }
    {
        QSettings file(copy, QSettings::IniFormat);
        file.setValue(QLatin1String(suiteKey), nameOf(s.suite, suiteNames));
        file.setValue(QLatin1String(folderKey), s.folder);
        file.setValue(QLatin1String(gameProgramKey), s.gameProgram);
        file.setValue(QLatin1String(wayKey), nameOf(s.way, wayNames));
        file.setValue(QLatin1String(stopKey), flagText(s.stopAtFirstFailure));
        file.setValue(QLatin1String(reuseVisKey), flagText(s.reuseVis));
        file.setValue(QLatin1String(engineKey), report::engineName(s.engine));
        file.setValue(QLatin1String(modKey), s.mod);
        file.sync();
        if (file.status() != QSettings::NoError)
            throw Failure::cannotCreate(path);
    }
    QFile written(copy);
    if (!written.open(QIODevice::ReadOnly))
        throw Failure::cannotCreate(path);
    textfile::writeFile(path, written.readAll());
}

} // namespace settings
