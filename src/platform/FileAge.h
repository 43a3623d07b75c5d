#pragma once

#include <QtGlobal>

class QString;

namespace platform {

// MS-DOS date and time: date in the high 16 bits, time in the low 16 bits,
// two-second steps. -1 where the form cannot hold the year (1980 to 2107).
qint32 packDosDateTime(int year, int month, int day, int hour, int minute, int second);

// The last-write time of a file in local time, packed as above; -1 when the
// path names no file (or names a folder). One directory look-up, no open.
qint32 fileAge(const QString& path);

} // namespace platform
