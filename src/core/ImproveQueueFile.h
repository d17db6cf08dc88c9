#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The improvement reporter's queue: one compact JSON event per line. Used only on the
// reporter's serial worker, so reads, appends and rewrites never overlap. Every error is
// swallowed: a failed append loses that one line, a failed read is an empty queue.
class ImproveQueueFile {
public:
    explicit ImproveQueueFile(QString path) : m_path(std::move(path)) {}

    const QString& path() const { return m_path; }

    // The lines, without their line feeds; empty lines are omitted.
    QList<QByteArray> readLines() const;
    // Appends `line` and a line feed with one write. A last line that a killed process left
    // without its line feed is closed first, so only that line is lost, not this one too.
    void append(const QByteArray& line) const;
    // Replaces the file with `lines`, atomically; no lines deletes it.
    void rewrite(const QList<QByteArray>& lines) const;
    void remove() const;

private:
    QString m_path;
};
