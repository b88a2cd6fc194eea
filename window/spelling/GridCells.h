#pragma once

class QTableWidget;

// Grids: a QTableWidget whose horizontal header is the design's fixed header row, so design row r (r >= 1)
// is table row r - 1.
// Keeps the header texts, empties every cell and leaves one empty row.
void ClearGridKeepHeader(QTableWidget* grid);
// True when every cell of the first column is empty or holds only characters of code 32 or below.
bool GridFirstColumnBlank(const QTableWidget* grid);
