#pragma once

#include <QString>
#include <QStringList>
#include <array>

// The option-set file (default.builtin, lastused.builtin and the presets):
// 36 lines in the order of the controls' numbers, not of the screen.
//
//   line 0        a header, never read
//   lines 1-25    CheckBox1 to CheckBox25, flags
//   lines 26, 27  Edit1 and Edit2, their texts whole
//   lines 28-32   ScrollBar1 to ScrollBar5, positions
//   lines 33-35   CheckBox30 to CheckBox32 (run qbsp3, qvis3, qrad3), flags
namespace settings {

inline const QString userHeader = QStringLiteral("Modify at your own risk!");
inline const QString patchedHeader = QStringLiteral("Modify at your own risk! (Patched, v1.02)");

constexpr int optionSetLineCount = 36;
constexpr int firstTextLine = 26;
constexpr int firstPositionLine = 28;
constexpr int firstCompilerLine = 33;

// The 35 stored controls, as plain values.
struct OptionSet {
    std::array<bool, 25> options{};  // CheckBox1 to CheckBox25
    std::array<QString, 2> texts;    // Edit1, Edit2
    std::array<int, 5> positions{};  // ScrollBar1 to ScrollBar5
    std::array<bool, 3> compilers{}; // CheckBox30 to CheckBox32

    bool operator==(const OptionSet&) const = default;
};

QStringList optionSetLines(const QString& header, const OptionSet& set);

// The guarded block of reading: the check boxes, each set from its line as
// soon as it is read, in this order; a short file stops it at the first
// missing line.
struct GuardedLine {
    int line;
    int checkBox; // the N of CheckBoxN
};
using GuardedBlock = std::array<GuardedLine, 28>;
const GuardedBlock& guardedBlock();

// Line index of the file; Failure "List index out of bounds (index)" when
// the file is shorter.
QString lineAt(const QStringList& lines, int index);
// A slider position line, not yet clamped to the slider's range; Failure
// "'%s' is not a valid integer value" when it is no integer.
qint32 positionAt(const QStringList& lines, int index);

} // namespace settings
