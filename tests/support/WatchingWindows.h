#pragma once

#include "StartRecorder.h"
#include "ui/TForm1.h"
#include "ui/TForm2.h"
#include "ui/TForm3.h"
#include "ui/TForm4.h"

#include <QTemporaryDir>
#include <QTime>

// Saves a map as an editor does: the file written, then stamped with the
// given time on 17 May 2024 (the file age keeps two-second steps).
void saveMap(const QString& path, const QTime& time);

// The program's four windows as it makes them, over a folder of their own:
// base1.map saved at 13:45:30 in the maps folder of the game folder "q2",
// selected, and AutoCompile switched on.
class WatchingWindows {
    QTemporaryDir dir_; // made first: everything else lives in it

public:
    explicit WatchingWindows(Dialogs& dialogs);

    // base1.map in a game folder inside this one.
    QString mapFile(const QString& game = QStringLiteral("q2")) const;
    QString path(const QString& name) const { return dir_.filePath(name); }

    StartRecorder starts;
    TForm1 form1;
    TForm2 form2;
    TForm3 form3;
    TForm4 form4;
};
