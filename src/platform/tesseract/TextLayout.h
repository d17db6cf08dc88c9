#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

// Puts recognised lines in the order a person reads them. Menus, tables and terminals
// are read row by row, left to right, whatever blocks the recogniser split them into;
// side-by-side columns of prose stay whole columns.
namespace TextLayout {

// One word as the recogniser read it: where, with which model, how sure.
struct Word {
    QRect box;
    QString model;
    float confidence = 0;
    QString text;
};

struct Line {
    QRect box;              // in image pixels
    int block = 0;          // the recogniser's block, in its reading order
    QString text;           // without the line feed
    float confidence = 100; // the recogniser's, 0-100
    int panel = 0;          // the background panel it stands on; panels are read whole
    bool prose = false;     // from a column of running text: never part of a grid
    QStringList models;     // the models that read its words ("eng", "kor"), in order
    QList<Word> words;      // `text` word by word where known (CJK words have no spaces)
};

// Rows of lines that share a vertical band, each row left to right.
QList<QList<Line>> rows(QList<Line> lines);
// The recogniser's blocks, in its order, with the blocks of one grid (side-by-side
// blocks that are not running text and whose lines line up) merged into one group.
QList<QList<Line>> groups(const QList<Line>& lines);
// Indices of `boxes` in reading order: top to bottom, and left to right where boxes stand
// side by side.
QList<qsizetype> readingOrder(const QList<QRect>& boxes);
// The transcript: panel by panel, each group read row by row, one line feed between rows,
// one space between the parts of a row.
QString join(const QList<Line>& lines);

} // namespace TextLayout
