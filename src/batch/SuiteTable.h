#pragma once

#include "batch/BatchOptions.h"
#include "settings/CompilerSettings.h"

#include <QString>
#include <array>
#include <optional>
#include <span>

// What each compiler suite makes of the option widgets: for each step its
// program, the switch that chooses the step in a one-program suite, and the
// switch each check box writes. A check box the suite has no row for writes
// nothing there and is disabled while that suite is chosen.
namespace batch {

enum class When { Checked, Unchecked };

struct Switch {
    int checkBox;
    When when;
    // The switch and any fixed value, separated by blanks.
    const char* text;
    QString BatchOptions::*value = nullptr;
};

struct StepTable {
    const char* program;
    const char* mode; // first argument; empty where each step is a program
    std::span<const Switch> switches;
    // Written after the mode when a mod is set, so that the step finds the
    // mod's files and baseq2's; folders relative to the maps folder.
    const char* inMod = "";
};

struct SuiteTable {
    const char* name;               // as the hints say it: "q2tools-220"
    std::array<StepTable, 3> steps; // bsp, vis, light
    // The light step's switch for each slider, in slider order; null where
    // the suite has none.
    std::array<const char*, 5> lightSwitches;
};

const SuiteTable& suiteTable(settings::Suite suite);

// The step (0 bsp, 1 vis, 2 light) and row that a check box (1 to 25)
// writes with the suite; nothing where the suite lacks its switch.
struct SwitchPlace {
    int step;
    const Switch* row;
};
std::optional<SwitchPlace> findSwitch(const SuiteTable& table, int checkBox);

// The check box's hint as the suite's table says it: "q2tool -bsp -chop x
// when checked"; empty where the suite lacks its switch.
QString switchHint(const SuiteTable& table, int checkBox);

// "qbsp3", "q2tool -bsp": the program and its mode switch.
QString stepCommand(const StepTable& step);

} // namespace batch
