#include "map/MapReader.h"

#include "platform/Failure.h"
#include "platform/TextFile.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace map {

namespace {

// Splits the text into the words the game's own parser sees: a quoted text,
// one of the brackets, or a run of anything but blanks. Comments run from
// "//" to the line's end.
class Tokens {
public:
    explicit Tokens(const QByteArray& text)
        : p_(text.constData()), end_(text.constData() + text.size())
    {
    }

    struct Token {
        std::string_view text;
        bool quoted = false;
        int line = 0;
        bool is(char c) const { return !quoted && text.size() == 1 && text[0] == c; }
    };

    // The next word; an empty unquoted one at the end of the text.
    Token next()
    {
        if (peeked_) {
            peeked_ = false;
            return peek_;
        }
        return read();
    }

    const Token& peek()
    {
        if (!peeked_) {
            peek_ = read();
            peeked_ = true;
        }
        return peek_;
    }

    bool atEnd() { return peek().text.empty() && !peek().quoted; }

private:
    Token read()
    {
        skipBlanks();
        Token t;
        t.line = line_;
        if (p_ == end_)
            return t;
        if (*p_ == '"') {
            const char* start = ++p_;
            while (p_ != end_ && *p_ != '"' && *p_ != '\n')
                ++p_;
            if (p_ == end_ || *p_ == '\n')
                throw Failure(
                    QStringLiteral("line %1: a quoted text has no closing quote").arg(t.line));
            t.text = std::string_view(start, std::size_t(p_ - start));
            t.quoted = true;
            ++p_;
            return t;
        }
        const char* start = p_;
        if (isBracket(*p_)) {
            ++p_;
        } else {
            while (p_ != end_ && !isBlank(*p_) && !isBracket(*p_) && *p_ != '"')
                ++p_;
        }
        t.text = std::string_view(start, std::size_t(p_ - start));
        return t;
    }

    void skipBlanks()
    {
        while (p_ != end_) {
            if (*p_ == '\n') {
                ++line_;
                ++p_;
            } else if (isBlank(*p_)) {
                ++p_;
            } else if (*p_ == '/' && end_ - p_ > 1 && p_[1] == '/') {
                while (p_ != end_ && *p_ != '\n')
                    ++p_;
            } else {
                return;
            }
        }
    }

    static bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || !c; }
    static bool isBracket(char c)
    {
        return c == '{' || c == '}' || c == '(' || c == ')' || c == '[' || c == ']';
    }

    const char* p_;
    const char* end_;
    int line_ = 1;
    Token peek_;
    bool peeked_ = false;
};

[[noreturn]] void fail(const Tokens::Token& at, const char* wanted)
{
    const QString found =
        at.text.empty() && !at.quoted
            ? QStringLiteral("the end of the file")
            : QStringLiteral("\"%1\"").arg(QString::fromLatin1(
                  at.text.data(), qsizetype(std::min<std::size_t>(at.text.size(), 40))));
    throw Failure(QStringLiteral("line %1: %2 expected, %3 found")
                      .arg(at.line)
                      .arg(QLatin1String(wanted), found));
}

void expect(Tokens& tokens, char c, const char* wanted)
{
    const Tokens::Token t = tokens.next();
    if (!t.is(c))
        fail(t, wanted);
}

std::optional<double> numberOf(std::string_view text)
{
    double value = 0;
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+')
        ++first;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

double number(Tokens& tokens)
{
    const Tokens::Token t = tokens.next();
    const std::optional<double> value = t.quoted ? std::nullopt : numberOf(t.text);
    if (!value)
        fail(t, "a number");
    return *value;
}

QString latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

MapFace readFace(Tokens& tokens, bool& valve220)
{
    MapFace face;
    face.line = tokens.peek().line;
    for (Vec3& point : face.points) {
        expect(tokens, '(', "\"(\"");
        point = {number(tokens), number(tokens), number(tokens)};
        expect(tokens, ')', "\")\"");
    }
    const Tokens::Token texture = tokens.next();
    if (texture.text.empty() ||
        (!texture.quoted && texture.text.size() == 1 &&
         std::string_view("{}()[]").find(texture.text[0]) != std::string_view::npos))
        fail(texture, "a texture name");
    face.texture = latin1(texture.text);
    // Offsets, rotation, scales and the optional flags, or Valve 220's axes
    // in brackets first: numbers up to the next face or the brush's end.
    int numbers = 0;
    while (!tokens.peek().is('(') && !tokens.peek().is('}')) {
        if (tokens.peek().is('[')) {
            tokens.next();
            for (int i = 0; i < 4; ++i)
                number(tokens);
            expect(tokens, ']', "\"]\"");
            valve220 = true;
        } else {
            number(tokens);
            ++numbers;
        }
    }
    if (numbers < 3)
        fail(tokens.peek(), "the texture's offsets, rotation and scales");
    return face;
}

MapBrush readBrush(Tokens& tokens, bool& valve220)
{
    MapBrush brush;
    brush.line = tokens.next().line; // its "{"
    const Tokens::Token& first = tokens.peek();
    if (!first.quoted && (first.text == "brushDef" || first.text == "patchDef2" ||
                          first.text == "brushDef3" || first.text == "patchDef3"))
        throw Failure(QStringLiteral("line %1: \"%2\" is another game's brush format, not "
                                     "Quake II's")
                          .arg(first.line)
                          .arg(latin1(first.text)));
    while (!tokens.peek().is('}'))
        brush.faces.append(readFace(tokens, valve220));
    tokens.next();
    return brush;
}

MapEntity readEntity(Tokens& tokens, bool& valve220)
{
    MapEntity entity;
    const Tokens::Token open = tokens.next();
    if (!open.is('{'))
        fail(open, "\"{\"");
    entity.line = open.line;
    for (;;) {
        const Tokens::Token& t = tokens.peek();
        if (t.is('}')) {
            tokens.next();
            return entity;
        }
        if (t.is('{')) {
            entity.brushes.append(readBrush(tokens, valve220));
        } else if (t.quoted) {
            const Tokens::Token key = tokens.next();
            const Tokens::Token value = tokens.next();
            if (!value.quoted)
                fail(value, "a quoted value");
            entity.keys.append({latin1(key.text), latin1(value.text)});
        } else {
            fail(t, "a key, a brush or \"}\"");
        }
    }
}

} // namespace

QString MapEntity::value(const QString& key) const
{
    for (const auto& [k, v] : keys) {
        if (k == key)
            return v;
    }
    return {};
}

std::optional<Vec3> MapEntity::origin() const
{
    const QByteArray text = value(QStringLiteral("origin")).toLatin1();
    const QList<QByteArray> parts = text.simplified().split(' ');
    if (parts.size() != 3)
        return std::nullopt;
    std::array<double, 3> v{};
    for (int i = 0; i < 3; ++i) {
        const std::optional<double> n =
            numberOf(std::string_view(parts[i].constData(), std::size_t(parts[i].size())));
        if (!n)
            return std::nullopt;
        v[std::size_t(i)] = *n;
    }
    return Vec3{v[0], v[1], v[2]};
}

MapFile parseMap(const QByteArray& text)
{
    Tokens tokens(text);
    MapFile map;
    while (!tokens.atEnd())
        map.entities.append(readEntity(tokens, map.valve220));
    return map;
}

MapFile readMapFile(const QString& path)
{
    const QByteArray bytes = textfile::readBytes(path);
    try {
        return parseMap(bytes);
    } catch (const Failure& failure) {
        throw Failure(QStringLiteral("%1: %2").arg(path, failure.text()));
    }
}

} // namespace map
