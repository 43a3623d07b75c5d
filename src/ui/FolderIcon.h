#pragma once

#include <QIcon>

// The 16 x 16 opened-folder picture of the map button.
QIcon openedFolderIcon();
