#pragma once

#include <QFont>

// Tahoma at 11 pixels where it is installed; elsewhere a metric-compatible
// face, so that every caption fits its control.
QFont programFont();
