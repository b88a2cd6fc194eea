#include "window/spelling/GridCells.h"

#include "core/TextRoutines.h"
#include "window/spelling/GridCells.h"

#include <QTableWidget>

namespace {

QString cellText(const QTableWidget* grid, int row, int column)
{
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text() : QString();
}

} // namespace

void ClearGridKeepHeader(QTableWidget* grid)
{
    // The header row is the horizontal header, which clearContents leaves alone. The row left behind gets
    // empty items, so callers may read its cells without checking for missing ones.
    grid->clearContents();
    grid->setRowCount(1);
    for (int column = 0; column < grid->columnCount(); ++column)
        grid->setItem(0, column, grid->itemPrototype() ? grid->itemPrototype()->clone() : new QTableWidgetItem);
}

bool GridFirstColumnBlank(const QTableWidget* grid)
{
    if (grid->columnCount() == 0)
        return true;
    for (int row = 0; row < grid->rowCount(); ++row) {
        if (!TrimControl(cellText(grid, row, 0)).isEmpty())
            return false;
    }
    return true;
}
