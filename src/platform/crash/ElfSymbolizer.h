#pragma once

#include <QList>
#include <QString>

#include <optional>

// Function names of one 64-bit ELF file from its symbol tables (.symtab, else .dynsym),
// found by the offset of an address in the file, demangled. A file that is not ELF, or is
// stripped, names nothing.
class ElfSymbolizer {
public:
    struct Symbol {
        QString name;
        quint64 offset = 0; // from the function's start
    };

    explicit ElfSymbolizer(const QString& path);

    std::optional<Symbol> symbolAt(quint64 fileOffset) const;

private:
    struct Function {
        quint64 start;
        quint64 size;
        QByteArray name;
    };
    struct Segment {
        quint64 offset;
        quint64 vaddr;
        quint64 size;
    };

    void load(const QByteArray& image);

    QList<Segment> m_segments;
    QList<Function> m_functions; // sorted by start
};
