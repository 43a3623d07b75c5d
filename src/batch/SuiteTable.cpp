#include "batch/SuiteTable.h"

namespace batch {

namespace {

using enum When;

// id's tools: one program per step; every widget has its switch.
const Switch qbsp3Switches[] = {
    {1, Unchecked, "-noprune"},  {2, Checked, "-glview"},
    {3, Unchecked, "-nodetail"}, {4, Checked, "-fulldetail"},
    {5, Checked, "-onlyents"},   {6, Unchecked, "-nomerge"},
    {7, Unchecked, "-nowater"},  {8, Unchecked, "-nocsg"},
    {9, Checked, "-noweld"},     {10, Checked, "-chop", &BatchOptions::edit1},
    {11, Unchecked, "-noshare"}, {12, Unchecked, "-notjunc"},
    {13, Checked, "-noopt"},     {14, Checked, "-leaktest"},
    {15, Checked, "-v"},         {16, Checked, "-verboseentities"},
};
const Switch qvis3Switches[] = {
    {17, Checked, "-fast"},
    {18, Unchecked, "-nosort"},
    {19, Checked, "-v"},
};
const Switch qrad3Switches[] = {
    {20, Checked, "-dump"},   {21, Checked, "-bounce", &BatchOptions::edit2},
    {22, Checked, "-v"},      {23, Checked, "-extra"},
    {24, Checked, "-glview"}, {25, Unchecked, "-nopvs"},
};

// q2tools-220 stops reading switches at one it does not know: -glview,
// -noopt and -verboseentities are left out (tried one by one).
const Switch q2toolBspSwitches[] = {
    {1, Unchecked, "-noprune"},
    {3, Unchecked, "-nodetail"},
    {4, Checked, "-fulldetail"},
    {5, Checked, "-onlyents"},
    {6, Unchecked, "-nomerge"},
    {7, Unchecked, "-nowater"},
    {8, Unchecked, "-nocsg"},
    {9, Checked, "-noweld"},
    {10, Checked, "-chop", &BatchOptions::edit1},
    {11, Unchecked, "-noshare"},
    {12, Unchecked, "-notjunc"},
    {14, Checked, "-leaktest"},
    {15, Checked, "-v"},
};
const Switch q2toolRadSwitches[] = {
    {20, Checked, "-dump"},    {21, Checked, "-bounce", &BatchOptions::edit2},
    {22, Checked, "-v"},       {23, Checked, "-extra"},
    {25, Unchecked, "-nopvs"},
};

// ericw-tools: only where its documentation gives a switch the meaning of
// the widget's caption (the README lists each row with its document).
const Switch ericwQbspSwitches[] = {
    {3, Unchecked, "-omitdetail"},   {6, Unchecked, "-nomerge"},
    {8, Unchecked, "-nochop"},       {10, Checked, "-subdivide", &BatchOptions::edit1},
    {11, Unchecked, "-noedgereuse"}, {12, Unchecked, "-notjunc"},
    {14, Checked, "-leaktest"},      {15, Checked, "-v"},
};
const Switch ericwVisSwitches[] = {
    {17, Checked, "-fast"},
    {19, Checked, "-v"},
};
const Switch ericwLightSwitches[] = {
    {21, Checked, "-bounce", &BatchOptions::edit2},
    {22, Checked, "-v"},
    {23, Checked, "-extra"},
    {25, Unchecked, "-visapprox none"},
};

const SuiteTable idTable{
    "id's tools",
    {{{"qbsp3", "", qbsp3Switches}, {"qvis3", "", qvis3Switches}, {"qrad3", "", qrad3Switches}}},
    {"-scale", "-direct", "-entity", "-ambient", "-maxlight"},
};

// q2tool looks in -moddir, then in -basedir; both default to the folder
// above the maps folder. The bsp step reads textures loose and from either
// folder's paks; the rad step reads loose textures only, and the palette
// (pics/colormap.pcx) from the first folder's paks only, which for a mod
// must be baseq2's. id's tools and ericw-tools need nothing: id's see the
// mod alone, ericw-tools the mod and baseq2 by themselves.
const SuiteTable q2toolsTable{
    "q2tools-220",
    {{{"q2tool", "-bsp", q2toolBspSwitches, "-moddir .. -basedir ../../baseq2"},
      {"q2tool", "-vis", qvis3Switches},
      {"q2tool", "-rad", q2toolRadSwitches, "-moddir ../../baseq2 -basedir .."}}},
    {"-scale", "-direct", "-entity", "-ambient", "-maxlight"},
};

const SuiteTable ericwTable{
    "ericw-tools",
    {{{"qbsp", "-q2bsp", ericwQbspSwitches},
      {"vis", "", ericwVisSwitches},
      {"light", "", ericwLightSwitches}}},
    {nullptr, nullptr, nullptr, nullptr, "-maxlight"},
};

} // namespace

const SuiteTable& suiteTable(settings::Suite suite)
{
    switch (suite) {
    case settings::Suite::Q2tools:
        return q2toolsTable;
    case settings::Suite::Ericw:
        return ericwTable;
    case settings::Suite::Id:
        break;
    }
    return idTable;
}

std::optional<SwitchPlace> findSwitch(const SuiteTable& table, int checkBox)
{
    for (std::size_t step = 0; step < table.steps.size(); ++step) {
        for (const Switch& row : table.steps[step].switches) {
            if (row.checkBox == checkBox)
                return SwitchPlace{int(step), &row};
        }
    }
    return std::nullopt;
}

QString stepCommand(const StepTable& step)
{
    QString text = QLatin1String(step.program);
    if (*step.mode)
        text += QLatin1Char(' ') + QLatin1String(step.mode);
    return text;
}

QString switchHint(const SuiteTable& table, int checkBox)
{
    const std::optional<SwitchPlace> place = findSwitch(table, checkBox);
    if (!place)
        return {};
    const Switch& row = *place->row;
    return stepCommand(table.steps[std::size_t(place->step)]) + QLatin1Char(' ') +
           QLatin1String(row.text) + (row.value ? QStringLiteral(" x") : QString()) +
           (row.when == When::Checked ? QStringLiteral(" when checked")
                                      : QStringLiteral(" when unchecked"));
}

} // namespace batch
