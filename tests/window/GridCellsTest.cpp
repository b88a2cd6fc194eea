#include "window/spelling/GridCells.h"

#include <QHeaderView>
#include <QTableWidget>
#include <gtest/gtest.h>

namespace {

QTableWidget* wordGrid(QWidget* parent, int rows)
{
    auto* grid = new QTableWidget(rows, 3, parent);
    grid->setHorizontalHeaderLabels({QStringLiteral("Word"), QStringLiteral("Seconds"), QStringLiteral("Answer")});
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < 3; ++column)
            grid->setItem(row, column, new QTableWidgetItem(QStringLiteral("w%1").arg(row)));
    return grid;
}

TEST(Grids, ClearKeepsHeaderAndOneEmptyRow)
{
    QWidget owner;
    QTableWidget* grid = wordGrid(&owner, 9);
    ClearGridKeepHeader(grid);
    ASSERT_EQ(grid->rowCount(), 1);
    ASSERT_EQ(grid->columnCount(), 3);
    EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), QStringLiteral("Word"));
    EXPECT_EQ(grid->horizontalHeaderItem(2)->text(), QStringLiteral("Answer"));
    for (int column = 0; column < 3; ++column) {
        ASSERT_NE(grid->item(0, column), nullptr);
        EXPECT_TRUE(grid->item(0, column)->text().isEmpty());
    }
    EXPECT_TRUE(GridFirstColumnBlank(grid));
}

TEST(Grids, FirstColumnBlankLooksOnlyAtTheFirstColumn)
{
    QWidget owner;
    QTableWidget* grid = wordGrid(&owner, 3);
    EXPECT_FALSE(GridFirstColumnBlank(grid));
    grid->item(0, 0)->setText(QStringLiteral("   "));
    grid->item(1, 0)->setText(QStringLiteral("\t\r\n"));
    delete grid->takeItem(2, 0);
    EXPECT_TRUE(GridFirstColumnBlank(grid));
    grid->item(1, 0)->setText(QStringLiteral(" x "));
    EXPECT_FALSE(GridFirstColumnBlank(grid));
    grid->setRowCount(0);
    EXPECT_TRUE(GridFirstColumnBlank(grid));
}

} // namespace
