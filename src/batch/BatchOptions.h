#pragma once

#include <QString>
#include <array>

// Everything the batch file is made of, gathered from the main window at the
// moment it is written.
struct BatchOptions {
    // Checked state of CheckBox1 to CheckBox36, indexed by the number in the
    // control's name (index 0 is unused).
    std::array<bool, 37> checkBox{};
    QString edit1; // value of "subdivide faces larger than"
    QString edit2; // value of "light bounce count"
    QString edit3; // value of "threads to use"
    // scale, direct, entity, ambient, maxlight
    std::array<double, 5> light{};
    QString gameDirectory;
    QString mapName;

    bool operator==(const BatchOptions&) const = default;
};
