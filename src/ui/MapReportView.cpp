#include "ui/MapReportView.h"

#include "leak/LeakPath.h"
#include "ui/LimitBar.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>
#include <algorithm>

using report::LimitState;

namespace {

// What a mapper must act on. The compilers cut faces at 240 texels or
// less, so every map is "near" the software renderer's 256: only over
// counts there.
bool standsOut(const report::LimitRow& limit)
{
    if (limit.name == QLatin1String("extent"))
        return limit.state == LimitState::Over;
    return limit.state != LimitState::Ok;
}

QString figure(qint64 value)
{
    return QLocale(QLocale::English).toString(value);
}

QString countText(const report::LimitRow& limit)
{
    return limit.max ? figure(limit.count) + QStringLiteral(" of ") + figure(*limit.max)
                     : figure(limit.count) + QStringLiteral(" (no cap)");
}

QLabel* warning(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setStyleSheet(QStringLiteral("color: #b02020"));
    label->hide();
    return label;
}

QString summaryText(const report::MapReport& r)
{
    const QString engine = report::engineTitle(r.engine);
    if (r.bspPath.isEmpty())
        return QStringLiteral("No new .bsp to measure against %1.").arg(engine);
    if (r.formatSupported == false)
        return QStringLiteral("%1 cannot load this map: it is in the %2 format.")
            .arg(engine, r.format);
    const auto count = [&r](LimitState state) {
        return std::count_if(r.limits.cbegin(), r.limits.cend(), [state](const auto& limit) {
            return limit.state == state && standsOut(limit);
        });
    };
    const qsizetype over = count(LimitState::Over), near = count(LimitState::Near);
    QStringList parts;
    if (over > 0)
        parts << QStringLiteral("%1 over the limit").arg(over);
    if (near > 0)
        parts << QStringLiteral("%1 near it").arg(near);
    const QString figures = parts.isEmpty() ? QStringLiteral("every figure within the limits")
                                            : parts.join(QStringLiteral(", "));
    return QStringLiteral("%1 (%2): %3.").arg(engine, r.format, figures);
}

} // namespace

MapReportView::MapReportView(QWidget* parent)
    : QWidget(parent), summary_(new QLabel(this)), textures_(warning(this)), leak_(warning(this)),
      allFigures_(new QCheckBox(QStringLiteral("all figures"), this)), rows_(new QWidget(this)),
      grid_(new QGridLayout(rows_))
{
    setObjectName(QStringLiteral("MapReportView"));
    summary_->setWordWrap(true);
    grid_->setContentsMargins(0, 0, 0, 0);
    grid_->setHorizontalSpacing(10);
    grid_->setVerticalSpacing(2);
    grid_->setColumnStretch(3, 1);

    auto* top = new QHBoxLayout;
    top->addWidget(summary_, 1);
    top->addWidget(allFigures_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(rows_);
    layout->addWidget(textures_);
    layout->addWidget(leak_);

    connect(allFigures_, &QCheckBox::toggled, this, &MapReportView::rebuildRows);
}

void MapReportView::setReport(const report::MapReport& report)
{
    report_ = report;
    QFont bold = summary_->font();
    bold.setBold(report.formatSupported == false ||
                 std::any_of(report.limits.cbegin(), report.limits.cend(), standsOut));
    summary_->setFont(bold);
    summary_->setText(summaryText(report));
    allFigures_->setVisible(!report.limits.isEmpty());

    const QStringList missing = report.missingTextures.value_or(QStringList());
    textures_->setVisible(!missing.isEmpty());
    textures_->setText((missing.size() == 1
                            ? QStringLiteral("1 texture missing: ")
                            : QStringLiteral("%1 textures missing: ").arg(missing.size())) +
                       missing.join(QStringLiteral(", ")));
    leak_->setVisible(report.leak.has_value());
    if (report.leak)
        leak_->setText(leak::leakSentence(*report.leak));
    rebuildRows();
}

void MapReportView::setProblem(const QString& text)
{
    report_ = {};
    summary_->setText(text);
    allFigures_->hide();
    textures_->hide();
    leak_->hide();
    rebuildRows();
}

void MapReportView::rebuildRows()
{
    while (QLayoutItem* item = grid_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    int row = 0;
    for (const report::LimitRow& limit : report_.limits) {
        if (standsOut(limit) || allFigures_->isChecked())
            addRow(row++, limit);
    }
    rows_->setVisible(row > 0);
}

void MapReportView::addRow(int row, const report::LimitRow& limit)
{
    const bool fine = limit.state == LimitState::Ok;
    const QString remark = limit.state == LimitState::Over   ? limit.engineError
                           : limit.state == LimitState::Near ? QStringLiteral("near the limit")
                                                             : QString();
    const QString texts[] = {limit.name, countText(limit), remark};
    auto* bar = new LimitBar(limit, rows_);
    grid_->addWidget(bar, row, 1);
    const int columns[] = {0, 2, 3};
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(texts[i], rows_);
        if (fine)
            label->setForegroundRole(QPalette::PlaceholderText);
        else if (i == 2)
            label->setStyleSheet(QStringLiteral("color: %1").arg(bar->colour().name()));
        grid_->addWidget(label, row, columns[i]);
    }
}

QStringList MapReportView::shownRows() const
{
    QStringList shown;
    for (int row = 0; row < grid_->rowCount(); ++row) {
        QStringList cells;
        for (const int column : {0, 2, 3}) {
            const QLayoutItem* item = grid_->itemAtPosition(row, column);
            const auto* label = item ? qobject_cast<const QLabel*>(item->widget()) : nullptr;
            if (label && !label->text().isEmpty())
                cells << label->text();
        }
        if (!cells.isEmpty())
            shown << cells.join(QLatin1Char(' '));
    }
    return shown;
}
