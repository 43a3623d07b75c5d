#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The engines players load maps in; each has limits of its own.
namespace report {

enum class Engine { Vanilla, Yamagi, Q2pro, Rerelease };

// "vanilla", "yamagi", "q2pro", "rerelease": the names of brushwright.ini and
// the command line, in this order.
QStringList engineNames();
QString engineName(Engine engine);
std::optional<Engine> engineNamed(const QString& name);
// "Quake II (original release)", "Yamagi Quake II", ...
QString engineTitle(Engine engine);

} // namespace report
