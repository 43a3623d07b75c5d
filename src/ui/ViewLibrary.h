#pragma once

#include "view/ViewPlugin.h"

#include <QStringList>
#include <memory>

// The view's library (view/ViewPlugin.h), loaded on the first call: beside
// the program, else in its installed place. A library that cannot be loaded
// throws Failure saying where it was looked for and why.
namespace viewlibrary {

std::unique_ptr<view::MapViewer> createViewer();
int runCommand(const QStringList& arguments);

} // namespace viewlibrary
