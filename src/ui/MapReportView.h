#pragma once

#include "report/MapReport.h"

#include <QWidget>

class QCheckBox;
class QGridLayout;
class QLabel;

// The compile window's map part: what a mapper must act on first (limits
// near or over, a format the engine cannot load, missing textures, a leak),
// the figures that are fine only on asking.
class MapReportView : public QWidget {
    Q_OBJECT
public:
    explicit MapReportView(QWidget* parent = nullptr);

    void setReport(const report::MapReport& report);
    // A report could not be made: the file's problem, in one line.
    void setProblem(const QString& text);

    // Rows shown now, in order: "models 301 of 256 *Index: overflow".
    QStringList shownRows() const;
    QLabel* summaryLabel() const { return summary_; }
    QCheckBox* allFiguresBox() const { return allFigures_; }

private:
    void rebuildRows();
    void addRow(int row, const report::LimitRow& limit);

    report::MapReport report_;
    QLabel* summary_;
    QLabel* textures_;
    QLabel* leak_;
    QCheckBox* allFigures_;
    QWidget* rows_;
    QGridLayout* grid_;
};
