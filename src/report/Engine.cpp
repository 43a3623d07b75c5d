#include "report/Engine.h"

#include <iterator>

namespace report {

namespace {

struct EngineName {
    Engine engine;
    const char* name;
    const char* title;
};

const EngineName names[] = {
    {Engine::Vanilla, "vanilla", "Quake II (original release)"},
    {Engine::Yamagi, "yamagi", "Yamagi Quake II"},
    {Engine::Q2pro, "q2pro", "Q2PRO"},
    {Engine::Rerelease, "rerelease", "Quake II (2023 release)"},
};

} // namespace

QStringList engineNames()
{
    QStringList list;
    for (const EngineName& n : names)
        list.append(QLatin1String(n.name));
    return list;
}

QString engineName(Engine engine)
{
    for (const EngineName& n : names) {
        if (n.engine == engine)
            return QLatin1String(n.name);
    }
    return QLatin1String(names[0].name);
}

std::optional<Engine> engineNamed(const QString& name)
{
    for (const EngineName& n : names) {
        if (name == QLatin1String(n.name))
            return n.engine;
    }
    return std::nullopt;
}

QString engineTitle(Engine engine)
{
    for (const EngineName& n : names) {
        if (n.engine == engine)
            return QLatin1String(n.title);
    }
    return QLatin1String(names[0].title);
}

} // namespace report
