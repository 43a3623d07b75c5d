#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstdint>

namespace platform {

// A file's bytes in place while it lives: mapped where the system allows,
// else read. Throws Failure "Cannot open file %s".
class MappedFile {
public:
    explicit MappedFile(const QString& path);
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    const char* data() const { return data_; }
    std::int64_t size() const { return size_; }

private:
    QFile file_;
    QByteArray copy_;
    const char* data_ = nullptr;
    std::int64_t size_ = 0;
};

} // namespace platform
