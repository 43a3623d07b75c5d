#pragma once

#include <QString>
#include <exception>

// The one error type of the program. A handler that meets it stops at the
// failing step; the handler guard shows its text in the standard error box.
class Failure : public std::exception {
public:
    explicit Failure(QString text);

    const QString& text() const noexcept { return text_; }
    const char* what() const noexcept override { return bytes_.constData(); }

    static Failure cannotOpen(const QString& path);
    static Failure cannotCreate(const QString& path);
    static Failure cannotStart(const QString& path);
    static Failure listIndexOutOfBounds(int index);
    // A text of more than a few hundred characters is shown shortened in
    // its middle.
    static Failure notAnInteger(const QString& text);
    // A batch file text, such as 'The game folder "C:\Quake2 Š"', holds a
    // character that the console (OEM) code page lacks.
    static Failure unwritable(const QString& holder, const QString& character, int codePage);

private:
    QString text_;
    QByteArray bytes_;
};

// The text of the standard error box: a full stop is added when the last
// character sorts after "." (so "...(30)" keeps its bracket as the end).
QString errorBoxText(const QString& text);
