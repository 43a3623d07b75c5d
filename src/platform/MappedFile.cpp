#include "platform/MappedFile.h"

#include "platform/Failure.h"
#include "platform/PathMapping.h"

namespace platform {

MappedFile::MappedFile(const QString& path) : file_(localPath(path))
{
    if (!file_.open(QIODevice::ReadOnly))
        throw Failure::cannotOpen(path);
    size_ = file_.size();
    if (size_ > 0)
        data_ = reinterpret_cast<const char*>(file_.map(0, size_));
    if (!data_) {
        copy_ = file_.readAll();
        if (file_.error() != QFileDevice::NoError)
            throw Failure::cannotOpen(path);
        data_ = copy_.constData();
        size_ = copy_.size();
    }
}

} // namespace platform
