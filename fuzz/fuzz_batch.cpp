// The batch text for any option set, field texts and map name. The file has
// exactly the lines that the options ask for, in the code page it is read
// in; and read as the command interpreter reads it, no user text adds a
// line or acts as syntax (& | < > ^ % outside quotes), and every program is
// handed the texts as they were typed.
//
// Input: fields divided by the byte 0x1F: check boxes 1 to 36 as '1' (on)
// or anything else; the OEM code page's number (one the program can use);
// the five light values; then, in UTF-8, Edit1, Edit2, Edit3, the game
// directory and the map name.
#include "CommandModel.h"
#include "FuzzSupport.h"
#include "batch/BatchScript.h"
#include "platform/CodePage.h"
#include "platform/PathMapping.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

struct Case {
    BatchOptions options;
    int codePage = 437;
};

// The code pages the program reads and writes in on Linux (the locale
// table's); any other number picks one of them. A batch file is never read
// in a page that is not ASCII's superset, such as EBCDIC's.
int codePageOf(uint number)
{
    static constexpr int pages[] = {437,  720,  737,  775,  850,  852,  855,  857,
                                    862,  866,  874,  932,  936,  949,  950,  1250,
                                    1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258};
    if (std::find(std::begin(pages), std::end(pages), int(number)) != std::end(pages))
        return int(number);
    return pages[number % std::size(pages)];
}

Case caseOf(const QByteArray& bytes)
{
    const QList<QByteArray> fields = bytes.split('\x1f');
    const auto field = [&fields](int index) {
        return index < fields.size() ? fields[index] : QByteArray();
    };
    Case c;
    for (int box = 1; box <= 36; ++box)
        c.options.checkBox[std::size_t(box)] = field(0).size() >= box && field(0)[box - 1] == '1';
    c.codePage = codePageOf(field(1).toUInt());
    const QList<QByteArray> light = field(2).split(' ');
    for (int i = 0; i < 5 && i < light.size(); ++i)
        c.options.light[std::size_t(i)] = std::strtod(light[i].constData(), nullptr);
    c.options.edit1 = QString::fromUtf8(field(3));
    c.options.edit2 = QString::fromUtf8(field(4));
    c.options.edit3 = QString::fromUtf8(field(5));
    c.options.gameDirectory = QString::fromUtf8(field(6));
    c.options.mapName = QString::fromUtf8(field(7));
    return c;
}

// A user text as a program receives it: a line break is a blank, and a
// character the code page lacks is what the code page makes of it.
QString received(const QString& text, int codePage)
{
    QString blanked = text;
    for (QChar& c : blanked) {
        if (QStringView(u"\r\n\v\f\u0085\u2028\u2029").contains(c))
            c = QLatin1Char(' ');
    }
    return platform::decodeText(platform::encodeText(blanked, codePage), codePage);
}

// A light value as written: general decimal form, which reads back as the
// value rounded to 15 significant digits.
void checkLight(const QString& text, double value)
{
    if (!std::isfinite(value))
        return;
    char rounded[40];
    std::snprintf(rounded, sizeof rounded, "%.14e", value);
    const QByteArray bytes = text.toLatin1();
    fuzz::check(!bytes.contains('e') && !bytes.contains('E') &&
                    std::strtod(bytes.constData(), nullptr) == std::strtod(rounded, nullptr) &&
                    !(bytes.contains('.') && bytes.endsWith('0')),
                "a light value in general decimal form", text);
}

enum class Kind { Exact, Drive, Compiler };

struct Expected {
    Kind kind;
    QString text; // the exact line, or the compiler's name
};

