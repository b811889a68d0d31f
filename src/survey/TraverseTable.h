// The theodolite traverse as one table of texts: the field book typed into it, the
// adjustment computed from it and written back into it. The window shows it, the table
// file saves it and the report prints it; nothing here needs a widget.
#pragma once

#include "platform/Platform.h"

#include <QString>
#include <QStringList>
#include <vector>

// Rows: 0 the column numbers, 1 A, 2 leg A→B, 3 B, 2k + 2 the leg to Pk, 2k + 3 Pk,
// R − 4 C, R − 3 leg C→D, R − 2 D, R − 1 the accuracy row (R = 2n + 9).
// Columns: 0 name, 1..3 horizontal angle, 4..6 vertical angle, 7 slope distance,
// 8 horizontal distance, 9..11 direction, 12 angle correction, 13..15 corrected
// direction, 16/17 increments, 18/19 their corrections, 20/21 corrected increments,
// 22/23 X north and Y east.
class TTraverseTable {
public:
    static constexpr int ColCount = 24;
    static constexpr int MinPoints = 1;
    static constexpr int MaxPoints = 1000;

    // The caption of every refusal of the calculation.
    static QString CheckTitle() { return QStringLiteral("Проверьте таблицу!"); }

    // A table for n traverse points (clamped to 1..1000), empty but for row 0.
    explicit TTraverseTable(int n = 4);

    int RowCount() const { return int(Cells.size()); }
    // Sets the row count to 2n + 9 (n clamped to 1..1000); the rows kept keep their texts.
    void SetPointsCount(int n);
    int PointsCount() const { return (RowCount() - 9) / 2; }

    // 1 "Координаты и азимут", 2 "Координаты", 3 "Висячий ход"; others are taken as 1.
    int ClosureType() const { return Closure; }
    void SetClosureType(int type) { Closure = (type == 2 || type == 3) ? type : 1; }

    // Out-of-range cells read as empty and are not written.
    QString Cell(int row, int col) const;
    void SetCell(int row, int col, const QString& text);

    // The text forms every computed number is written in.
    static QString LengthText(Extended v);   // 3 decimals of the full value
    // Whole degrees, whole minutes, whole seconds (60″ carried); a negative angle
    // carries its sign in every part that is not zero.
    static QStringList AngleTexts(Extended degrees);

    void ClearComputedCells();
    void ComputeHorizontalDistances();
    bool ReadTraverseDistances();
    bool ReadTraverseAngles();
    // Steps through the whole adjustment; a refusal shows its message box and leaves
    // what is written so far. True when the calculation ran to its end.
    bool ComputeTraverse();

    // Working data of the last calculation, for those who print or plot it.
    std::vector<Extended> Distances;
    Extended DistanceSum = 0;
    std::vector<Extended> Angles;
    std::vector<Extended> Directions;
    std::vector<int> Corrections;
    Extended StartDirection = 0, EndDirection = 0;
    Extended XB = 0, YB = 0, XC = 0, YC = 0;
    bool StartKnown = false, EndKnown = false;

private:
    int LegCount() const;     // m
    int AngleCount() const;   // a
    bool CellInt(int row, int col, int& value) const;
    bool CellReal(int row, int col, Extended& value) const;
    bool CellDirection(int row, Extended& value) const;
    void SetAngle(int row, int firstCol, Extended degrees);
    bool Refuse(const QString& text);
    bool Compute();

    std::vector<QStringList> Cells;
    int Closure = 1;
};
