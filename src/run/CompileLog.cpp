#include "run/CompileLog.h"

#include <QDir>

namespace run {

CompileLog::CompileLog(const QString& path) : file_(path)
{
    if (!file_.open(QIODevice::WriteOnly))
        fail();
}

void CompileLog::fail()
{
    if (problem_.isEmpty())
        problem_ = QDir::toNativeSeparators(file_.fileName()) +
                   QStringLiteral(" cannot be written: ") + file_.errorString();
    file_.cancelWriting();
}

void CompileLog::heading(const QString& text)
{
    write(QByteArrayLiteral("\n> ") + text.toUtf8() + '\n');
}

void CompileLog::write(const QByteArray& bytes)
{
    if (problem_.isEmpty() && file_.write(bytes) != bytes.size())
        fail();
}

bool CompileLog::finish()
{
    if (problem_.isEmpty() && !file_.commit())
        fail();
    return problem_.isEmpty();
}

} // namespace run