QList<Expected> expectedLines(const BatchOptions& o)
{
    QList<Expected> lines;
    for (const char* fixed : {"cls", "@echo off", "echo brushwright v1.02",
                              "echo =============================", "echo."})
        lines.append({Kind::Exact, QLatin1String(fixed)});
    lines.append({Kind::Drive, {}});
    lines.append({Kind::Exact, QStringLiteral("cd\\") + o.gameDirectory.mid(3) +
                                   QStringLiteral("\\baseq2\\maps")});
    const std::pair<int, const char*> compilers[] = {{30, "qbsp3"}, {31, "qvis3"}, {32, "qrad3"}};
    for (const auto& [box, name] : compilers) {
        if (!o.checkBox[std::size_t(box)])
            continue;
        lines.append({Kind::Compiler, QLatin1String(name)});
        if (o.checkBox[34])
            lines.append({Kind::Exact, QStringLiteral("pause")});
    }
    if (o.checkBox[27]) {
        lines.append({Kind::Exact, QStringLiteral("cd\\") + o.gameDirectory.mid(3)});
        lines.append(
            {Kind::Exact, QStringLiteral("quake2 ") +
                              (o.checkBox[36] ? QStringLiteral("+deathmatch 1 ") : QString()) +
                              QStringLiteral("+map ") + o.mapName});
    }
    if (o.checkBox[33] && (o.checkBox[27] || !o.checkBox[34]))
        lines.append({Kind::Exact, QStringLiteral("pause")});
    return lines;
}

void checkCompiler(const QString& line, const QString& name, const Case& c)
{
    const BatchOptions& o = c.options;
    const QString map = received(o.mapName, c.codePage);
    const QString prefix = name + QLatin1Char(' ');
    fuzz::check(line.startsWith(prefix) && line.endsWith(QLatin1Char(' ') + map),
                "a compiler line names its compiler and ends with the map", line);
    if (o.checkBox[26]) {
        fuzz::check(line.startsWith(prefix + QStringLiteral("-threads ") +
                                    received(o.edit3, c.codePage) + QLatin1Char(' ')),
                    "the thread count comes first, as typed", line);
    }
    const auto valueSwitch = [&](int box, const char* compiler, const char* option,
                                 const QString& value) {
        if (name == QLatin1String(compiler) && o.checkBox[std::size_t(box)]) {
            fuzz::check(line.contains(QLatin1Char(' ') + QLatin1String(option) + QLatin1Char(' ') +
                                      received(value, c.codePage) + QLatin1Char(' ')),
                        "a value switch carries the field's text", line);
        }
    };
    valueSwitch(10, "qbsp3", "-chop", o.edit1);
    valueSwitch(21, "qrad3", "-bounce", o.edit2);
    if (name != QLatin1String("qrad3"))
        return;
    // The light switches come last, before the map.
    const QStringList tail = line.left(line.size() - map.size() - 1).split(QLatin1Char(' '));
    fuzz::check(tail.size() >= 10, "a light line has five light switches", line);
    const char* const switches[] = {"-scale", "-direct", "-entity", "-ambient", "-maxlight"};
    for (int i = 0; i < 5; ++i) {
        const qsizetype at = tail.size() - 10 + 2 * i;
        fuzz::check(tail[at] == QLatin1String(switches[i]), "the light switches in order", line);
        checkLight(tail[at + 1], o.light[std::size_t(i)]);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Case c = caseOf(fuzz::bytesOf(data, size));
    const QStringList lines = batch::batchLines(c.options);
    // A Linux game folder reaches the batch file in Wine's Z: form.
    BatchOptions model = c.options;
    model.gameDirectory = platform::wineWindowsPath(model.gameDirectory);
    const QList<Expected> expected = expectedLines(model);
    fuzz::check(lines.size() == expected.size(), "exactly the lines the options ask for",
                lines.join(QLatin1Char('\n')));

    for (qsizetype i = 0; i < lines.size(); ++i) {
        // The file as the interpreter reads it: in its code page, line by line.
        const QByteArray bytes = platform::encodeText(lines[i], c.codePage);
        fuzz::check(!bytes.contains('\n') && !bytes.contains('\r'), "no user text adds a line",
                    lines[i]);
        const ParsedCommand parsed = parseBatchLine(platform::decodeText(bytes, c.codePage));
        fuzz::check(parsed.ok(), "no user text acts as syntax",
                    parsed.problem + QStringLiteral(": ") + lines[i]);

        const Expected& want = expected[i];
        switch (want.kind) {
        case Kind::Exact:
            fuzz::check(parsed.text == received(want.text, c.codePage),
                        "the line reads as the options and texts make it",
                        parsed.text + QStringLiteral(" | ") + want.text);
            break;
        case Kind::Drive:
            fuzz::check(received(model.gameDirectory, c.codePage).startsWith(parsed.text),
                        "the drive is the game directory's head", parsed.text);
            break;
        case Kind::Compiler:
            checkCompiler(parsed.text, want.text, c);
            break;
        }
    }
    return 0;
}
