#pragma once

#include <QStringList>

// brushwright --view x.bsp [--shot out.png [--size WxH] [--camera "X Y Z YAW PITCH"]
//                           [--mode lit|lightmap|fullbright] [--lock "X Y Z"]]
// Without --shot the view window alone, until it is closed; with it one
// frame drawn off screen into a PNG, and a line of what it shows (the
// visible set's figures). Exit 0 when done, 2 when the .bsp
// cannot be read (the message names it and what is wrong) or the command
// line is wrong.
namespace view {

int runViewCommand(const QStringList& arguments);

} // namespace view
